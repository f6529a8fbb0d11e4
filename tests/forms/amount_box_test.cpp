#include "forms/amount_box.h"
#include "forms/amount_rules.h"
#include "ui/scripted_prompter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace xb::forms;
using namespace Qt::StringLiterals;

namespace {

void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

TEST(AmountRules, SumsAreRoundedToFourDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(amountSum({u"0.1"_s, u"0.2"_s}), "0.3");
    EXPECT_EQ(amountSum({u"1000"_s, u"200.5"_s, u""_s}), "1200.5");
    EXPECT_EQ(amountSum({u" 10 "_s, u"20"_s}), "30");
    EXPECT_EQ(amountSum({}), "0");
    EXPECT_EQ(amountText(1.23456), "1.2346");
    EXPECT_EQ(amountText(-0.00001), "0");
}

TEST(AmountRules, NumbersAndTheWarning) {
    EXPECT_TRUE(isAmountText(u""_s));
    EXPECT_TRUE(isAmountText(u"  "_s));
    EXPECT_TRUE(isAmountText(u" 12.5 "_s));
    EXPECT_FALSE(isAmountText(u"12a"_s));
    EXPECT_FALSE(isAmountText(u"."_s));
    EXPECT_FALSE(isAmountText(u"nan"_s));
    // What the number fields would refuse on storing is no amount either.
    EXPECT_FALSE(isAmountText(u"1e5"_s));
    EXPECT_FALSE(isAmountText(u"1.2.3"_s));
    EXPECT_TRUE(isAmountText(u".5"_s));
    EXPECT_EQ(amountValue(u"12a"_s), 0);
    EXPECT_EQ(notAnAmountMessage(u"“国家投入”:"_s, u"x"_s),
              u"“国家投入”:x 不是正确的数据格式！现在已经置零"_s);
}

TEST(AmountBox, TypingKeepsOnlyTheAllowedCharactersWhilePastingIsJudgedAfterwards) {
    QLineEdit counts;
    QLineEdit money;
    acceptOnlyAmountKeys(&counts, AmountKeys::Digits);
    acceptOnlyAmountKeys(&money, AmountKeys::DigitsAndPoint);
    type(&counts, u"1a2.3"_s);
    type(&money, u"1a2.3"_s);
    EXPECT_EQ(counts.text(), "123");
    EXPECT_EQ(money.text(), "12.3");
    QTest::keyClick(&money, Qt::Key_Backspace);
    EXPECT_EQ(money.text(), "12.");

    // A pasted text goes in; the page's change rule then resets it with the warning.
    xb::ui::ScriptedPrompter prompter;
    money.setText(u"12a"_s);
    EXPECT_TRUE(resetUnlessAmount(&money, u""_s, prompter));
    EXPECT_EQ(money.text(), "0");
    EXPECT_EQ(prompter.texts(), QStringList{u"12a 不是正确的数据格式！现在已经置零"_s});
    EXPECT_FALSE(resetUnlessAmount(&money, u""_s, prompter));
}
