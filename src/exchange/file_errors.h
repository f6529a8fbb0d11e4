// Qt's error texts of files, folders and processes are the system's English texts: the user
// sees them in Chinese, the English goes to the log.
#pragma once

#include "store/system_error.h"

#include <QString>

namespace xb::exchange {

inline QString chineseErrorText(const QString& qtErrorText) {
    return QString::fromStdString(store::systemErrorTextFor(qtErrorText.toStdString()));
}

} // namespace xb::exchange
