// Push buttons with room around their caption, so that captions such as
// "选用“DFJHZDXX.DBF”更新" never touch the button's edge in styles with thin padding.
#pragma once

#include <QPushButton>

namespace xb::ui {

// Gives a button made elsewhere that room; Enter never presses it unasked.
inline void makeRoomy(QPushButton& button) {
    button.setAutoDefault(false);
    button.setMinimumWidth(button.sizeHint().width() + 2 * button.fontMetrics().height());
}

inline QPushButton* roomyButton(const QString& caption, const QString& objectName,
                                QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    makeRoomy(*button);
    return button;
}

} // namespace xb::ui
