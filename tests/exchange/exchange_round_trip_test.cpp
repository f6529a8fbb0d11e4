// Whole records written to exchange files and read back, and the conversion between field
// texts and typed values on both sides.
#include "exchange/exchange_reader.h"
#include "exchange/exchange_values.h"
#include "exchange/exchange_writer.h"
#include "store/gbk.h"
#include "store/layouts.h"
#include "support/gbk_codes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace xb::exchange {
namespace {

using store::Date;
using store::FieldList;
using store::FieldType;
using store::Value;

std::size_t indexOf(const FieldList& fields, const std::string& name) {
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (store::sameName(fields[k].name, name)) return k;
    ADD_FAILURE() << "no field " << name;
    return 0;
}

// A value of every kind the achievement table holds, with the texts that stress the format.
std::vector<Value> achievementRow(const FieldList& fields, int number) {
    std::vector<Value> row;
    for (const auto& field : fields) {
        switch (field.type) {
        case FieldType::Number:
            row.emplace_back(number * 10.5);
            break;
        case FieldType::SmallInt:
        case FieldType::Integer:
            row.emplace_back(number);
            break;
        case FieldType::Date:
            row.emplace_back(Date{2008, 5, number});
            break;
        case FieldType::Logical:
            row.push_back(Value::logical(number % 2 == 0));
            break;
        case FieldType::Memo:
            row.emplace_back("第一段\r\n\t\"引文\" 第二段\r\n\r\n" + field.name);
            break;
        case FieldType::Character:
            row.emplace_back(field.name + "·成果" + std::to_string(number));
        }
    }
    row[indexOf(fields, "ITEM_4")] = Value("2008" + std::string(5, '0') + std::to_string(number));
    row[indexOf(fields, "ITEM_3")] = Value("\"引号开头\"的成果名称");
    row[indexOf(fields, "ITEM_9")] = Value("单位\t名称");
    row[indexOf(fields, "ITEM_14")] = Value("");
    row[indexOf(fields, "ITEM_SJDC")] = Value("1");
    row[indexOf(fields, "ITEM_45")] = Value();
    row[indexOf(fields, "ITEM_133")] = Value("\"");
    row[indexOf(fields, "ITEM_13_2")] = Value("编辑框里的换行\n只有 LF");
    return row;
}

std::filesystem::path freshFolder() {
    auto folder = std::filesystem::temp_directory_path() /
                  ("xb-exchange-trip-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    return folder;
}

std::vector<std::vector<Value>> writeAndRead(const std::vector<std::vector<Value>>& rows,
                                             ColumnRule rule, const FieldList& fields,
                                             ReadOptions options = {}) {
    const auto folder = freshFolder();
    const auto path = folder / exchangeFileName(rule);
    std::vector<std::string> lines;
    for (const auto& row : rows)
        lines.push_back(exchangeLine(rule, fields, exchangeTexts(row)));
    EXPECT_TRUE(writeExchangeFile(path, lines).ok());

    std::vector<std::vector<Value>> read;
    auto reader = ExchangeReader::open(path, static_cast<int>(fields.size()), options);
    EXPECT_TRUE(reader.ok());
    if (reader.ok()) {
        auto records = readAllRecords(*reader);
        EXPECT_TRUE(records.ok()) << records.message();
        if (records.ok())
            for (const auto& record : *records) {
                auto values = valuesFromExchange(record.fields, fields, record.firstLine);
                EXPECT_TRUE(values.ok()) << values.message();
                if (values.ok()) read.push_back(*values);
            }
    }
    std::filesystem::remove_all(folder);
    return read;
}

TEST(ExchangeRoundTrip, AchievementRecordsComeBackWholeInTheStagingTable) {
    const FieldList& fields = store::layoutOf("kjcgtemp").fields;
    std::vector<std::vector<Value>> rows{achievementRow(fields, 1), achievementRow(fields, 2)};
    std::vector<Value> sparse(fields.size());
    sparse[indexOf(fields, "ITEM_4")] = Value("2009000003");
    sparse[indexOf(fields, "ITEM_121")] = Value(Date{2009, 12, 31});
    rows.push_back(sparse);

    ReadOptions staging;
    staging.achievementDates = true;
    staging.today = Date{2011, 3, 9};
    const auto read = writeAndRead(rows, ColumnRule::Kjcg, fields, staging);
    ASSERT_EQ(read.size(), rows.size());

    const std::size_t sjdc = indexOf(fields, "ITEM_SJDC");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<Value> expected = rows[r];
        expected[sjdc] = Value("0");
        expected.back() = Value(""); // the last field does not travel
        for (std::size_t k = 0; k < fields.size(); ++k)
            EXPECT_EQ(read[r][k].toText(), expected[k].toText())
                << "row " << r << " field " << fields[k].name;
    }
    EXPECT_EQ(*read[0][indexOf(fields, "ITEM_13")].text(),
              "第一段\r\n\t\"引文\" 第二段\r\n\r\nITEM_13");
    EXPECT_TRUE(read[2][indexOf(fields, "ITEM_45")].isNull());
    // The sixth field of the sparse row is the registration date.
    ASSERT_EQ(indexOf(fields, "ITEM_121"), 5u);
    EXPECT_EQ(read[2][5], Value(Date{2009, 12, 31}));
}

TEST(ExchangeRoundTrip, CompleterAndUnitRowsFollowTheirColumnRules) {
    const FieldList& cgwcr = store::layoutOf("cgwcrtemp").fields;
    const std::vector<Value> completer{
        Value("2008000001"), Value("."), Value(1),   Value("张三"),     Value("1"),
        Value("1960.01"),    Value("2"), Value("3"), Value("工作单位"), Value("贡献\r\n说明"),
        Value("1"),          Value(4)};
    const auto readCompleters = writeAndRead({completer}, ColumnRule::Cgwcr, cgwcr);
    ASSERT_EQ(readCompleters.size(), 1u);
    for (std::size_t k = 0; k + 1 < cgwcr.size(); ++k)
        EXPECT_EQ(readCompleters[0][k].toText(), completer[k].toText()) << cgwcr[k].name;
    EXPECT_TRUE(readCompleters[0].back().isNull()); // the order number does not travel

    const FieldList& unit = store::layoutOf("unit").fields;
    std::vector<Value> profile(unit.size(), Value("x"));
    profile[indexOf(unit, "endlevel")] = Value(3);
    profile[indexOf(unit, "unitintrod")] = Value("简介\r\n第二行");
    profile.back() = Value("研究方向");
    const auto readUnit = writeAndRead({profile}, ColumnRule::Unit, unit);
    ASSERT_EQ(readUnit.size(), 1u);
    EXPECT_EQ(readUnit[0][indexOf(unit, "unitintrod")].toText(), "简介\r\n第二行");
    EXPECT_EQ(readUnit[0][indexOf(unit, "endlevel")].toNumber(), 3);
    EXPECT_EQ(readUnit[0].back().toText(), "\"研究方向\""); // taken as it stands
}

TEST(ExchangeValues, NumbersDatesAndLogicalsInTheFormsOtherWritersUse) {
    const auto value = [](const std::string& text, const store::FieldDef& field) {
        return valueFromExchange(store::toGbk(text), field, 1, 1);
    };
    // Numbers keep the digits given: the field, not a double, decides their rounding.
    EXPECT_EQ(value(" 12.50 ", store::numberField("ITEM_45"))->toNumber(), 12.5);
    EXPECT_EQ(value("9999999999999.9999", store::numberField("ITEM_45"))->toText(),
              "9999999999999.9999");
    EXPECT_EQ(value("-3", store::smallIntField("ITEM_51_2"))->toInteger(), -3);
    EXPECT_EQ(*value("2008-5-6", store::dateField("ITEM_121")), Value(Date{2008, 5, 6}));
    EXPECT_EQ(*value("T", store::logicalField("L")), Value::logical(true));
    EXPECT_EQ(*value("n", store::logicalField("L")), Value::logical(false));
    for (const auto& field : {store::numberField("N"), store::integerField("I"),
                              store::dateField("D"), store::logicalField("L")}) {
        auto empty = value("  ", field);
        ASSERT_TRUE(empty.ok());
        EXPECT_EQ(*empty, Value()) << field.name;
    }
}

TEST(ExchangeValues, TextsAFieldCannotTakeAreReportedByLineAndItem) {
    const FieldList fields{store::charField("A", 5), store::numberField("B"), store::dateField("C"),
                           store::integerField("D"), store::logicalField("E")};
    const auto error = [&](std::vector<std::string> texts) {
        auto values = valuesFromExchange(texts, fields, 12);
        return values.ok() ? std::string("ok") : values.message();
    };
    EXPECT_EQ(error({"x", "1,5"}), "第 12 行第 2 项“1,5”不是数字");
    EXPECT_EQ(error({"x", "1", store::toGbk("二〇〇八年")}), "第 12 行第 3 项“二〇〇八年”不是日期");
    EXPECT_EQ(error({"x", "1", "2008-13-01"}), "第 12 行第 3 项“2008-13-01”不是日期");
    EXPECT_EQ(error({"x", "1", "", "2.5"}), "第 12 行第 4 项“2.5”不是整数");
    EXPECT_EQ(error({"x", "1", "", "", "maybe"}), "第 12 行第 5 项“maybe”不是逻辑值");
    EXPECT_EQ(error({"x"}), "ok");
    EXPECT_EQ(
        error({"\xD5\xC5\x81\t"}),
        "第 12 行第 1 项含有不属于 GBK 编码的字节 81（第 3 个字节），文件可能不是本系统的导出文件");
    EXPECT_EQ(error({"\xD5\xC5\xAA\xA1\x80"}), "ok");
}

TEST(ExchangeRoundTrip, EveryUserDefinedCodeAndBareLineFeedsTravelByteForByte) {
    const FieldList& fields = store::layoutOf("kjcgtemp").fields;
    const std::string codes = euroAndUserDefinedCodes();
    std::vector<Value> row(fields.size());
    row[indexOf(fields, "ITEM_4")] = Value("2009000001");
    row[indexOf(fields, "ITEM_121")] = Value(Date{2009, 1, 2});
    row[indexOf(fields, "ITEM_3")] = Value(store::fromGbk("\xD5\xC5\xAA\xA1"));
    row[indexOf(fields, "ITEM_13")] = Value(store::fromGbk(codes));
    row[indexOf(fields, "ITEM_13_1")] = Value("只有\nLF 的备注");
    row[indexOf(fields, "ITEM_13_2")] = Value("  ");

    // A memo with only LF is written plain, as other installations write it.
    const std::string line = exchangeLine(ColumnRule::Kjcg, fields, exchangeTexts(row));
    EXPECT_NE(line.find(store::toGbk("\t只有\nLF 的备注\t")), std::string::npos);
    EXPECT_NE(line.find("\t\xD5\xC5\xAA\xA1\t"), std::string::npos);

    const auto read = writeAndRead({row}, ColumnRule::Kjcg, fields);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(exchangeText(read[0][indexOf(fields, "ITEM_13")]), codes);
    EXPECT_EQ(exchangeText(read[0][indexOf(fields, "ITEM_3")]), "\xD5\xC5\xAA\xA1");
    EXPECT_EQ(read[0][indexOf(fields, "ITEM_13_1")].toText(), "只有\nLF 的备注");
    EXPECT_EQ(*read[0][indexOf(fields, "ITEM_13_2")].text(), "  ");
}

} // namespace
} // namespace xb::exchange
