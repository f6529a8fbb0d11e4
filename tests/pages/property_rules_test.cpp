#include "forms/amount_rules.h"
#include "pages/patent_rows.h"
#include "pages/property_rules.h"

#include <gtest/gtest.h>

using namespace xb::pages;
using namespace Qt::StringLiterals;

namespace {

PatentSummary summaryOf(std::initializer_list<std::pair<QString, QString>> patents) {
    PatentSummary summary;
    for (const auto& [status, type] : patents)
        summary.add(status, type);
    return summary;
}

// A status that passes every check but the ones a case changes.
PropertyEntry passing() {
    PropertyEntry entry;
    entry.statusChosen = true;
    entry.statusText = u"1  稳定应用"_s;
    return entry;
}

} // namespace

TEST(PatentSummary, CountsTypesAndTheStatusSummary) {
    const PatentSummary mixed = summaryOf({{u"1"_s, u"1"_s}, {u"1 "_s, u"3"_s}, {u"2"_s, u"1"_s}});
    EXPECT_EQ(mixed.accepted, 2);
    EXPECT_EQ(mixed.granted, 1);
    EXPECT_EQ(mixed.typeList(), "1;3;");
    EXPECT_EQ(mixed.statusSummary(), "3");
    EXPECT_EQ(summaryOf({{u"1"_s, u"2"_s}}).statusSummary(), "2");
    // Rows with codes outside the dictionaries (imports) count for nothing.
    const PatentSummary odd = summaryOf({{u"9"_s, u"7"_s}, {u""_s, u""_s}});
    EXPECT_EQ(odd.accepted + odd.granted, 0);
    EXPECT_EQ(odd.typeList(), "");
    EXPECT_EQ(odd.statusSummary(), "1");
}

TEST(PropertyRules, StatusWordsOnChoosingAndOnShowing) {
    struct Case {
        QString text;
        bool chosenClears, shownClears, empties;
    };
    const Case cases[] = {
        {u"1  稳定应用"_s, true, true, false}, {u"4  小批量或小范围应用"_s, true, false, false},
        {u"5  试用"_s, true, false, false},    {u"2  应用后停用"_s, false, false, false},
        {u"3  未应用"_s, false, false, true},  {u""_s, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(statusChosenEffect(c.text).clearsReasons, c.chosenClears);
        EXPECT_EQ(statusShownEffect(c.text).clearsReasons, c.shownClears);
        EXPECT_EQ(statusChosenEffect(c.text).emptiesAmounts, c.empties);
        EXPECT_EQ(statusShownEffect(c.text).emptiesAmounts, c.empties);
    }
    EXPECT_TRUE(isStableApplication(u"1  稳定应用"_s));
    EXPECT_FALSE(isStableApplication(u"3  未应用"_s));
    EXPECT_FALSE(isStableApplication(u""_s));
}

TEST(PropertyRules, ChecksRunInTheirOrderAndReadPromotionOnlyWhenReached) {
    int reads = 0;
    auto promotion = [&](std::optional<QString> value) {
        return [&reads, value] {
            ++reads;
            return value;
        };
    };
    PropertyEntry none;
    auto f = checkProperty(none, promotion(std::nullopt));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, "\"应用状态\"不能为空！");
    EXPECT_EQ(f->control, "CB_32");

    for (const QString& status : {u"2  应用后停用"_s, u"3  未应用"_s}) {
        PropertyEntry entry = passing();
        entry.statusText = status;
        f = checkProperty(entry, promotion(std::nullopt));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->message, "未应用或停用原因必须说明！");
        entry.reasons = u"1;"_s;
        f = checkProperty(entry, promotion(u"1;"_s));
        EXPECT_FALSE(f);
    }
    EXPECT_EQ(reads, 2); // the promotion is read only once the reasons passed

    // A refused reading was reported by the panel: the failure carries no message of its own.
    f = checkProperty(passing(), promotion(std::nullopt));
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->message.isEmpty());
    f = checkProperty(passing(), promotion(u""_s));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, "\"推广形式\"必须选择！");

    PropertyEntry patents = passing();
    patents.patents = true;
    patents.accepted = u"0"_s;
    patents.granted = u"0"_s;
    f = checkProperty(patents, promotion(u"1;2;"_s));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, "请填写专利情况！");
    EXPECT_EQ(f->control, "Button1");
    patents.granted = u"1"_s;
    EXPECT_FALSE(checkProperty(patents, promotion(u"1;2;"_s)));
    patents.patents = false;
    patents.granted = u"0"_s;
    EXPECT_FALSE(checkProperty(patents, promotion(u"1;2;"_s)));
}

TEST(PatentEntryRules, ATextOfBlanksIsEmpty) {
    EXPECT_EQ(checkPatentEntry({u"1"_s, u"2"_s, u"  "_s, u"名称"_s})->message,
              "\"专利号\"不能为空！");
    EXPECT_EQ(checkPatentEntry({u"1"_s, u"2"_s, u"ZL1"_s, u" "_s})->message,
              "\"专利名称\"不能为空！");
    EXPECT_FALSE(checkPatentEntry({u"1"_s, u"2"_s, u"ZL1"_s, u"名称"_s}));
}

TEST(AmountRules, WholeDigitsANumberFieldHolds) {
    EXPECT_EQ(xb::forms::wholeDigitsHeld("kjcg", "item_45"), 13); // N(18,4)
    EXPECT_EQ(xb::forms::wholeDigitsHeld("kjcg", "ITEM_51_2"), 6);
    EXPECT_EQ(xb::forms::wholeDigitsHeld("kjcg", "item_53"), 0);
    EXPECT_EQ(xb::forms::wholeDigitsHeld("nosuch", "item_45"), 0);
}
