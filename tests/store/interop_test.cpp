// Files the engine writes must open in other dBASE readers, and theirs in the engine; python3-dbf
// stands in for the other programs.
#include "store/layouts.h"
#include "store/table_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>

using namespace xb::store;

namespace {

std::string runPeer(const std::string& command, const std::string& path) {
    const std::string line = "/usr/bin/python3 " XB_SOURCE_DIR "/tests/store/dbf_peer.py " +
                             command + " '" + path + "' 2>&1";
    std::string out;
    if (FILE* p = ::popen(line.c_str(), "r")) {
        std::array<char, 4096> buf{};
        size_t n = 0;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
            out.append(buf.data(), n);
        EXPECT_EQ(::pclose(p), 0) << out;
    }
    return out;
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
