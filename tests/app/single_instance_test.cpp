#include "app/application_title.h"
#include "app/single_instance.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

using namespace xb::app;
using namespace Qt::StringLiterals;

// Real processes. Each test gives them a fresh folder as TMPDIR and runtime folder, so a copy of
// the program that a user runs on this machine is never disturbed.
class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder.emplace();
        QVERIFY(folder->isValid());
    }

    // The first start holds the lock; a second start ends at once, silently, with status 0,
    // and the first goes on, also when its lock is older than QLockFile's stale age.
    // Once the first has ended normally the next start gets the lock.
    void secondStartEndsWhileTheFirstRuns() {
        auto first = startProbe();
        QVERIFY(waitForAcquired(*first));

        auto second = startProbe();
        QVERIFY(endsSilentlyWithZero(*second));
        QCOMPARE(first->state(), QProcess::Running);

        QFile lock(lockPath());
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
        lock.close();
        auto third = startProbe();
        QVERIFY(endsSilentlyWithZero(*third));
        QCOMPARE(first->state(), QProcess::Running);

        first->closeWriteChannel();
        QVERIFY(first->waitForFinished(-1));
        QCOMPARE(first->exitCode(), 0);
        QVERIFY(!QFile::exists(lockPath()));
        auto next = startProbe();
        QVERIFY(waitForAcquired(*next));
        next->closeWriteChannel();
        QVERIFY(next->waitForFinished(-1));
    }

    // A killed run leaves its lock file behind; the next start takes it over.
    void lockOfAKilledRunIsTakenOver() {
        auto crashed = startProbe();
        QVERIFY(waitForAcquired(*crashed));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(-1));
        QVERIFY(QFile::exists(lockPath()));

        auto next = startProbe();
        QVERIFY(waitForAcquired(*next));
        next->closeWriteChannel();
        QVERIFY(next->waitForFinished(-1));
    }

    // The program itself: a second xunbao ends at once with status 0 while the first runs.
    void secondProgramStartEndsSilently() {
        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(QStringLiteral(XB_XUNBAO_PATH), {});
        QVERIFY(first.waitForStarted(-1));
        // The lock file appears once the guard has run; the first copy then shows its windows.
        while (!QFile::exists(lockPath()) && first.state() == QProcess::Running)
            first.waitForFinished(20);
        QCOMPARE(first.state(), QProcess::Running);

        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(XB_XUNBAO_PATH), {});
        QVERIFY(endsSilentlyWithZero(second));
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        QVERIFY(first.waitForFinished(-1));
    }

    // A folder where no lock can be made is told apart from a lock held by another process.
    void missingFolderIsReportedAsUnavailable() {
        SingleInstanceGuard guard(applicationTitle(), folder->filePath(u"missing"_s));
        QCOMPARE(guard.acquire(), SingleInstanceGuard::Outcome::Unavailable);
        QVERIFY(!lockFileName(applicationTitle()).contains(QLatin1Char('/')));
        QVERIFY(lockFileName(u"a/b"_s) != lockFileName(u"a_b"_s));
    }

  private:
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TMPDIR"_s, folder->path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        // Without it Qt's start-up itself prints a notice, which would hide one of ours.
        env.insert(u"XDG_RUNTIME_DIR"_s, folder->path());
        return env;
    }

    QString lockPath() const { return folder->filePath(lockFileName(applicationTitle())); }

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

    std::optional<QTemporaryDir> folder;
};

int runSingleInstanceTests(int argc, char** argv) {
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "single_instance_test.moc"
