#include "app/single_instance.h"

#include <QDir>
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
    return QDir::tempPath();
}

} // namespace xb::app
