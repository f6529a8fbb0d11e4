#include "ui/memo_box.h"

#include <QMimeData>
#include <QPointer>

namespace xb::ui {

MemoBox::MemoBox(QWidget* parent) : QPlainTextEdit(parent) {}

bool MemoBox::canInsertFromMimeData(const QMimeData* source) const {
    return source && source->hasText();
}

void MemoBox::insertFromMimeData(const QMimeData* source) {
    // Reading a desktop clipboard can run events, and the clipboard may replace its data then.
    const QPointer<const QMimeData> alive(source);
    if (!alive || !alive->hasText()) return;
    const QString text = alive->text();
    if (text.isEmpty()) return;
    QMimeData plain;
    plain.setText(text);
    QPlainTextEdit::insertFromMimeData(&plain);
}

} // namespace xb::ui
