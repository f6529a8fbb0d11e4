#include "support/window_fixture.h"
#include "ui/scripted_printer.h"

#include <QAbstractItemModel>
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
}
