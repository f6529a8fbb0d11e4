// Files the engine writes must open in other dBASE readers, and theirs in the engine; python3-dbf
// stands in for the other programs.
#include "store/gbk.h"
#include "store/layouts.h"
#include "store/pack.h"
#include "store/table_file.h"
#include "support/shell_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

using namespace xb::store;

namespace {

std::string runPeer(const std::string& command, const std::string& path) {
    const std::string line = "/usr/bin/python3 " XB_SOURCE_DIR "/tests/store/dbf_peer.py " +
                             command + " '" + path + "' 2>&1";
    const ShellRun run = runShell(line);
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

} // namespace

TEST(Interop, AnotherReaderOpensOurTablesWithMemosAndGbkText) {
    TempDir dir;
    const std::string path = dir.file("zlqk.dbf");
    FieldList fields = layoutOf("zlqk").fields;
    fields.push_back(memoField("NOTE"));
    fields.push_back(dateField("SEEN"));
    ASSERT_TRUE(TableFile::create(path, fields).ok());
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok());
    std::vector<Value> row(fields.size());
    row[0] = Value("2024000001");
    row[1] = Value(".");
    row[2] = Value(1);
    row[4] = Value("一种高效“节能”装置");
    row[5] = Value("2");
    row[7] = Value("说明\r\n第二行");
    row[8] = Value(Date{2023, 12, 31});
    ASSERT_TRUE((*t)->append(row).ok());
    row[4] = Value("deleted");
    ASSERT_TRUE((*t)->append(row).ok());
    ASSERT_TRUE((*t)->markDeleted(2).ok());

    const auto out = lines(runPeer("read", path));
    ASSERT_EQ(out.size(), 2u) << runPeer("read", path);
    EXPECT_NE(out[0].find("cp936"), std::string::npos) << out[0];
    EXPECT_EQ(
        out[1],
        R"(["2024000001", ".", 1.0, "", "一种高效“节能”装置", "2", "", "说明\r\n第二行", "2023-12-31"])");
}

TEST(Interop, WeReadTablesWrittenByAnotherProgram) {
    TempDir dir;
    const std::string path = dir.file("peer.dbf");
    runPeer("write", path);
    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    std::vector<std::vector<Value>> rows;
    ASSERT_TRUE((*t)->scan([&](uint32_t, std::string_view raw) {
                        rows.push_back((*t)->decodeRow(raw));
                        return true;
                    })
                    .ok());
    ASSERT_EQ(rows.size(), 2u); // the deleted row is skipped
    EXPECT_EQ(rows[0][1].toText(), "国产大型客机研制");
    EXPECT_EQ(rows[0][2].toText(), "第一行\r\n第二行");
    EXPECT_EQ(rows[0][3].toText(), "12.5");
    EXPECT_EQ(rows[0][4].toText(), "2024-02-29");
    EXPECT_EQ(rows[0][5].toText(), "T");
    EXPECT_TRUE(rows[1][1].isNull());
    EXPECT_TRUE(rows[1][2].isNull());
    EXPECT_TRUE(rows[1][4].isNull());
}

namespace {

void makeFoxProTable(const std::string& path, const std::string& declared, const std::string& row) {
    const std::string line = "/usr/bin/python3 " XB_SOURCE_DIR "/tests/store/dbf_peer.py vfp '" +
                             path + "' '" + declared + "' '" + row + "' 2>&1";
    const ShellRun run = runShell(line);
    ASSERT_EQ(run.status, 0) << run.out;
}

} // namespace

TEST(Interop, VisualFoxProTablesAreConvertedWithTheirMemos) {
    TempDir dir;
    const std::string path = dir.file("peer.dbf");
    makeFoxProTable(path, "ITEM_4 C(10); ITEM_13 M; ITEM_45 N(18,4); NOTE M",
                    R"({"ITEM_4": "2024000001", "ITEM_13": "第一行\r\n第二行 \u00e9",)"
                    R"( "ITEM_45": 12.5, "NOTE": ""})");
    ASSERT_EQ(static_cast<unsigned char>(readBytes(path)[0]), 0x30);
    ASSERT_TRUE(packTable(path, PackNeed::WhenNeeded).ok());

    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    EXPECT_TRUE((*t)->ownLayout());
    EXPECT_EQ((*t)->fields()[1].width, 10);
    std::string raw;
    ASSERT_TRUE((*t)->readRecord(1, raw).ok());
    EXPECT_EQ((*t)->decode(raw, 1).toText(), "第一行\r\n第二行 é");
    EXPECT_TRUE((*t)->decode(raw, 3).isNull());
    // Our converted table is writable and reads in the other program.
    std::vector<Value> values = (*t)->decodeRow(raw);
    values[0] = Value("2024000002");
    ASSERT_TRUE((*t)->write(1, values).ok());
    t->reset();
    const auto out = lines(runPeer("read", path));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1], R"(["2024000002", "第一行\r\n第二行 é", 12.5, ""])");

    // pgdbf, a reader of its own, finds the memo too (in the table's GBK).
    if (!std::filesystem::exists("/usr/bin/pgdbf")) return;
    const ShellRun pgdbf =
        runShell("/usr/bin/pgdbf -m '" + dir.file("peer.dbt") + "' '" + path + "'");
    EXPECT_EQ(pgdbf.status, 0) << pgdbf.out;
    const std::string& dump = pgdbf.out;
    EXPECT_NE(dump.find(toGbk("2024000002\t第一行\\r\\n第二行 é")), std::string::npos) << dump;
}

TEST(Interop, AFoxProTableWithFieldsWeCannotHoldIsLeftUntouched) {
    TempDir dir;
    const std::string path = dir.file("peer.dbf");
    makeFoxProTable(path, "ITEM_4 C(10); COUNT I; NOTE M", R"({"ITEM_4": "1", "NOTE": "备注"})");
    const std::string table = readBytes(path);
    const std::string memo = readBytes(dir.file("peer.fpt"));
    Status packed = packTable(path, PackNeed::WhenNeeded);
    ASSERT_FALSE(packed.ok());
    EXPECT_NE(packed.message().find("字段 COUNT（类型 I）无法转换"), std::string::npos)
        << packed.message();
    EXPECT_EQ(readBytes(path), table);
    EXPECT_EQ(readBytes(dir.file("peer.fpt")), memo);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);
}

namespace {

// A dBASE III table as another program writes it, with memo pointers eight digits wide: NAME
// C(6), BODY M(8), CODE N(4), NOTE M(8). Each row gives its memos; "" is no memo.
struct NarrowMemoRow {
    std::string name, body, code, note;
    bool deleted = false;
};

void writeNarrowMemoTable(const std::string& dbfPath, const std::string& dbtPath,
                          const std::vector<NarrowMemoRow>& rows) {
    const struct {
        const char* name;
        char type;
        int width;
    } fields[] = {{"NAME", 'C', 6}, {"BODY", 'M', 8}, {"CODE", 'N', 4}, {"NOTE", 'M', 8}};
    const int recordLength = 1 + 6 + 8 + 4 + 8, headerLength = 32 + 32 * 4 + 1;
    std::string dbt(512, '\0');
    const auto memo = [&](const std::string& text) {
        if (text.empty()) return std::string(8, ' ');
        const std::string number = std::to_string(dbt.size() / 512);
        dbt += toGbk(text) + "\x1A\x1A";
        dbt.resize((dbt.size() + 511) / 512 * 512, '\0');
        return std::string(8 - number.size(), ' ') + number;
    };
    std::string dbf(32, '\0');
    dbf[0] = '\x83';
    dbf[1] = 99, dbf[2] = 7, dbf[3] = 1;
    dbf[4] = static_cast<char>(rows.size());
    dbf[8] = static_cast<char>(headerLength), dbf[9] = 0;
    dbf[10] = static_cast<char>(recordLength);
    for (const auto& f : fields) {
        std::string d(32, '\0');
        d.replace(0, std::strlen(f.name), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.width);
        dbf += d;
    }
    dbf += '\x0D';
    const auto pad = [](const std::string& text, size_t width, bool right) {
        const std::string gbk = toGbk(text);
        return right ? std::string(width - gbk.size(), ' ') + gbk
                     : gbk + std::string(width - gbk.size(), ' ');
    };
    for (const NarrowMemoRow& row : rows)
        dbf += std::string(row.deleted ? "*" : " ") + pad(row.name, 6, false) + memo(row.body) +
               pad(row.code, 4, true) + memo(row.note);
    dbf += '\x1A';
    const uint32_t next = static_cast<uint32_t>(dbt.size() / 512);
    std::memcpy(dbt.data(), &next, 4); // little-endian, as on the machines we run on
    writeBytes(dbfPath, dbf);
    writeBytes(dbtPath, dbt);
}

} // namespace

TEST(Interop, PackKeepsEveryMemoOfATableWithNarrowMemoPointers) {
    TempDir dir;
    const std::string path = dir.file("narrow.dbf");
    const std::vector<NarrowMemoRow> rows{
        {"甲一", "第一行\r\n第二行", "12", ""},
        {"gone", "deleted body", "1", "deleted note", true},
        {"乙二", std::string(1500, 'b'), "7", "短备注"},
        {"", "", "", "only a note"},
        {"丙三", "中文备注“引号”", "9999", std::string(700, 'n')}};
    writeNarrowMemoTable(path, dir.file("narrow.dbt"), rows);
    {
        auto before = TableFile::open(path, OpenMode::Shared);
        ASSERT_TRUE(before.ok()) << before.message();
        EXPECT_FALSE((*before)->ownLayout()); // read, never written in place
    }
    ASSERT_TRUE(packTable(path, PackNeed::WhenNeeded).ok());

    auto t = TableFile::open(path, OpenMode::Shared);
    ASSERT_TRUE(t.ok()) << t.message();
    EXPECT_TRUE((*t)->ownLayout());
    std::vector<std::string> names, codes;
    ASSERT_TRUE((*t)->scan([&](uint32_t, std::string_view raw) {
                        names.push_back(std::string(raw.substr((*t)->fieldOffset(0), 6)));
                        codes.push_back(std::string(raw.substr((*t)->fieldOffset(2), 4)));
                        return true;
                    })
                    .ok());
    const std::vector<std::string> keptNames{toGbk("甲一  "), toGbk("乙二  "), "      ",
                                             toGbk("丙三  ")};
    EXPECT_EQ(names, keptNames);
    EXPECT_EQ(codes, (std::vector<std::string>{"  12", "   7", "    ", "9999"}));
    t->reset();

    const auto out = lines(runPeer("read", path));
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[1], R"(["甲一", "第一行\r\n第二行", 12.0, ""])");
    EXPECT_EQ(out[2], R"(["乙二", ")" + std::string(1500, 'b') + R"(", 7.0, "短备注"])");
    EXPECT_EQ(out[3], R"(["", "", null, "only a note"])");
    EXPECT_EQ(out[4], R"(["丙三", "中文备注“引号”", 9999.0, ")" + std::string(700, 'n') + R"("])");
}
