#include "support/shell_run.h"
#include "support/window_fixture.h"

#include <QDate>

#include <unistd.h>

using xb::ui::Answer;

using NewRecord = WindowFixture;

TEST_F(NewRecord, TheFirstAndNextRecordsOfAYearAreNumberedAndLockTheWindow) {
    start();
    queueNewRecord("第一项", "第一单位", "2024");
    click("Button1");
    ASSERT_EQ(count("select count(*) from kjcg"), 1);
    EXPECT_EQ(field("2024000001", "ITEM_3"), "第一项");
    EXPECT_EQ(field("2024000001", "ITEM_DQDM"), ".");
    EXPECT_EQ(field("2024000001", "ITEM_CGLB"), "1");
    EXPECT_EQ(find<QComboBox>("cbYear")->currentText(), "2024");
    EXPECT_EQ(current("item_4"), "2024000001");
    for (const char* b : {"btn_page01", "btn_page05", "btn_page09"})
        EXPECT_EQ(mark(b), "question") << b;
    for (const char* b : {"Button1", "Button5", "BitBtn1", "BitBtn2", "SpeedButton16"})
        EXPECT_FALSE(find(b)->isEnabled()) << b;
    EXPECT_FALSE(find<QComboBox>("ComboBox1")->isEnabled());
    EXPECT_TRUE(find("btn_page01")->isEnabled());

    // The close check names the first incomplete section.
    EXPECT_FALSE(main->close());
    EXPECT_EQ(prompter.messages().back().text, "成果概况没有填完,请继续填写完成该项目！");

    // Unlocked by hand (as finished pages would), the next record of the year follows.
    main->setMark(xb::records::Section::Overview, true);
    find("Button1")->setEnabled(true);
    queueNewRecord("第二项", "第一单位", "2024");
    click("Button1");
    EXPECT_EQ(field("2024000002", "ITEM_3"), "第二项");
    EXPECT_EQ(field("2024000002", "NO"), "2");
}

TEST_F(NewRecord, ADuplicateNameIsRefusedAndTheDialogStaysOpen) {
    addRecord("2024000001", "1", "同名");
    completeRecord("2024000001"); // an incomplete record would lock 新增
    start();
    queueNewRecord("同名", "单位", "2024");
    click("Button1");
    EXPECT_EQ(count("select count(*) from kjcg"), 1);
    EXPECT_TRUE(prompter.texts().contains("已有同名项目!"));
    EXPECT_TRUE(modal.requests().back().leftOpen);
}

TEST_F(NewRecord, ChecksAndTheLeaveRules) {
    start();
    // Only a name typed, then 退出: the save reports the missing organization.
    modal.queue([this](QDialog& d) {
        find<QLineEdit>("edt_9", &d)->clear();
        find<QLineEdit>("edt_3", &d)->setText("只有名称");
        find<QLineEdit>("edt_3", &d)->textEdited("只有名称");
        click("Button2", &d);
    });
    click("Button1");
    EXPECT_EQ(prompter.texts().last(), "成果第一完成单位不能为空！");
    EXPECT_EQ(count("select count(*) from kjcg"), 0);

    // A year with letters is refused as it is typed.
    modal.queue([this](QDialog& d) {
        auto* year = find<QLineEdit>("cbYear", &d);
        year->setText("20a");
        year->textEdited("20a");
        EXPECT_TRUE(year->text().isEmpty());
        find<QLineEdit>("edt_3", &d)->setText("名称");
        click("Button1", &d);
    });
    click("Button1");
    EXPECT_TRUE(prompter.texts().contains("不能输入非数字的字符！"));
    EXPECT_EQ(prompter.texts().last(), "年份不能为空！");

    // Both filled and 退出 answered with Cancel: nothing is stored and the dialog closes.
    prompter.queueAnswer(Answer::Cancel);
    modal.queue([this](QDialog& d) {
        find<QLineEdit>("edt_3", &d)->setText("放弃");
        find<QLineEdit>("edt_3", &d)->textEdited("放弃");
        click("Button2", &d);
    });
    click("Button1");
    EXPECT_EQ(prompter.messages().last().text, "退出并储存？");
    EXPECT_FALSE(modal.requests().back().leftOpen);
    EXPECT_EQ(count("select count(*) from kjcg"), 0);
}

TEST_F(NewRecord, ChangingTheYearMovesEveryChildRow) {
    addRecord("2024000001", "1", "改年");
    addRecord("2023000003", "1", "前一年已有");
    fillRequired("2024000001"); // its completers follow below
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"}) {
        addChild(table, "2024000001");
        addChild(table, "2024000001");
    }
    start();
    ASSERT_EQ(current("item_4"), "2024000001");
    modal.queue([this](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "修改主要项目！");
        EXPECT_EQ(find<QLineEdit>("edt_3", &d)->text(), "改年");
        find<QLineEdit>("cbYear", &d)->setText("2023");
        find<QLineEdit>("edt_3", &d)->setText("改年后");
        click("Button1", &d);
    });
    click("Button5");
    EXPECT_EQ(field("2023000004", "ITEM_3"), "改年后");
    EXPECT_EQ(field("2024000001", "ITEM_3"), "<none>");
    for (const char* table : {"cgwcdw", "zlqk", "jdwyhmd", "cgwcr"})
        EXPECT_EQ(
            count(std::string("select count(*) from ") + table + " where item_4='2023000004'"), 2)
            << table;
    EXPECT_EQ(current("item_4"), "2023000004");
}

TEST_F(NewRecord, ChangingOnlyTheNameKeepsNumberAndChildren) {
    addRecord("2024000001", "1", "旧名");
    completeRecord("2024000001");
    start();
    modal.queue([this](QDialog& d) {
        find<QLineEdit>("edt_3", &d)->setText("新名");
        click("Button1", &d);
    });
    click("Button5");
    EXPECT_EQ(field("2024000001", "ITEM_3"), "新名");
    EXPECT_EQ(count("select count(*) from cgwcr where item_4='2024000001'"), 1);
}

TEST_F(NewRecord, ChangingToSoftScienceClearsAppliedTechnologyFields) {
    addRecord("2024000001", "1", "转类", {{"ITEM_16", "2"}, {"ITEM_33", "1"}, {"ITEM_21", "2"}});
    addRecord("2024000002", "1", "别的记录", {{"ITEM_16", "3"}});
    completeRecord("2024000001");
    ASSERT_TRUE(db().execute("update kjcg set ITEM_16='2', ITEM_33='1', ITEM_21='2' where "
                             "item_4='2024000001'")
                    .ok());
    start();
    modal.queue([this](QDialog& d) {
        auto* category = find<QComboBox>("ComboBox1", &d);
        category->setCurrentIndex(1);
        category->activated(1);
        click("Button1", &d);
    });
    click("Button5");
    EXPECT_EQ(field("2024000001", "ITEM_CGLB"), "2");
    EXPECT_EQ(field("2024000001", "ITEM_16"), "");
    EXPECT_EQ(field("2024000001", "ITEM_33"), "");
    EXPECT_EQ(field("2024000001", "ITEM_21"), "2");
    EXPECT_EQ(field("2024000002", "ITEM_16"), "3");
    EXPECT_EQ(find<QComboBox>("ComboBox1")->currentIndex(), 1);
    EXPECT_EQ(current("item_4"), "2024000001");
}

TEST_F(NewRecord, ChangeWithAnEmptyListSaysThereIsNothingToChange) {
    start();
    click("Button5");
    EXPECT_EQ(prompter.texts().last(), "当前没有可以修改的项目");
    EXPECT_TRUE(modal.requests().isEmpty());
}

TEST_F(NewRecord, EscapeClosesSilentlyOnlyWhenNothingWasTyped) {
    start();
    const auto escape = [](QDialog& d) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&d, &key);
    };
    modal.queue(escape);
    click("Button1");
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(modal.requests().back().leftOpen);

    // A typed name is not dropped without a word: Escape asks as 退出 does, and OK stores it.
    prompter.queueAnswer(Answer::Ok);
    modal.queue([&](QDialog& d) {
        find<QLineEdit>("edt_3", &d)->setText("按了退出键");
        find<QLineEdit>("edt_3", &d)->textEdited("按了退出键");
        find<QLineEdit>("edt_9", &d)->setText("单位");
        escape(d);
    });
    click("Button1");
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_EQ(prompter.messages().first().text, "退出并储存？");
    EXPECT_EQ(count("select count(*) from kjcg where item_3 = '按了退出键'"), 1);
}

// The application holds its data directory while it runs: an import from the command line is
// refused before it writes anything, and a record added afterwards keeps every stored one, as
// another dBASE reader sees.
TEST_F(NewRecord, AnImportFromTheCommandLineIsRefusedWhileTheApplicationRuns) {
    addRecord("2024000001", "1", "已有的成果");
    completeRecord("2024000001");
    start();
    const ShellRun refused = runShell(std::string("'") + XB_CLI_PATH + "' --data '" + data() +
                                      "' import /nowhere/CGSBQY.ARJ 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("正由程序 Xunbao（进程号 " + std::to_string(::getpid())),
              std::string::npos)
        << refused.out;
    queueNewRecord("新的成果", "第一单位", "2024");
    click("Button1");
    const ShellRun read =
        runShell("/usr/bin/python3 " XB_SOURCE_DIR "/tests/store/dbf_peer.py read '" +
                 db().tablePath("kjcg") + "' 2>&1");
    ASSERT_EQ(read.status, 0) << read.out;
    EXPECT_NE(read.out.find("已有的成果"), std::string::npos) << read.out;
    EXPECT_NE(read.out.find("新的成果"), std::string::npos) << read.out;
}
