// The evaluation certificate page through the real main window.
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class CertificatePage : public WindowFixture {};

QLineEdit* box(QDialog& d, const char* name) {
    return control<QLineEdit>(&d, name);
}

} // namespace

TEST_F(CertificatePage, SavesThePaddedDateAndMemosWithBlanksAndSetsTheMark) {
    start(true);
    queueNewRecord("新成果");
    click("Button1");
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(mark("btn_page09"), "question");
    const std::string number = current("item_4");
    QString month, day, memo;
    openSection("btn_page09", [&](QDialog& d) {
        box(d, "Edt_301")->setText("鉴字[2006]第001号");
        box(d, "edt_302_y")->setText("2006");
        box(d, "edt_302_m")->setText("1");
        box(d, "edt_302_d")->setText("5");
        control<QPlainTextEdit>(&d, "Mo_13_2")->setPlainText("前景\t措施");
        control<QPlainTextEdit>(&d, "Mo_303")->setPlainText("同意\t通过");
        ::click(&d, "btnSave01");
        month = box(d, "edt_302_m")->text();
        day = box(d, "edt_302_d")->text();
        memo = control<QPlainTextEdit>(&d, "Mo_13_2")->toPlainText();
        ::click(&d, "Button2");
    });
    EXPECT_EQ(month, "01");
    EXPECT_EQ(day, "05");
    EXPECT_EQ(memo, "前景 措施");
    EXPECT_EQ(field(number, "item_302"), "2006.01.05");
    EXPECT_EQ(field(number, "item_301"), "鉴字[2006]第001号");
    EXPECT_EQ(field(number, "item_13_2"), "前景 措施");
    EXPECT_EQ(field(number, "item_303"), "同意 通过");
    EXPECT_EQ(mark("btn_page09"), "done");
    EXPECT_FALSE(lastLeftOpen());
}

TEST_F(CertificatePage, QuitAsksAfterADateOnlyChangeAndStaysOpenWhenThatSaveFails) {
    addRecord("2024000001", "1", "成果甲", {{"ITEM_302", "2006.01.05"}});
    start(true);
    prompter.queueAnswer(xb::ui::Answer::Yes);
    openSection("btn_page09", [&](QDialog& d) {
        EXPECT_EQ(box(d, "edt_302_m")->text(), "01");
        box(d, "edt_302_y")->setText("1899");
        ::click(&d, "Button2");
    });
    EXPECT_EQ(prompter.texts(), QStringList({"记录已经更改,是否保存？", "评价日期年份不合法！"}));
    EXPECT_TRUE(lastLeftOpen());
    EXPECT_EQ(field("2024000001", "item_302"), "2006.01.05");
    EXPECT_EQ(mark("btn_page09"), "done"); // not required, and nothing was saved
}

TEST_F(CertificatePage, AYearTypedAloneIsAChangeNotDroppedSilently) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    prompter.queueAnswer(xb::ui::Answer::No);
    openSection("btn_page09", [&](QDialog& d) {
        box(d, "edt_302_y")->setText("2006");
        ::click(&d, "Button2");
    });
    EXPECT_EQ(prompter.texts(), QStringList({"记录已经更改,是否保存？"}));
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(field("2024000001", "item_302"), "");
}

TEST_F(CertificatePage, HelpOnlyForAppliedTechnology) {
    addRecord("2024000001", "1", "应用成果");
    addRecord("2024000002", "2", "软科学成果");
    start(true);
    openSection("btn_page09", [&](QDialog& d) {
        modal.queue([](QDialog& help) {
            EXPECT_EQ(help.objectName(), "THelpPjzs");
            EXPECT_EQ(help.windowTitle(), "帮助信息");
            ::click(&help, "BitBtn1");
        });
        ::click(&d, "Button1");
        ::click(&d, "Button2");
    });
    EXPECT_EQ(modal.requests().size(), 2);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    openSection("btn_page09", [&](QDialog& d) {
        ::click(&d, "Button1");
        ::click(&d, "Button2");
    });
    EXPECT_EQ(modal.requests().size(), 3); // no help window for soft science
    EXPECT_EQ(modal.pendingActions(), 0);
}
