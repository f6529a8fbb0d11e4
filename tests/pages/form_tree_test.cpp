#include "pages/form_tree.h"
#include "support/qt_printing.h"
#include "support/record_fixture.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace xb::pages;
using namespace Qt::StringLiterals;

namespace {

QTreeWidgetItem* findItem(QTreeWidget* tree, const QString& text) {
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

void click(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_TRUE(button) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class FormTree : public RecordFixture {};

// The picker shows the table under its root, the root expanded one level and selected;
// 确认 on a node writes "code  label" into the box and clears the tree afterwards.
TEST_F(FormTree, ConfirmingANodeFillsTheBox) {
    xb::ui::ScriptedModal modal;
    TFormTree picker(db());
    QLineEdit box;
    bool rootSelected = false, rootExpanded = false, childCollapsed = false;
    modal.queue([&](QDialog& dialog) {
        QTreeWidget* tree = picker.tree();
        QTreeWidgetItem* root = tree->topLevelItem(0);
        rootSelected = tree->currentItem() == root && root->text(0) == u"详细分类"_s;
        rootExpanded = root->isExpanded();
        QTreeWidgetItem* electronics = findItem(tree, u"01  电子信息"_s);
        ASSERT_TRUE(electronics && electronics->parent() == root);
        childCollapsed = !electronics->isExpanded();
        QTreeWidgetItem* network = findItem(tree, u"0101  计算机及网络技术"_s);
        ASSERT_TRUE(network && network->parent() == electronics);
        tree->setCurrentItem(network);
        click(dialog, "Button1");
    });
    EXPECT_EQ(picker.pick(&box, u"gxjs"_s), int(QDialog::Accepted));
    EXPECT_TRUE(rootSelected && rootExpanded && childCollapsed);
    EXPECT_EQ(box.text(), u"0101  计算机及网络技术"_s);
    EXPECT_EQ(picker.windowTitle(), u"分类选择"_s);
    EXPECT_EQ(picker.tree()->topLevelItemCount(), 0);
}

// 确认 on the root empties the box; 取消 leaves it; each request rebuilds the tree from the
// requested table, and a cleared request writes nowhere.
TEST_F(FormTree, RootEmptiesAndCancelKeeps) {
    xb::ui::ScriptedModal modal;
    TFormTree picker(db());
    QLineEdit box(u"110  数学"_s);
    int rows = 0;
    modal.queue([&](QDialog& dialog) {
        rows = findItem(picker.tree(), u"1101410  演绎逻辑学"_s) != nullptr;
        QTreeWidgetItem* math = findItem(picker.tree(), u"110  数学"_s);
        ASSERT_TRUE(math);
        picker.tree()->setCurrentItem(math);
        click(dialog, "Button2");
    });
    EXPECT_EQ(picker.pick(&box, u"xkfl"_s), int(QDialog::Rejected));
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(box.text(), u"110  数学"_s);

    modal.queue([&](QDialog& dialog) { click(dialog, "Button1"); });
    picker.pick(&box, u"xkfl"_s);
    EXPECT_EQ(box.text(), QString());

    // Dismissed by other means the request is gone too: a later 确认 writes nothing.
    box.setText(u"kept"_s);
    picker.request(&box, u"xkfl"_s);
    picker.done(QDialog::Rejected);
    modal.queue([&](QDialog& dialog) { click(dialog, "Button1"); });
    xb::ui::showModal(picker);
    EXPECT_EQ(box.text(), u"kept"_s);
}

// A table that cannot be read is reported and leaves only the root to pick.
TEST_F(FormTree, MissingTableIsReported) {
    xb::ui::ScriptedModal modal;
    xb::ui::ScriptedPrompter prompts;
    TFormTree picker(db());
    QLineEdit box(u"x"_s);
    int items = -1;
    modal.queue([&](QDialog& dialog) {
        items = picker.tree()->topLevelItem(0)->childCount();
        click(dialog, "Button2");
    });
    picker.pick(&box, u"nosuchtable"_s);
    EXPECT_EQ(items, 0);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages().first().caption, u"提示"_s);
    EXPECT_EQ(box.text(), u"x"_s);
}
