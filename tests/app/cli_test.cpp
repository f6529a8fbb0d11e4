// xunbao-cli run as a real program: init, list, check, export from one data directory and
// import into another.
#include "exchange/archiver.h"
#include "store/gbk.h"
#include "store/layouts.h"
#include "store/record_store.h"
#include "store/table_file.h"
#include "store/temp_dir.h"
#include "support/gbk_codes.h"
#include "support/shell_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

namespace {

// Runs the tool with `arguments`; `shell` runs before it in the same shell (limits, traps), and
// `errors` keeps the program's messages in the output.
ShellRun cli(const std::string& arguments, const std::string& shell = {}, bool errors = false) {
    const std::string program = std::string(XB_CLI_PATH) + " " + arguments;
    return runShell((shell.empty() ? program : "bash -c \"" + shell + "; exec " + program + "\"") +
                    (errors ? " 2>&1" : " 2>/dev/null") + " </dev/null");
}

// The program's messages as well as its output.
ShellRun cliWithMessages(const std::string& arguments) {
    return cli(arguments, {}, true);
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

    const ShellRun listed = cli("--data " + from + " list --year 2024");
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("2024000001\t1\t\t第一项成果\t某研究所\t不完整：成果概况"),
              std::string::npos)
        << listed.out;
    EXPECT_EQ(listed.out.find("2023000001"), std::string::npos);
    const ShellRun checked = cli("--data " + from + " check --year 2023");
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

    const ShellRun imported = cli("--data " + to + " import " + out + "/cgsbqy.arj");
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
    const ShellRun again = cli("--data " + to + " import " + out + "/cgsbqy.arj");
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "新存入\t0\n覆盖\t0\n跳过\t3\n");

    // Every stored and every overwritten record stands in the history, newest first.
    EXPECT_EQ(cli("--data " + to + " import " + out + "/cgsbqy.arj --overwrite").out,
              "新存入\t0\n覆盖\t3\n跳过\t0\n");
    const ShellRun history = cli("--data " + to + " history");
    EXPECT_EQ(history.status, 0);
    std::vector<std::string> lines; // without the time
    std::istringstream text(history.out);
    for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(line.find('\t') + 1));
    ASSERT_EQ(lines.size(), 6u) << history.out;
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(lines[i].find("\t覆盖导入\t导入\t整项成果\t20"), std::string::npos) << lines[i];
    // The records of one import in the order they were stored.
    EXPECT_EQ(lines[3], "2024000002\t导入\t导入\t整项成果\t\t第一项成果");
    EXPECT_EQ(lines[5], "2023000001\t导入\t导入\t整项成果\t\t去年的成果");
    EXPECT_NE(cli("--data " + to + " history --record 2024000003").out.find("\t\t第二项成果\n"),
              std::string::npos);
}

// A disk too full to pack the tables at start (here: a file size limit) costs only the room of
// the deleted rows: the backup before the pack cannot be written, so the writing command warns,
// goes on and leaves every table as it was.
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
    const ShellRun full = cli("--data " + data + " init", "trap '' XFSZ; ulimit -f 1", true);
    EXPECT_EQ(full.status, 0) << full.out;
    EXPECT_NE(full.out.find("警告：数据表未压缩：无法建立备份"), std::string::npos) << full.out;
    const ShellRun listed = cli("--data " + data + " list", {}, true);
    EXPECT_NE(listed.out.find("2024000002"), std::string::npos) << listed.out;
    EXPECT_EQ(listed.out.find("2024000001"), std::string::npos) << listed.out;

    ASSERT_EQ(cli("--data " + data + " init").status, 0);

    const ShellRun later = cli("--data " + data + " list", {}, true);
    EXPECT_EQ(later.status, 0);
    EXPECT_EQ(later.out.find("警告"), std::string::npos) << later.out;
    EXPECT_NE(later.out.find("第二项成果"), std::string::npos) << later.out;
}

// A table whose header is wrong, or that lacks a field the program needs, is named with what is
// wrong by every command, and none of them changes it.
TEST(Cli, ADamagedOrIncompleteTableIsNamedAtEveryCommand) {
    TempDir dir;
    const std::string data = dir.file("data"), out = dir.file("out");
    std::filesystem::create_directory(out);
    ASSERT_EQ(cli("--data " + data + " init").status, 0);
    {
        xb::store::Database db(data);
        addRecord(db, "2024000001", "第一项成果");
    }
    ASSERT_EQ(cli("--data " + data + " export --out " + out + " --all").status, 0);
    const std::string kjcg = data + "/kjcg.dbf";
    const std::vector<std::string> commands{"list",
                                            "check",
                                            "export --out " + out + " --all --force",
                                            "import " + out + "/cgsbqy.arj",
                                            "word --record 2024000001 --form applied --out " +
                                                dir.file("a.docx"),
                                            "print --record 2024000001 --out " + dir.file("a.pdf")};

    std::string header = readBytes(kjcg);
    ++header[8]; // the header said to be one byte longer: every row would be read shifted
    writeBytes(kjcg, header);
    for (const std::string& command : commands) {
        const ShellRun run = cliWithMessages("--data " + data + " " + command);
        EXPECT_NE(run.status, 0) << command;
        EXPECT_NE(run.out.find("表文件 kjcg.dbf 已损坏：文件头长度与字段说明不符"),
                  std::string::npos)
            << command << ": " << run.out;
    }
    EXPECT_EQ(readBytes(kjcg), header);

    std::filesystem::remove(kjcg);
    std::filesystem::remove(data + "/kjcg.dbt");
    xb::store::FieldList fields = xb::store::layoutOf("kjcg").fields;
    std::erase_if(fields, [](const auto& f) { return f.name == "ITEM_4"; });
    ASSERT_TRUE(xb::store::TableFile::create(kjcg, fields).ok());
    const std::string lacking = readBytes(kjcg);
    for (const std::string& command : commands) {
        const ShellRun run = cliWithMessages("--data " + data + " " + command);
        EXPECT_NE(run.out.find("表文件 kjcg.dbf 缺少字段 ITEM_4"), std::string::npos)
            << command << ": " << run.out;
        // Reading goes on with the warning; the record is not found, nothing is written.
        if (!command.starts_with("list") && !command.starts_with("check"))
            EXPECT_NE(run.status, 0) << command << ": " << run.out;
    }
    EXPECT_EQ(readBytes(kjcg), lacking);
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
        return runShell((copy / "xunbao-cli").string() + " " + args + " 2>&1");
    };
    const ShellRun refused = run("--data " + dir.file("d1") + " init");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("找不到安装文件夹"), std::string::npos) << refused.out;
    EXPECT_FALSE(fs::exists(dir.file("d1")));

    fs::copy(cliPath.parent_path() / "installation", copy / "installation",
             fs::copy_options::recursive);
    EXPECT_EQ(run("--data " + dir.file("d2") + " init").status, 0);
    EXPECT_TRUE(fs::exists(fs::path(dir.file("d2")) / "kjcg.dbf"));
    EXPECT_TRUE(fs::exists(fs::path(dir.file("d2")) / "xkfl.dbf"));
    EXPECT_EQ(run("--data " + dir.file("d2") + " check").status, 0);
}

TEST(Cli, APackageWithoutAchievementsIsReportedAsAnEmptyTable) {
    TempDir dir;
    const std::string data = dir.file("data");
    ASSERT_EQ(cli("--data " + data + " init").status, 0);
    for (const bool withAchievementFile : {false, true}) {
        SCOPED_TRACE(withAchievementFile ? "empty KJCG.TXT" : "no KJCG.TXT");
        const std::string folder = dir.file(withAchievementFile ? "empty" : "without");
        std::filesystem::create_directory(folder);
        QStringList files{"CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT"};
        if (withAchievementFile) files << "KJCG.TXT";
        for (const QString& name : files)
            writeBytes(folder + "/" + name.toStdString(), "");
        ASSERT_TRUE(
            xb::exchange::Archiver().add(QString::fromStdString(folder), "cgsbqy.arj", files).ok());
        const ShellRun imported =
            cliWithMessages("--data " + data + " import " + folder + "/cgsbqy.arj");
        EXPECT_EQ(imported.status, 1);
        EXPECT_NE(imported.out.find("导入的文件为空表！"), std::string::npos) << imported.out;
        EXPECT_EQ(imported.out.find("新存入"), std::string::npos) << imported.out;
    }
}

// A Visual FoxPro achievement table put into the data directory, memo and all.
TEST(Cli, AFoxProTableKeepsItsMemosThroughTheFirstCommand) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string data = dir.file("data");
    ASSERT_EQ(cli("--data " + data + " init").status, 0);
    std::string declared;
    for (const xb::store::FieldDef& f : xb::store::layoutOf("kjcg").fields) {
        std::string type = "M";
        switch (f.type) {
        case xb::store::FieldType::Character:
            type = "C(" + std::to_string(f.width) + ")";
            break;
        case xb::store::FieldType::Number:
        case xb::store::FieldType::SmallInt:
        case xb::store::FieldType::Integer:
            type = "N(" + std::to_string(f.width) + "," + std::to_string(f.decimals) + ")";
            break;
        case xb::store::FieldType::Date:
            type = "D";
            break;
        case xb::store::FieldType::Logical:
            type = "L";
            break;
        case xb::store::FieldType::Memo:
            break;
        }
        declared += (declared.empty() ? "" : "; ") + f.name + " " + type;
    }
    for (const auto& entry : fs::directory_iterator(data)) {
        const std::string name = entry.path().filename().string();
        if (xb::store::sameName(name, "kjcg.dbf") || xb::store::sameName(name, "kjcg.dbt"))
            fs::remove(entry.path());
    }
    const std::string table = data + "/kjcg.dbf";
    const std::string peer = "/usr/bin/python3 " XB_SOURCE_DIR "/tests/store/dbf_peer.py ";
    const ShellRun made =
        runShell(peer + "vfp '" + table + "' '" + declared +
                 R"(' '{"ITEM_4": "2024000001", "ITEM_DQDM": ".", "ITEM_CGLB": "1",)"
                 R"( "ITEM_3": "福克斯成果", "ITEM_9": "某研究所",)"
                 R"( "ITEM_13": "简介第一行\r\n第二行"}' 2>&1)");
    ASSERT_EQ(made.status, 0) << made.out;

    const ShellRun listed = cli("--data " + data + " list --year 2024");
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("2024000001\t1\t\t福克斯成果\t某研究所"), std::string::npos)
        << listed.out;
    {
        xb::store::Database db(data);
        auto rows = db.query("select * from kjcg where item_4='2024000001'");
        ASSERT_TRUE(rows.ok()) << rows.message();
        ASSERT_EQ((*rows)->count(), 1);
        EXPECT_EQ((*rows)->text("item_13"), "简介第一行\r\n第二行");
    }
    const ShellRun read = runShell(peer + "read '" + table + "' 2>&1");
    ASSERT_EQ(read.status, 0) << read.out;
    EXPECT_NE(read.out.find("\"简介第一行\\r\\n第二行\""), std::string::npos) << read.out;
}

// Every code of the user-defined areas, the euro sign, the widest number and a memo of blanks
// travel from one data directory to another through a package, byte for byte.
TEST(Cli, UserDefinedCodesTravelThroughAPackageByteForByte) {
    namespace fs = std::filesystem;
    using xb::store::TableFile;
    TempDir dir;
    const std::string from = dir.file("from"), to = dir.file("to"), out = dir.file("out");
    fs::create_directory(out);
    ASSERT_EQ(cli("--data " + from + " init").status, 0);
    ASSERT_EQ(cli("--data " + to + " init").status, 0);
    const std::string codes = euroAndUserDefinedCodes();
    const std::string name = "\xD5\xC5\xAA\xA1\xF8\xA1\x80";
    {
        xb::store::Database db(from);
        ASSERT_TRUE(
            db.execute("insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9, "
                       "item_13, item_13_1, item_45) values ('2024000001', '.', '1', "
                       ":name, '某研究所', :memo, '  ', '9999999999999.9999')",
                       {{"name", xb::store::fromGbk(name)}, {"memo", xb::store::fromGbk(codes)}})
                .ok());
    }
    ASSERT_EQ(cli("--data " + from + " export --out " + out + " --year 2024").status, 0);
    const ShellRun imported = cli("--data " + to + " import " + out + "/cgsbqy.arj");
    ASSERT_EQ(imported.status, 0);
    ASSERT_EQ(imported.out, "新存入\t1\n覆盖\t0\n跳过\t0\n");

    auto table = TableFile::open(to + "/kjcg.dbf", xb::store::OpenMode::Shared);
    ASSERT_TRUE(table.ok()) << table.message();
    const TableFile& kjcg = **table;
    std::string raw;
    ASSERT_TRUE(kjcg.readRecord(1, raw).ok());
    EXPECT_EQ(std::string(kjcg.fieldBytes(raw, kjcg.fieldIndex("ITEM_3"))), name);
    EXPECT_EQ(kjcg.memoBytes(raw, kjcg.fieldIndex("ITEM_13")), codes);
    EXPECT_EQ(kjcg.memoBytes(raw, kjcg.fieldIndex("ITEM_13_1")), "  ");
    EXPECT_EQ(std::string(kjcg.fieldBytes(raw, kjcg.fieldIndex("ITEM_45"))), "9999999999999.9999");
}
