// The overview page's stored forms and its checks, without widgets.
#include "pages/overview_rules.h"

#include <gtest/gtest.h>

#include <functional>

using namespace xb::pages;

namespace {

constexpr int kThisYear = 2026;

// An entry that passes every check in the applied-technology layout.
OverviewEntry validEntry() {
    OverviewEntry e;
    e.applied = true;
    e.period = {"2003", "05", "2005", "12"};
    e.registrationYear = "2006";
    e.registrationMonth = "3";
    e.registrationDay = "7";
    e.secrecyText = "1  公开";
    e.keywords = {"茶树", "良种", "繁育"};
    e.stageCode = "3";
    e.transferCode = "2";
    e.formChosen = true;
    e.attributeText = "1  原始性创新";
    e.researchFormText = "1  独立研究";
    e.industries = "01;";
    e.abstractText = "简介";
    e.bulletinText = "公报";
    return e;
}

OverviewEntry otherEntry() {
    OverviewEntry e = validEntry();
    e.applied = false;
    e.stageCode.clear();
    e.transferCode.clear();
    e.formChosen = false;
    e.attributeText.clear();
    e.outcomeFormCode = "1";
    e.goals = "03;";
    return e;
}

struct CheckRow {
    const char* name;
    std::function<OverviewEntry()> entry;
    const char* message; // "" when every check passes
    const char* focus;
};

void PrintTo(const CheckRow& row, std::ostream* out) {
    *out << row.name;
}

OverviewEntry with(std::function<void(OverviewEntry&)> change, bool applied = true) {
    OverviewEntry e = applied ? validEntry() : otherEntry();
    change(e);
    return e;
}

const CheckRow kRows[] = {
    {"Valid", [] { return validEntry(); }, "", ""},
    {"ValidOtherLayout", [] { return otherEntry(); }, "", ""},
    {"StartYearEmpty", [] { return with([](auto& e) { e.period.startYear = ""; }); },
     "研究起止时间为必填项！", "edt_8_y_s"},
    {"EndMonthEmptyBeforeAllElse",
     [] {
         return with([](auto& e) {
             e.period.endMonth = "";
             e.secrecyText = "";
         });
     },
     "研究起止时间为必填项！", "edt_8_y_s"},
    {"SecrecyBlank", [] { return with([](auto& e) { e.secrecyText = "  "; }); },
     "\"成果密级\"不能为空！", ""},
    {"Keywords99Characters",
     [] {
         return with([](auto& e) {
             e.keywords = {QString(50, QChar(0x8336)), QString(49, QChar(0x6811)), ""};
         });
     },
     "\"关键词\"三栏总字数不要超过98字", ""},
    {"Keywords98Characters",
     [] {
         return with([](auto& e) {
             e.keywords = {QString(50, QChar(0x8336)), QString(48, QChar(0x6811)), ""};
         });
     },
     "", ""},
    {"StageMissing", [] { return with([](auto& e) { e.stageCode = ""; }); },
     "\"成果所处阶段\"不能为空！", ""},
    {"TransferMissing", [] { return with([](auto& e) { e.transferCode = ""; }); },
     "\"转让范围\"不能为空！", ""},
    {"FormNotChosen", [] { return with([](auto& e) { e.formChosen = false; }); },
     "\"成果体现形式\"不能为空！", ""},
    {"OtherFormMissing", [] { return with([](auto& e) { e.outcomeFormCode = ""; }, false); },
     "\"成果体现形式\"不能为空！", ""},
    {"OtherGoalMissing", [] { return with([](auto& e) { e.goals = ""; }, false); },
     "\"社会经济目标\"不能为空！", ""},
    {"AppliedIgnoresOtherFields",
     [] {
         return with([](auto& e) {
             e.outcomeFormCode = "";
             e.goals = "";
         });
     },
     "", ""},
    {"AttributeBlank", [] { return with([](auto& e) { e.attributeText = " "; }); },
     "\"成果属性\"不能为空！", ""},
    {"ResearchFormMissing", [] { return with([](auto& e) { e.researchFormText = ""; }); },
     "\"研究形式\"不能为空！", ""},
    {"IndustryMissing", [] { return with([](auto& e) { e.industries = ""; }); },
     "\"成果应用行业\"不能为空！", ""},
    {"AbstractBlank", [] { return with([](auto& e) { e.abstractText = " \n "; }); },
     "\"成果简介\"不能为空！", ""},
    {"BulletinBlank", [] { return with([](auto& e) { e.bulletinText = ""; }); },
     "\"成果公报内容\"不能为空！", ""},
    {"RegistrationEmpty",
     [] {
         return with(
             [](auto& e) { e.registrationYear = e.registrationMonth = e.registrationDay = ""; });
     },
     "\"批准登记日期\"不能为空！", "edt_121_y"},
    {"RegistrationYear1948", [] { return with([](auto& e) { e.registrationYear = "1948"; }); },
     "批准登记日期年份非法！合理年份应为1949年至今!", "edt_121_y"},
    {"RegistrationYearNextYear",
     [] { return with([](auto& e) { e.registrationYear = QString::number(kThisYear + 1); }); },
     "批准登记日期年份非法！合理年份应为1949年至今!", "edt_121_y"},
    {"RegistrationYearNotANumber",
     [] { return with([](auto& e) { e.registrationYear = "2oo6"; }); },
     "批准登记日期年份非法！合理年份应为1949年至今!", "edt_121_y"},
    {"Year1949Passes",
     [] {
         return with([](auto& e) {
             e.period = {"1949", "01", "1949", "01"};
             e.registrationYear = "1949";
             e.registrationMonth = "2";
             e.registrationDay = "1";
         });
     },
     "", ""},
    {"ThisYearPasses",
     [] {
         return with([](auto& e) {
             e.period = {QString::number(kThisYear), "01", QString::number(kThisYear), "01"};
             e.registrationYear = QString::number(kThisYear);
         });
     },
     "", ""},
    {"StartYear1948", [] { return with([](auto& e) { e.period.startYear = "1948"; }); },
     "研究起始日期年份非法！合理年份应为1949年至今!", "edt_8_y_s"},
    {"EndYearNextYear",
     [] { return with([](auto& e) { e.period.endYear = QString::number(kThisYear + 1); }); },
     "研究终止日期年份非法！合理年份应为1949年至今!", "edt_8_y_e"},
    {"RegistrationMonth0", [] { return with([](auto& e) { e.registrationMonth = "0"; }); },
     "批准登记日期月份非法!", "edt_121_m"},
    {"RegistrationMonth13", [] { return with([](auto& e) { e.registrationMonth = "13"; }); },
     "批准登记日期月份非法!", "edt_121_m"},
    {"StartMonth00", [] { return with([](auto& e) { e.period.startMonth = "00"; }); },
     "研究起始日期月份非法!", "edt_8_m_s"},
    {"EndMonth13", [] { return with([](auto& e) { e.period.endMonth = "13"; }); },
     "研究终止日期月份非法!", "edt_8_m_e"},
    {"RegistrationDay32", [] { return with([](auto& e) { e.registrationDay = "32"; }); },
     "批准登记日期日期非法!", "edt_121_d"},
    {"RegistrationDayNotANumber", [] { return with([](auto& e) { e.registrationDay = "x"; }); },
     "批准登记日期日期非法!", "edt_121_d"},
    {"February30",
     [] {
         return with([](auto& e) {
             e.registrationYear = "2005";
             e.registrationMonth = "2";
             e.registrationDay = "30";
             e.period.endYear = "2004";
         });
     },
     "日期非法!", ""},
    {"Day0FailsAsCalendarDate", [] { return with([](auto& e) { e.registrationDay = "0"; }); },
     "日期非法!", ""},
    {"YearOnly",
     [] {
         return with([](auto& e) {
             e.registrationMonth = "";
             e.registrationDay = "";
         });
     },
     "日期非法!", ""},
    {"EndAfterRegistrationMonth",
     [] {
         return with([](auto& e) {
             e.period = {"2005", "01", "2005", "06"};
             e.registrationYear = "2005";
             e.registrationMonth = "5";
             e.registrationDay = "31";
         });
     },
     "所填写的研究终止时间不应大于登记日期！", "edt_8_y_s"},
    {"EndInRegistrationMonth",
     [] {
         return with([](auto& e) {
             e.period = {"2005", "01", "2005", "06"};
             e.registrationYear = "2005";
             e.registrationMonth = "6";
             e.registrationDay = "1";
         });
     },
     "", ""},
    {"StartAfterEnd", [] { return with([](auto& e) {
                               e.period = {"2005", "07", "2005", "06"};
                           }); },
     "所填写的研究起始时间不应大于研究终止时间！", "edt_8_y_s"},
    {"StartEqualsEnd",
     [] { return with([](auto& e) {
              e.period = {"2005", "06", "2005", "06"};
          }); }, "", ""},
};

class OverviewChecks : public ::testing::TestWithParam<CheckRow> {};

TEST_P(OverviewChecks, FirstFailingCheckAndFocus) {
    const CheckRow& row = GetParam();
    const auto failure = checkOverview(row.entry(), kThisYear);
    if (QString::fromUtf8(row.message).isEmpty()) {
        EXPECT_FALSE(failure) << failure->message.toStdString();
        return;
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, QString::fromUtf8(row.message));
    EXPECT_EQ(failure->control, QString::fromUtf8(row.focus));
}

INSTANTIATE_TEST_SUITE_P(Rows, OverviewChecks, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OverviewPeriod, BoxesAreTidiedAndJoinedAndSplitBack) {
    const PeriodBoxes tidy = tidyPeriod({" 2003 ", "5", "2005", " 12"});
    EXPECT_EQ(tidy.startYear, "2003");
    EXPECT_EQ(tidy.startMonth, "05");
    EXPECT_EQ(tidy.endMonth, "12");
    const QString stored = periodText(tidy);
    EXPECT_EQ(stored, "2003.05   至2005.12");
    const PeriodBoxes back = splitPeriod(stored);
    EXPECT_EQ(back.startYear, "2003");
    EXPECT_EQ(back.startMonth, "05");
    EXPECT_EQ(back.endYear, "2005");
    EXPECT_EQ(back.endMonth, "12");
    const PeriodBoxes empty = splitPeriod("");
    EXPECT_TRUE(empty.startYear.isEmpty() && empty.endYear.isEmpty() && empty.endMonth.isEmpty());
}

TEST(OverviewRegistrationDate, BoxesAndStoredText) {
    EXPECT_EQ(registrationDateText("2005", "3", "7"), "2005-03-07");
    EXPECT_EQ(registrationDateText("2005", "2", "30"), "");
    EXPECT_EQ(registrationDateText("2005", "", ""), "");
    EXPECT_EQ(registrationBoxes("2005-03-07"), QStringList({"2005", "03", "07"}));
    EXPECT_EQ(registrationBoxes(""), QStringList({"", "", ""}));
}

TEST(OverviewKeywords, JoinedWithoutGapsOrALaterWordAfterAnEmptyOne) {
    EXPECT_EQ(joinKeywords("a", "b", "c"), "a;b;c");
    EXPECT_EQ(joinKeywords("a", "b", ""), "a;b");
    EXPECT_EQ(joinKeywords("a", "", "c"), "a");
    EXPECT_EQ(joinKeywords("", "", ""), "");
}

TEST(OverviewCodes, ClassificationAndAttributeCodes) {
    EXPECT_EQ(classificationCode("11014  数理逻辑与数学基础"), "11014");
    EXPECT_EQ(classificationCode(""), "");
    EXPECT_EQ(classificationCode("A12"), "A12");
    EXPECT_EQ(attributeCode("1  原始性创新"), "1");
    EXPECT_EQ(attributeCode(""), "");
}

TEST(OverviewLayout, FieldsOfEachLayout) {
    EXPECT_TRUE(isAppliedCategory("1"));
    EXPECT_FALSE(isAppliedCategory("2"));
    EXPECT_FALSE(isAppliedCategory("3"));
    EXPECT_TRUE(fieldInLayout("ITEM_124_1", true));
    EXPECT_FALSE(fieldInLayout("item_124_1", false));
    EXPECT_FALSE(fieldInLayout("item_200", true));
    EXPECT_TRUE(fieldInLayout("item_200", false));
    EXPECT_TRUE(fieldInLayout("item_125", false));
}

} // namespace
