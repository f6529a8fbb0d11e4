#include "profile_code_lists.h"

#include "store/lookups.h"

namespace xb::parties {

QString codeListFromBoxes(const QStringList& boxes) {
    QString stored;
    for (const QString& box : boxes) {
        const QString text = box.trimmed();
        if (text.isEmpty()) continue;
        const qsizetype blank = text.indexOf(u' ');
        // A code typed by hand is stored as a picked one is: code, one blank, ";".
        stored += (blank < 0 ? text + u' ' : text.left(blank + 1)) + u';';
    }
    return stored;
}

QStringList codeListElements(const QString& stored) {
    QStringList elements = stored.split(u';');
    // The text after the last ";" is an element only when it holds something.
    if (elements.last().trimmed().isEmpty()) elements.removeLast();
    return elements;
}

store::Result<QStringList> codeBoxTexts(store::Database& db, const QString& table,
                                        const QString& stored) {
    QStringList boxes;
    for (const QString& element : codeListElements(stored)) {
        if (boxes.size() == kCodeBoxes) break;
        const QString code = element.trimmed();
        if (code.isEmpty()) {
            boxes << QString();
            continue;
        }
        auto text = store::classificationText(db, table.toStdString(), code.toStdString());
        if (!text) return text.error();
        // A code the table does not hold is shown as it is, so the next save keeps it.
        boxes << (text->empty() ? code : QString::fromStdString(*text));
    }
    while (boxes.size() < kCodeBoxes)
        boxes << QString();
    return boxes;
}

} // namespace xb::parties
