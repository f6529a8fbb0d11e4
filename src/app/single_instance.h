// The guard that keeps one copy of the program running per user: a lock file named after the
// application title in the user's runtime folder (XDG_RUNTIME_DIR). The lock of a run that
// crashed or was killed is taken over; the lock of a running copy is respected however long it
// has been running.
#pragma once

#include <QLockFile>
#include <QString>

namespace xb::app {

class SingleInstanceGuard {
  public:
    enum class Outcome {
        Acquired,      // this process is the only one running
        HeldByAnother, // another running process holds the lock
        Unavailable,   // the lock file could not be made (folder missing or read-only)
    };

    // The guard for `title` in `folder`; nothing is locked before acquire().
    explicit SingleInstanceGuard(const QString& title, const QString& folder = defaultFolder());
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Tries once, without waiting. The lock is held until the guard is destroyed.
    Outcome acquire();

    QString lockFilePath() const { return path_; }

    // The user's runtime folder; the temporary folder where there is none.
    static QString defaultFolder();

  private:
    QString path_;
    QLockFile lock_;
};

// A file name for `title` that every file system takes: letters, digits, ".", "-", "_" and "~"
// stay, everything else is percent-encoded from UTF-8, so different titles never share a name.
QString lockFileName(const QString& title);

} // namespace xb::app
