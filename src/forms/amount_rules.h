// Amounts typed into the pages' money and count boxes, without widgets: what counts as a number,
// how a computed sum is shown, and the warning for a text that is not a number.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace xb::forms {

// Whether a box's text, trimmed, is empty or a plain decimal number.
bool isAmountText(const QString& text);

// The value of a box; an empty text (or one that is not a number) counts as 0.
double amountValue(const QString& text);

// A computed amount as the pages show and store it: rounded to the four decimals the amount fields
// hold, written without trailing zeros ("30", "12.5", 0.1 + 0.2 gives "0.3").
QString amountText(double value);

// The sum of several boxes' texts, shown as amountText does.
QString amountSum(const QStringList& texts);

// The warning shown when a box holds a text that is not a number and is set to "0"; `label` is
// what precedes the text (empty, or a field's name in Chinese quotes with a colon).
QString notAnAmountMessage(const QString& label, const QString& text);

// How many digits before the decimal point a number field of a table holds (its width less the
// decimals and the point); 0 for a field that is not a number.
int wholeDigitsHeld(const std::string& table, const std::string& field);

} // namespace xb::forms
