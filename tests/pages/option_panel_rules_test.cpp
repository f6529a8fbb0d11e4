#include "pages/option_panel_rules.h"

#include <gtest/gtest.h>

using namespace xb::pages;

namespace {

QList<OptionState> checkBoxes(std::initializer_list<const char*> codes) {
    QList<OptionState> options;
    for (const char* code : codes)
        options.append({QString::fromLatin1(code), false, false});
    return options;
}

QList<OptionState> radios(std::initializer_list<const char*> codes) {
    QList<OptionState> options;
    for (const char* code : codes)
        options.append({QString::fromLatin1(code), true, false});
    return options;
}

QStringList checkedCodes(const QList<OptionState>& options) {
    QStringList codes;
    for (const OptionState& option : options)
        if (option.checked) codes << option.code;
    return codes;
}

void check(QList<OptionState>& options, std::initializer_list<const char*> codes) {
    for (const char* code : codes)
        for (OptionState& option : options)
            if (option.code == QLatin1String(code)) option.checked = true;
}

const QString kHighTech = QStringLiteral("所属高新科技领域");

} // namespace

// Two-digit codes come back in numeric order whatever the creation order; one code keeps its
// separator; no code gives the empty string.
TEST(OptionPanelReading, TwoDigitCodesAreOrderedNumerically) {
    auto options = checkBoxes({"27", "11", "03"});
    check(options, {"27", "03"});
    PanelReading reading = readOptions(options, kHighTech);
    EXPECT_EQ(reading.value, QStringLiteral("03;27;"));
    EXPECT_TRUE(reading.warnings.isEmpty());
    EXPECT_FALSE(reading.refusal);

    options = checkBoxes({"27", "11", "03"});
    check(options, {"27"});
    EXPECT_EQ(readOptions(options, kHighTech).value, QStringLiteral("27;"));
    EXPECT_EQ(readOptions(checkBoxes({"27", "03"}), kHighTech).value, QString());
}

// Three checked codes are refused with the item's name, except on the panel of 知识产权形式,
// whose one-character codes keep their creation order.
TEST(OptionPanelReading, AtMostTwoCodesExceptForIntellectualProperty) {
    auto options = checkBoxes({"01", "02", "03", "04"});
    check(options, {"01", "03", "04"});
    const PanelReading refused = readOptions(options, QStringLiteral("社会经济目标"));
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(*refused.refusal, QStringLiteral("'社会经济目标'项目为复选项目，但至多选择二项！"));

    auto property = checkBoxes({"1", "2", "3", "9"});
    check(property, {"1", "3", "9"});
    const PanelReading exempt = readOptions(property, kIntellectualPropertyItem);
    EXPECT_FALSE(exempt.refusal);
    EXPECT_EQ(exempt.value, QStringLiteral("1;3;9;"));
    check(property, {"2"});
    EXPECT_EQ(readOptions(property, kIntellectualPropertyItem).value, QStringLiteral("1;2;3;9;"));

    // One-character codes are never converted, so two of them keep the creation order.
    auto promotion = checkBoxes({"5", "2"});
    check(promotion, {"5", "2"});
    EXPECT_EQ(readOptions(promotion, QStringLiteral("推广形式")).value, QStringLiteral("5;2;"));
}

// A code that is no number is reported and counts as 0, which leaves the order unchanged.
TEST(OptionPanelReading, CodesThatAreNoNumbersAreReported) {
    auto options = checkBoxes({"1A", "03"});
    check(options, {"1A", "03"});
    const PanelReading reading = readOptions(options, kHighTech);
    EXPECT_EQ(reading.warnings, QStringList{QStringLiteral("'1A'不是数字格式！")});
    EXPECT_EQ(reading.value, QStringLiteral("1A;03;"));
}

// A radio panel reads as the bare code.
TEST(OptionPanelReading, RadioPanelsGiveTheCodeWithoutSeparator) {
    auto options = radios({"11", "12", "13"});
    check(options, {"12"});
    EXPECT_EQ(readOptions(options, QStringLiteral("未应用或停用原因细类")).value,
              QStringLiteral("12"));
}

TEST(OptionPanelWriting, StoredValuesGiveAtMostThreeCodes) {
    EXPECT_EQ(codesToCheck(QString()), QStringList());
    EXPECT_EQ(codesToCheck(QStringLiteral("12")), QStringList{QStringLiteral("12")});
    EXPECT_EQ(codesToCheck(QStringLiteral("05;07;")),
              (QStringList{QStringLiteral("05"), QStringLiteral("07"), QString()}));
    EXPECT_EQ(codesToCheck(QStringLiteral(" 1;2 ;3;4;")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
}

// Each code checks as a click would: a single-choice panel keeps only the last, a free panel
// keeps all, a radio group the last button; unknown codes change nothing.
TEST(OptionPanelWriting, ChecksFollowThePanelBehaviour) {
    auto single = checkBoxes({"05", "06", "07"});
    writeOptions(single, QStringLiteral("05;07;"), PanelBehaviour::SingleChoice);
    EXPECT_EQ(checkedCodes(single), QStringList{QStringLiteral("07")});

    auto free = checkBoxes({"05", "06", "07"});
    writeOptions(free, QStringLiteral("05;07;"), PanelBehaviour::Free);
    EXPECT_EQ(checkedCodes(free), (QStringList{QStringLiteral("05"), QStringLiteral("07")}));

    auto radio = radios({"11", "12", "13"});
    writeOptions(radio, QStringLiteral("12"), PanelBehaviour::Free);
    EXPECT_EQ(checkedCodes(radio), QStringList{QStringLiteral("12")});
    writeOptions(radio, QStringLiteral("13;11;"), PanelBehaviour::Free);
    EXPECT_EQ(checkedCodes(radio), QStringList{QStringLiteral("11")});
    EXPECT_EQ(readOptions(radio, QString()).value, QStringLiteral("11"));

    auto untouched = checkBoxes({"05", "06"});
    writeOptions(untouched, QStringLiteral("99;;"), PanelBehaviour::SingleChoice);
    EXPECT_TRUE(checkedCodes(untouched).isEmpty());
    // The fourth code of a stored value is ignored.
    auto many = checkBoxes({"1", "2", "3", "4"});
    writeOptions(many, QStringLiteral("1;2;3;4;"), PanelBehaviour::Free);
    EXPECT_EQ(checkedCodes(many).size(), 3);
}
