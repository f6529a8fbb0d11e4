// The texts the printed form and the Word documents show for stored values.
#include "output/check_marks.h"
#include "output/output_labels.h"
#include "output/text_parts.h"
#include "store/gbk.h"
#include "support/record_fixture.h"

#include <gtest/gtest.h>

using namespace xb::output;

namespace {

using Three = std::array<std::string, 3>;

TEST(TextParts, KeywordsPeriodsAndDates) {
    struct Case {
        std::string keywords;
        Three word, printed;
    };
    const Case keywordCases[] = {
        {"", {"", "", ""}, {"", "", ""}},
        {"a;b;c;d", {"a", "b", "c"}, {"a", "b", "c;d"}},
        {" 甲 ; 乙", {" 甲 ", " 乙", ""}, {"甲", "乙", ""}},
        {"单词", {"单词", "", ""}, {"单词", "", ""}},
    };
    for (const Case& c : keywordCases) {
        EXPECT_EQ(wordKeywords(c.keywords), c.word) << c.keywords;
        EXPECT_EQ(printedKeywords(c.keywords), c.printed) << c.keywords;
    }

    using Two = std::array<std::string, 2>;
    EXPECT_EQ(wordPeriod("2005.03   至2006.12"), (Two{"2005年03月", "2006年12月"}));
    EXPECT_EQ(wordPeriod(""), (Two{"", ""}));
    EXPECT_EQ(coverPeriod("2005.03   至2006.12"),
              (std::array<std::string, 4>{"2005", "03", "2006", "12"}));
    EXPECT_EQ(coverPeriod(""), (std::array<std::string, 4>{"", "", "", ""}));

    EXPECT_EQ(coverDateParts("2024-01-02"), (Three{"2024", "01", "02"}));
    EXPECT_EQ(approvalDateParts("2024-01-02"), (Three{"2024", "01", "02"}));
    EXPECT_EQ(certificateDateParts("2006.01.05"), (Three{"2006", "01", "05"}));
    for (const auto& parts : {coverDateParts(""), approvalDateParts(""), certificateDateParts("")})
        EXPECT_EQ(parts, (Three{"", "", ""}));
}

TEST(TextParts, LineWrapNeverSplitsADoubleByteCharacter) {
    // 23 ASCII bytes and two Chinese characters: the 24th byte begins a character.
    const std::string text = std::string(23, 'a') + "中文";
    const std::string wrapped = wrapLines(text, 24);
    EXPECT_EQ(wrapped, std::string(23, 'a') + "\r中文\r");
    EXPECT_EQ(wrapLines("", 24), "");
    // Every line within the width, only a split character making it shorter, nothing lost.
    const std::string address = "第一完成单位的通讯地址在北京市海淀区中关村南大街5号院";
    const std::string lines = wrapLines(address, 20);
    std::string joined;
    for (size_t start = 0, cr; (cr = lines.find('\r', start)) != std::string::npos;
         start = cr + 1) {
        const std::string line = lines.substr(start, cr - start);
        EXPECT_LE(xb::store::gbkLength(line), 20) << line;
        if (cr + 1 < lines.size()) {
            EXPECT_GE(xb::store::gbkLength(line), 19) << line;
        }
        joined += line;
    }
    EXPECT_EQ(joined, address);
    // No line starts with a closing mark or ends with an opening one, none is a lone last
    // character: the line before gives up its last character, and stays within the width.
    EXPECT_EQ(wrapLines("华中科技大学电气）湖北省武汉", 16), "华中科技大学电\r气）湖北省武汉\r");
    EXPECT_EQ(wrapLines("电气工程学院电（力电子", 16), "电气工程学院电\r（力电子\r");
    EXPECT_EQ(wrapLines("湖北省武汉市洪山区、", 16), "湖北省武汉市洪\r山区、\r");
    EXPECT_EQ(wrapLines("电力电子与电机系统", 16), "电力电子与电机\r系统\r");
}

TEST(CheckMarks, FirstThreeCodesOfAListOrTheWholeText) {
    using Codes = std::vector<std::string>;
    EXPECT_EQ(markedCodes("ITEM_123", ""), Codes{});
    EXPECT_EQ(markedCodes("ITEM_51", "1;3;"), (Codes{"1", "3"}));
    EXPECT_EQ(markedCodes("ITEM_51", "1; 3;9;2;"), (Codes{"1", "3", "9"}));
    EXPECT_EQ(markedCodes("ITEM_124_1", "05"), Codes{"05"});
    EXPECT_EQ(markedBoxes("item_123", "A"), Codes{"QL_ITEM_123_A"});
    // The converted-institute box: the stored "0" and the form's "2" both mark 否.
    EXPECT_EQ(markedBoxes("ITEM_163", "0"), Codes{"QL_ITEM_163_2"});
    EXPECT_EQ(markedBoxes("ITEM_163", "2"), Codes{"QL_ITEM_163_2"});
    EXPECT_EQ(markedBoxes("ITEM_163", "1"), Codes{"QL_ITEM_163_1"});
    // Other fields keep a code "0" as it is.
    EXPECT_EQ(markedBoxes("ITEM_2", "0"), Codes{"QL_ITEM_2_0"});
}

class Labels : public RecordFixture {};

TEST_F(Labels, DictionaryLabelsAndLists) {
    OutputLabels labels(db());
    struct Case {
        std::string (OutputLabels::*list)(const std::string&, const std::string&);
        std::string codes, expected;
    };
    const Case cases[] = {
        {&OutputLabels::label, "3", "新产品"},
        {&OutputLabels::label, "", ""},
        {&OutputLabels::label, "Z", ""}, // unknown code: empty, not the code
        {&OutputLabels::twoLabelList, "3;5;7;", "新产品;农业、生物新品种"},
        {&OutputLabels::twoLabelList, "3;", "新产品;"},
        {&OutputLabels::twoLabelList, "3", "新产品"},
        {&OutputLabels::twoLabelList, "", ""},
        {&OutputLabels::fullLabelList, "3;5;7;", "新产品;农业、生物新品种;新装备;"},
        {&OutputLabels::fullLabelList, "3;5", "新产品;"},
        {&OutputLabels::fullLabelList, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ((labels.*c.list)("item_123", c.codes), c.expected) << c.codes;
    EXPECT_FALSE(labels.error());
}

TEST_F(Labels, TablesAndCompositeTexts) {
    OutputLabels labels(db());
    EXPECT_EQ(labels.provinceName("11"), "北京市");
    EXPECT_EQ(labels.provinceName("99"), "");
    EXPECT_EQ(labels.ministryName("101"), "外交部");
    EXPECT_EQ(labels.disciplineName("110"), "数学");
    EXPECT_EQ(labels.disciplineName(""), "");
    EXPECT_EQ(labels.libraryClass("A1"), "A1");
    EXPECT_EQ(labels.libraryClass("QQ9"), "");

    // National plan: the "国家科技计划;" part of the two labels is detailed, and only with a plan.
    EXPECT_EQ(labels.nationalPlanDetail("01;02;", "7"), "国家科技计划(国家科技支撑计划);部门计划");
    EXPECT_EQ(labels.nationalPlanDetail("01;", "1"),
              "国家科技计划(高技术研究发展计划（863计划）);");
    EXPECT_EQ(labels.nationalPlanDetail("02;01;", "7"), "部门计划;国家科技计划");
    EXPECT_EQ(labels.nationalPlanDetail("01;02;", ""), "国家科技计划;部门计划");
    EXPECT_EQ(labels.nationalPlanDetail("02;03;", "7"), "部门计划;地方计划");

    EXPECT_EQ(labels.enterpriseOwnership("3", "05"), "企业(有限责任公司)");
    EXPECT_EQ(labels.enterpriseOwnership("1", ""), "独立科研机构");
    EXPECT_EQ(convertedInstitute("1"), "(属于科研机构转制型企业)");
    EXPECT_EQ(convertedInstitute("0"), "");
    EXPECT_EQ(labels.socialEconomicGoal("1;", "12"), "资金问题;(贷款困难)");
    EXPECT_EQ(labels.socialEconomicGoal("1;", ""), "资金问题;");
    EXPECT_FALSE(labels.error());
}

} // namespace
