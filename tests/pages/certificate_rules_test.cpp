#include "pages/certificate_rules.h"

#include <gtest/gtest.h>

using xb::pages::checkCertificateDate;

namespace {

struct Case {
    const char* year;
    const char* month;
    const char* day;
    const char* message; // "" when every check passes
    const char* focus;
};

} // namespace

TEST(CertificateRules, ChecksRunInTheirOrderWithTheirFocus) {
    const Case cases[] = {
        {"", "", "", "", ""},
        {"2006", "1", "5", "", ""},
        {"1900", "12", "31", "", ""},
        {"2026", "2", "28", "", ""},
        {"2006", "13", "40", "非法月份!", "edt_302_m"}, // the month before a wrong day
        {"2006", "0", "1", "非法月份!", "edt_302_m"},
        {"2006", "x", "1", "非法月份!", "edt_302_m"},
        {"2006", "4", "32", "非法日期!", "edt_302_d"},
        {"2006", "4", "a", "非法日期!", "edt_302_d"},
        {"1899", "1", "1", "评价日期年份不合法！", "edt_302_y"},
        {"2027", "1", "1", "评价日期年份不合法！", "edt_302_y"},
        {"20x6", "1", "1", "评价日期年份不合法！", "edt_302_y"},
        {"2006", "4", "31", "日期非法!", "edt_302_y"}, // passes the day check, not the calendar
        {"2005", "2", "29", "日期非法!", "edt_302_y"},
        {"2006", "", "", "日期非法!", "edt_302_y"},
        {"", "", "5", "日期非法!", "edt_302_y"},
    };
    for (const Case& c : cases) {
        const auto failure = checkCertificateDate(c.year, c.month, c.day, 2026);
        const std::string where = std::string(c.year) + "/" + c.month + "/" + c.day;
        if (*c.message == '\0') {
            EXPECT_FALSE(failure) << where;
            continue;
        }
        ASSERT_TRUE(failure) << where;
        EXPECT_EQ(failure->message.toStdString(), c.message) << where;
        EXPECT_EQ(failure->control.toStdString(), c.focus) << where;
    }
}
