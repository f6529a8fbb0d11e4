// The cooperating organizations list and its entry dialog through the real main window.
#include "store/history.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

#include <set>

using namespace Qt::StringLiterals;

namespace {

class CooperatingUnitsPage : public WindowFixture {
  protected:
    static QLineEdit* box(QDialog& d, const char* name) { return control<QLineEdit>(&d, name); }
    static QTableWidget* grid(QDialog& d) { return control<QTableWidget>(&d, "DBGrid1"); }
    void inDialog(QDialog& page, const char* button, xb::ui::ModalAction action) {
        modal.queue(std::move(action));
        ::click(&page, button);
    }
    void addUnit(const char* name, int order, const char* region = ".") {
        addChild("cgwcdw", "2024000001",
                 {{"ITEM_170", name},
                  {"ITEM_176", order},
                  {"ITEM_174", "010-1"},
                  {"ITEM_DQDM", region},
                  {"ITEM_175", "保留"}});
    }
    // "name:number" of the record's organizations (region ".") in number order.
    std::vector<std::string> stored(const char* region = ".") {
        std::vector<std::string> out;
        auto rows = db().query("select * from cgwcdw where item_4='2024000001' and "
                               "item_dqdm=:r order by item_176",
                               {{"r", region}});
        EXPECT_TRUE(rows.ok());
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            out.push_back((*rows)->text("item_170") + ":" + (*rows)->text("item_176"));
        return out;
    }
    void openRecord() {
        addRecord("2024000001", "1", "成果甲");
        start(true);
    }
};

} // namespace

// A new organization after three gets 4 (its postcode box taking digits only); deleting the
// second of four leaves 1, 2, 3 with the former third selected; 帮助 shows the six paragraphs.
TEST_F(CooperatingUnitsPage, NumbersOfNewAndDeletedRows) {
    addUnit("甲", 1);
    addUnit("乙", 2);
    addUnit("丙", 3);
    openRecord();
    QString caption, order, selected, helpText;
    std::vector<std::string> afterAdd;
    openSection("btn_page05", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) {
            caption = d.windowTitle();
            order = box(d, "edt_176")->text();
            EXPECT_TRUE(box(d, "edt_176")->isReadOnly());
            type(box(d, "edtdw_170"), u" 丁单位 "_s);
            QLineEdit* postcode = box(d, "edtdw_172");
            postcode->setFocus();
            QTest::keyClicks(postcode, "10a0-0x80");
            QTest::keyClick(postcode, Qt::Key_Backspace); // digits and backspace only
            ::click(&d, "btnSave01");
        });
        afterAdd = stored();
        modal.queue([&](QDialog& help) {
            helpText = control<QPlainTextEdit>(&help, "Memo1")->toPlainText();
            ::click(&help, "BitBtn1");
        });
        ::click(&page, "Button3");
        grid(page)->selectRow(1);
        ::click(&page, "Button1");
        selected = grid(page)->item(grid(page)->currentRow(), 1)->text();
        ::click(&page, "quit01");
    });
    EXPECT_EQ(caption, "新增－－【合作完成单位情况】");
    EXPECT_EQ(order, "4");
    EXPECT_EQ(afterAdd, (std::vector<std::string>{"甲:1", "乙:2", "丙:3", "丁单位:4"}));
    EXPECT_EQ(stored(), (std::vector<std::string>{"甲:1", "丙:2", "丁单位:3"}));
    EXPECT_EQ(selected, "丙");
    EXPECT_EQ(mark("btn_page05"), "done");
    EXPECT_EQ(count("select count(*) from cgwcdw where item_172='10008'"), 1);
    EXPECT_TRUE(helpText.startsWith("1.序号") && helpText.contains("\n6.联系人电话"))
        << helpText.toStdString();
    // The list's changes are in the record's history: the row added, the row deleted.
    auto history = xb::store::readHistory(db().directory(), "2024000001");
    ASSERT_TRUE(history.ok());
    std::set<std::string> lines;
    for (const xb::store::HistoryEntry& e : *history)
        if (e.change.field == "item_170")
            lines.insert(e.operation + ":" + e.change.before + ">" + e.change.after);
    EXPECT_EQ(lines, (std::set<std::string>{"储存:>丁单位", "删除:乙>"}));
}

// Rows stored with the same number are numbered 1 and 2 on opening, in stored order; modifying
// one changes exactly that row, and the record with another region code keeps its rows.
TEST_F(CooperatingUnitsPage, RepeatedNumbersAndRegionsStayApart) {
    addUnit("甲", 1);
    addUnit("外地", 1, "X");
    addUnit("乙", 1);
    openRecord();
    QString shownName, shownTelephone;
    openSection("btn_page05", [&](QDialog& page) {
        grid(page)->selectRow(1);
        inDialog(page, "btnSave01", [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "修改－－【合作完成单位情况】");
            shownName = box(d, "edtdw_170")->text();
            shownTelephone = box(d, "edtdw_174")->text();
            box(d, "edtdw_171")->setText("北京市海淀区");
            ::click(&d, "btnSave01");
        });
        ::click(&page, "quit01");
    });
    EXPECT_EQ(shownName, "乙");
    EXPECT_EQ(shownTelephone, "010-1");
    EXPECT_EQ(stored(), (std::vector<std::string>{"甲:1", "乙:2"}));
    EXPECT_EQ(stored("X"), (std::vector<std::string>{"外地:1"}));
    EXPECT_EQ(count("select count(*) from cgwcdw where item_171='北京市海淀区'"), 1);
    // The untouched fields stay as they were.
    EXPECT_EQ(count("select count(*) from cgwcdw where item_171='北京市海淀区' and "
                    "item_174='010-1' and item_175='保留' and item_170='乙'"),
              1);
}

// Only a telephone typed: 储存 and 退出 close without storing; in modify mode a changed telephone
// alone makes 退出 ask; an empty list is left as done.
TEST_F(CooperatingUnitsPage, QuitAndSaveRules) {
    openRecord();
    ASSERT_EQ(mark("btn_page05"), "done");
    main->setMark(xb::records::Section::Partners, false);
    openSection("btn_page05", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) {
            box(d, "edtdw_174")->setText("010-62345678");
            ::click(&d, "btnSave01");
        });
        inDialog(page, "Button2", [&](QDialog& d) {
            box(d, "edtdw_174")->setText("010-62345678");
            ::click(&d, "quit01");
        });
        ::click(&page, "quit01");
    });
    EXPECT_EQ(count("select count(*) from cgwcdw"), 0);
    EXPECT_TRUE(prompter.texts().isEmpty());
    EXPECT_EQ(mark("btn_page05"), "done");

    addUnit("甲", 1);
    prompter.queueAnswer(xb::ui::Answer::Yes);
    openSection("btn_page05", [&](QDialog& page) {
        inDialog(page, "btnSave01", [&](QDialog& d) {
            box(d, "edtdw_174")->setText("021-1");
            ::click(&d, "quit01");
        });
        inDialog(page, "btnSave01", [&](QDialog& d) { ::click(&d, "quit01"); });
        ::click(&page, "quit01");
    });
    EXPECT_EQ(prompter.texts(), (QStringList{u"记录已更改，是否保存后退出？"_s, u"储存成功！"_s}));
    EXPECT_EQ(count("select count(*) from cgwcdw where item_174='021-1'"), 1);
}
