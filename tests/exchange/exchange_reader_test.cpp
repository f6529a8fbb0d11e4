// Reading exchange bytes that a case folder cannot hold (generated, large, or read with other
// options): record assembly across lines, record parsing into fields, and input that is
// malformed or hostile. The plain cases are folders in cases/ (exchange_cases_test.cpp).
#include "exchange/exchange_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace xb::exchange {
namespace {

using Fields = std::vector<std::string>;

const store::Date FixedToday{2011, 3, 9};

std::vector<ExchangeRecord> readRecords(const std::string& bytes, int fieldCount,
                                        ReadOptions options = {}) {
    auto reader = ExchangeReader::fromBytes(bytes, "KJCG.TXT", fieldCount, options);
    auto records = readAllRecords(reader);
    EXPECT_TRUE(records.ok()) << records.message();
    return records.ok() ? *records : std::vector<ExchangeRecord>{};
}

std::vector<Fields> readFields(const std::string& bytes, int fieldCount, ReadOptions options = {}) {
    std::vector<Fields> rows;
    for (auto& record : readRecords(bytes, fieldCount, options))
        rows.push_back(record.fields);
    return rows;
}

ReadOptions achievementStaging() {
    ReadOptions options;
    options.achievementDates = true;
    options.today = FixedToday;
    return options;
}

TEST(ExchangeRecordAssembly, ACrLfSplitAcrossTheReadersChunksStillEndsTheLine) {
    std::string big(64 * 1024 - 3, 'x');
    const auto split = readRecords("a\t" + big + "\r\nb\tc\r\n", 2);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].fields[1], big);
    EXPECT_EQ(split[1].fields, (Fields{"b", "c"}));
}

TEST(ExchangeRecordAssembly, QuotedValueOverManyLinesAndAValueOfSeveralMegabytes) {
    std::string memo;
    for (int i = 0; i < 100000; ++i)
        memo += "line \"" + std::to_string(i) + "\"\r\n";
    std::string quoted = "\"";
    for (char c : memo)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    quoted += "\"";
    const std::string big(6 << 20, 'x');

    const auto rows = readFields("1\t" + quoted + "\t" + big + "\tlast\r\n2\tb\t\t\r\n", 4);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], memo);
    EXPECT_EQ(rows[0][2], big);
    EXPECT_EQ(rows[0][3], "last");
    EXPECT_EQ(rows[1], (Fields{"2", "b", "", ""}));
}

TEST(ExchangeRecordParsing, SixthAchievementValueThatIsNoDateBecomesToday) {
    const std::string bytes = "1\t2\t3\t4\t5\t\t7\t\r\n"
                              "1\t2\t3\t4\t5\t2008-05-06\t7\t\r\n"
                              "1\t2\t3\t4\t5\tsoon\t7\t\r\n"
                              "1\t2\t3\t4\t5\t2008-02-30\t7\t\r\n";
    const auto staged = readFields(bytes, 8, achievementStaging());
    ASSERT_EQ(staged.size(), 4u);
    EXPECT_EQ(staged[0][5], "2011-03-09");
    EXPECT_EQ(staged[1][5], "2008-05-06");
    EXPECT_EQ(staged[2][5], "2011-03-09");
    EXPECT_EQ(staged[3][5], "2011-03-09");
    EXPECT_EQ(staged[2][6], "7");

    const auto plain = readFields(bytes, 8);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0][5], "");
    EXPECT_EQ(plain[2][5], "soon");

    // Without a given date the day of reading is put in.
    ReadOptions byClock;
    byClock.achievementDates = true;
    const store::Date before = store::Date::today();
    const auto clocked = readFields("1\t2\t3\t4\t5\t\t7\t\r\n", 8, byClock);
    const store::Date after = store::Date::today();
    ASSERT_EQ(clocked.size(), 1u);
    EXPECT_TRUE(clocked[0][5] == before.toText() || clocked[0][5] == after.toText());
}

std::string valuesLine(int count) {
    std::string line;
    for (int k = 1; k <= count; ++k)
        line += (k > 1 ? "\t" : "") + ("v" + std::to_string(k));
    return line + "\r\n";
}

TEST(ExchangeRecordParsing, ImportFillsOnly101FieldsOfA102FieldTable) {
    ReadOptions dictionary;
    dictionary.variant = ReadVariant::Dictionary;
    const auto all = readFields(valuesLine(102), 102, dictionary);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0][100], "v101");
    EXPECT_EQ(all[0][101], "v102");

    // A line as written from a 102-field table: 101 values, each followed by TAB.
    std::string written;
    for (int k = 1; k <= 101; ++k)
        written += "v" + std::to_string(k) + "\t";
    const auto imported = readFields(written + "\r\n", 102);
    ASSERT_EQ(imported.size(), 1u);
    ASSERT_EQ(imported[0].size(), 102u);
    EXPECT_EQ(imported[0][100], "v101");
    EXPECT_EQ(imported[0][101], "");

    auto reader = ExchangeReader::fromBytes(valuesLine(102), "KJCG.TXT", 102);
    EXPECT_FALSE(reader.next().ok());
}

TEST(ExchangeRecordParsing, SurplusValuesAreRefusedWithFileAndLine) {
    auto reader = ExchangeReader::fromBytes("a\tb\r\n\r\nx\t\"m\r\nn\"\ty\tsurplus\r\nc\td\t\t\r\n",
                                            "CGWCDW.TXT", 3);
    auto first = reader.next();
    ASSERT_TRUE(first.ok());
    EXPECT_EQ((*first)->fields, (Fields{"a", "b", ""}));
    auto refused = reader.next();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), "文件 CGWCDW.TXT 第 3 行的数据项多于表的字段数");
    // Trailing empty values carry nothing and are not surplus; reading goes on.
    auto after = reader.next();
    ASSERT_TRUE(after.ok()) << after.message();
    EXPECT_EQ((*after)->firstLine, 5);
    EXPECT_EQ((*after)->fields, (Fields{"c", "d", ""}));
    auto end = reader.next();
    ASSERT_TRUE(end.ok());
    EXPECT_FALSE(end->has_value());
}

TEST(ExchangeMalformedInput, QuotedValueNeverClosedEndsWithTheFile) {
    const auto rows = readFields("a\t\"never closed\r\nmore\r\nstill\tmore", 3);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "a");
    EXPECT_EQ(rows[0][1].substr(0, 19), "never closed\r\nmore\r");

    ReadOptions small;
    small.maxRecordBytes = 1000;
    auto reader = ExchangeReader::fromBytes("ok\tline\r\nb\t\"open" + std::string(5000, 'y'),
                                            "ZLQK.TXT", 2, small);
    ASSERT_TRUE(reader.next().ok());
    auto refused = reader.next();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), "文件 ZLQK.TXT 第 2 行起的记录超过 1000 字节，文件的格式不正确");
    EXPECT_FALSE(reader.next().ok());
}

TEST(ExchangeMalformedInput, BinaryGarbageIsReadAsTextsWithoutFailing) {
    std::mt19937 random(20110309);
    std::string garbage(1 << 20, '\0');
    for (char& c : garbage) {
        // Plenty of the bytes that steer the reader.
        const unsigned r = random() % 16;
        c = r == 0   ? '\t'
            : r == 1 ? '"'
            : r == 2 ? '\r'
            : r == 3 ? '\n'
                     : static_cast<char>(random());
    }
    auto reader = ExchangeReader::fromBytes(garbage, "XKFL.TXT", 10);
    int records = 0;
    int refused = 0;
    for (;;) {
        auto record = reader.next();
        if (!record.ok()) {
            ++refused;
            EXPECT_NE(record.message().find("多于表的字段数"), std::string::npos);
            continue;
        }
        if (!record->has_value()) break;
        EXPECT_EQ((*record)->fields.size(), 10u);
        ++records;
    }
    EXPECT_GT(records + refused, 1000);
}

TEST(ExchangeFileReading, ReadsAFileAndReportsAMissingOne) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("xb-exchange-read-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "LSBW.TXT", std::ios::binary) << "001\t\xbf\xc6\xbc\xbc\xb2\xbf\r\n";

    auto reader = ExchangeReader::open(folder / "LSBW.TXT", 2);
    ASSERT_TRUE(reader.ok()) << reader.message();
    auto records = readAllRecords(*reader);
    ASSERT_TRUE(records.ok());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ((*records)[0].fields, (Fields{"001", "\xbf\xc6\xbc\xbc\xb2\xbf"}));

    auto missing = ExchangeReader::open(folder / "ZTFL.TXT", 3);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.message(), "无法打开文件 ZTFL.TXT：文件或文件夹不存在");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace xb::exchange
