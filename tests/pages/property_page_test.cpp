// The intellectual property and application page through the real main window.
#include "store/layouts.h"
#include "store/table_file.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>

using namespace Qt::StringLiterals;
using xb::ui::Answer;

namespace {

class PropertyPage : public WindowFixture {
  protected:
    int patents(const std::string& number) {
        return count("select count(*) from zlqk where item_4=:n", {{"n", number}});
    }
    void addPatent(const std::string& number, const char* status, const char* type) {
        addChild("zlqk", number, {{"PATENT_ST", status}, {"PATENT_TY", type}});
    }
};

QLineEdit* box(QDialog& d, const char* name) {
    return control<QLineEdit>(&d, name);
}

bool checked(QDialog& d, const char* name) {
    return control<QAbstractButton>(&d, name)->isChecked();
}

// What every save needs: a status and one form of promotion.
void chooseStatusAndPromotion(QDialog& d, const char* status = "1") {
    choose(control<QComboBox>(&d, "CB_32"), QString::fromLatin1(status));
    if (!checked(d, "cb_161_5")) ::click(&d, "cb_161_5");
}

} // namespace

TEST_F(PropertyPage, CountsTheStoredPatentsAndSavesCountsSummaryAndTypes) {
    // The stored counts are stale; the page shows and saves the ones of the patent rows.
    addRecord("2024000001", "1", "成果甲", {{"ITEM_51", "1;"}, {"ITEM_51_2", 7.0}});
    addPatent("2024000001", "1", "1");
    addPatent("2024000001", "1", "3");
    addPatent("2024000001", "2", "1");
    addRecord("2024000002", "1", "成果乙");
    addPatent("2024000002", "2", "2"); // another record's patent counts for nothing here
    start(true);
    QString accepted, granted;
    bool groupShown = false;
    openSection("btn_page02", [&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "TFpage2");
        EXPECT_EQ(d.windowTitle(), "成果名称：成果甲");
        accepted = box(d, "edt_51_2")->text();
        granted = box(d, "edt_51_3")->text();
        groupShown = control(&d, "Button1")->isVisible() && !box(d, "Edt_53")->isVisible();
        chooseStatusAndPromotion(d);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(accepted, "2");
    EXPECT_EQ(granted, "1");
    EXPECT_TRUE(groupShown);
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(prompter.texts(), QStringList{u"储存成功！"_s});
    EXPECT_EQ(field("2024000001", "item_51_2"), "2");
    EXPECT_EQ(field("2024000001", "item_51_3"), "1");
    EXPECT_EQ(field("2024000001", "item_51_1"), "3");
    EXPECT_EQ(field("2024000001", "patent_ty"), "1;3;");
    EXPECT_EQ(field("2024000001", "item_51"), "1;");
    EXPECT_EQ(field("2024000001", "item_32"), "1");
    EXPECT_EQ(field("2024000001", "item_161"), "5;");
    EXPECT_EQ(mark("btn_page02"), "done");
}

TEST_F(PropertyPage, PatentsWithoutRowsAreRefusedAlsoWhenTheStoredCountsAreEmpty) {
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_51", "1;"}, {"ITEM_32", "1"}, {"ITEM_161", "1;"}});
    start(true);
    QString accepted;
    openSection("btn_page02", [&](QDialog& d) {
        accepted = box(d, "edt_51_2")->text();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01"); // the same check keeps the page open
    });
    EXPECT_EQ(accepted, "0");
    EXPECT_EQ(prompter.texts(), QStringList({u"请填写专利情况！"_s, u"请填写专利情况！"_s}));
    EXPECT_TRUE(lastLeftOpen());
    EXPECT_EQ(field("2024000001", "item_51_2"), "");
}

TEST_F(PropertyPage, UncheckingPatentsDeletesThemOnlyAfterPassingChecksAndAStoredRecord) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_51", "1;"}, {"ITEM_32", "1"}});
    addPatent("2024000001", "1", "1");
    addPatent("2024000001", "2", "2");
    addRecord("2024000002", "1", "成果乙");
    addPatent("2024000002", "1", "1");
    start(true);
    int afterFailedCheck = -1, afterNo = -1;
    openSection("btn_page02", [&](QDialog& d) {
        ::click(&d, "cb_51_1");
        EXPECT_FALSE(control(&d, "Button1")->isVisible());
        ::click(&d, "btnSave01"); // no promotion form: fails before any question
        afterFailedCheck = patents("2024000001");
        ::click(&d, "cb_161_1");
        prompter.queueAnswer(Answer::No);
        ::click(&d, "btnSave01"); // No keeps the patents, the record is stored
        afterNo = patents("2024000001");
        ::click(&d, "cb_51_9");
        prompter.queueAnswer(Answer::Yes);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(afterFailedCheck, 2);
    EXPECT_EQ(afterNo, 2);
    const xb::ui::Message question{u"提示信息"_s, u"知识产权形式如果不选择专利,专利信息将被删除"_s,
                                   xb::ui::MessageIcon::Information, xb::ui::Buttons::YesNo};
    EXPECT_EQ(prompter.messages().count(question), 2);
    EXPECT_EQ(prompter.texts(), QStringList({u"\"推广形式\"必须选择！"_s, question.text,
                                             u"储存成功！"_s, question.text, u"储存成功！"_s}));
    EXPECT_EQ(patents("2024000001"), 0);
    EXPECT_EQ(patents("2024000002"), 1);
    EXPECT_EQ(field("2024000001", "item_51"), "9;");
    EXPECT_EQ(field("2024000001", "item_51_1"), "");
    EXPECT_EQ(field("2024000001", "patent_ty"), "");
    EXPECT_EQ(field("2024000001", "item_51_2"), "");
    EXPECT_FALSE(lastLeftOpen());
}

TEST_F(PropertyPage, NotAppliedNeedsAReasonAndASubReasonChecksItsReason) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_150", 12.0}, {"ITEM_162", 3.0}});
    start(true);
    QString income;
    bool amountsOff = false, fundsChecked = false, othersOff = false;
    openSection("btn_page02", [&](QDialog& d) {
        chooseStatusAndPromotion(d, "3");
        income = box(d, "Edt_150")->text();
        amountsOff = !box(d, "Edt_150")->isEnabled() && !box(d, "Edt_162")->isEnabled() &&
                     box(d, "Edt_162")->text().isEmpty();
        ::click(&d, "btnSave01");
        ::click(&d, "rb_160_21");
        ::click(&d, "rb_160_12");
        fundsChecked = checked(d, "cb_32_1_1");
        othersOff = !checked(d, "cb_32_1_2") && !control(&d, "cb_32_1_1")->isEnabled();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(income, "");
    EXPECT_TRUE(amountsOff);
    EXPECT_TRUE(fundsChecked);
    EXPECT_TRUE(othersOff);
    EXPECT_EQ(prompter.texts(), QStringList({u"未应用或停用原因必须说明！"_s, u"储存成功！"_s}));
    EXPECT_EQ(field("2024000001", "item_32"), "3");
    EXPECT_EQ(field("2024000001", "item_32_1"), "1;");
    EXPECT_EQ(field("2024000001", "item_160"), "12");
    EXPECT_EQ(field("2024000001", "item_150"), "");
    EXPECT_EQ(field("2024000001", "item_162"), "");
}

TEST_F(PropertyPage, AStableStatusClearsTheStoredReasonsAndStoresNone) {
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_32", "2"}, {"ITEM_161", "1;"}, {"ITEM_32_1", "3;"}, {"ITEM_160", "33"}});
    start(true);
    bool shownChecked = false, clearedAndOff = false;
    openSection("btn_page02", [&](QDialog& d) {
        shownChecked = checked(d, "rb_160_33") && checked(d, "cb_32_1_3");
        choose(control<QComboBox>(&d, "CB_32"), "1");
        clearedAndOff = !checked(d, "rb_160_33") && !checked(d, "cb_32_1_3") &&
                        !control(&d, "rb_160_33")->isEnabled();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(shownChecked);
    EXPECT_TRUE(clearedAndOff);
    EXPECT_EQ(field("2024000001", "item_32_1"), "");
    EXPECT_EQ(field("2024000001", "item_160"), "");
}

TEST_F(PropertyPage, ThreePromotionFormsStopSaveAndQuit) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_32", "1"}, {"ITEM_161", "1;2;"}});
    start(true);
    openSection("btn_page02", [&](QDialog& d) {
        ::click(&d, "cb_161_9");
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    const xb::ui::Message refusal{u"提示"_s, u"'推广形式'项目为复选项目，但至多选择二项！"_s,
                                  xb::ui::MessageIcon::Question, xb::ui::Buttons::Ok};
    EXPECT_EQ(prompter.messages(), QList<xb::ui::Message>({refusal, refusal}));
    EXPECT_TRUE(lastLeftOpen());
    EXPECT_EQ(field("2024000001", "item_161"), "1;2;");
}

TEST_F(PropertyPage, AmountBoxesTakeDigitsAndResetPastedTexts) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString profit, typedIncome, enterprises;
    openSection("btn_page02", [&](QDialog& d) {
        box(d, "Edt_151_1")->setText("12a"); // as a paste arrives
        profit = box(d, "Edt_151_1")->text();
        type(box(d, "Edt_150"), u"1x2.3456789"_s);
        typedIncome = box(d, "Edt_150")->text();
        type(box(d, "Edt_45"), QString(20, u'9'));
        enterprises = box(d, "Edt_45")->text();
    });
    EXPECT_EQ(prompter.texts(), QStringList{u"12a 不是正确的数据格式！现在已经置零"_s});
    EXPECT_EQ(profit, "0");
    EXPECT_EQ(typedIncome, "12345");
    EXPECT_EQ(enterprises, QString(13, u'9')); // as many digits as item_45 holds
}

TEST_F(PropertyPage, TheSoftwareBoxesComeFromTheRecordOnlyWhenTheyAppear) {
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_51", "3;"}, {"ITEM_53", "2006SR01234"}, {"ITEM_52", "茶园管理系统"}});
    start(true);
    QString kept, emptied, refilled;
    bool hidden = false;
    openSection("btn_page02", [&](QDialog& d) {
        box(d, "Edt_52")->setText("茶园管理系统V2");
        ::click(&d, "cb_51_1");
        kept = box(d, "Edt_52")->text();
        ::click(&d, "cb_51_3");
        hidden = !box(d, "Edt_52")->isVisible();
        emptied = box(d, "Edt_52")->text();
        ::click(&d, "cb_51_3");
        refilled = box(d, "Edt_52")->text();
    });
    EXPECT_EQ(kept, "茶园管理系统V2");
    EXPECT_TRUE(hidden);
    EXPECT_EQ(emptied, "");
    EXPECT_EQ(refilled, "茶园管理系统");
}

TEST_F(PropertyPage, HelpAndAllThreeFormsWithoutMessage) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_32", "1"}, {"ITEM_161", "4;"}});
    addPatent("2024000001", "2", "1");
    start(true);
    openSection("btn_page02", [&](QDialog& d) {
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpZscq");
            EXPECT_EQ(help.windowTitle(), "帮助信息");
            EXPECT_TRUE(
                control<QPlainTextEdit>(&help, "Memo1")->toPlainText().contains("推广形式"));
            ::click(&help, "BitBtn1");
        });
        ::click(&d, "Button3");
        for (const char* option : {"cb_51_1", "cb_51_3", "cb_51_9"})
            ::click(&d, option);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(modal.pendingActions(), 0);
    EXPECT_EQ(prompter.texts(), QStringList{u"储存成功！"_s});
    EXPECT_EQ(field("2024000001", "item_51"), "1;3;9;");
    EXPECT_EQ(field("2024000001", "item_51_1"), "3");
}

TEST_F(PropertyPage, APatentTableThatCannotBeReadKeepsThePageClosedWithTheReason) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_51", "1;"}, {"ITEM_32", "1"}});
    // Another program left a patent table without the region of its rows.
    xb::store::FieldList lacking;
    for (const xb::store::FieldDef& f : xb::store::layoutOf("zlqk").fields)
        if (!xb::store::sameName(f.name, "ITEM_DQDM")) lacking.push_back(f);
    store->db().closeTable("zlqk");
    const std::string table = store->db().tablePath("zlqk");
    std::filesystem::remove(table);
    ASSERT_TRUE(xb::store::TableFile::create(table, lacking).ok());
    start(true);
    click("btn_page02");
    EXPECT_TRUE(modal.requests().isEmpty()); // the page was never shown
    ASSERT_EQ(prompter.texts().size(), 1);
    EXPECT_TRUE(prompter.texts().first().startsWith(u"读入数据时出错:"_s))
        << prompter.texts().first().toStdString();
    EXPECT_GT(prompter.texts().first().size(), 8); // the reason follows
    EXPECT_EQ(field("2024000001", "item_51"), "1;");
    EXPECT_EQ(mark("btn_page02"), "question");
}
