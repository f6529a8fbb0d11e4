// xunbao-cli run as a real program: init, list, check, export from one data directory and
// import into another.
#include "store/record_store.h"
#include "store/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

// Runs the tool with `arguments`; `shell` runs before it in the same shell (limits, traps), and
// `errors` keeps the standard error in the output.
CliRun cli(const std::string& arguments, const std::string& shell = {}, bool errors = false) {
    const std::string program = std::string(XB_CLI_PATH) + " " + arguments;
    const std::string command =
        (shell.empty() ? program : "bash -c \"" + shell + "; exec " + program + "\"") +
        (errors ? " 2>&1" : " 2>/dev/null") + " </dev/null";
    CliRun run;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buf{};
        size_t n = 0;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
            run.out.append(buf.data(), n);
        const int status = ::pclose(p);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

void addRecord(xb::store::Database& db, const std::string& number, const std::string& name) {
    ASSERT_TRUE(
        db.execute("insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9, item_13) "
                   "values (:n, '.', '1', :name, '某研究所', :memo)",
                   {{"n", number}, {"name", name}, {"memo", "简介第一行\r\n第二行"}})
            .ok());
    ASSERT_TRUE(db.execute("insert into cgwcr (item_4, item_dqdm, item_187, item_180) values (:n, "
                           "'.', 1, '张三')",
                           {{"n", number}})
                    .ok());
}

} // namespace

TEST(Cli, ExportFromOneDataDirectoryImportIntoAnother) {
    TempDir dir;
    const std::string from = dir.file("from"), to = dir.file("to"), out = dir.file("out");
    std::filesystem::create_directory(out);
    ASSERT_EQ(cli("--data " + from + " init").status, 0);
    ASSERT_EQ(cli("--data " + to + " init").status, 0);
    EXPECT_EQ(cli("--data " + to + " init").out, ""); // nothing missing, nothing created
    {
        xb::store::Database db(from);
        addRecord(db, "2024000001", "第一项成果");
        addRecord(db, "2024000002", "第二项成果");
        addRecord(db, "2023000001", "去年的成果");
    }
    {
        xb::store::Database db(to);
        addRecord(db, "2024000001", "已有的成果");
    }

    const CliRun listed = cli("--data " + from + " list --year 2024");
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("2024000001\t1\t\t第一项成果\t某研究所\t不完整：成果概况"),
              std::string::npos)
        << listed.out;
    EXPECT_EQ(listed.out.find("2023000001"), std::string::npos);
    const CliRun checked = cli("--data " + from + " check --year 2023");
    EXPECT_EQ(checked.status, 1);
    EXPECT_NE(checked.out.find("2023000001\t去年的成果\t成果概况\tITEM_121"), std::string::npos)
        << checked.out;

    EXPECT_EQ(cli("--data " + from + " export --out " + out + " --year 2024").status, 0);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(out) / "cgsbqy.arj"));
    EXPECT_EQ(cli("--data " + from + " export --out " + out + " --all").status, 1); // no --force
    EXPECT_EQ(
        cli("--data " + from + " export --out " + out + " --record 2024000002 --force").status, 0);
    EXPECT_EQ(
        cli("--data " + from + " export --out " + out + " --record 2099000001 --force").status, 1);
    EXPECT_EQ(cli("--data " + from + " export --out " + out + " --all --force").status, 0);

    // The package must carry its usual name; any other is refused.
    std::filesystem::copy_file(std::filesystem::path(out) / "cgsbqy.arj",
                               std::filesystem::path(out) / "other.arj");
    EXPECT_EQ(cli("--data " + to + " import " + out + "/other.arj").status, 1);

    const CliRun imported = cli("--data " + to + " import " + out + "/cgsbqy.arj");
    EXPECT_EQ(imported.status, 0);
    EXPECT_EQ(imported.out, "新存入\t3\n覆盖\t0\n跳过\t0\n");
    {
        xb::store::Database db(to);
        auto rows = db.query("select * from kjcg where item_3='第二项成果'");
        ASSERT_TRUE(rows.ok());
        ASSERT_EQ((*rows)->count(), 1);
        EXPECT_EQ((*rows)->text("item_4"), "2024000003"); // continues the year's numbering
        EXPECT_EQ((*rows)->text("item_13"), "简介第一行\r\n第二行");
        auto people = db.query("select count(*) from cgwcr where item_4='2024000003'");
        EXPECT_EQ((*people)->value(0).toInteger(), 1);
    }

    // The same package again: every achievement is a duplicate and is skipped by default.
    const CliRun again = cli("--data " + to + " import " + out + "/cgsbqy.arj");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "新存入\t0\n覆盖\t0\n跳过\t3\n");
}

// A disk too full to pack the tables at start (here: a file size limit) costs only the room of
// the deleted rows: the command warns, goes on and leaves every table as it was.
TEST(Cli, AFailedStartUpPackOnlyWarns) {
    TempDir dir;
    const std::string data = dir.file("data");
    ASSERT_EQ(cli("--data " + data + " init").status, 0);
    {
        xb::store::Database db(data);
        addRecord(db, "2024000001", "第一项成果");
        addRecord(db, "2024000002", "第二项成果");
        ASSERT_TRUE(db.execute("delete from kjcg where item_4='2024000001'").ok());
    }
    const CliRun full = cli("--data " + data + " list", "trap '' XFSZ; ulimit -f 1", true);
    EXPECT_EQ(full.status, 0) << full.out;
    EXPECT_NE(full.out.find("警告：表 kjcg.DBF 未能压缩"), std::string::npos) << full.out;
    EXPECT_NE(full.out.find("2024000002"), std::string::npos) << full.out;
    EXPECT_EQ(full.out.find("2024000001"), std::string::npos) << full.out;

    const CliRun later = cli("--data " + data + " list", {}, true);
    EXPECT_EQ(later.status, 0);
    EXPECT_EQ(later.out.find("警告"), std::string::npos) << later.out;
    EXPECT_NE(later.out.find("第二项成果"), std::string::npos) << later.out;
}

TEST(Cli, UsageErrorsAndMissingDataDirectory) {
    TempDir dir;
    EXPECT_EQ(cli("").status, 2);
    EXPECT_EQ(cli("frobnicate").status, 2);
    EXPECT_EQ(cli("list --help").status, 0);
    EXPECT_EQ(cli("--data " + dir.file("none") + " list").status, 1);
    EXPECT_EQ(cli("--data " + dir.file("none") + " list --year 20x4").status, 2);
    ASSERT_EQ(cli("--data " + dir.file("d") + " init").status, 0);
    EXPECT_EQ(cli("--data " + dir.file("d") + " list --category 4").status, 2);
    EXPECT_EQ(cli("--data " + dir.file("d") + " export --out " + dir.file("d")).status, 2);
    EXPECT_EQ(cli("--data " + dir.file("d") + " check").status, 0);
}

// A copy of the program with its installation folder, far from the source tree, creates a
// complete data directory; without the folder it says what is missing and creates nothing.
TEST(Cli, InitWorksFromACopyOfTheBuildOutput) {
    namespace fs = std::filesystem;
    TempDir dir;
    const fs::path copy = dir.file("copy");
    fs::create_directories(copy);
    const fs::path cliPath(XB_CLI_PATH);
    fs::copy_file(cliPath, copy / "xunbao-cli");
    const auto run = [&](const std::string& args) {
        const std::string command = (copy / "xunbao-cli").string() + " " + args + " 2>&1";
        FILE* p = ::popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buf{};
        size_t n = 0;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
            out.append(buf.data(), n);
        const int status = ::pclose(p);
        return std::pair{WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    };
    auto [refused, message] = run("--data " + dir.file("d1") + " init");
    EXPECT_EQ(refused, 1);
    EXPECT_NE(message.find("找不到安装文件夹"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir.file("d1")));

    fs::copy(cliPath.parent_path() / "installation", copy / "installation",
             fs::copy_options::recursive);
    EXPECT_EQ(run("--data " + dir.file("d2") + " init").first, 0);
    EXPECT_TRUE(fs::exists(fs::path(dir.file("d2")) / "kjcg.dbf"));
    EXPECT_TRUE(fs::exists(fs::path(dir.file("d2")) / "xkfl.dbf"));
    EXPECT_EQ(run("--data " + dir.file("d2") + " check").first, 0);
}
