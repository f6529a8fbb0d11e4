#include "pages/option_panel.h"
#include "support/qt_printing.h"
#include "ui/scripted_prompter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace xb::pages;
using namespace Qt::StringLiterals;

namespace {

// A page with the kinds of panel the achievement pages have: a two-digit single-choice panel, a
// free one-digit panel and a two-digit radio panel, each with a label that is no option.
struct SamplePage {
    QWidget page;
    QGroupBox* field = new QGroupBox(&page);
    QGroupBox* property = new QGroupBox(&page);
    QGroupBox* reasons = new QGroupBox(&page);

    SamplePage() {
        new QLabel(u"请选择"_s, field);
        for (const char* name : {"cb_124_1_27", "cb_124_1_11", "cb_124_1_03"})
            (new QCheckBox(field))->setObjectName(QString::fromLatin1(name));
        for (const char* name : {"cb51_1", "cb51_2", "cb51_3", "cb51_9"})
            (new QCheckBox(property))->setObjectName(QString::fromLatin1(name));
        for (const char* name : {"rb_160_11", "rb_160_12", "rb_160_13"})
            (new QRadioButton(reasons))->setObjectName(QString::fromLatin1(name));
        new QPushButton(reasons);
        page.show();
    }
    QAbstractButton* option(const char* name) {
        return page.findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
};

QStringList checkedNames(const OptionPanel& panel) {
    QStringList names;
    for (QAbstractButton* option : panel.options())
        if (option->isChecked()) names << option->objectName();
    return names;
}

} // namespace

// A user's click and a program-made check act alike on a single-choice panel; writing a
// stored value leaves its last code checked there, and both codes on a free panel.
TEST(OptionPanel, SingleChoiceByClickAndByWriting) {
    SamplePage sample;
    OptionPanel field(sample.field, 2, u"所属高新科技领域"_s, PanelBehaviour::SingleChoice);
    QTest::mouseClick(sample.option("cb_124_1_27"), Qt::LeftButton);
    QTest::mouseClick(sample.option("cb_124_1_03"), Qt::LeftButton);
    EXPECT_EQ(checkedNames(field), QStringList{u"cb_124_1_03"_s});
    sample.option("cb_124_1_11")->setChecked(true);
    EXPECT_EQ(checkedNames(field), QStringList{u"cb_124_1_11"_s});

    uncheckAll(&sample.page);
    field.write(u"27;03;"_s);
    EXPECT_EQ(checkedNames(field), QStringList{u"cb_124_1_03"_s});

    SamplePage other;
    OptionPanel otherFree(other.field, 2, u"成果应用行业"_s);
    otherFree.write(u"27;03;"_s);
    EXPECT_EQ(checkedNames(otherFree), (QStringList{u"cb_124_1_27"_s, u"cb_124_1_03"_s}));
    EXPECT_EQ(otherFree.read(), std::optional<QString>(u"03;27;"_s));
}

// The at-most-two rule shows its box and yields nothing; 知识产权形式 is exempt.
TEST(OptionPanel, ReadingReportsThroughThePrompter) {
    xb::ui::ScriptedPrompter prompts;
    SamplePage sample;
    OptionPanel promotion(sample.property, 1, u"推广形式"_s);
    promotion.write(u"1;3;9;"_s);
    EXPECT_FALSE(promotion.read());
    ASSERT_EQ(prompts.messages().size(), 1);
    const Message expected{u"提示"_s, u"'推广形式'项目为复选项目，但至多选择二项！"_s,
                           MessageIcon::Question, Buttons::Ok};
    EXPECT_EQ(prompts.messages().first(), expected);

    OptionPanel property(sample.property, 1, u"知识产权形式"_s);
    EXPECT_EQ(property.read(), std::optional<QString>(u"1;3;9;"_s));
    EXPECT_EQ(prompts.messages().size(), 1);
}

// A radio panel takes a bare code; uncheck all clears radio buttons too, which Qt's
// exclusive buttons would otherwise refuse.
TEST(OptionPanel, RadioPanelsAndUncheckAll) {
    SamplePage sample;
    OptionPanel reasons(sample.reasons, 2, u"未应用或停用原因细类"_s);
    reasons.write(u"12"_s);
    EXPECT_EQ(reasons.read(), std::optional<QString>(u"12"_s));
    QTest::mouseClick(sample.option("rb_160_13"), Qt::LeftButton);
    EXPECT_EQ(reasons.read(), std::optional<QString>(u"13"_s));
    sample.option("cb51_2")->setChecked(true);

    uncheckAll(&sample.page);
    EXPECT_EQ(reasons.read(), std::optional<QString>(QString()));
    EXPECT_FALSE(sample.option("cb51_2")->isChecked());
    // The buttons are still a group afterwards.
    QTest::mouseClick(sample.option("rb_160_11"), Qt::LeftButton);
    QTest::mouseClick(sample.option("rb_160_12"), Qt::LeftButton);
    EXPECT_EQ(checkedNames(reasons), QStringList{u"rb_160_12"_s});
}
