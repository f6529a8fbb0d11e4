// The completers list and its entry dialog through the real main window, and a record made
// complete with them that the command-line tool then checks and exports.
#include "store/gbk.h"
#include "support/shell_run.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace Qt::StringLiterals;

namespace {

struct Person {
    QString name;
    QString sex = u"0"_s;
    QString year = u"1965"_s;
    QString month = u"3"_s;
    QString title = u"2"_s;
    QString education = u"3"_s;
};

class CompletersPage : public WindowFixture {
  protected:
    static QLineEdit* box(QDialog& d, const char* name) { return control<QLineEdit>(&d, name); }
    static QComboBox* list(QDialog& d, const char* name) { return control<QComboBox>(&d, name); }
    static QTableWidget* grid(QDialog& d) { return control<QTableWidget>(&d, "DBGrid1"); }
    static QStringList column(QDialog& d, int c) {
        QStringList out;
        for (int row = 0; row < grid(d)->rowCount(); ++row)
            out << grid(d)->item(row, c)->text();
        return out;
    }
    // Fills the entry dialog as a user would and presses 储存.
    static void enter(QDialog& dialog, const Person& p) {
        QLineEdit* name = box(dialog, "edtry_180");
        name->clear();
        type(name, p.name);
        choose(list(dialog, "cbry_181"), p.sex);
        box(dialog, "edt_182_y")->setText(p.year);
        box(dialog, "edt_182_m")->setText(p.month);
        choose(list(dialog, "cbry_183"), p.title);
        choose(list(dialog, "cbry_184"), p.education);
        ::click(&dialog, "btnSave01");
    }
    // Queues the dialog that the page button `button` opens, played by `action`.
    void inDialog(QDialog& page, const char* button, xb::ui::ModalAction action) {
        modal.queue(std::move(action));
        ::click(&page, button);
    }
    void addCompleters(std::initializer_list<const char*> names) {
        int order = 1;
        for (const char* name : names)
            addChild("cgwcr", "2024000001", {{"ITEM_180", name}, {"ITEM_187", order++}});
    }
    // "name:order:running" in listed order.
    std::vector<std::string> stored() {
        std::vector<std::string> out;
        auto rows = db().query("select * from cgwcr where item_4='2024000001' order by item_187");
        EXPECT_TRUE(rows.ok());
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            out.push_back((*rows)->text("item_180") + ":" + (*rows)->text("item_187") + ":" +
                          (*rows)->text("item_no"));
        return out;
    }
};

} // namespace

// Three completers added through 新增 are numbered 1, 2, 3 in both numbers, shown through the
// people code labels, and stored with their codes; the dialog comes with its presets; 帮助
// shows its text for applied technology.
TEST_F(CompletersPage, AddsNumbersAndShowsLabels) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_9", "第一完成单位"}});
    start(true);
    QStringList presets, sexes, titles, births, orders;
    QString helpText;
    openSection("btn_page08", [&](QDialog& page) {
        EXPECT_EQ(page.windowTitle(), "成果名称：成果甲");
        inDialog(page, "Button2", [&](QDialog& d) {
            presets << d.windowTitle() << box(d, "edtry_187")->text()
                    << (box(d, "edtry_187")->isReadOnly() ? "read-only" : "editable")
                    << box(d, "edtry_185")->text() << list(d, "cbry_188")->currentText()
                    << QString::number(list(d, "cbry_181")->currentIndex());
            enter(d, {u"张三"_s, u"0"_s, u"1965"_s, u"3"_s, u"1b"_s, u"2"_s});
        });
        inDialog(page, "Button2", [&](QDialog& d) { enter(d, {u"李四"_s, u"1"_s}); });
        inDialog(page, "Button2", [&](QDialog& d) {
            presets << box(d, "edtry_187")->text();
            enter(d, {u"王五"_s});
        });
        modal.queue([&](QDialog& help) {
            helpText = control<QPlainTextEdit>(&help, "Memo1")->toPlainText();
            ::click(&help, "BitBtn1");
        });
        ::click(&page, "Button4");
        sexes = column(page, 2);
        births = column(page, 3);
        titles = column(page, 4);
        orders = column(page, 0);
        ::click(&page, "quit01");
    });
    EXPECT_EQ(presets, (QStringList{u"新增－－【成果完成人员名单】"_s, u"1"_s, u"read-only"_s,
                                    u"第一完成单位"_s, u"0  否"_s, u"-1"_s, u"3"_s}));
    EXPECT_EQ(stored(), (std::vector<std::string>{"张三:1:1", "李四:2:2", "王五:3:3"}));
    EXPECT_EQ(orders, (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(sexes, (QStringList{u"  男"_s, u"  女"_s, u"  男"_s}));
    EXPECT_EQ(titles, (QStringList{u"  中科院院士"_s, u"  正高"_s, u"  正高"_s}));
    EXPECT_EQ(births.first(), "1965.03");
    auto first = db().query("select * from cgwcr where item_180='张三'");
    ASSERT_TRUE(first.ok());
    EXPECT_EQ((*first)->text("item_183"), "b");
    EXPECT_EQ((*first)->text("item_182"), "1965.03");
    EXPECT_EQ((*first)->text("item_188"), "0");
    EXPECT_EQ((*first)->text("item_185"), "第一完成单位");
    EXPECT_EQ(count("select count(*) from cgwcrNew"), 3);
    EXPECT_EQ(mark("btn_page08"), "done");
    EXPECT_EQ(helpText, "1.序号：按对成果贡献大小顺序填写。序号顺序可以更改。");
}

// 修改 with 序号 0 puts the third completer first; deleting the second of three leaves 1, 2
// with the former third selected.
TEST_F(CompletersPage, ModifyMovesAndDeleteKeepsThePlace) {
    addRecord("2024000001", "1", "成果甲");
    addCompleters({"甲", "乙", "丙"});
    start(true);
    QString modifyCaption, shownTitle;
    std::vector<std::string> afterMove;
    QString selectedAfterMove, selectedAfterDelete;
    openSection("btn_page08", [&](QDialog& page) {
        grid(page)->selectRow(2);
        inDialog(page, "Button3", [&](QDialog& d) {
            modifyCaption = d.windowTitle();
            EXPECT_FALSE(box(d, "edtry_187")->isReadOnly());
            EXPECT_EQ(box(d, "edtry_180")->text(), "丙");
            box(d, "edtry_187")->setText("0");
            enter(d, {u"丙"_s});
        });
        afterMove = stored();
        selectedAfterMove = grid(page)->item(grid(page)->currentRow(), 1)->text();
        grid(page)->selectRow(1);
        ::click(&page, "Button1");
        selectedAfterDelete = grid(page)->item(grid(page)->currentRow(), 1)->text();
        ::click(&page, "quit01");
    });
    EXPECT_EQ(modifyCaption, "修改－－【成果完成人员名单】");
    EXPECT_EQ(afterMove, (std::vector<std::string>{"丙:1:3", "甲:2:1", "乙:3:2"}));
    EXPECT_EQ(selectedAfterMove, "丙");
    EXPECT_EQ(prompter.texts().last(), "是否删除该项目？!");
    EXPECT_EQ(stored(), (std::vector<std::string>{"丙:1:3", "乙:2:2"}));
    EXPECT_EQ(selectedAfterDelete, "乙");
    EXPECT_EQ(count("select count(*) from cgwcrNew"), 0); // changes never reach the pool
}

// 退出 on an empty list refuses with its message and keeps the page open; after one completer
// it closes and marks the section done.
TEST_F(CompletersPage, EmptyListCannotBeLeft) {
    addRecord("2024000001", "1", "成果甲");
    fillRequired("2024000001");
    start(true);
    EXPECT_EQ(mark("btn_page08"), "question");
    EXPECT_FALSE(find("Button1")->isEnabled());
    openSection("btn_page08", [&](QDialog& page) { ::click(&page, "quit01"); });
    EXPECT_TRUE(lastLeftOpen());
    EXPECT_EQ(prompter.texts().last(), "成果完成人员名单不能为空！");
    EXPECT_EQ(mark("btn_page08"), "question");
    openSection("btn_page08", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) { enter(d, {u"张三"_s}); });
        ::click(&page, "quit01");
    });
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(mark("btn_page08"), "done");
    EXPECT_TRUE(find("Button1")->isEnabled()); // the record is complete now
}

// The dialog's ways out: an empty dialog closes silently on 储存; a typed name makes 退出 ask;
// a failed check keeps what was typed (with the month padded); an academician opened and left
// unchanged closes without asking.
TEST_F(CompletersPage, DialogSaveAndQuit) {
    addRecord("2024000001", "1", "成果甲");
    addChild("cgwcr", "2024000001",
             {{"ITEM_180", "院士甲"},
              {"ITEM_187", 1},
              {"ITEM_181", "0"},
              {"ITEM_182", "1940.01"},
              {"ITEM_183", "a"},
              {"ITEM_184", "2"},
              {"ITEM_188", "1"}});
    start(true);
    QString month, title;
    openSection("btn_page08", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) {
            box(d, "edtry_185")->clear();
            ::click(&d, "btnSave01");
        });
        inDialog(page, "Button2", [&](QDialog& d) {
            type(box(d, "edtry_180"), u"李四"_s);
            choose(list(d, "cbry_181"), u"1"_s);
            box(d, "edt_182_y")->setText("1970");
            box(d, "edt_182_m")->setText("7");
            ::click(&d, "btnSave01"); // no title
            month = box(d, "edt_182_m")->text();
            prompter.queueAnswer(xb::ui::Answer::No);
            ::click(&d, "quit01");
        });
        inDialog(page, "Button3", [&](QDialog& d) {
            title = list(d, "cbry_183")->currentText();
            ::click(&d, "quit01");
        });
        ::click(&page, "quit01");
    });
    EXPECT_EQ(prompter.texts(),
              (QStringList{u"技术职称不能为空！"_s, u"记录已更改,是否保存后退出？"_s}));
    EXPECT_EQ(month, "07");
    EXPECT_EQ(title, "1a  两院院士");
    EXPECT_EQ(count("select count(*) from cgwcr"), 1);
}

// A soft science record whose other sections are filled gets its cooperating organization and
// completers through the pages: navigation opens, the main window closes, the command-line check
// passes and the export carries the completers. 帮助 shows nothing for soft science.
TEST_F(CompletersPage, SoftScienceRecordBecomesCompleteAndIsExported) {
    addRecord("2024000001", "2", "软科学成果");
    fillRequired("2024000001");
    start(true);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    ASSERT_EQ(listCount(), 1);
    EXPECT_FALSE(find("Button1")->isEnabled());
    EXPECT_FALSE(main->close());
    openSection("btn_page05", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) {
            type(box(d, "edtdw_170"), u"合作单位甲"_s);
            ::click(&d, "btnSave01");
        });
        ::click(&page, "quit01");
    });
    openSection("btn_page08", [&](QDialog& page) {
        inDialog(page, "Button2", [&](QDialog& d) { enter(d, {u"张三"_s}); });
        inDialog(page, "Button2", [&](QDialog& d) { enter(d, {u"李四"_s}); });
        ::click(&page, "Button4");
        ::click(&page, "quit01");
    });
    EXPECT_EQ(modal.pendingActions(), 0);
    for (const auto& shown : modal.requests())
        EXPECT_NE(shown.objectName, "THelpWcr");
    EXPECT_TRUE(find("Button1")->isEnabled());
    EXPECT_TRUE(main->close());

    main.reset();
    store.reset();
    const std::string cli = std::string(XB_CLI_PATH) + " --data " + data();
    EXPECT_EQ(runQuietly(cli + " check --year 2024").status, 0);
    const std::string out = dir.file("out");
    std::filesystem::create_directory(out);
    ASSERT_EQ(runQuietly(cli + " export --out " + out + " --year 2024").status, 0);
    ASSERT_EQ(runQuietly("cd " + out + " && arj e -y cgsbqy.arj CGWCR.TXT").status, 0);
    std::ifstream in(std::filesystem::path(out) / "CGWCR.TXT", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string completers = xb::store::fromGbk(bytes.str());
    EXPECT_NE(completers.find("张三"), std::string::npos) << completers;
    EXPECT_NE(completers.find("李四"), std::string::npos) << completers;
    EXPECT_NE(completers.find("1965.03"), std::string::npos) << completers;
}
