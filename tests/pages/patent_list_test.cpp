// The patent list and its entry dialog, opened from the intellectual property page of the real
// main window.
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using xb::ui::Answer;

namespace {

struct Patent {
    const char* status;
    const char* type;
    QString number;
    QString name;
};

void fill(QDialog& dialog, const Patent& patent) {
    choose(control<QComboBox>(&dialog, "cb_st"), QString::fromLatin1(patent.status));
    choose(control<QComboBox>(&dialog, "cb_ty"), QString::fromLatin1(patent.type));
    control<QLineEdit>(&dialog, "edtzl_no")->setText(patent.number);
    control<QLineEdit>(&dialog, "edtzl_name")->setText(patent.name);
}

QStringList column(QDialog& list, int c) {
    auto* grid = control<QTableWidget>(&list, "DBGrid1");
    QStringList cells;
    for (int row = 0; row < grid->rowCount(); ++row)
        cells << grid->item(row, c)->text();
    return cells;
}

class PatentList : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addRecord("2024000001", "1", "成果甲", {{"ITEM_51", "1;"}});
    }
    // Opens the patent list from the page; `action` plays the user on the list.
    void onList(xb::ui::ModalAction action, std::function<void(QDialog&)> afterwards = {}) {
        openSection("btn_page02", [&, action, afterwards](QDialog& page) {
            modal.queue(action);
            ::click(&page, "Button1");
            if (afterwards) afterwards(page);
        });
    }
    std::vector<std::string> stored() {
        std::vector<std::string> rows;
        auto c = db().query("select * from zlqk where item_4='2024000001'");
        for ((*c)->first(); !(*c)->eof(); (*c)->next())
            rows.push_back((*c)->text("ITEM_NO") + ":" + (*c)->text("PATENT_NO"));
        return rows;
    }
};

} // namespace

TEST_F(PatentList, ThreeNumberedDeletingTheSecondSelectsTheFormerThirdAndCountsReachThePage) {
    start(true);
    QStringList captions, numbers, numbersAfter, namesAfter, labels;
    int selected = -1;
    QString accepted, granted, caption;
    prompter.queueAnswer(Answer::Yes);
    onList(
        [&](QDialog& list) {
            caption = list.windowTitle();
            const Patent patents[] = {{"1", "1", u"ZL001"_s, u"茶树扦插育苗方法"_s},
                                      {"2", "2", u"ZL002"_s, u"茶苗移栽器"_s},
                                      {"2", "3", u"ZL003"_s, u"茶叶包装盒"_s}};
            for (const Patent& patent : patents) {
                modal.queue([&captions, patent](QDialog& dialog) {
                    captions << dialog.windowTitle();
                    fill(dialog, patent);
                    ::click(&dialog, "Button1");
                });
                ::click(&list, "Button2");
            }
            numbers = column(list, 0);
            labels = column(list, 1) + column(list, 2);
            control<QTableWidget>(&list, "DBGrid1")->selectRow(1);
            ::click(&list, "Button1");
            numbersAfter = column(list, 0);
            namesAfter = column(list, 4);
            selected = control<QTableWidget>(&list, "DBGrid1")->currentRow();
            ::click(&list, "quit01");
        },
        [&](QDialog& page) {
            accepted = control<QLineEdit>(&page, "edt_51_2")->text();
            granted = control<QLineEdit>(&page, "edt_51_3")->text();
        });
    EXPECT_EQ(caption, "成果名称：成果甲");
    EXPECT_EQ(captions, QStringList(3, u"新增－－【专利情况】"_s));
    EXPECT_EQ(numbers, QStringList({"1", "2", "3"}));
    EXPECT_EQ(labels, QStringList({u"已受理"_s, u"已授权"_s, u"已授权"_s, u"发明专利"_s,
                                   u"实用新型专利"_s, u"外观设计专利"_s}));
    EXPECT_EQ(numbersAfter, QStringList({"1", "2"}));
    EXPECT_EQ(namesAfter, QStringList({u"茶树扦插育苗方法"_s, u"茶叶包装盒"_s}));
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(prompter.texts().contains(u"是否删除该项目？!"_s));
    // The page shows the counts at once; the record gets them only with the page's save.
    EXPECT_EQ(accepted, "1");
    EXPECT_EQ(granted, "1");
    EXPECT_EQ(field("2024000001", "item_51_2"), "");
    EXPECT_EQ(stored(), (std::vector<std::string>{"1:ZL001", "2:ZL003"}));
}

TEST_F(PatentList, DeletingTheLastSelectsTheNewLastChangeOnAnEmptyListAddsAndHelp) {
    addChild("zlqk", "2024000001", {{"ITEM_NO", 5.0}, {"PATENT_NO", "A"}, {"PATENT_ST", "1"}});
    addChild("zlqk", "2024000001", {{"ITEM_NO", 5.0}, {"PATENT_NO", "B"}, {"PATENT_ST", "1"}});
    start(true);
    QStringList shownNumbers;
    int selected = -1;
    QString emptyChangeCaption;
    prompter.queueAnswer(Answer::Yes);
    prompter.queueAnswer(Answer::Yes);
    onList([&](QDialog& list) {
        shownNumbers = column(list, 0); // numbered on showing
        control<QTableWidget>(&list, "DBGrid1")->selectRow(1);
        ::click(&list, "Button1");
        selected = control<QTableWidget>(&list, "DBGrid1")->currentRow();
        ::click(&list, "Button1");
        ::click(&list, "Button1"); // nothing left: no question
        modal.queue([&](QDialog& dialog) {
            emptyChangeCaption = dialog.windowTitle();
            ::click(&dialog, "Button2");
        });
        ::click(&list, "btnSave01");
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpForm"); // applied technology
            ::click(&help, "BitBtn1");
        });
        ::click(&list, "Button3");
        ::click(&list, "quit01");
    });
    EXPECT_EQ(modal.pendingActions(), 0);
    EXPECT_EQ(shownNumbers, QStringList({"1", "2"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(emptyChangeCaption, u"新增－－【专利情况】"_s);
    EXPECT_EQ(prompter.texts().count(u"是否删除该项目？!"_s), 2);
    EXPECT_TRUE(stored().empty());
}

TEST_F(PatentList, TheDialogChecksInOrderAndAFailedSaveOnLeavingKeepsItOpen) {
    addChild("zlqk", "2024000001",
             {{"ITEM_NO", 1.0},
              {"PATENT_NO", "ZL1"},
              {"PATENT_NAM", "旧名"},
              {"PATENT_ST", "1"},
              {"PATENT_TY", "1"}});
    start(true);
    QString modifyNumber, modifyStatus;
    bool keptOpen = false;
    onList([&](QDialog& list) {
        modal.queue([&](QDialog& dialog) {
            control<QLineEdit>(&dialog, "edtzl_no")->setText("ZL2");
            ::click(&dialog, "Button1");
            choose(control<QComboBox>(&dialog, "cb_st"), "2");
            ::click(&dialog, "Button1");
            choose(control<QComboBox>(&dialog, "cb_ty"), "1");
            prompter.queueAnswer(Answer::Yes);
            ::click(&dialog, "Button2"); // leaving: Yes saves, the name is missing
            keptOpen = dialog.isVisible();
            control<QLineEdit>(&dialog, "edtzl_name")->setText("新专利");
            ::click(&dialog, "Button1");
        });
        ::click(&list, "Button2");
        control<QTableWidget>(&list, "DBGrid1")->selectRow(0);
        modal.queue([&](QDialog& dialog) {
            modifyNumber = control<QLineEdit>(&dialog, "edtzl_no")->text();
            modifyStatus = control<QComboBox>(&dialog, "cb_st")->currentText();
            control<QLineEdit>(&dialog, "edtzl_name")->setText("改名");
            prompter.queueAnswer(Answer::No);
            ::click(&dialog, "Button2"); // No: nothing written
        });
        ::click(&list, "btnSave01");
        ::click(&list, "quit01");
    });
    EXPECT_EQ(prompter.texts(),
              QStringList({u"\"专利状况\"不能为空！"_s, u"\"专利类型\"不能为空！"_s,
                           u"记录已更改，是否保存后退出？"_s, u"\"专利名称\"不能为空！"_s,
                           u"储存成功！"_s, u"记录已更改，是否保存后退出？"_s}));
    EXPECT_TRUE(keptOpen);
    EXPECT_EQ(modifyNumber, "ZL1");
    EXPECT_EQ(modifyStatus, u"1  已受理"_s);
    EXPECT_EQ(stored(), (std::vector<std::string>{"1:ZL1", "2:ZL2"}));
    EXPECT_EQ(count("select count(*) from zlqk where patent_nam='旧名'"), 1);
}
