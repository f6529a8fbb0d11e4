// Where the programs keep their data: data/ beside a copy of the build output when it may be
// written, the user's own folder otherwise, --data above both; and completing a data directory
// from the installation sources without touching what is there.
#include "app/data_location.h"
#include "app/version.h"
#include "store/temp_dir.h"
#include "store/writer_lock.h"
#include "support/shell_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(DataLocation, CopyOfTheBuildUsesWritableDataBesideItElseTheUsersFolder) {
    TempDir dir;
    const fs::path copy = dir.path() / "copy", home = dir.path() / "home";
    fs::create_directories(copy);
    fs::copy_file(XB_CLI_PATH, copy / "xunbao-cli");
    // As root every folder is writable: the read-only case runs as nobody.
    const std::string user =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const auto version = [&](const std::string& options = {}) {
        return runShell("env -u XDG_DATA_HOME HOME=" + home.string() + " " + user +
                        (copy / "xunbao-cli").string() + " " + options + " --version 2>&1")
            .out;
    };
    const std::string perUser = "数据目录：" + (home / ".local/share/Xunbao/data").string() + "\n";

    EXPECT_EQ(version(), "xunbao-cli " XB_VERSION "\n" + perUser);
    fs::create_directory(copy / "data");
    fs::permissions(copy / "data", fs::perms::all);
    EXPECT_EQ(version(), "xunbao-cli " XB_VERSION "\n数据目录：" + (copy / "data").string() + "\n");
    fs::permissions(copy / "data", fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(version(), "提示：程序旁的数据目录 " + (copy / "data").string() + " 不可写，改用 " +
                             (home / ".local/share/Xunbao/data").string() +
                             "\nxunbao-cli " XB_VERSION "\n" + perUser);
    EXPECT_EQ(version("--data " + dir.file("elsewhere")),
              "xunbao-cli " XB_VERSION "\n数据目录：" + dir.file("elsewhere") + "\n");
}

TEST(DataLocation, CompletingAddsWhatIsMissingAndNothingWhileAnotherWrites) {
    TempDir dir;
    const std::string data = dir.file("older/data");
    fs::create_directories(data);
    writeBytes(data + "/kjcg.dbf", "the user's records");
    writeBytes(data + "/welcome.jpg", "the office's own picture");
    ASSERT_TRUE(xb::app::completeDataDirectory(QString::fromStdString(data), XB_INSTALLATION_DIR));
    EXPECT_EQ(readBytes(data + "/kjcg.dbf"), "the user's records");
    EXPECT_EQ(readBytes(data + "/welcome.jpg"), "the office's own picture");
    EXPECT_TRUE(fs::exists(data + "/unit.dbf"));
    EXPECT_TRUE(fs::exists(data + "/zdxx.dbf"));

    const std::string busy = dir.file("first/start/data");
    fs::create_directories(busy);
    auto writer = xb::store::WriterLock::take(busy, "命令 xunbao-cli import");
    ASSERT_TRUE(writer);
    ASSERT_TRUE(xb::app::completeDataDirectory(QString::fromStdString(busy), XB_INSTALLATION_DIR));
    EXPECT_FALSE(fs::exists(busy + "/kjcg.dbf"));
    writer->reset();
    ASSERT_TRUE(xb::app::completeDataDirectory(QString::fromStdString(busy), XB_INSTALLATION_DIR));
    EXPECT_TRUE(fs::exists(busy + "/kjcg.dbf"));
}
