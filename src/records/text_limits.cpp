#include "text_limits.h"

#include "store/gbk.h"

#include <QLineEdit>

namespace xb::records {

void limitToFieldWidth(QLineEdit* box, int gbkBytes) {
    box->setMaxLength(gbkBytes);
    QObject::connect(box, &QLineEdit::textChanged, box, [box, gbkBytes](const QString& text) {
        const std::string utf8 = text.toStdString();
        if (store::gbkLength(utf8) <= gbkBytes) return;
        const int cursor = box->cursorPosition();
        box->setText(QString::fromStdString(store::cutToGbkWidth(utf8, gbkBytes)));
        box->setCursorPosition(std::min(cursor, static_cast<int>(box->text().size())));
    });
}

} // namespace xb::records
