// The project and evaluation page through the real main window.
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

class ProjectPage : public WindowFixture {
  protected:
    static QLineEdit* box(QDialog& d, const char* name) { return control<QLineEdit>(&d, name); }
    static QComboBox* list(QDialog& d, const char* name) { return control<QComboBox>(&d, name); }
    static bool checked(QDialog& d, const char* name) {
        return control<QAbstractButton>(&d, name)->isChecked();
    }
    // Chooses an evaluation form and a source without sub-plans, so that Save may pass.
    static void fillRequired(QDialog& d) {
        choose(list(d, "cb_21"), "1");
        ::click(&d, "cb_126_10");
    }
};

} // namespace

TEST_F(ProjectPage, ANationalPlanChecksTheNationalSourceAndAnotherSourceClearsBoth) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_FALSE(control<QCheckBox>(&d, "cb_126_01")->isEnabled());
        choose(list(d, "cb_21"), "1");
        ::click(&d, "RB_140_7");
        EXPECT_TRUE(checked(d, "cb_126_01"));
        EXPECT_FALSE(list(d, "CB_41")->isVisibleTo(&d)); // the national plans have no sub-plans
        box(d, "Edt_127")->setText("   ");
        ::click(&d, "btnSave01");
        EXPECT_EQ(d.focusWidget(), box(d, "Edt_127"));

        ::click(&d, "cb_126_03");
        EXPECT_FALSE(checked(d, "cb_126_01"));
        EXPECT_FALSE(checked(d, "RB_140_7"));
        EXPECT_TRUE(list(d, "CB_41")->isVisibleTo(&d));
        EXPECT_EQ(control<QLabel>(&d, "lbl_41")->text(), "“地方计划”的下属分类");
        EXPECT_EQ(list(d, "CB_41")->count(), 8); // seven plans of 03 and the blank entry
        EXPECT_TRUE(choose(list(d, "CB_41"), "02"));
        ::click(&d, "btnSave01");
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpCglx");
            ::click(&help, "BitBtn1");
        });
        ::click(&d, "Button3");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(modal.pendingActions(), 0);
    EXPECT_EQ(
        prompter.texts(),
        QStringList({"“课题来源”为“国家计划”的项目，“课题立项编号”不能为空！", "储存成功！"}));
    EXPECT_EQ(field("2024000001", "item_126"), "03;");
    EXPECT_EQ(field("2024000001", "item_140"), "");
    EXPECT_EQ(field("2024000001", "item_41_1"), "02");
    EXPECT_EQ(mark("btn_page03"), "done");

    // Opening again shows the stored sub-plan, and nothing counts as changed.
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_TRUE(list(d, "CB_41")->isVisibleTo(&d));
        EXPECT_EQ(list(d, "CB_41")->currentText().left(2), "02");
        ::click(&d, "quit01");
    });
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(prompter.texts().size(), 2);
}

TEST_F(ProjectPage, AStoredNationalPlanOpensCheckedAndAStoredSourceWithoutSubPlanHidesTheList) {
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_21", "1"},
               {"ITEM_126", "01;"},
               {"ITEM_140", "3"},
               {"ITEM_127", "2004CB"},
               {"ITEM_127_1", "茶树育种"}});
    addRecord("2024000002", "1", "成果乙", {{"ITEM_21", "1"}, {"ITEM_126", "03;"}});
    start(true);
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_TRUE(checked(d, "cb_126_01"));
        EXPECT_TRUE(checked(d, "RB_140_3"));
        EXPECT_FALSE(list(d, "CB_41")->isVisibleTo(&d));
        ::click(&d, "quit01");
    });
    main->recordList()->next();
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_TRUE(checked(d, "cb_126_03"));
        EXPECT_FALSE(checked(d, "cb_126_01"));
        EXPECT_FALSE(checked(d, "RB_140_3")); // nothing of the other record survives
        EXPECT_FALSE(list(d, "CB_41")->isVisibleTo(&d));
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(prompter.texts().isEmpty()) << prompter.texts().join('|').toStdString();
    EXPECT_FALSE(lastLeftOpen());
}

TEST_F(ProjectPage, SumsFollowTheirPartsAndTooLongATotalIsRefused) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString local, total, typed, pasted;
    openSection("btn_page03", [&](QDialog& d) {
        fillRequired(d);
        QLineEdit* province = box(d, "Edt_142_1");
        province->setFocus();
        type(province, "1a0-00");
        typed = province->text();
        type(box(d, "Edt_142_2"), "200.5");
        local = box(d, "Edt_142")->text();
        total = box(d, "Edt_149")->text();

        box(d, "Edt_144")->setText("12a"); // pasted
        pasted = box(d, "Edt_144")->text();
        box(d, "Edt_142_3")->setText("x");

        box(d, "Edt_141")->setText("9999999");
        ::click(&d, "btnSave01");
        box(d, "Edt_141")->clear();
    });
    EXPECT_EQ(typed, "1000");
    EXPECT_EQ(local, "1200.5");
    EXPECT_EQ(total, "1200.5");
    EXPECT_EQ(pasted, "0");
    EXPECT_EQ(prompter.texts(),
              QStringList({"“自有基金”:12a 不是正确的数据格式！现在已经置零",
                           "读取数据时，发现“地方投入”:x 不是正确的数据格式！现在已经置零",
                           "经费最大长度不超得过7位！"}));
    EXPECT_EQ(field("2024000001", "item_149"), "");
    EXPECT_EQ(mark("btn_page03"), "question");
}

TEST_F(ProjectPage, FractionsAndTheEvaluationDateAreStoredInTheirForms) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString month, day;
    openSection("btn_page03", [&](QDialog& d) {
        fillRequired(d);
        box(d, "Edt_141")->setText("0.1");
        box(d, "Edt_148")->setText("0.2");
        box(d, "edt_34_y")->setText("2005");
        box(d, "edt_34_m")->setText("3");
        box(d, "edt_34_d")->setText("7");
        ::click(&d, "btnSave01");
        month = box(d, "edt_34_m")->text();
        day = box(d, "edt_34_d")->text();
        ::click(&d, "quit01");
    });
    EXPECT_EQ(prompter.texts(), QStringList({"储存成功！"}));
    EXPECT_EQ(field("2024000001", "item_149"), "0.3");
    EXPECT_EQ(field("2024000001", "item_141"), "0.1");
    EXPECT_EQ(field("2024000001", "item_142"), ""); // no local part: no local sum
    EXPECT_EQ(field("2024000001", "item_34"), "2005.03.07");
    EXPECT_EQ(month, "03");
    EXPECT_EQ(day, "07");
    EXPECT_FALSE(lastLeftOpen());
}

TEST_F(ProjectPage, StoredSumsAreRecomputedFromTheirPartsWhenThePageFills) {
    // A total and a local sum that do not match their parts (from another installation): the
    // page shows the sums of the parts, and so differs from the stored record, which 退出 then
    // offers to correct.
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_21", "1"},
               {"ITEM_126", "10;"},
               {"ITEM_141", 12.5},
               {"ITEM_145", 0.125},
               {"ITEM_142", 5.0},
               {"ITEM_142_1", 100.0},
               {"ITEM_149", 999.0}});
    // Nothing stored in a sum or its parts: the sums stay empty and nothing has changed.
    addRecord("2024000002", "1", "成果乙", {{"ITEM_21", "1"}, {"ITEM_126", "10;"}});
    start(true);
    prompter.queueAnswer(xb::ui::Answer::Yes);
    QString local, total;
    openSection("btn_page03", [&](QDialog& d) {
        local = box(d, "Edt_142")->text();
        total = box(d, "Edt_149")->text();
        ::click(&d, "quit01");
    });
    EXPECT_EQ(local, "100");
    EXPECT_EQ(total, "112.625");
    EXPECT_EQ(prompter.texts(), QStringList({"记录已经更改,是否保存？", "储存成功！"}));
    EXPECT_EQ(field("2024000001", "item_149"), "112.625");
    EXPECT_EQ(field("2024000001", "item_142"), "100");

    // Sums that match their parts, and empty ones, leave the page unchanged.
    prompter.clear();
    openSection("btn_page03", [&](QDialog& d) { ::click(&d, "quit01"); });
    main->recordList()->next();
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_EQ(box(d, "Edt_149")->text(), "");
        EXPECT_EQ(box(d, "Edt_142")->text(), "");
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(prompter.texts().isEmpty()) << prompter.texts().join('|').toStdString();
    EXPECT_FALSE(lastLeftOpen());
}

TEST_F(ProjectPage, ASoftScienceRecordUsesItsOwnEvaluationFormsAndHelp) {
    addRecord("2024000001", "2", "软科学成果");
    start(true);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    ASSERT_EQ(listCount(), 1);
    openSection("btn_page03", [&](QDialog& d) {
        EXPECT_FALSE(list(d, "cb_21")->isVisibleTo(&d));
        EXPECT_TRUE(list(d, "cb_21_l")->isVisibleTo(&d));
        ::click(&d, "cb_126_10");
        ::click(&d, "btnSave01");
        EXPECT_EQ(d.focusWidget(), list(d, "cb_21_l"));
        EXPECT_FALSE(choose(list(d, "cb_21_l"), "1")); // 鉴定 is not a soft-science form
        EXPECT_TRUE(choose(list(d, "cb_21_l"), "4"));
        ::click(&d, "btnSave01");
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpKtlxRj");
            ::click(&help, "BitBtn1");
        });
        ::click(&d, "Button3");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(prompter.texts(), QStringList({"“评价形式”不能为空！", "储存成功！"}));
    EXPECT_EQ(field("2024000001", "item_21"), "4");
    EXPECT_EQ(modal.pendingActions(), 0);
}
