#include "forms/clickable_text_area.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace xb::forms {

ClickableTextArea::ClickableTextArea(QWidget* parent) : MemoBox(parent) {
    setReadOnly(true);
    setCursor(Qt::PointingHandCursor);
    viewport()->setCursor(Qt::PointingHandCursor);
}

void ClickableTextArea::mouseReleaseEvent(QMouseEvent* event) {
    MemoBox::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit clicked();
}

// Keyboard users open the dialog with Enter or Space.
void ClickableTextArea::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        emit clicked();
        return;
    }
    MemoBox::keyPressEvent(event);
}

} // namespace xb::forms
