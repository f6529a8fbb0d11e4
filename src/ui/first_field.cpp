#include "ui/first_field.h"

#include <QWidget>

namespace xb::ui {

bool focusFirstField(QWidget* area) {
    for (QWidget* w = area->nextInFocusChain(); w && w != area; w = w->nextInFocusChain()) {
        if (area->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(area->window())) {
            w->setFocus();
            return true;
        }
    }
    return false;
}

} // namespace xb::ui
