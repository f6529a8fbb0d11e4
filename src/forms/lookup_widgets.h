// Drop-downs and text boxes filled from the code dictionaries; the pages call these, the lists
// themselves come from store/lookups.h. Engine errors come back as values for the page to show.
#pragma once

#include "store/database.h"

#include <QString>
#include <optional>

class QComboBox;
class QLineEdit;

namespace xb::forms {

// The combo is cleared and filled with "code  label" entries (the blank entry last if optional).
store::Status fillFromDictionary(QComboBox* combo, store::Database& db, const QString& dictionary,
                                 bool optional, bool withVersion1 = false);
store::Status fillFromCodeTable(QComboBox* combo, store::Database& db, const QString& table,
                                const QString& codeField, const QString& labelField, bool optional);
// The same with the rows whose `keyField` equals `key` only.
store::Status fillFromCodeTable(QComboBox* combo, store::Database& db, const QString& table,
                                const QString& codeField, const QString& labelField, bool optional,
                                const QString& keyField, const QString& key);

// Selects the entry whose code equals `code` (the last one when several do); nothing otherwise.
void selectStoredCode(QComboBox* combo, const QString& code);
// The code of the chosen entry: its first `width` characters, trimmed; "" when none is chosen.
QString chosenCode(const QComboBox* combo, int width);

// The box shows "code  label" of the classification row, or nothing.
store::Status showClassificationCode(QLineEdit* box, store::Database& db, const QString& table,
                                     const QString& code);
// The three boxes receive the first three keywords of the text.
void splitKeywords(const QString& text, QLineEdit* first, QLineEdit* second, QLineEdit* third);
// The text trimmed of blanks, or nothing after the message was shown in the warning box.
std::optional<QString> requiredText(const QString& text, const QString& message);

} // namespace xb::forms
