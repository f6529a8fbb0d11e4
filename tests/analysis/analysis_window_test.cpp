#include "store/history.h"
#include "support/window_fixture.h"
#include "ui/scripted_printer.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QListWidget>

using xb::ui::Answer;
using AnalysisWindows = WindowFixture;

// Two records of one achievement in two years; the newest year's applied-technology list is
// empty, so nothing locks the main window.
class AnalysisWindowsWithPair : public AnalysisWindows {
  protected:
    void SetUp() override {
        AnalysisWindows::SetUp();
        addRecord("2023000001", "1", "黄河流域水稻高效育种关键技术研究", {{"ITEM_149", 12.5}});
        addRecord("2024000001", "2", "黄河流域 水稻高效育种关键技术研究。", {{"ITEM_149", 7.25}});
        start(true);
    }
};

TEST_F(AnalysisWindowsWithPair, DuplicatesOpenTheChosenRecordInTheMainWindow) {
    ASSERT_TRUE(find("btnDuplicates")->isEnabled());
    modal.queue([&](QDialog& d) {
        EXPECT_EQ(find<QAbstractItemView>("tblPairs", &d)->model()->rowCount(), 1);
        click("btnOpenSecond", &d);
    });
    click("btnDuplicates");
    EXPECT_EQ(main->categoryPosition(), 1);
    EXPECT_EQ(current("item_4"), "2024000001");
}

TEST_F(AnalysisWindowsWithPair, StatisticsCountTheChosenYearsAndNeverReplaceAFileUnasked) {
    const QString path = QString::fromStdString(dir.file("stats.csv"));
    modal.queue([&](QDialog& d) {
        auto* years = find<QListWidget>("lstYears", &d);
        ASSERT_EQ(years->count(), 2);
        years->item(1)->setCheckState(Qt::Unchecked); // 2023
        click("btnCount", &d);
        const QAbstractItemModel* table = find<QAbstractItemView>("tblStatistics", &d)->model();
        ASSERT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->index(0, 0).data().toString(), "软科学");
        EXPECT_EQ(table->index(0, 2).data().toString(), "1");
        prompter.queueFile(path);
        click("btnCsv", &d);
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray text = written.readAll();
        EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF")) << text.toStdString();
        EXPECT_TRUE(text.contains("7.25"));
        written.close();
        // Again into the same file: the question is answered No and the file stays.
        years->item(1)->setCheckState(Qt::Checked);
        click("btnCount", &d);
        prompter.queueFile(path);
        prompter.queueAnswer(Answer::No);
        click("btnCsv", &d);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), text);
        EXPECT_TRUE(prompter.texts().back().contains("已经存在"));
        // The table and the chart go to the printer as drawn pages.
        xb::ui::ScriptedPrinter printer;
        click("btnPrint", &d);
        ASSERT_EQ(printer.jobs().size(), 1);
        EXPECT_GE(printer.drawnPages().value(0), 1);
    });
    click("btnStatistics");
    EXPECT_EQ(modal.requests().size(), 1);
}

TEST_F(AnalysisWindows, TheButtonsFollowTheLockOfExport) {
    addRecord("2024000001", "1", "未完成");
    start(true);
    EXPECT_FALSE(find("BitBtn2")->isEnabled());
    EXPECT_FALSE(find("btnStatistics")->isEnabled());
    EXPECT_FALSE(find("btnDuplicates")->isEnabled());
    EXPECT_FALSE(find("btnBackups")->isEnabled());
}

TEST_F(AnalysisWindowsWithPair, HistoryNamesTheFieldAndShowsCodesInWords) {
    ASSERT_TRUE(xb::store::appendHistory(db().directory(), "储存", "成果概况",
                                         {{"kjcg", "2024000001", "item_1", "1", "3"},
                                          {"kjcg", "2024000001", "item_13_1", "", "简介；二"}})
                    .ok());
    ASSERT_TRUE(xb::store::appendHistory(db().directory(), "储存", "成果概况",
                                         {{"kjcg", "2023000001", "item_3", "旧", "新"}})
                    .ok());
    ASSERT_TRUE(xb::store::appendHistory(db().directory(), "修改", "成果完成人员名单",
                                         {{"cgwcr", "2024000001", "item_181", "0", "1"}})
                    .ok());
    main->setCategoryPosition(1); // 2024000001 is current
    main->ComboBox1Change();
    modal.queue([&](QDialog& d) {
        const QAbstractItemModel* table = find<QAbstractItemView>("tblHistory", &d)->model();
        ASSERT_EQ(table->rowCount(), 3); // only the current record's
        const auto cell = [&](int row, int column) {
            return table->index(row, column).data().toString().toStdString();
        };
        // The newest change first, the fields of one save in their order.
        EXPECT_EQ(cell(0, 2) + "|" + cell(0, 3) + "|" + cell(0, 4) + "|" + cell(0, 5),
                  "成果完成人员名单|性别|男|女");
        EXPECT_EQ(cell(1, 3) + "|" + cell(1, 4) + "|" + cell(1, 5), "成果密级|公开|机密");
        EXPECT_EQ(cell(2, 3) + "|" + cell(2, 4) + "|" + cell(2, 5), "成果简介||简介；二");
        EXPECT_EQ(cell(1, 1) + "|" + cell(1, 2), "储存|成果概况");
    });
    click("btnHistory");
    EXPECT_EQ(modal.requests().size(), 1);
}

TEST_F(AnalysisWindowsWithPair, ABackupIsTakenSavedElsewhereAndRestoredInTheRunningProgram) {
    const QString stick = QString::fromStdString(dir.file("stick"));
    QDir().mkpath(stick);
    modal.queue([&](QDialog& d) {
        click("btnBackup", &d);
        ASSERT_EQ(find<QAbstractItemView>("tblBackups", &d)->model()->rowCount(), 1);
        prompter.queueFolder(stick);
        click("btnSaveTo", &d);
    });
    click("btnBackups");
    EXPECT_EQ(QDir(stick).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    ASSERT_TRUE(db().execute("delete from kjcg where item_4='2023000001'").ok());
    main->refreshAll(true);
    modal.queue([&](QDialog& d) {
        prompter.queueAnswer(Answer::Yes);
        click("btnRestore", &d);
        // The state before the restore was backed up first, and is listed newest.
        const QAbstractItemModel* table = find<QAbstractItemView>("tblBackups", &d)->model();
        ASSERT_EQ(table->rowCount(), 2);
        EXPECT_EQ(table->index(0, 1).data().toString(), "恢复前");
        EXPECT_EQ(table->index(0, 2).data().toString(), "2024 年 1 项");
    });
    click("btnBackups");
    EXPECT_TRUE(prompter.texts().back().startsWith("已恢复备份"))
        << prompter.texts().back().toStdString();
    // The running program reads and writes the restored tables: the deleted record is back.
    EXPECT_TRUE(main->showRecord("2023000001", "1"));
    ASSERT_TRUE(db().execute("update kjcg set item_3='改过' where item_4='2023000001'").ok());
    xb::store::Database fresh(db().directory());
    auto changed = fresh.query("select item_3 from kjcg where item_4='2023000001'");
    ASSERT_TRUE(changed.ok());
    EXPECT_EQ((*changed)->text("item_3"), "改过");
}
