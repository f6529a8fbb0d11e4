// Money and count boxes of the pages: typing is limited to the characters of a number, while a
// pasted text is let through and judged when the text changes.
#pragma once

#include <QString>

class QLineEdit;

namespace xb::ui {
class Prompter;
}

namespace xb::forms {

enum class AmountKeys {
    Digits,         // whole counts and amounts: digits and backspace
    DigitsAndPoint, // money with decimals: digits, "." and backspace
};

// Ignores every typed character the kind does not allow. Editing and navigation keys and shortcuts
// (arrows, Delete, Tab, Ctrl+V) pass, so pasting stays possible.
void acceptOnlyAmountKeys(QLineEdit* box, AmountKeys keys);

// When the box holds a text that is not a number: warns with `label` and the text, sets the box to
// "0" and returns true.
bool resetUnlessAmount(QLineEdit* box, const QString& label, ui::Prompter& prompter);

} // namespace xb::forms
