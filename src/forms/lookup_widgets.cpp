#include "forms/lookup_widgets.h"

#include "store/lookups.h"
#include "ui/prompter.h"

#include <QComboBox>
#include <QLineEdit>

namespace xb::forms {
namespace {

std::string utf8(const QString& s) {
    return s.toStdString();
}

store::Status fill(QComboBox* combo, const store::Result<std::vector<std::string>>& entries) {
    combo->clear();
    if (!entries) return entries.error();
    for (const std::string& entry : *entries)
        combo->addItem(QString::fromStdString(entry));
    combo->setCurrentIndex(-1);
    return {};
}

} // namespace

store::Status fillFromDictionary(QComboBox* combo, store::Database& db, const QString& dictionary,
                                 bool optional, bool withVersion1) {
    return fill(combo, store::dictionaryEntries(db, utf8(dictionary), optional, withVersion1));
}

store::Status fillFromCodeTable(QComboBox* combo, store::Database& db, const QString& table,
                                const QString& codeField, const QString& labelField,
                                bool optional) {
    return fill(combo, store::codeTableEntries(db, utf8(table), utf8(codeField), utf8(labelField),
                                               optional));
}

store::Status fillFromCodeTable(QComboBox* combo, store::Database& db, const QString& table,
                                const QString& codeField, const QString& labelField, bool optional,
                                const QString& keyField, const QString& key) {
    return fill(combo, store::codeTableEntries(db, utf8(table), utf8(codeField), utf8(labelField),
                                               optional, utf8(keyField), utf8(key)));
}

void selectStoredCode(QComboBox* combo, const QString& code) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.push_back(utf8(combo->itemText(i)));
    const int index = store::entryIndexForCode(entries, utf8(code.trimmed()));
    if (index >= 0) combo->setCurrentIndex(index);
}

QString chosenCode(const QComboBox* combo, int width) {
    if (combo->currentIndex() < 0) return {};
    return combo->currentText().left(width).trimmed();
}

store::Status showClassificationCode(QLineEdit* box, store::Database& db, const QString& table,
                                     const QString& code) {
    auto text = store::classificationText(db, utf8(table), utf8(code));
    box->clear();
    if (!text) return text.error();
    box->setText(QString::fromStdString(*text));
    return {};
}

void splitKeywords(const QString& text, QLineEdit* first, QLineEdit* second, QLineEdit* third) {
    const auto parts = store::splitKeywords(utf8(text));
    first->setText(QString::fromStdString(parts[0]));
    second->setText(QString::fromStdString(parts[1]));
    third->setText(QString::fromStdString(parts[2]));
}

std::optional<QString> requiredText(const QString& text, const QString& message) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        ui::prompter().warn(message);
        return std::nullopt;
    }
    return t;
}

} // namespace xb::forms
