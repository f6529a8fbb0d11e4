// Lines and files as the writer must produce them, compared with bytes written out by hand.
#include "exchange/exchange_reader.h"
#include "exchange/exchange_writer.h"
#include "store/layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace xb::exchange {
namespace {

using store::charField;
using store::FieldList;
using store::memoField;

std::vector<std::string> splitAtTabs(const std::string& line) {
    std::vector<std::string> pieces(1);
    for (char c : line) {
        if (c == '\t')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

TEST(ExchangeLine, KjcgQuotesOnlyValuesThatWouldSplitARecordOrOpenAValue) {
    const FieldList fields{
        memoField("ITEM_13"),      charField("ITEM_3", 20),   charField("ITEM_9", 20),
        charField("ITEM_14", 20),  charField("ITEM_8", 20),   memoField("ITEM_13_1"),
        charField("ITEM_SJDC", 1), charField("ITEM_120", 20), charField("TLinkManEm", 20)};
    const std::vector<std::string> texts{"ab\r\ncd", "\"x", "a\"b", "a\tb",         "",
                                         "x\ny",     "1",   "end",  "never written"};
    EXPECT_EQ(exchangeLine(ColumnRule::Kjcg, fields, texts),
              "\"ab\r\ncd\"\t\"\"\"x\"\ta\"b\t\"a\tb\"\t\tx\ny\t0\tend\t");
}

TEST(ExchangeLine, KjcgLineOfTheAchievementTableEndsWithTabAndLeavesTheLastFieldOut) {
    const FieldList& fields = store::layoutOf("kjcg").fields;
    std::vector<std::string> texts;
    for (std::size_t k = 0; k < fields.size(); ++k)
        texts.push_back("v" + std::to_string(k + 1));
    const std::size_t sjdc = std::find_if(fields.begin(), fields.end(),
                                          [](const auto& f) { return f.name == "ITEM_SJDC"; }) -
                             fields.begin();
    ASSERT_LT(sjdc, fields.size());
    texts[sjdc] = "1";

    const std::string line = exchangeLine(ColumnRule::Kjcg, fields, texts);
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), static_cast<long>(fields.size() - 1));
    EXPECT_EQ(line.back(), '\t');
    const auto pieces = splitAtTabs(line);
    EXPECT_EQ(pieces[0], "v1");
    EXPECT_EQ(pieces[fields.size() - 2], "v" + std::to_string(fields.size() - 1));
    EXPECT_EQ(pieces[sjdc], "0");
    EXPECT_EQ(line.find("v" + std::to_string(fields.size())), std::string::npos);
}

TEST(ExchangeLine, ChildFilesEndWithABareValue) {
    const FieldList& cgwcdw = store::layoutOf("cgwcdw").fields;
    // "单位" in GBK; the bare value keeps a QUOTE that does not lead and is not quoted itself.
    EXPECT_EQ(exchangeLine(ColumnRule::Cgwcdw, cgwcdw,
                           {"2008000001", ".", "1", "\xb5\xa5\xce\xbb", "\"b", "", "", "", "a\"b"}),
              "2008000001\t.\t1\t\xb5\xa5\xce\xbb\t\"\"\"b\"\t\t\t\ta\"b");

    const FieldList& zlqk = store::layoutOf("zlqk").fields;
    EXPECT_EQ(exchangeLine(ColumnRule::Zlqk, zlqk, {"2008000001", ".", "2", "ZL01", "name", "1"}),
              "2008000001\t.\t2\tZL01\tname\t1\t");
    // Missing texts count as empty.
    EXPECT_EQ(exchangeLine(ColumnRule::Jdwyhmd, store::layoutOf("jdwyhmd").fields, {"k"}),
              "k\t\t\t\t\t\t\t\t\t\t\t");
}

TEST(ExchangeLine, CompleterLineEndsWithTheFlagAndLeavesOutTheOrderNumber) {
    const FieldList& fields = store::layoutOf("cgwcr").fields;
    auto lineWithFlag = [&](const std::string& flag) {
        return exchangeLine(ColumnRule::Cgwcr, fields,
                            {"2008000001", ".", "1", "\xd5\xc5\xc8\xfd", "1", "196001", "1", "2",
                             "org", "work", flag, "7"});
    };
    const std::string head = "2008000001\t.\t1\t\xd5\xc5\xc8\xfd\t1\t196001\t1\t2\torg\twork\t";
    EXPECT_EQ(lineWithFlag("1"), head + "1");
    EXPECT_EQ(lineWithFlag(""), head + "0");
    EXPECT_EQ(lineWithFlag("0"), head + "0");
    EXPECT_EQ(lineWithFlag("Y"), head + "0");
    EXPECT_EQ(lineWithFlag(" 1"), head + "0");
}

TEST(ExchangeLine, ExpertAndUnitLines) {
    EXPECT_EQ(exchangeLine(ColumnRule::Expert, store::layoutOf("unitexpert").fields,
                           {"9990001000", "1", "name", "1", "1960.01", "01;", "short text"}),
              "9990001000\t1\tname\t1\t1960.01");

    const FieldList unitLike{charField("item_124_1", 20), memoField("unitintrod"),
                             memoField("studydirec")};
    EXPECT_EQ(exchangeLine(ColumnRule::Unit, unitLike, {"01;", "a\tb", "x\"\"y"}),
              "01;\t\"a\tb\"\t\"x  y\"");
    EXPECT_EQ(exchangeLine(ColumnRule::Unit, unitLike, {"", "", ""}), "\t\t\"\"");
}

// A bare or closing value has no quoting of its own: what would break the record for a reader
// is written as blanks, and each written line reads back as one record.
TEST(ExchangeLine, BareAndClosingValuesCannotBreakTheRecord) {
    const FieldList& zlqk = store::layoutOf("zlqk").fields;
    const auto zlqkLine = [&](const std::string& last) {
        return exchangeLine(ColumnRule::Zlqk, zlqk, {"k", ".", "1", "no", "name", "st", last});
    };
    EXPECT_EQ(zlqkLine("a\tb\r\nc\nd"), "k\t.\t1\tno\tname\tst\ta b \nc\nd");
    EXPECT_EQ(zlqkLine("\"open"), "k\t.\t1\tno\tname\tst\t open");
    EXPECT_EQ(zlqkLine("\"a\"b"), "k\t.\t1\tno\tname\tst\t a b");
    EXPECT_EQ(zlqkLine("\"closed\""), "k\t.\t1\tno\tname\tst\t\"closed\"");

    const FieldList unitLike{charField("a", 5), memoField("studydirec")};
    EXPECT_EQ(exchangeLine(ColumnRule::Unit, unitLike, {"x", "say \"hi\r\nthere\t!"}),
              "x\t\"say  hi \nthere !\"");

    std::string file;
    for (const std::string last : {"a\tb\r\nc", "\"open", "\"a\"b", "\"closed\"", "x\ny"})
        file += zlqkLine(last) + "\r\n";
    file += exchangeLine(ColumnRule::Unit, {charField("a", 5), charField("b", 5), memoField("c")},
                         {"p", "q", "one \"quote\r\nand\tmore"}) +
            "\r\n";
    auto reader = ExchangeReader::fromBytes(file, "ZLQK.TXT", 7);
    auto records = readAllRecords(reader);
    ASSERT_TRUE(records.ok()) << records.message();
    ASSERT_EQ(records->size(), 6u);
    for (std::size_t i = 0; i < records->size(); ++i)
        EXPECT_EQ((*records)[i].firstLine, static_cast<int>(i) + 1);
    EXPECT_EQ((*records)[0].fields[6], "a b \nc");
    EXPECT_EQ((*records)[4].fields[6], "x\ny");
    EXPECT_EQ((*records)[3].fields[6], "\"closed\"");
    EXPECT_EQ((*records)[5].fields[0], "p");
}

std::filesystem::path freshFolder(const std::string& name) {
    std::random_device seed;
    auto folder = std::filesystem::temp_directory_path() /
                  ("xb-exchange-" + name + "-" + std::to_string(seed()));
    std::filesystem::create_directories(folder);
    return folder;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ExchangeFile, IsWrittenAnewWithCrLfAfterEveryLine) {
    const auto folder = freshFolder("write");
    const auto path = folder / "KJCG.TXT";
    std::ofstream(path, std::ios::binary) << "an older and much longer file\r\n\r\n\r\n";

    ASSERT_TRUE(writeExchangeFile(path, {"a\tb\t", "", "\"x\r\ny\"\t"}).ok());
    EXPECT_EQ(fileBytes(path), "a\tb\t\r\n\r\n\"x\r\ny\"\t\r\n");

    ASSERT_TRUE(writeExchangeFile(path, {}).ok());
    EXPECT_EQ(fileBytes(path), "");
    std::filesystem::remove_all(folder);
}

TEST(ExchangeFile, FailureNamesTheFile) {
    const auto folder = freshFolder("fail");
    const auto status = writeExchangeFile(folder / "missing-folder" / "CGWCR.TXT", {"x"});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.message(), "无法创建文件 CGWCR.TXT：文件或文件夹不存在");

    auto writer = ExchangeFileWriter::create(folder / "ZLQK.TXT");
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->writeLine("a").ok());
    ASSERT_TRUE(writer->close().ok());
    const auto afterClose = writer->writeLine("b");
    ASSERT_FALSE(afterClose.ok());
    EXPECT_NE(afterClose.message().find("ZLQK.TXT"), std::string::npos);
    EXPECT_EQ(fileBytes(folder / "ZLQK.TXT"), "a\r\n");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace xb::exchange
