// A file written whole: the bytes go beside the target and take its place only once they are all
// written, so a full disk or a stop leaves the file that was there before.
#pragma once

#include "store/result.h"

#include <QByteArray>
#include <QString>

namespace xb::ui {

store::Status saveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace xb::ui
