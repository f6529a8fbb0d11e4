#include "parties/subject_leader_dialog.h"
#include "parties/subject_leaders_page.h"
#include "parties/unit_profile.h"
#include "support/record_fixture.h"
#include "support/row_writer.h"
#include "support/window_driver.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QDateTime>
#include <QLineEdit>
#include <QTableWidget>

using namespace xb::ui;
using namespace xb::parties;
using namespace Qt::StringLiterals;

namespace {

struct Leader {
    QString name;
    QString sex;
    QString year;
    QString month;
    QString field;
};

// Fills the entry dialog as a user would and presses 储存.
void enter(QDialog& dialog, const Leader& leader) {
    auto* name = control<QLineEdit>(&dialog, "edtry_180");
    name->clear();
    type(name, leader.name);
    choose(control<QComboBox>(&dialog, "cbry_181"), leader.sex);
    control<QLineEdit>(&dialog, "Edt_both_1")->setText(leader.year);
    control<QLineEdit>(&dialog, "edt_both_2")->setText(leader.month);
    choose(control<QComboBox>(&dialog, "cbry_124_1"), leader.field);
    control<QLineEdit>(&dialog, "edtry_186")->setText(leader.name + u"的研究方向"_s);
    click(&dialog, "btnSave01");
}

QStringList gridColumn(QDialog& page, int column) {
    auto* grid = control<QTableWidget>(&page, "DBGrid1");
    QStringList out;
    for (int row = 0; row < grid->rowCount(); ++row)
        out << grid->item(row, column)->text();
    return out;
}

QStringList storedOrder(xb::store::Database& db) {
    QStringList out;
    auto leaders = loadSubjectLeaders(db, kOwnUnitCode);
    for (const SubjectLeader& leader : *leaders)
        out << leader.order + u':' + leader.name;
    return out;
}

} // namespace

class SubjectLeadersPage : public RecordFixture {
  protected:
    xb::ui::ScriptedPrompter prompts;
    xb::ui::ScriptedModal modal;
};

// Three leaders added through 新增 are numbered 1 to 3 and listed with their labels; 修改
// rewrites the selected one; 删除 of the first renumbers the others and selects the new
// first; deleting the last remaining leader disables 删除 and 修改, adding enables them.
TEST_F(SubjectLeadersPage, AddChangeDeleteWithNumbering) {
    TFpage11 page(db());
    QStringList captions;
    QStringList names, births, sexes, fields;
    QString modifyYear, modifyMonth;
    int selectedAfterDelete = -1;
    bool offWhenEmpty = false, onAgain = false;
    modal.queue([&](QDialog& d) {
        const Leader leaders[] = {{u"张三"_s, u"0"_s, u"1970"_s, u"3"_s, u"05"_s},
                                  {u"李四"_s, u"1"_s, u"1965"_s, u"11"_s, u"01"_s},
                                  {u"王五"_s, u"0"_s, u"1980"_s, u"07"_s, u"11"_s}};
        for (const Leader& leader : leaders) {
            modal.queue([&](QDialog& dialog) {
                captions << dialog.windowTitle();
                enter(dialog, leader);
            });
            click(&d, "Button2");
        }
        names = gridColumn(d, 0);
        births = gridColumn(d, 1);
        sexes = gridColumn(d, 2);
        fields = gridColumn(d, 3);

        control<QTableWidget>(&d, "DBGrid1")->selectRow(1);
        modal.queue([&](QDialog& dialog) {
            captions << dialog.windowTitle();
            modifyYear = control<QLineEdit>(&dialog, "Edt_both_1")->text();
            modifyMonth = control<QLineEdit>(&dialog, "edt_both_2")->text();
            enter(dialog, {u"李四光"_s, u"1"_s, u"1966"_s, u"1"_s, u"02"_s});
        });
        click(&d, "Button3");

        control<QTableWidget>(&d, "DBGrid1")->selectRow(0);
        click(&d, "Button1");
        selectedAfterDelete = control<QTableWidget>(&d, "DBGrid1")->currentRow();
        click(&d, "Button1");
        click(&d, "Button1");
        offWhenEmpty = !control(&d, "Button1")->isEnabled() && !control(&d, "Button3")->isEnabled();
        modal.queue([&](QDialog& dialog) {
            captions << dialog.windowTitle();
            enter(dialog, {u"赵六"_s, u"1"_s, u"1990"_s, u"12"_s, u"03"_s});
        });
        click(&d, "Button2");
        onAgain = control(&d, "Button1")->isEnabled() && control(&d, "Button3")->isEnabled();
        click(&d, "quit01");
    });
    EXPECT_EQ(page.showLeaders(kOwnUnitCode), int(QDialog::Accepted));
    EXPECT_EQ(modal.pendingActions(), 0);

    EXPECT_EQ(captions,
              (QStringList{u"新增－－【学科带头人名单】"_s, u"新增－－【学科带头人名单】"_s,
                           u"新增－－【学科带头人名单】"_s, u"修改－－【学科带头人名单】"_s,
                           u"新增－－【学科带头人名单】"_s}));
    EXPECT_EQ(names, (QStringList{u"张三"_s, u"李四"_s, u"王五"_s}));
    EXPECT_EQ(births, (QStringList{u"1970.3"_s, u"1965.11"_s, u"1980.07"_s}));
    EXPECT_EQ(sexes, (QStringList{u"男"_s, u"女"_s, u"男"_s}));
    EXPECT_EQ(fields, (QStringList{u"生物、医药和医疗器械"_s, u"电子信息"_s, u"农业"_s}));
    EXPECT_EQ(modifyYear, u"1965"_s);
    EXPECT_EQ(modifyMonth, u"11"_s);
    EXPECT_EQ(selectedAfterDelete, 0);
    EXPECT_TRUE(offWhenEmpty && onAgain);
    EXPECT_EQ(storedOrder(db()), QStringList{u"1:赵六"_s});
    EXPECT_EQ(prompts.texts().count(u"储存成功！"_s), 5);
    EXPECT_EQ(prompts.texts().count(u"是否删除该项目？!"_s), 3);
    const Message question{u"提示信息"_s, u"是否删除该项目？!"_s, MessageIcon::Information,
                           Buttons::YesNo};
    EXPECT_TRUE(prompts.messages().contains(question));
}

// Deleting the middle one of three keeps the numbers 1 to n and selects the former third;
// a No keeps everything.
TEST_F(SubjectLeadersPage, DeletingTheMiddleRenumbers) {
    for (const char* name : {"甲", "乙", "丙"}) {
        EXPECT_TRUE(addSubjectLeader(
                        db(), kOwnUnitCode,
                        writing({{"item_180", name}, {"item_181", "0"}, {"item_182", "1970.1"}}))
                        .ok());
    }
    TFpage11 page(db());
    int selected = -1;
    prompts.queueAnswer(Answer::No);
    prompts.queueAnswer(Answer::Yes);
    modal.queue([&](QDialog& d) {
        control<QTableWidget>(&d, "DBGrid1")->selectRow(1);
        click(&d, "Button1");
        click(&d, "Button1");
        selected = control<QTableWidget>(&d, "DBGrid1")->currentRow();
        click(&d, "quit01");
    });
    page.showLeaders(kOwnUnitCode);
    EXPECT_EQ(storedOrder(db()), (QStringList{u"1:甲"_s, u"2:丙"_s}));
    EXPECT_EQ(selected, 1);
}

// The dialog's checks in order keep it open with its values; 退出 closes at once when name
// and description are empty, asks when the research field or the birth year changed, and
// closes after either answer.
TEST_F(SubjectLeadersPage, EntryChecksAndLeaving) {
    TFinto11 dialog(db());
    const int nextYear = QDateTime::currentDateTimeUtc().date().year() + 1;
    modal.queue([&](QDialog& d) {
        click(&d, "btnSave01");
        type(control<QLineEdit>(&d, "edtry_180"), u"张三"_s);
        click(&d, "btnSave01");
        choose(control<QComboBox>(&d, "cbry_181"), u"0"_s);
        control<QLineEdit>(&d, "Edt_both_1")->setText(u"1970"_s);
        click(&d, "btnSave01");
        control<QLineEdit>(&d, "edt_both_2")->setText(u"13"_s);
        control<QLineEdit>(&d, "Edt_both_1")->setText(QString::number(nextYear));
        click(&d, "btnSave01");
        control<QLineEdit>(&d, "Edt_both_1")->setText(u"1970"_s);
        click(&d, "btnSave01");
        EXPECT_EQ(control<QLineEdit>(&d, "edtry_180")->text(), u"张三"_s);
        control<QLineEdit>(&d, "edtry_180")->clear();
        click(&d, "quit01");
    });
    EXPECT_FALSE(dialog.showNew(kOwnUnitCode));
    EXPECT_EQ(prompts.texts(),
              (QStringList{u"姓名不能为空！"_s, u"性别不能为空！"_s, u"出生年月均不能为空！"_s,
                           u"出生年份不合法！"_s, u"出生月份不合法！"_s}));
    EXPECT_TRUE(loadSubjectLeaders(db(), kOwnUnitCode)->isEmpty());

    EXPECT_TRUE(addSubjectLeader(db(), kOwnUnitCode,
                                 writing({{"item_180", "张三"},
                                          {"item_181", "0"},
                                          {"item_182", "1970.3"},
                                          {"item_124_1", "05"}}))
                    .ok());
    const SubjectLeader leader = loadSubjectLeaders(db(), kOwnUnitCode)->first();
    prompts.clear();

    // Unchanged: no question.
    modal.queue([&](QDialog& d) { click(&d, "quit01"); });
    dialog.showModify(leader);
    EXPECT_TRUE(prompts.texts().isEmpty());

    // Only the research field changed: asked; No stores nothing.
    prompts.queueAnswer(Answer::No);
    modal.queue([&](QDialog& d) {
        choose(control<QComboBox>(&d, "cbry_124_1"), u"01"_s);
        click(&d, "quit01");
    });
    EXPECT_FALSE(dialog.showModify(leader));
    const Message question{u"请注意！"_s, u"记录已更改，是否保存后退出？"_s, MessageIcon::Question,
                           Buttons::YesNo};
    EXPECT_EQ(prompts.messages(), QList<Message>{question});
    EXPECT_EQ(loadSubjectLeaders(db(), kOwnUnitCode)->first().field, u"05"_s);
    prompts.clear();

    // Only the birth year changed: asked too; Yes stores it.
    prompts.queueAnswer(Answer::Yes);
    modal.queue([&](QDialog& d) {
        control<QLineEdit>(&d, "Edt_both_1")->setText(u"1971"_s);
        click(&d, "quit01");
    });
    EXPECT_TRUE(dialog.showModify(leader));
    EXPECT_EQ(prompts.texts(), (QStringList{u"记录已更改，是否保存后退出？"_s, u"储存成功！"_s}));
    EXPECT_EQ(loadSubjectLeaders(db(), kOwnUnitCode)->first().birth, u"1971.3"_s);
    EXPECT_EQ(loadSubjectLeaders(db(), kOwnUnitCode)->first().order, u"1"_s);
}
