#include "pages/project_rules.h"

#include <gtest/gtest.h>

using namespace xb::pages;

namespace {

// A page that passes every check: a chosen evaluation form and source, no date.
ProjectEntry valid() {
    ProjectEntry e;
    e.sources = QStringLiteral("03;");
    return e;
}

struct Case {
    const char* what;
    void (*change)(ProjectEntry&);
    const char* message; // "" when every check passes
    const char* focus;
};

void date(ProjectEntry& e, const char* y, const char* m, const char* d) {
    e.year = QString::fromUtf8(y);
    e.month = QString::fromUtf8(m);
    e.day = QString::fromUtf8(d);
}

} // namespace

TEST(ProjectRules, TheFirstFailingCheckGivesItsMessageAndFocus) {
    const Case cases[] = {
        {"valid", [](ProjectEntry&) {}, "", ""},
        {"no applied form",
         [](ProjectEntry& e) {
             e.evaluationChosen = false;
             e.sources.clear();
         },
         "“评价形式”不能为空！", "cb_21"},
        {"no other form",
         [](ProjectEntry& e) {
             e.applied = false;
             e.evaluationChosen = false;
         },
         "“评价形式”不能为空！", "cb_21_l"},
        {"no source", [](ProjectEntry& e) { e.sources.clear(); }, "“课题来源”不能为空！",
         "cb_126_02"},
        {"three sources", [](ProjectEntry& e) { e.sourcesRefused = QStringLiteral("至多二项"); },
         "至多二项", "cb_126_02"},
        {"national plan, number of blanks",
         [](ProjectEntry& e) {
             e.nationalPlan = true;
             e.projectNumber = QStringLiteral("   ");
             e.projectName = QStringLiteral("名称");
         },
         "“课题来源”为“国家计划”的项目，“课题立项编号”不能为空！", "Edt_127"},
        {"national plan without name",
         [](ProjectEntry& e) {
             e.nationalPlan = true;
             e.projectNumber = QStringLiteral("2004BA");
         },
         "“课题来源”为“国家计划”的项目，“课题立项名称”不能为空！", "Edt_127_1"},
        {"another source needs neither", [](ProjectEntry& e) { e.projectNumber.clear(); }, "", ""},
        {"total of eight characters", [](ProjectEntry& e) { e.total = QStringLiteral("10001199"); },
         "经费最大长度不超得过7位！", "Edt_141"},
        {"local total of eight characters",
         [](ProjectEntry& e) { e.localTotal = QStringLiteral("1000.125"); },
         "经费最大长度不超得过7位！", "Edt_141"},
        {"sums of seven characters",
         [](ProjectEntry& e) {
             e.total = QStringLiteral("9999999");
             e.localTotal = QStringLiteral("1200.55");
         },
         "", ""},
        {"date", [](ProjectEntry& e) { date(e, "2005", "3", "7"); }, "", ""},
        {"year 1949", [](ProjectEntry& e) { date(e, "1949", "1", "1"); }, "", ""},
        {"this year", [](ProjectEntry& e) { date(e, "2026", "12", "31"); }, "", ""},
        {"year 1948", [](ProjectEntry& e) { date(e, "1948", "12", "31"); },
         "非法年份！合理年份应为1949年至今!", "edt_34_y"},
        {"next year", [](ProjectEntry& e) { date(e, "2027", "1", "1"); },
         "非法年份！合理年份应为1949年至今!", "edt_34_y"},
        {"year before a wrong month", [](ProjectEntry& e) { date(e, "20x5", "13", "1"); },
         "非法年份！合理年份应为1949年至今!", "edt_34_y"},
        {"month 13", [](ProjectEntry& e) { date(e, "2005", "13", "40"); }, "非法月份!", "edt_34_m"},
        {"signed month", [](ProjectEntry& e) { date(e, "2005", "+3", "7"); }, "非法月份!",
         "edt_34_m"},
        {"day 32", [](ProjectEntry& e) { date(e, "2005", "3", "32"); }, "非法日期!", "edt_34_d"},
        {"month 0", [](ProjectEntry& e) { date(e, "2005", "0", "7"); }, "日期非法!", "edt_34_d"},
        {"31 April", [](ProjectEntry& e) { date(e, "2005", "4", "31"); }, "日期非法!", "edt_34_d"},
        {"29 February 2005", [](ProjectEntry& e) { date(e, "2005", "2", "29"); }, "日期非法!",
         "edt_34_d"},
        {"29 February 2004", [](ProjectEntry& e) { date(e, "2004", "2", "29"); }, "", ""},
        {"a year alone", [](ProjectEntry& e) { date(e, "2005", "", ""); }, "日期非法!", "edt_34_d"},
    };
    for (const Case& c : cases) {
        ProjectEntry e = valid();
        c.change(e);
        const auto failure = checkProject(e, 2026);
        if (*c.message == '\0') {
            EXPECT_FALSE(failure) << c.what << ": " << failure->message.toStdString();
            continue;
        }
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->message.toStdString(), c.message) << c.what;
        EXPECT_EQ(failure->control.toStdString(), c.focus) << c.what;
    }
}

TEST(ProjectRules, SubPlansBelongToTheStoredSource) {
    EXPECT_EQ(subPlanSource(QStringLiteral("03;")), "03");
    EXPECT_EQ(subPlanSource(QStringLiteral("02;07;")), "07");
    EXPECT_EQ(subPlanSource(QString()), "");
    EXPECT_EQ(subPlanCaption(QStringLiteral("地方计划")), "“地方计划”的下属分类");
}
