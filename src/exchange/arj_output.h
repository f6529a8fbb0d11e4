// What the ARJ archiver prints and returns, turned into what the program needs to know.
#pragma once

#include <QString>
#include <QStringList>

namespace xb::exchange {

// A Chinese description of a non-zero exit status of arj.
QString arjExitStatusText(int exitCode);
// The archiver's own diagnostic lines ("Can't find X", "X is not an ARJ archive"), without its
// banner, progress and summary lines; at most `maxLines` of them, joined by "；".
QString arjDiagnostics(const QString& output, int maxLines = 3);

} // namespace xb::exchange
