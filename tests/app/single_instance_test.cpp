#include "app/application_title.h"
#include "app/single_instance.h"
#include "support/qt_printing.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace xb::app;
using namespace Qt::StringLiterals;

namespace {

// Real processes. Each test gives them a fresh folder as TMPDIR and runtime folder, so a copy of
// the program that a user runs on this machine is never disturbed.
class SingleInstance : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TMPDIR"_s, folder.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        // Without it Qt's start-up itself prints a notice, which would hide one of ours.
        env.insert(u"XDG_RUNTIME_DIR"_s, folder.path());
        return env;
    }

    QString lockPath() const { return folder.filePath(lockFileName(applicationTitle())); }

    std::unique_ptr<QProcess> startProbe() const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(QStringLiteral(XB_PROBE_PATH), {});
        return process;
    }

    static bool waitForAcquired(QProcess& process) {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(-1)) return false;
        return process.readLine() == "acquired\n";
    }

    static bool endsSilentlyWithZero(QProcess& process) {
        return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0 && process.readAllStandardOutput().isEmpty() &&
               process.readAllStandardError().isEmpty();
    }

    QTemporaryDir folder;
};

} // namespace

// The first start holds the lock; a second start ends at once, silently, with status 0,
// and the first goes on, also when its lock is older than QLockFile's stale age.
// Once the first has ended normally the next start gets the lock.
TEST_F(SingleInstance, SecondStartEndsWhileTheFirstRuns) {
    auto first = startProbe();
    ASSERT_TRUE(waitForAcquired(*first));

    auto second = startProbe();
    ASSERT_TRUE(endsSilentlyWithZero(*second));
    EXPECT_EQ(first->state(), QProcess::Running);

    QFile lock(lockPath());
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    lock.close();
    auto third = startProbe();
    ASSERT_TRUE(endsSilentlyWithZero(*third));
    EXPECT_EQ(first->state(), QProcess::Running);

    first->closeWriteChannel();
    ASSERT_TRUE(first->waitForFinished(-1));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_FALSE(QFile::exists(lockPath()));
    auto next = startProbe();
    ASSERT_TRUE(waitForAcquired(*next));
    next->closeWriteChannel();
    ASSERT_TRUE(next->waitForFinished(-1));
}

// A killed run leaves its lock file behind; the next start takes it over.
TEST_F(SingleInstance, LockOfAKilledRunIsTakenOver) {
    auto crashed = startProbe();
    ASSERT_TRUE(waitForAcquired(*crashed));
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(-1));
    ASSERT_TRUE(QFile::exists(lockPath()));

    auto next = startProbe();
    ASSERT_TRUE(waitForAcquired(*next));
    next->closeWriteChannel();
    ASSERT_TRUE(next->waitForFinished(-1));
}

// The program itself: a second xunbao ends at once with status 0 while the first runs.
TEST_F(SingleInstance, SecondProgramStartEndsSilently) {
    QProcess first;
    first.setProcessEnvironment(environment());
    first.start(QStringLiteral(XB_XUNBAO_PATH), {});
    ASSERT_TRUE(first.waitForStarted(-1));
    // The lock file appears once the guard has run; the first copy then shows its windows.
    while (!QFile::exists(lockPath()) && first.state() == QProcess::Running)
        first.waitForFinished(20);
    EXPECT_EQ(first.state(), QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(QStringLiteral(XB_XUNBAO_PATH), {});
    ASSERT_TRUE(endsSilentlyWithZero(second));
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    ASSERT_TRUE(first.waitForFinished(-1));
}

// A folder where no lock can be made is told apart from a lock held by another process.
TEST_F(SingleInstance, MissingFolderIsReportedAsUnavailable) {
    SingleInstanceGuard guard(applicationTitle(), folder.filePath(u"missing"_s));
    EXPECT_EQ(guard.acquire(), SingleInstanceGuard::Outcome::Unavailable);
    EXPECT_FALSE(lockFileName(applicationTitle()).contains(QLatin1Char('/')));
    EXPECT_NE(lockFileName(u"a/b"_s), lockFileName(u"a_b"_s));
}
