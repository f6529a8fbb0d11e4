// The overview page through the real main window, in both layouts.
#include "overview_filling.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>

namespace {

QLineEdit* box(QDialog& d, const char* name) {
    return control<QLineEdit>(&d, name);
}

void setText(QDialog& d, const char* name, const QString& text) {
    box(d, name)->setText(text);
}

bool checked(QDialog& d, const char* name) {
    return control<QAbstractButton>(&d, name)->isChecked();
}

// Fills every required item of the page's layout.
void fillPage(QDialog& d, bool applied) {
    fillOverview(d, applied, QStringLiteral("茶树\t快繁"));
}

class OverviewPage : public WindowFixture {
  protected:
    void showSoftScience() {
        main->setCategoryPosition(1);
        main->ComboBox1Change();
    }
};

} // namespace

TEST_F(OverviewPage, AppliedRecordStoresPeriodDateMemosAndTheUnitCode) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_210", "1"}, {"ITEM_200", "05;"}});
    start(true);
    QString startMonth, endMonth, memo, title;
    openSection("btn_page01", [&](QDialog& d) {
        title = d.windowTitle();
        EXPECT_FALSE(control<QWidget>(&d, "cb_210")->isVisibleTo(&d));
        EXPECT_TRUE(control<QWidget>(&d, "PL_123")->isVisibleTo(&d));
        fillPage(d, true);
        ::click(&d, "btnSave01");
        startMonth = box(d, "edt_8_m_s")->text();
        endMonth = box(d, "edt_8_m_e")->text();
        memo = control<QPlainTextEdit>(&d, "Mo_13_1")->toPlainText();
        ::click(&d, "quit01");
    });
    EXPECT_EQ(title, "成果名称：成果甲");
    EXPECT_EQ(prompter.texts(), QStringList({"储存成功！"}));
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(startMonth, "05");
    EXPECT_EQ(endMonth, "12");
    EXPECT_EQ(memo, "茶树 快繁");
    EXPECT_EQ(field("2024000001", "item_8"), "2003.05   至2005.12");
    EXPECT_EQ(field("2024000001", "item_121"), "2006-03-07");
    EXPECT_EQ(field("2024000001", "item_13_1"), "茶树 快繁");
    EXPECT_EQ(field("2024000001", "item_123"), "B");
    EXPECT_EQ(field("2024000001", "item_125_1"), "1");
    EXPECT_EQ(field("2024000001", "item_16"), "3");
    EXPECT_EQ(field("2024000001", "item_125"), "03;");
    EXPECT_EQ(field("2024000001", "outcomeb"), "9990001000");
    EXPECT_EQ(field("2024000001", "item_210"), "");
    EXPECT_EQ(field("2024000001", "item_200"), "");
    EXPECT_EQ(mark("btn_page01"), "done");
}

TEST_F(OverviewPage, SoftScienceRecordEmptiesTheAppliedOnlyFields) {
    addRecord("2024000002", "2", "软科学成果",
              {{"ITEM_123", "1"},
               {"ITEM_124_1", "01;"},
               {"ITEM_16", "1"},
               {"ITEM_33", "1"},
               {"ITEM_125_1", "1"}});
    start(true);
    showSoftScience();
    QString label;
    openSection("btn_page01", [&](QDialog& d) {
        label = control<QLabel>(&d, "Label124")->text();
        EXPECT_TRUE(control<QWidget>(&d, "PL_200")->isVisibleTo(&d));
        EXPECT_FALSE(control<QWidget>(&d, "Pl_124_1")->isVisibleTo(&d));
        EXPECT_FALSE(control<QWidget>(&d, "cb_16")->isVisibleTo(&d));
        fillPage(d, false);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(label, "社会经济目标");
    EXPECT_EQ(prompter.texts(), QStringList({"储存成功！"}));
    for (const char* f : {"item_123", "item_124_1", "item_16", "item_33", "item_125_1", "outcomeb"})
        EXPECT_EQ(field("2024000002", f), "") << f;
    EXPECT_EQ(field("2024000002", "item_210"), "1");
    EXPECT_EQ(field("2024000002", "item_200"), "03;");
}

TEST_F(OverviewPage, SingleChoicePanelsKeepTheLastCheck) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_125", "27;03;"}});
    start(true);
    bool only03 = false, first = true;
    openSection("btn_page01", [&](QDialog& d) {
        only03 = checked(d, "CB_125_03") && !checked(d, "CB_125_27");
        fillPage(d, true);
        tick(d, "CB_124_1_01");
        tick(d, "CB_124_1_02");
        first = checked(d, "CB_124_1_01");
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(only03);
    EXPECT_FALSE(first);
    EXPECT_EQ(field("2024000001", "item_124_1"), "02;");
    EXPECT_EQ(field("2024000001", "item_125"), "03;");
}

TEST_F(OverviewPage, PickedDisciplineStoresItsCodeAndAnUnknownCodeIsKept) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_15_1", "999"}, {"ITEM_12", "A1"}});
    start(true);
    QString picked, unknown, library;
    bool readOnly = false;
    openSection("btn_page01", [&](QDialog& d) {
        unknown = box(d, "edt_15_1")->text();
        library = box(d, "edt_12")->text();
        readOnly = box(d, "Edt_15")->isReadOnly();
        fillPage(d, true);
        modal.queue([](QDialog& picker) {
            EXPECT_EQ(picker.objectName(), "TFormTree");
            pickNode(picker, "110  数学");
        });
        control<QToolButton>(&d, "cb_15")->click();
        picked = box(d, "Edt_15")->text();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(picked, "110  数学");
    EXPECT_EQ(unknown, "999");
    EXPECT_EQ(library, "A1  马克思、恩格斯著作");
    EXPECT_EQ(field("2024000001", "item_15"), "110");
    EXPECT_EQ(field("2024000001", "item_15_1"), "999");
    EXPECT_EQ(field("2024000001", "item_12"), "A1");
    EXPECT_EQ(modal.pendingActions(), 0);
}

TEST_F(OverviewPage, WithoutTheDisciplineTableCodesAreTypedAndCut) {
    addRecord("2024000001", "1", "成果甲");
    std::filesystem::remove(std::filesystem::path(data()) / "xkfl.dbf");
    start(true);
    bool buttonShown = true, libraryButtonShown = false;
    openSection("btn_page01", [&](QDialog& d) {
        buttonShown = control<QWidget>(&d, "cb_15")->isVisibleTo(&d);
        libraryButtonShown = control<QWidget>(&d, "CB_12")->isVisibleTo(&d);
        fillPage(d, true);
        box(d, "Edt_15")->selectAll();
        box(d, "Edt_15")->insert("1101410ABCDEF");
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_FALSE(buttonShown);
    EXPECT_TRUE(libraryButtonShown);
    EXPECT_EQ(field("2024000001", "item_15"), "1101410ABC");
}

TEST_F(OverviewPage, ChangingOnlyTheRegistrationDateMakesQuitAsk) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    openSection("btn_page01", [&](QDialog& d) {
        fillPage(d, true);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    ASSERT_EQ(prompter.texts(), QStringList({"储存成功！"}));
    openSection("btn_page01", [&](QDialog& d) { ::click(&d, "quit01"); });
    EXPECT_EQ(prompter.texts().size(), 1); // unchanged: no question
    prompter.queueAnswer(xb::ui::Answer::No);
    openSection("btn_page01", [&](QDialog& d) {
        setText(d, "edt_121_d", "8");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(prompter.texts().last(), "记录已经更改,是否保存？");
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(field("2024000001", "item_121"), "2006-03-07");
}

TEST_F(OverviewPage, KeywordBoxesFollowTheFirstAndAreJoined) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_14", "茶树;良种;繁育"}});
    start(true);
    bool thirdEnabled = true;
    QString third;
    openSection("btn_page01", [&](QDialog& d) {
        EXPECT_EQ(box(d, "edt_14_3")->text(), "繁育");
        fillPage(d, true);
        setText(d, "edt_14_2", "");
        thirdEnabled = box(d, "edt_14_3")->isEnabled();
        third = box(d, "edt_14_3")->text();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_FALSE(thirdEnabled);
    EXPECT_EQ(third, "");
    EXPECT_EQ(field("2024000001", "item_14"), "茶树");
}

TEST_F(OverviewPage, HelpWindowFollowsTheLayout) {
    addRecord("2024000001", "1", "应用成果");
    addRecord("2024000002", "2", "软科学成果");
    start(true);
    QStringList helps;
    auto openHelp = [&](QDialog& d) {
        modal.queue([&](QDialog& help) {
            helps << help.objectName();
            EXPECT_EQ(help.windowTitle(), "帮助信息");
            help.close();
        });
        ::click(&d, "Button3");
        ::click(&d, "quit01");
    };
    openSection("btn_page01", openHelp);
    showSoftScience();
    openSection("btn_page01", openHelp);
    EXPECT_EQ(helps, QStringList({"THelpCggk", "THelpCggkRj"}));
}

TEST_F(OverviewPage, LeavingTheIntroductionStartsAnEmptyBulletinFromIt) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString bulletin, kept;
    openSection("btn_page01", [&](QDialog& d) {
        auto* tabs = control<QTabWidget>(&d, "PageControl1");
        auto* intro = control<QPlainTextEdit>(&d, "Mo_13_1");
        auto* memo = control<QPlainTextEdit>(&d, "Mo_13");
        tabs->setCurrentWidget(intro);
        intro->setPlainText("简介内容");
        tabs->setCurrentWidget(memo);
        bulletin = memo->toPlainText();
        memo->setPlainText("公报另写");
        tabs->setCurrentWidget(intro);
        intro->setPlainText("简介改过");
        tabs->setCurrentIndex(0);
        kept = memo->toPlainText();
    });
    EXPECT_EQ(bulletin, "简介内容");
    EXPECT_EQ(kept, "公报另写"); // a bulletin with text is left as it is
}

TEST_F(OverviewPage, AFailedCheckWithoutAFocusOfItsOwnLeavesTheFocus) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString focus;
    openSection("btn_page01", [&](QDialog& d) {
        fillPage(d, true);
        control<QComboBox>(&d, "CB_1")->setCurrentIndex(-1);
        box(d, "Edt_128")->setFocus();
        control<QAbstractButton>(&d, "btnSave01")->click();
        focus = d.focusWidget() ? d.focusWidget()->objectName() : QString();
    });
    EXPECT_EQ(prompter.texts(), QStringList({"\"成果密级\"不能为空！"}));
    EXPECT_EQ(focus, "Edt_128");
}
