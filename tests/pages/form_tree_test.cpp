#include "data_directory.h"
#include "pages/form_tree.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

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
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class FormTreeTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        data = dir.filePath(u"data"_s).toStdString();
        auto built =
            xb::install::buildDataDirectory(data, xb::install::repositorySources(XB_SOURCE_DIR));
        QVERIFY2(built.ok(), built.ok() ? "" : built.message().c_str());
        db = std::make_unique<xb::store::Database>(data);
    }

    // The picker shows the table under its root, the root expanded one level and selected;
    // 确认 on a node writes "code  label" into the box and clears the tree afterwards.
    void confirmingANodeFillsTheBox() {
        xb::ui::ScriptedModal modal;
        TFormTree picker(*db);
        QLineEdit box;
        bool rootSelected = false, rootExpanded = false, childCollapsed = false;
        modal.queue([&](QDialog& dialog) {
            QTreeWidget* tree = picker.tree();
            QTreeWidgetItem* root = tree->topLevelItem(0);
            rootSelected = tree->currentItem() == root && root->text(0) == u"详细分类"_s;
            rootExpanded = root->isExpanded();
            QTreeWidgetItem* electronics = findItem(tree, u"01  电子信息"_s);
            QVERIFY(electronics && electronics->parent() == root);
            childCollapsed = !electronics->isExpanded();
            QTreeWidgetItem* network = findItem(tree, u"0101  计算机及网络技术"_s);
            QVERIFY(network && network->parent() == electronics);
            tree->setCurrentItem(network);
            click(dialog, "Button1");
        });
        QCOMPARE(picker.pick(&box, u"gxjs"_s), int(QDialog::Accepted));
        QVERIFY(rootSelected && rootExpanded && childCollapsed);
        QCOMPARE(box.text(), u"0101  计算机及网络技术"_s);
        QCOMPARE(picker.windowTitle(), u"分类选择"_s);
        QCOMPARE(picker.tree()->topLevelItemCount(), 0);
    }

    // 确认 on the root empties the box; 取消 leaves it; each request rebuilds the tree from the
    // requested table, and a cleared request writes nowhere.
    void rootEmptiesAndCancelKeeps() {
        xb::ui::ScriptedModal modal;
        TFormTree picker(*db);
        QLineEdit box(u"110  数学"_s);
        int rows = 0;
        modal.queue([&](QDialog& dialog) {
            rows = findItem(picker.tree(), u"1101410  演绎逻辑学"_s) != nullptr;
            QTreeWidgetItem* math = findItem(picker.tree(), u"110  数学"_s);
            QVERIFY(math);
            picker.tree()->setCurrentItem(math);
            click(dialog, "Button2");
        });
        QCOMPARE(picker.pick(&box, u"xkfl"_s), int(QDialog::Rejected));
        QCOMPARE(rows, 1);
        QCOMPARE(box.text(), u"110  数学"_s);

        modal.queue([&](QDialog& dialog) { click(dialog, "Button1"); });
        picker.pick(&box, u"xkfl"_s);
        QCOMPARE(box.text(), QString());

        // Dismissed by other means the request is gone too: a later 确认 writes nothing.
        box.setText(u"kept"_s);
        picker.request(&box, u"xkfl"_s);
        picker.done(QDialog::Rejected);
        modal.queue([&](QDialog& dialog) { click(dialog, "Button1"); });
        xb::ui::showModal(picker);
        QCOMPARE(box.text(), u"kept"_s);
    }

    // A table that cannot be read is reported and leaves only the root to pick.
    void missingTableIsReported() {
        xb::ui::ScriptedModal modal;
        xb::ui::ScriptedPrompter prompts;
        TFormTree picker(*db);
        QLineEdit box(u"x"_s);
        int items = -1;
        modal.queue([&](QDialog& dialog) {
            items = picker.tree()->topLevelItem(0)->childCount();
            click(dialog, "Button2");
        });
        picker.pick(&box, u"nosuchtable"_s);
        QCOMPARE(items, 0);
        QCOMPARE(prompts.messages().size(), 1);
        QCOMPARE(prompts.messages().first().caption, u"提示"_s);
        QCOMPARE(box.text(), u"x"_s);
    }

  private:
    QTemporaryDir dir;
    std::string data;
    std::unique_ptr<xb::store::Database> db;
};

int runFormTreeTests(int argc, char** argv) {
    FormTreeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "form_tree_test.moc"
