// A failed input check: the message for the warning box and the control that gets the focus.
#pragma once

#include <QString>

namespace xb::forms {

struct CheckFailure {
    QString control;    // object name of the control that receives the focus
    QString message;    // shown in the warning box; an empty message refuses without a word
    bool plain = false; // shown in the plain message box instead
};

} // namespace xb::forms
