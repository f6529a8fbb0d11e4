#include "forms/field_rules.h"

#include <gtest/gtest.h>

using namespace xb::forms;

TEST(FieldRules, DatesArePaddedAndWrittenOnlyWhenComplete) {
    EXPECT_EQ(dateText("2006", "1", "5"), "2006.01.05");
    EXPECT_EQ(dateText("2006", "11", "02"), "2006.11.02");
    EXPECT_EQ(dateText("2006", "", "5"), "");
    EXPECT_EQ(dateText("", "", ""), "");
    const DateParts parts = splitDateText("2006.01.05");
    EXPECT_EQ(parts.year, "2006");
    EXPECT_EQ(parts.month, "01");
    EXPECT_EQ(parts.day, "05");
    const DateParts none = splitDateText("");
    EXPECT_TRUE(none.year.isEmpty() && none.month.isEmpty() && none.day.isEmpty());
    EXPECT_EQ(yearMonthText("2003", "5"), "2003.05");
    EXPECT_EQ(yearMonthText("2003", ""), "");
}

TEST(FieldRules, DateBoxesDifferPartByPart) {
    EXPECT_FALSE(dateBoxesDiffer("2006.01.05", "2006", "1", "5"));
    EXPECT_FALSE(dateBoxesDiffer("", "", "", ""));
    // A year typed alone writes no date, yet it is a change the user is asked about.
    EXPECT_TRUE(dateBoxesDiffer("", "2006", "", ""));
    EXPECT_TRUE(dateBoxesDiffer("2006.01.05", "2007", "1", "5"));
    EXPECT_TRUE(dateBoxesDiffer("2006.01.05", "2006", "", ""));
}

TEST(FieldRules, ComparisonRules) {
    EXPECT_TRUE(sameValue(Comparison::Exact, "a", "a"));
    EXPECT_FALSE(sameValue(Comparison::Exact, "a", "a "));
    EXPECT_TRUE(sameValue(Comparison::Trimmed, " a", "a  "));
    EXPECT_TRUE(sameValue(Comparison::Number, "12.50", "12.5"));
    EXPECT_TRUE(sameValue(Comparison::Number, "0.30000000000000004", "0.3"));
    EXPECT_FALSE(sameValue(Comparison::Number, "12.5", "12.6"));
    EXPECT_TRUE(sameValue(Comparison::Number, "", " "));
    EXPECT_EQ(tabsToBlanks("a\tb\t"), "a b ");
}
