// Where the focus goes when a page or dialog is shown: its first field, so that a key press never
// lands on a button such as 退出 by accident.
#pragma once

class QWidget;

namespace xb::ui {

// Gives the focus to the first control in `area`'s tab order that takes it; false when none does.
bool focusFirstField(QWidget* area);

} // namespace xb::ui
