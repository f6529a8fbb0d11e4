#include "records/record_keeping.h"
#include "support/window_fixture.h"

#include <QDate>
#include <QEventLoop>

using xb::ui::Answer;

using MainWindow = WindowFixture;

TEST_F(MainWindow, AnEmptyTableListsTheCurrentYearAndASectionButtonAsksForANewRecord) {
    start();
    auto* years = find<QComboBox>("cbYear");
    ASSERT_EQ(years->count(), 1);
    EXPECT_EQ(years->itemText(0), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(listCount(), 0);
    EXPECT_EQ(mark("btn_page01"), "done");
    click("btn_page03"); // nothing queued: the dialog opens and is left
    ASSERT_EQ(modal.requests().size(), 1);
    EXPECT_EQ(modal.requests()[0].className, "xb::records::TFormNew");
    EXPECT_EQ(modal.requests()[0].caption, "请填写新项目！");
    EXPECT_EQ(listCount(), 0);
}

TEST_F(MainWindow, WithoutAProfileOnlyDeleteAndImportAreEnabled) {
    ASSERT_TRUE(db().execute("delete from unit").ok());
    start();
    for (const char* name :
         {"Button1", "Button5", "BitBtn2", "BitBtn3", "BitBtn4", "btn_page01", "btn_page08"})
        EXPECT_FALSE(find(name)->isEnabled()) << name;
    EXPECT_FALSE(find<QComboBox>("ComboBox1")->isEnabled());
    EXPECT_FALSE(find<QTableView>("DBGrid1")->isEnabled());
    EXPECT_TRUE(find("Button4")->isEnabled());
    EXPECT_TRUE(find("BitBtn1")->isEnabled());
}

TEST_F(MainWindow, CategoryAndYearSelectTheListAndHideThePropertySection) {
    addRecord("2024000001", "1", "应用一");
    addRecord("2024000002", "2", "软科学一");
    addRecord("2023000001", "1", "去年");
    start();
    EXPECT_EQ(find<QComboBox>("cbYear")->currentText(), "2024");
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(current("item_3"), "应用一");
    EXPECT_EQ(current("NO"), "1");
    auto* category = find<QComboBox>("ComboBox1");
    category->setCurrentIndex(1);
    main->ComboBox1Change();
    EXPECT_EQ(current("item_3"), "软科学一");
    EXPECT_TRUE(find("btn_page02")->isHidden());
    category->setCurrentIndex(0);
    main->ComboBox1Change();
    EXPECT_FALSE(find("btn_page02")->isHidden());
    find<QComboBox>("cbYear")->setEditText("20"); // a partial year lists every year it begins
    EXPECT_EQ(listCount(), 2);
}

TEST_F(MainWindow, DeletingMovesToTheFollowingRowOrTheFirst) {
    for (int i = 1; i <= 3; ++i) {
        addRecord("202400000" + std::to_string(i), "1", "第" + std::to_string(i) + "项");
        addChild("cgwcr", "202400000" + std::to_string(i));
        addChild("zlqk", "202400000" + std::to_string(i));
    }
    start();
    main->recordList()->moveTo(1);
    prompter.queueAnswer(Answer::Yes);
    click("Button4");
    EXPECT_EQ(prompter.messages().back().text, "是否删除'第2项'项目?");
    ASSERT_EQ(listCount(), 2);
    EXPECT_EQ(current("item_3"), "第3项");
    EXPECT_EQ(current("NO"), "2");
    EXPECT_EQ(count("select count(*) from cgwcr where item_4='2024000002'"), 0);
    EXPECT_EQ(count("select count(*) from zlqk"), 2);

    main->recordList()->moveTo(1); // the last row
    prompter.queueAnswer(Answer::Yes);
    click("Button4");
    EXPECT_EQ(listCount(), 1);
    EXPECT_EQ(current("item_3"), "第1项");

    prompter.queueAnswer(Answer::No);
    click("Button4");
    EXPECT_EQ(listCount(), 1);
}

TEST_F(MainWindow, AnIncompleteRecordLocksNavigationAndRefusesToClose) {
    addRecord("2024000001", "1", "未完成");
    start();
    click("btn_page01"); // no page attached: the list is not empty, nothing else happens
    prompter.clear();
    find<QTableView>("DBGrid1")->clicked(find<QTableView>("DBGrid1")->model()->index(0, 0));
    EXPECT_EQ(mark("btn_page01"), "question");
    EXPECT_EQ(mark("btn_page05"), "done");
    EXPECT_FALSE(find("Button1")->isEnabled());
    EXPECT_FALSE(find("BitBtn4")->isEnabled());
    EXPECT_TRUE(find("Button4")->isEnabled());
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_EQ(prompter.messages().back().text, "当前项目有未完成栏目，请您填写完毕!");
    EXPECT_FALSE(main->close());
    EXPECT_EQ(prompter.messages().back().text, "成果概况没有填完,请继续填写完成该项目！");
    EXPECT_EQ(prompter.messages().back().caption, "Xunbao");
}

TEST_F(MainWindow, PrintPreparationWritesTheIntellectualPropertyListFirst) {
    addRecord("2024000001", "1", "打印", {{"ITEM_51", "1"}});
    addChild("zlqk", "2024000001", {{"PATENT_TY", "1"}, {"PATENT_ST", "2"}});
    addChild("zlqk", "2024000001", {{"PATENT_TY", "3"}, {"PATENT_ST", "1"}});
    start();
    // The incomplete record keeps 打印 disabled; its handler still prepares first.
    EXPECT_FALSE(find("BitBtn4")->isEnabled());
    main->BitBtn4Click();
    EXPECT_EQ(field("2024000001", "ITEM_51"), "1;"); // whether or not the record is complete
    EXPECT_EQ(field("2024000001", "patent_ty"), ""); // incomplete: stops before the patents

    // Complete it: every rule field and a completer.
    fillRequired("2024000001");
    ASSERT_TRUE(db().execute("update kjcg set ITEM_51='1;'").ok());
    addChild("cgwcr", "2024000001", {{"ITEM_180", "张三"}});
    main->ComboBox1Change();
    bool printed = false;
    xb::records::MainWindowPages pages;
    pages.printWindow = [&] { printed = true; };
    main->setPages(pages);
    click("BitBtn4");
    EXPECT_TRUE(printed);
    EXPECT_EQ(field("2024000001", "patent_ty"), "1;3;");
    EXPECT_EQ(field("2024000001", "ITEM_51_1"), "3");
}

// A start over a store whose current record is incomplete holds the user at once: question
// marks, 新增 disabled and 退出 refused, as after a change of year or category.
TEST_F(MainWindow, AnIncompleteRecordLocksFromTheFirstMoment) {
    addRecord("2024000001", "1", "未完成");
    start();
    EXPECT_EQ(mark("btn_page01"), "question");
    EXPECT_FALSE(find("Button1")->isEnabled());
    EXPECT_FALSE(main->close());
    EXPECT_EQ(prompter.messages().back().text, "成果概况没有填完,请继续填写完成该项目！");
}

// The record list of the newest year is read while the welcome window is still on screen, so it
// is complete the moment the welcome window closes; the rest of the start-up follows.
TEST_F(MainWindow, TheRecordListIsReadWhileTheWelcomeWindowIsShown) {
    addRecord("2024000001", "1", "应用一");
    addRecord("2024000002", "1", "应用二");
    addRecord("2023000001", "1", "去年");
    QDialog welcome;
    int rowsWhileWelcomeShown = -1;
    QString yearWhileWelcomeShown;
    modal.queue([&](QDialog& shown) {
        EXPECT_EQ(&shown, &welcome);
        auto* grid = find<QTableView>("DBGrid1");
        // The welcome window's own event loop runs until the list has been read into the grid.
        QEventLoop loop;
        QObject::connect(grid->model(), &QAbstractItemModel::modelReset, &loop, &QEventLoop::quit);
        loop.exec();
        rowsWhileWelcomeShown = grid->model()->rowCount();
        yearWhileWelcomeShown = find<QComboBox>("cbYear")->currentText();
    });
    main = std::make_unique<xb::records::TMainForm>(*store, &welcome);
    main->show();
    QApplication::processEvents();
    EXPECT_EQ(rowsWhileWelcomeShown, 2);
    EXPECT_EQ(yearWhileWelcomeShown, "2024");
    // Afterwards the list is numbered and the current record is the first, as without a welcome.
    ASSERT_EQ(listCount(), 2);
    EXPECT_EQ(current("item_3"), "应用一");
    EXPECT_EQ(current("NO"), "1");
    EXPECT_EQ(find<QTableView>("DBGrid1")->model()->rowCount(), 2);
}
