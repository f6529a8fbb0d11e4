// The overview page's stored forms and its checks, without widgets.
#include "pages/overview_rules.h"

#include <gtest/gtest.h>

using namespace xb::pages;

namespace {

constexpr int kThisYear = 2026;

// An entry that passes every check in the applied-technology layout, changed by a row's
// "key=value" pairs separated by "|" (dates and periods as comma-separated boxes).
OverviewEntry entryWith(const QString& changes) {
    OverviewEntry e;
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
    for (const QString& change : changes.split('|', Qt::SkipEmptyParts)) {
        const QString key = change.section('=', 0, 0), value = change.section('=', 1);
        const QStringList parts = value.split(',');
        if (key == "other") { // the other layout, its own items filled
            e.applied = false;
            e.stageCode = e.transferCode = e.attributeText = "";
            e.formChosen = false;
            e.outcomeFormCode = "1";
            e.goals = "03;";
        } else if (key == "period") {
            e.period = {parts.value(0), parts.value(1), parts.value(2), parts.value(3)};
        } else if (key == "reg") {
            e.registrationYear = parts.value(0);
            e.registrationMonth = parts.value(1);
            e.registrationDay = parts.value(2);
        } else if (key == "kw") {
            e.keywords = {QString(parts.value(0).toInt(), QChar(0x8336)),
                          QString(parts.value(1).toInt(), QChar(0x6811)), ""};
        } else {
            QString* text = key == "secrecy"    ? &e.secrecyText
                            : key == "stage"    ? &e.stageCode
                            : key == "transfer" ? &e.transferCode
                            : key == "outcome"  ? &e.outcomeFormCode
                            : key == "goals"    ? &e.goals
                            : key == "attr"     ? &e.attributeText
                            : key == "research" ? &e.researchFormText
                            : key == "industry" ? &e.industries
                            : key == "abstract" ? &e.abstractText
                            : key == "bulletin" ? &e.bulletinText
                                                : nullptr;
            if (key == "form") e.formChosen = false;
            if (text) *text = value;
        }
    }
    return e;
}

struct CheckRow {
    const char* name;
    const char* changes;
    const char* message; // "" when every check passes
    const char* focus;
};

void PrintTo(const CheckRow& row, std::ostream* out) {
    *out << row.name;
}

const CheckRow kRows[] = {
    {"Valid", "", "", ""},
    {"ValidOtherLayout", "other", "", ""},
    {"StartYearEmpty", "period=,05,2005,12", "研究起止时间为必填项！", "edt_8_y_s"},
    {"EndMonthEmptyBeforeAllElse", "period=2003,05,2005,|secrecy=", "研究起止时间为必填项！",
     "edt_8_y_s"},
    {"SecrecyBlank", "secrecy=  ", "\"成果密级\"不能为空！", ""},
    {"Keywords99Characters", "kw=50,49", "\"关键词\"三栏总字数不要超过98字", ""},
    {"Keywords98Characters", "kw=50,48", "", ""},
    {"StageMissing", "stage=", "\"成果所处阶段\"不能为空！", ""},
    {"TransferMissing", "transfer=", "\"转让范围\"不能为空！", ""},
    {"FormNotChosen", "form", "\"成果体现形式\"不能为空！", ""},
    {"OtherFormMissing", "other|outcome=", "\"成果体现形式\"不能为空！", ""},
    {"OtherGoalMissing", "other|goals=", "\"社会经济目标\"不能为空！", ""},
    {"AppliedIgnoresOtherItems", "outcome=|goals=", "", ""},
    {"AttributeBlank", "attr= ", "\"成果属性\"不能为空！", ""},
    {"ResearchFormMissing", "research=", "\"研究形式\"不能为空！", ""},
    {"IndustryMissing", "industry=", "\"成果应用行业\"不能为空！", ""},
    {"AbstractBlank", "abstract= \n ", "\"成果简介\"不能为空！", ""},
    {"BulletinBlank", "bulletin=", "\"成果公报内容\"不能为空！", ""},
    {"RegistrationEmpty", "reg=,,", "\"批准登记日期\"不能为空！", "edt_121_y"},
    {"RegistrationYear1948", "reg=1948,3,7", "批准登记日期年份非法！合理年份应为1949年至今!",
     "edt_121_y"},
    {"RegistrationYearNextYear", "reg=2027,3,7", "批准登记日期年份非法！合理年份应为1949年至今!",
     "edt_121_y"},
    {"RegistrationYearNotANumber", "reg=2oo6,3,7", "批准登记日期年份非法！合理年份应为1949年至今!",
     "edt_121_y"},
    {"Year1949Passes", "period=1949,01,1949,01|reg=1949,2,1", "", ""},
    {"ThisYearPasses", "period=2026,01,2026,01|reg=2026,1,1", "", ""},
    {"StartYear1948", "period=1948,05,2005,12", "研究起始日期年份非法！合理年份应为1949年至今!",
     "edt_8_y_s"},
    {"EndYearNextYear", "period=2003,05,2027,12", "研究终止日期年份非法！合理年份应为1949年至今!",
     "edt_8_y_e"},
    {"RegistrationMonth0", "reg=2006,0,7", "批准登记日期月份非法!", "edt_121_m"},
    {"RegistrationMonth13", "reg=2006,13,7", "批准登记日期月份非法!", "edt_121_m"},
    {"StartMonth00", "period=2003,00,2005,12", "研究起始日期月份非法!", "edt_8_m_s"},
    {"EndMonth13", "period=2003,05,2005,13", "研究终止日期月份非法!", "edt_8_m_e"},
    {"RegistrationDay32", "reg=2006,3,32", "批准登记日期日期非法!", "edt_121_d"},
    {"RegistrationDayNotANumber", "reg=2006,3,x", "批准登记日期日期非法!", "edt_121_d"},
    {"February30", "reg=2005,2,30|period=2003,05,2004,12", "日期非法!", ""},
    {"Day0FailsAsCalendarDate", "reg=2006,3,0", "日期非法!", ""},
    {"YearOnly", "reg=2006,,", "日期非法!", ""},
    {"EndAfterRegistrationMonth", "period=2005,01,2005,06|reg=2005,5,31",
     "所填写的研究终止时间不应大于登记日期！", "edt_8_y_s"},
    {"EndInRegistrationMonth", "period=2005,01,2005,06|reg=2005,6,1", "", ""},
    {"StartAfterEnd", "period=2005,07,2005,06", "所填写的研究起始时间不应大于研究终止时间！",
     "edt_8_y_s"},
    {"StartEqualsEnd", "period=2005,06,2005,06", "", ""},
};

class OverviewChecks : public ::testing::TestWithParam<CheckRow> {};

TEST_P(OverviewChecks, FirstFailingCheckAndFocus) {
    const CheckRow& row = GetParam();
    const auto failure = checkOverview(entryWith(QString::fromUtf8(row.changes)), kThisYear);
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

} // namespace
