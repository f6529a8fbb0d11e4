#include "records/query_builder.h"
#include "support/window_fixture.h"

#include <QPlainTextEdit>

using QueryBuilderWindow = WindowFixture;

TEST(QueryText, ParenthesisCheckAndComparisons) {
    EXPECT_FALSE(xb::records::parenthesesAcceptable(") item_3 = 'a' ("));
    EXPECT_TRUE(xb::records::parenthesesAcceptable("((item_3 = 'a') or item_2='1'"));
    EXPECT_TRUE(xb::records::parenthesesAcceptable("item_3 = 'a'"));
    EXPECT_FALSE(xb::records::parenthesesAcceptable("(a) ) (b"));
    EXPECT_EQ(xb::records::comparisonText("item_3", "包含", "芯片"), " item_3 like '%芯片%'");
    EXPECT_EQ(xb::records::comparisonText("item_2", "=", "1"), " item_2 ='1'");
    EXPECT_EQ(xb::records::comparisonText("item_3", "=", "O'Brien"), " item_3 ='O''Brien'");
}

TEST_F(QueryBuilderWindow, QueriesOverTextAndDictionaryItems) {
    addRecord("2024000001", "1", "芯片设计", {{"ITEM_2", "1"}});
    addRecord("2024000002", "1", "水稻育种", {{"ITEM_2", "2"}});
    addRecord("2024000003", "2", "芯片政策", {{"ITEM_2", "1"}});
    completeRecord("2024000001");
    start();
    auto* items = find<QComboBox>("ComboBox2");
    auto* ops = find<QComboBox>("ComboBox4");
    auto* text = find<QPlainTextEdit>("MMSysV");

    // A text item with 包含.
    items->setCurrentIndex(items->findText("成果名称"));
    items->activated(items->currentIndex());
    find<QLineEdit>("Edit2")->setText("芯片");
    ops->setCurrentIndex(0);
    click("SpeedButton24");
    EXPECT_EQ(text->toPlainText(), " item_3 like '%芯片%'");
    click("SpeedButton16");
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(current("item_3"), "芯片设计");
    EXPECT_EQ(current("NO"), "1");

    // A dictionary item with "=": the code in quotes.
    click("SpeedButton26");
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_EQ(listCount(), 2);
    const int level = items->findText("成果水平");
    ASSERT_GE(level, 0);
    items->setCurrentIndex(level);
    items->activated(level);
    auto* values = find<QComboBox>("Combobox3");
    ASSERT_GT(values->count(), 1);
    values->setCurrentIndex(1); // the code 2
    ops->setCurrentIndex(ops->findText("="));
    click("SpeedButton24");
    EXPECT_EQ(text->toPlainText(), " item_2 ='2'");
    click("SpeedButton16");
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(current("item_3"), "水稻育种");
}

TEST_F(QueryBuilderWindow, WrongAndEmptyConditionsKeepTheList) {
    addRecord("2024000001", "1", "一");
    addRecord("2024000002", "1", "二");
    completeRecord("2024000001");
    start();
    click("SpeedButton16");
    EXPECT_EQ(prompter.texts().last(), "没有条件无法查询!");
    EXPECT_EQ(listCount(), 2);

    auto* items = find<QComboBox>("ComboBox2");
    items->setCurrentIndex(items->findText("成果名称"));
    items->activated(items->currentIndex());
    find<QLineEdit>("Edit2")->setText("一");
    auto* ops = find<QComboBox>("ComboBox4");
    ops->setCurrentIndex(ops->count() - 1); // the empty operator
    click("SpeedButton24");
    click("SpeedButton16");
    EXPECT_EQ(prompter.messages().last().text, "条件输入有误，请检查");
    EXPECT_EQ(prompter.messages().last().caption, "请注意！");
    EXPECT_EQ(listCount(), 2);

    click("SpeedButton21"); // ")" before any "("
    click("SpeedButton20");
    click("SpeedButton16");
    EXPECT_EQ(prompter.texts().last(), "您的查询语句含有不正确的的“（”“）”,请修改！");

    click("SpeedButton26");
    ops->setCurrentIndex(0);
    find<QLineEdit>("Edit2")->setText("无此项");
    click("SpeedButton24");
    click("SpeedButton16");
    EXPECT_EQ(prompter.texts().last(), "没找到符合条件的条目,请再输入合适语句!");
    EXPECT_EQ(listCount(), 2);
}
