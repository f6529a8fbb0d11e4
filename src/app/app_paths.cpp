#include "app/app_paths.h"

#include <QCoreApplication>

namespace xb::app {

QString dataDirectory() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data");
}

} // namespace xb::app
