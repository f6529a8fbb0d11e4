#include "app/app_paths.h"

#include <QCoreApplication>

namespace xb::app {

QString dataDirectory() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/data");
}

QString installationDirectory() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/installation");
}

} // namespace xb::app
