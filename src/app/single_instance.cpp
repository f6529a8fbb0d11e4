#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

namespace xb::app {

QString lockFileName(const QString& title) {
    return QString::fromLatin1(QUrl::toPercentEncoding(title)) + QStringLiteral(".lock");
}

SingleInstanceGuard::SingleInstanceGuard(const QString& title, const QString& folder)
    : path_(QDir(folder).filePath(lockFileName(title))), lock_(path_) {}

// QLockFile removes a lock whose holder on this machine is gone or runs another executable, and
// keeps one whose holder is alive however old it is. Only a lock file it cannot read at all (a
// run that died while writing it) waits for its default stale age of 30 seconds.
SingleInstanceGuard::Outcome SingleInstanceGuard::acquire() {
    if (lock_.tryLock(0)) return Outcome::Acquired;
    return lock_.error() == QLockFile::LockFailedError ? Outcome::HeldByAnother
                                                       : Outcome::Unavailable;
}

QString SingleInstanceGuard::defaultFolder() {
    // A folder of the user's own: in the shared temporary folder another user's copy, or the
    // lock its killed run left and this user may not remove, would keep the program from starting.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace xb::app
