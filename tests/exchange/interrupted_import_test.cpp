// An import ended by a signal must not leave the package's unpacked text files behind.
#include "exchange/archiver.h"
#include "exchange/folder_on_termination.h"
#include "exchange/import_package.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace xb::exchange {
namespace {

struct ChildEnd {
    std::string folder; // what the child reported before it ended
    int signal = 0;     // the signal that ended it; 0 when it exited
};

// Runs `body` in a child process; it writes a folder path to the pipe it is given.
template <typename Body> ChildEnd inChild(Body body) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        body(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    ChildEnd end;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        end.folder.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
    return end;
}

void report(int fd, const std::string& folder) {
    (void)!::write(fd, folder.data(), folder.size());
    ::close(fd);
}

TEST(InterruptedImport, TheGuardRemovesItsFolderWhenTheProcessIsTerminated) {
    QTemporaryDir base;
    const std::string folder = QDir(base.path()).filePath("unpacked").toStdString();
    const ChildEnd end = inChild([&](int fd) {
        std::filesystem::create_directories(folder + "/sub");
        std::ofstream(folder + "/KJCG.TXT") << "2024000001\t.\r\n";
        std::ofstream(folder + "/sub/deeper.txt") << "x";
        RemoveOnTermination guard(folder);
        report(fd, folder);
        ::raise(SIGTERM);
    });
    EXPECT_EQ(end.signal, SIGTERM); // the process still ends as a terminated one
    EXPECT_EQ(end.folder, folder);
    EXPECT_FALSE(std::filesystem::exists(folder));

    // Once the guard is gone, a signal leaves folders alone.
    const ChildEnd later = inChild([&](int fd) {
        std::filesystem::create_directories(folder);
        { RemoveOnTermination guard(folder); }
        report(fd, folder);
        ::raise(SIGINT);
    });
    EXPECT_EQ(later.signal, SIGINT);
    EXPECT_TRUE(std::filesystem::exists(folder));
}

TEST(InterruptedImport, AnUnpackedPackageGoesWithTheTerminatedProcess) {
    QTemporaryDir source;
    for (const QString& name : exchangePackageFiles()) {
        QFile file(QDir(source.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("2024000001\t.\r\n");
    }
    ASSERT_TRUE(packExchangePackage(Archiver(), source.path()).ok());
    const QString package = QDir(source.path()).filePath("cgsbqy.arj");
    ASSERT_TRUE(QFile::exists(package));

    const ChildEnd end = inChild([&](int fd) {
        auto unpacked = UnpackedPackage::unpack(Archiver(), package);
        if (!unpacked) ::_exit(3);
        report(fd, (*unpacked)->folder().toStdString());
        ::kill(::getpid(), SIGTERM);
        ::pause();
    });
    EXPECT_EQ(end.signal, SIGTERM);
    ASSERT_FALSE(end.folder.empty());
    EXPECT_FALSE(std::filesystem::exists(end.folder)) << end.folder;
}

} // namespace
} // namespace xb::exchange
