#include "forms/classification_box.h"

#include <QKeyEvent>
#include <QToolButton>

namespace xb::forms {

ClassificationBox::ClassificationBox(QWidget* parent)
    : QLineEdit(parent), button_(new QToolButton(this)) {
    button_->setObjectName(QStringLiteral("dropDown"));
    button_->setArrowType(Qt::DownArrow);
    button_->setCursor(Qt::ArrowCursor);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setAutoRaise(true);
    connect(button_, &QToolButton::clicked, this, &ClassificationBox::dropDownRequested);
}

void ClassificationBox::keyPressEvent(QKeyEvent* event) {
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (altDown || event->key() == Qt::Key_F4) {
        emit dropDownRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ClassificationBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int side = height() - 4;
    button_->setGeometry(width() - side - 2, 2, side, side);
    setTextMargins(0, 0, side + 2, 0);
}

} // namespace xb::forms
