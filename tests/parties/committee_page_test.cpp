// The evaluation committee list and its entry dialog through the real main window.
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using xb::ui::Answer;

namespace {

class CommitteePage : public WindowFixture {
  protected:
    // A stored member of the record 2024000001.
    void addMember(int number, const char* duty, const char* name, const char* rank) {
        addChild("jdwyhmd", "2024000001",
                 {{"ITEM_190", number},
                  {"ITEM_191", duty},
                  {"ITEM_192", name},
                  {"ITEM_193", "0"},
                  {"ITEM_194", rank},
                  {"ITEM_198", "2"}});
    }
    // number:name of the record's members in list order.
    QStringList members() {
        auto rows = db().query("select * from jdwyhmd where item_4='2024000001' order by item_194");
        QStringList out;
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            out << QString::fromStdString((*rows)->text("item_190") + ":" +
                                          (*rows)->text("item_192"));
        return out;
    }
};

QComboBox* duty(QDialog& d) {
    return control<QComboBox>(&d, "cbwy_191");
}

// Fills the entry dialog as a user would; an empty title chooses the blank entry.
void fill(QDialog& d, const QString& dutyText, const QString& name, const QString& sex,
          const QString& title) {
    duty(d)->setCurrentText(dutyText);
    type(control<QLineEdit>(&d, "Edtwy_192"), name);
    choose(control<QComboBox>(&d, "cbwy_193"), sex);
    auto* titles = control<QComboBox>(&d, "cbwy_198");
    if (title.isEmpty())
        titles->setCurrentIndex(titles->count() - 1);
    else
        choose(titles, title);
    control<QLineEdit>(&d, "edtwy_195")->setText(u"中国农业大学"_s);
}

QStringList gridColumn(QDialog& page, int column) {
    auto* grid = control<QTableWidget>(&page, "DBGrid1");
    QStringList out;
    for (int row = 0; row < grid->rowCount(); ++row)
        out << grid->item(row, column)->text();
    return out;
}

const xb::ui::Message kOneChairman{u"Xunbao"_s, u"只能有一个主任委员"_s};

} // namespace

TEST_F(CommitteePage, AddedMembersAreListedByDutyWithTheirFirstNumbers) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QStringList duties, sexes, titles;
    openSection("btn_page07", [&](QDialog& page) {
        const QStringList entries[] = {{u"委员"_s, u"张三"_s, u"0"_s, u"2"_s},
                                       {u"主任委员"_s, u"李四"_s, u"1"_s, u"a"_s},
                                       {u"副主任委员"_s, u"王五"_s, u"0"_s, u""_s}};
        for (const QStringList& e : entries) {
            modal.queue([&](QDialog& d) {
                fill(d, e[0], e[1], e[2], e[3]);
                ::click(&d, "btnSave01");
            });
            ::click(&page, "Button2");
        }
        duties = gridColumn(page, 0);
        sexes = gridColumn(page, 2);
        titles = gridColumn(page, 6);
        ::click(&page, "quit01");
    });
    EXPECT_EQ(duties, (QStringList{u"主任委员"_s, u"副主任委员"_s, u"委员"_s}));
    EXPECT_EQ(members(), (QStringList{u"2:李四"_s, u"3:王五"_s, u"1:张三"_s}));
    EXPECT_EQ(sexes, (QStringList{u"  女"_s, u"  男"_s, u"  男"_s}));
    EXPECT_EQ(titles, (QStringList{u"  两院院士"_s, u""_s, u"  正高"_s}));
    EXPECT_EQ(prompter.texts().count(u"储存成功！"_s), 3);
    EXPECT_EQ(mark("btn_page07"), "done");
}

// The rule speaks only when the user chooses the chairman duty and leaves the duty at 委员;
// opening the chairman himself says nothing.
TEST_F(CommitteePage, ASecondChairmanIsRefusedWithAPlainMessage) {
    addRecord("2024000001", "1", "成果甲");
    addMember(1, "主任委员", "李四", "1");
    addMember(2, "委员", "张三", "3");
    start(true);
    QStringList shown;
    int messagesOnOpen = -1;
    prompter.queueAnswer(Answer::No);
    openSection("btn_page07", [&](QDialog& page) {
        control<QTableWidget>(&page, "DBGrid1")->selectRow(1);
        modal.queue([&](QDialog& d) {
            duty(d)->setCurrentText(u"主任委员"_s);
            shown << duty(d)->currentText();
            ::click(&d, "quit01");
        });
        ::click(&page, "btnSave01");
        control<QTableWidget>(&page, "DBGrid1")->selectRow(0);
        modal.queue([&](QDialog& d) {
            messagesOnOpen = static_cast<int>(prompter.messages().size());
            shown << duty(d)->currentText();
            duty(d)->setCurrentText(u"委员"_s);
            duty(d)->setCurrentText(u"主任委员"_s);
            shown << duty(d)->currentText();
            ::click(&d, "quit01");
        });
        ::click(&page, "btnSave01");
        ::click(&page, "quit01");
    });
    EXPECT_EQ(messagesOnOpen, 1);
    EXPECT_EQ(shown, (QStringList{u"委员"_s, u"主任委员"_s, u"委员"_s}));
    EXPECT_EQ(prompter.texts(), (QStringList{u"只能有一个主任委员"_s, u"只能有一个主任委员"_s,
                                             u"记录已更改，是否保存后退出？"_s}));
    EXPECT_EQ(prompter.messages().first(), kOneChairman);
    EXPECT_EQ(members(), (QStringList{u"1:李四"_s, u"2:张三"_s}));
}

// The checks keep the dialog open with nothing stored; a deletion keeps the other numbers and
// selects the first row.
TEST_F(CommitteePage, ChecksThenDeleteKeepsNumbers) {
    addRecord("2024000001", "1", "成果甲");
    addMember(1, "委员", "甲", "3");
    addMember(2, "主任委员", "乙", "1");
    addMember(3, "副主任委员", "丙", "2");
    addMember(4, "委员", "丁", "3");
    start(true);
    bool openAfterCheck = false;
    int selected = -1;
    for (Answer answer : {Answer::No, Answer::Yes, Answer::No})
        prompter.queueAnswer(answer);
    openSection("btn_page07", [&](QDialog& page) {
        modal.queue([&](QDialog& d) {
            type(control<QLineEdit>(&d, "Edtwy_192"), u"戊"_s);
            ::click(&d, "btnSave01");
            openAfterCheck = d.isVisible();
            ::click(&d, "quit01");
        });
        ::click(&page, "Button2");
        auto* grid = control<QTableWidget>(&page, "DBGrid1");
        grid->selectRow(1);
        ::click(&page, "Button1");
        selected = grid->currentRow();
        grid->selectRow(2);
        ::click(&page, "Button1");
        ::click(&page, "quit01");
    });
    EXPECT_TRUE(openAfterCheck);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(prompter.texts(),
              (QStringList{u"\"评价委员会职务\"不能为空！"_s, u"记录已更改，是否保存后退出？"_s,
                           u"是否删除该项目？!"_s, u"是否删除该项目？!"_s}));
    EXPECT_EQ(members(), (QStringList{u"2:乙"_s, u"1:甲"_s, u"4:丁"_s}));
}

TEST_F(CommitteePage, CloseBoxLeavesTheMarkQuitSetsItForAnEmptyList) {
    start(true);
    queueNewRecord("新成果");
    click("Button1");
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(mark("btn_page07"), "question");
    openSection("btn_page07", [](QDialog& page) { page.close(); });
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(mark("btn_page07"), "question");
    openSection("btn_page07", [](QDialog& page) { ::click(&page, "quit01"); });
    EXPECT_EQ(mark("btn_page07"), "done");
}

TEST_F(CommitteePage, HelpOnlyForAppliedTechnology) {
    addRecord("2024000001", "1", "应用成果");
    addRecord("2024000002", "2", "软科学成果");
    start(true);
    openSection("btn_page07", [&](QDialog& page) {
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpPjwy");
            EXPECT_EQ(help.windowTitle(), "帮助信息");
            ::click(&help, "BitBtn1");
        });
        ::click(&page, "Button3");
        ::click(&page, "quit01");
    });
    EXPECT_EQ(modal.requests().size(), 2);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    openSection("btn_page07", [](QDialog& page) {
        ::click(&page, "Button3");
        ::click(&page, "quit01");
    });
    EXPECT_EQ(modal.requests().size(), 3);
    EXPECT_EQ(modal.pendingActions(), 0);
}
