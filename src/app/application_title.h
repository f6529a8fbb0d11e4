// The application title: the program's name towards the desktop and the name of its
// single-instance lock. The main window has its own caption.
#pragma once

#include <QString>

namespace xb::app {

inline QString applicationTitle() {
    return QStringLiteral("Xunbao－【QeloV6.0】");
}

} // namespace xb::app
