// A failed check of an entry dialog moves the focus only to the control it names, showing the
// tab that holds it; a failure naming no control leaves the focus where the user was.
#include "forms/entry_dialog.h"
#include "support/qt_printing.h"
#include "ui/scripted_prompter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace xb::forms;
using namespace Qt::StringLiterals;

namespace {

class TabbedEntry : public EntryDialog {
  public:
    TabbedEntry() : EntryDialog(u"TestEntry"_s, u"测试"_s, "zlqk", nullptr) {
        tabs = new QTabWidget(body());
        typed = new QLineEdit;
        hidden = new QLineEdit;
        hidden->setObjectName(u"hiddenBox"_s);
        tabs->addTab(typed, u"一"_s);
        tabs->addTab(hidden, u"二"_s);
        (new QVBoxLayout(body()))->addWidget(tabs);
    }
    bool isEmpty() const override { return false; }
    std::optional<CheckFailure> check() override { return failure; }
    xb::store::Status store() override { return {}; }

    CheckFailure failure;
    QTabWidget* tabs;
    QLineEdit* typed;
    QLineEdit* hidden;
};

} // namespace

// A page's handler named after a frame button is what the button runs, in place of the standard.
class EntryWithOwnQuit : public TabbedEntry {
    Q_OBJECT

  public slots:
    void quit01Click() { ++quits; }

  public:
    int quits = 0;
};

TEST(PageFrame, AButtonRunsThePagesHandlerOfItsName) {
    xb::ui::ScriptedPrompter prompter;
    EntryWithOwnQuit dialog;
    dialog.show();
    dialog.findChild<QPushButton*>(u"quit01"_s)->click();
    EXPECT_EQ(dialog.quits, 1);
    EXPECT_TRUE(dialog.isVisible());
    dialog.failure = {QString(), u"请先填写成果名称！"_s};
    dialog.findChild<QPushButton*>(u"btnSave01"_s)->click(); // no handler of its name: the standard
    EXPECT_EQ(prompter.texts(), QStringList{u"请先填写成果名称！"_s});
}

TEST(EntryDialogCheck, TheFocusGoesOnlyToTheNamedControlOnItsTab) {
    xb::ui::ScriptedPrompter prompter;
    TabbedEntry dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.typed->setFocus();

    dialog.failure = {QString(), u"请先填写成果名称！"_s};
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(QApplication::focusWidget(), dialog.typed);
    EXPECT_EQ(dialog.tabs->currentIndex(), 0);

    dialog.failure = {u"hiddenBox"_s, QString(), true};
    dialog.failure.message = u"专利号不能为空"_s;
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(dialog.tabs->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), dialog.hidden);
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[0].icon, xb::ui::MessageIcon::Warning);
    EXPECT_EQ(prompter.messages()[1].icon, xb::ui::MessageIcon::None); // the plain box
    EXPECT_TRUE(dialog.isVisible());
}

#include "page_frame_test.moc"
