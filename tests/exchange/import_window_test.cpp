// The import window and the year reassignment window driven as a user would: packages chosen
// through the scripted file dialog, questions answered in advance, buttons clicked in order.
#include "exchange/import_window.h"
#include "exchange/year_reassignment_window.h"
#include "import_sample_package.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace xb::exchange::testing {
namespace {

using Texts = std::vector<std::string>;

struct Staged {
    std::string number;
    std::string name;
    std::string category;
};

class ImportWindow : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        if (HasFatalFailure()) return;
        window = std::make_unique<TFormin>(*store);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (window) window->hide();
        window.reset();
    }

    template <class T = QPushButton> T* find(const char* name, QWidget* in = nullptr) {
        T* widget = (in ? in : window.get())->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* name, QWidget* in = nullptr) {
        if (auto* b = find(name, in)) b->click();
    }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    // The enabled buttons of the window, in the order they are laid out.
    QStringList enabledButtons() {
        QStringList names;
        for (const char* name : {"btnOpen", "lnkRename", "btnImport", "btnCheck", "btnDelete",
                                 "btnSave", "btnOverwrite", "btnYear", "btnQuit"})
            if (find(name)->isEnabled()) names << name;
        return names;
    }
    QTableView* grid() { return find<QTableView>("DBGrid1"); }
    QString cell(int row, int column) {
        return grid()->model()->index(row, column).data().toString();
    }

    // A package of achievements with one completer each, packed as CGSBQY.ARJ.
    QString packageOf(const std::vector<Staged>& staged) {
        std::vector<std::string> achievements, completers;
        for (const Staged& s : staged) {
            achievements.push_back(kjcgLine({{"ITEM_4", s.number},
                                             {"ITEM_DQDM", "."},
                                             {"ITEM_3", s.name},
                                             {"ITEM_9", "第一单位"},
                                             {"ITEM_CGLB", s.category}}));
            completers.push_back(childLine(
                "cgwcr",
                {{"ITEM_4", s.number}, {"ITEM_DQDM", "."}, {"ITEM_180", s.name + "的人"}}));
        }
        writePackageFile("KJCG.TXT", linesOf(achievements));
        writePackageFile("CGWCR.TXT", linesOf(completers));
        for (const char* name : {"CGWCDW.TXT", "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT"})
            writePackageFile(name, "");
        return packPackage(
            {"KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT"});
    }
    void choose(const QString& path) {
        prompter.queueFile(path);
        click("btnOpen");
    }
    // Chooses and reads a package of these achievements.
    void stage(const std::vector<Staged>& staged) {
        choose(packageOf(staged));
        click("btnImport");
        prompter.clear();
    }
    Texts numbersIn(const std::string& table) { return column("select * from " + table, "ITEM_4"); }

    ui::ScriptedPrompter prompter;
    ui::ScriptedModal modal;
    std::unique_ptr<TFormin> window;
};

const std::vector<Staged> ThreeStaged{
    {"2008000001", "甲", "1"}, {"2008000002", "乙", "3"}, {"2010000001", "丙", "2"}};

TEST_F(ImportWindow, OpensEmptyThenUnpacksAndReadsAPackageWithItsCounts) {
    window->hide();
    addRow("kjcgtemp", {{"ITEM_4", "2001000001"}, {"ITEM_3", "上次留下的"}});
    window->show();
    EXPECT_EQ(stagedRows(), 0);
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
    EXPECT_FALSE(find<QFrame>("pnlRename")->isVisible());
    EXPECT_FALSE(find<QFrame>("pnlProgress")->isVisible());

    const QString package = packageOf({{"2008000001", "甲", "1"},
                                       {"2008000002", "乙", "2"},
                                       {"2008000003", "丙", "3"},
                                       {"2009000001", "丁", "1"},
                                       {"2009000002", "戊", "3"},
                                       {"2010000001", "己", "1"}});
    choose(package);
    EXPECT_EQ(prompter.fileQuestions().last().caption, "请选择要导入的文件夹");
    EXPECT_EQ(find<QLineEdit>("edtPath")->text(), QDir::toNativeSeparators(package));
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnImport", "btnQuit"}));

    click("btnImport");
    EXPECT_EQ(prompter.texts(), QStringList{"导入完毕！"});
    EXPECT_EQ(label("lblCount"), "记录条数:6条；");
    EXPECT_EQ(label("lblStatistics"), "其中：应用技术3条，基础理论2条，软科学1条。");
    EXPECT_EQ(enabledButtons(),
              (QStringList{"btnCheck", "btnDelete", "btnOverwrite", "btnYear", "btnQuit"}));
    ASSERT_EQ(grid()->model()->rowCount(), 6);
    EXPECT_EQ(cell(3, 0), "丁");
    EXPECT_EQ(cell(3, 1), "第一单位");
    EXPECT_EQ(cell(3, 2), "2009000001");
    EXPECT_EQ(column("select * from kjcgtemp", "NO"), (Texts{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(count("cgwcrtemp"), 6);
}

TEST_F(ImportWindow, RefusesWrongNamesDamagedArchivesAndIncompletePackages) {
    addRecord("2008000001", "本地成果");
    const auto before = liveSnapshot();

    choose("/nowhere/other.arj");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "请注意！");
    EXPECT_EQ(prompter.messages()[0].text, "请选择正确导入包,名字是CGSBQY.ARJ!");
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
    click("btnOpen"); // cancelled
    EXPECT_TRUE(find<QLineEdit>("edtPath")->text().isEmpty());

    writePackageFile("CGSBQY.ARJ", "not an archive");
    prompter.clear();
    choose(inPackage("CGSBQY.ARJ"));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "提示");
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));

    // Without UNIT.TXT and ZLQK.TXT.
    QFile::remove(inPackage("CGSBQY.ARJ"));
    writeSamplePackage(packageFolder(), false);
    QFile::remove(inPackage("ZLQK.TXT"));
    choose(packPackage({"KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "EXPERT.TXT"}));
    prompter.clear();
    click("btnImport");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "Xunbao");
    EXPECT_EQ(prompter.messages()[0].text, "文件的格式不正确");
    EXPECT_EQ(stagedRows(), 0);

    // A file cut inside a quoted value.
    writeSamplePackage(packageFolder());
    const std::string cut = linesOf({kjcgLine(sampleAchievement(2))}) + "\t\"不完整";
    writePackageFile("KJCG.TXT", cut);
    choose(packPackage(
        {"KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT"}));
    prompter.clear();
    click("btnImport");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "提示");
    EXPECT_TRUE(prompter.messages()[0].text.contains("KJCG.TXT"))
        << prompter.texts().join("|").toStdString();
    EXPECT_EQ(stagedRows(), 0);
    EXPECT_FALSE(find("btnCheck")->isEnabled());

    // Empty text files.
    choose(packageOf({}));
    prompter.clear();
    click("btnImport");
    EXPECT_EQ(prompter.texts(), (QStringList{"导入的文件为空表！", "导入完毕！"}));
    EXPECT_EQ(label("lblCount"), "记录条数:0条；");
    EXPECT_EQ(liveSnapshot(), before);
}

TEST_F(ImportWindow, DuplicateCheckRemovesOnYesAndAsksForANewNameOnNo) {
    addRecord("2008000005", "甲");
    addRecord("2008000006", "丙", "第一单位");
    stage(ThreeStaged);

    prompter.queueAnswer(ui::Answer::Yes);
    prompter.queueAnswer(ui::Answer::No);
    click("btnCheck");
    EXPECT_EQ(prompter.texts(),
              (QStringList{"导入的项目“甲”有重复,是否删除？", "导入的项目“丙”有重复,是否删除？"}));
    EXPECT_EQ(prompter.messages()[0].caption, "请注意！");
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_3"), (Texts{"乙", "丙"}));
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"), (Texts{"乙的人", "丙的人"}));
    EXPECT_EQ(label("lblCount"), "记录条数:2条；");
    EXPECT_TRUE(find<QFrame>("pnlRename")->isVisible());
    EXPECT_EQ(find<QLineEdit>("edtRename")->text(), "丙");
    EXPECT_TRUE(enabledButtons().isEmpty());
    EXPECT_FALSE(grid()->isEnabled());

    find<QLineEdit>("edtRename")->setText("丙（续）");
    click("btnRenameOk");
    EXPECT_FALSE(find<QFrame>("pnlRename")->isVisible());
    EXPECT_EQ(enabledButtons(),
              (QStringList{"btnCheck", "btnDelete", "btnOverwrite", "btnYear", "btnQuit"}));
    EXPECT_EQ(cell(1, 0), "丙（续）");

    prompter.clear();
    click("btnCheck");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "状态！");
    EXPECT_EQ(prompter.messages()[0].text, "排重已经完成！");
    EXPECT_TRUE(find("btnSave")->isEnabled());

    prompter.clear();
    click("btnSave");
    EXPECT_EQ(prompter.texts(), QStringList{"入库完毕!"});
    EXPECT_EQ(label("lblCount"), "导入完毕。");
    EXPECT_TRUE(label("lblStatistics").isEmpty());
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
    EXPECT_EQ(column("select * from kjcg", "ITEM_3"), (Texts{"甲", "丙", "乙", "丙（续）"}));
    EXPECT_EQ(numbersIn("kjcg"), (Texts{"2008000005", "2008000006", "2008000007", "2010000001"}));
    EXPECT_EQ(stagedRows(), 0);
}

TEST_F(ImportWindow, DuplicateCheckWithEveryStagedAchievementRemovedReturnsToTheStart) {
    addRecord("2008000005", "甲");
    stage({{"2008000001", "甲", "1"}});
    click("btnCheck");
    EXPECT_EQ(prompter.texts(), (QStringList{"导入的项目“甲”有重复,是否删除？", "排重已经完成！"}));
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
    EXPECT_EQ(stagedRows(), 0);
}

TEST_F(ImportWindow, DeletingMovesToTheAchievementThatFollowed) {
    stage(ThreeStaged);
    grid()->setCurrentIndex(grid()->model()->index(1, 0));
    prompter.queueAnswer(ui::Answer::No);
    click("btnDelete");
    EXPECT_EQ(prompter.messages()[0].text, "是否删除数据？");
    EXPECT_EQ(grid()->model()->rowCount(), 3);

    click("btnDelete");
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_3"), (Texts{"甲", "丙"}));
    EXPECT_EQ(column("select * from kjcgtemp", "NO"), (Texts{"1", "2"}));
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"), (Texts{"甲的人", "丙的人"}));
    EXPECT_EQ(grid()->currentIndex().row(), 1);
    EXPECT_EQ(cell(grid()->currentIndex().row(), 0), "丙");
    EXPECT_EQ(label("lblCount"), "记录条数:2条；");

    click("btnDelete");
    click("btnDelete");
    EXPECT_EQ(stagedRows(), 0);
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
}

TEST_F(ImportWindow, OverwriteImportReportsWhatItAddedAndReplaced) {
    addRecord("2008000009", "乙", "第一单位", {{"ITEM_14", "旧的"}});
    stage(ThreeStaged);
    click("btnOverwrite");
    EXPECT_EQ(prompter.texts(), QStringList{"入库完毕！新增2条,覆盖1条。"});
    EXPECT_EQ(label("lblCount"), "导入完毕。");
    EXPECT_EQ(enabledButtons(), (QStringList{"btnOpen", "lnkRename", "btnQuit"}));
    EXPECT_EQ(column("select * from kjcg", "ITEM_3"), (Texts{"甲", "乙", "丙"}));
    EXPECT_EQ(numbersIn("kjcg"), (Texts{"2008000010", "2008000011", "2010000001"}));
    EXPECT_EQ(column("select * from kjcg", "ITEM_14"), (Texts{"", "", ""}));
}

TEST_F(ImportWindow, AnAchievementThatCannotBeStoredStaysListed) {
    addRecord("2010999999", "最后一个编号");
    stage(ThreeStaged);
    click("btnCheck");
    prompter.clear();
    click("btnSave");
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[0].caption, "提示");
    EXPECT_TRUE(prompter.messages()[0].text.contains("成果“丙”（2010000001）未能入库"));
    EXPECT_EQ(prompter.messages()[1].text, "入库完毕!");
    EXPECT_EQ(column("select * from kjcgtemp", "ITEM_3"), Texts{"丙"});
    EXPECT_EQ(column("select * from cgwcrtemp", "ITEM_180"), Texts{"丙的人"});
    EXPECT_EQ(label("lblCount"), "记录条数:1条；");
    EXPECT_EQ(enabledButtons(),
              (QStringList{"btnCheck", "btnDelete", "btnOverwrite", "btnYear", "btnQuit"}));
    EXPECT_EQ(count("kjcg"), 3);
}

TEST_F(ImportWindow, YearReassignmentMovesTheCurrentAchievementAndItsRows) {
    stage(ThreeStaged);
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QString shownYear;
    modal.queue([&](QDialog& dialog) {
        shownYear = find<QLineEdit>("edt_4", &dialog)->text();
        find<QLineEdit>("edt_4", &dialog)->setText("2012");
        click("btnsave", &dialog);
    });
    click("btnYear");
    ASSERT_EQ(modal.requests().size(), 1);
    EXPECT_EQ(modal.requests()[0].caption, "修改成果年份");
    EXPECT_EQ(shownYear, "2008");
    EXPECT_EQ(prompter.texts(), (QStringList{"确定要更改成果年份吗？", "成果年份修改成功！"}));
    EXPECT_EQ(numbersIn("kjcgtemp"), (Texts{"2012000001", "2008000002", "2010000001"}));
    EXPECT_EQ(numbersIn("cgwcrtemp"), (Texts{"2012000001", "2008000002", "2010000001"}));
    EXPECT_EQ(cell(0, 2), "2012000001");
    EXPECT_EQ(grid()->currentIndex().row(), 0);

    // Declined, or a year no record number can carry: nothing changes.
    prompter.clear();
    prompter.queueAnswer(ui::Answer::No);
    modal.queue([&](QDialog& dialog) {
        find<QLineEdit>("edt_4", &dialog)->setText("2015");
        click("btnsave", &dialog);
    });
    modal.queue([&](QDialog& dialog) {
        find<QLineEdit>("edt_4", &dialog)->setText("20x5");
        click("btnsave", &dialog);
        click("btnexit", &dialog);
    });
    click("btnYear");
    click("btnYear");
    EXPECT_EQ(prompter.texts(), (QStringList{"确定要更改成果年份吗？", "确定要更改成果年份吗？",
                                             "不能输入1900到2050外的年份！"}));
    EXPECT_EQ(numbersIn("kjcgtemp"), (Texts{"2012000001", "2008000002", "2010000001"}));
    EXPECT_EQ(modal.pendingActions(), 0);

    // The store step numbers it again against the stored records of its new year.
    addRecord("2012000004", "本地");
    click("btnCheck");
    prompter.clear();
    click("btnSave");
    EXPECT_EQ(numbersIn("kjcg"), (Texts{"2012000004", "2012000005", "2008000002", "2010000001"}));
    EXPECT_EQ(numbersIn("cgwcr"), (Texts{"2012000005", "2008000002", "2010000001"}));
}

TEST_F(ImportWindow, LeavingAfterTheCheckAsksWhetherToStore) {
    stage(ThreeStaged);
    click("btnCheck");
    prompter.clear();
    prompter.queueAnswer(ui::Answer::No);
    click("btnQuit");
    EXPECT_EQ(prompter.texts(), QStringList{"是否保存导入数据？"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(count("kjcg"), 0);

    window->show();
    stage(ThreeStaged);
    click("btnCheck");
    prompter.clear();
    click("btnQuit"); // Yes
    EXPECT_EQ(prompter.texts(), (QStringList{"是否保存导入数据？", "入库完毕!"}));
    EXPECT_EQ(count("kjcg"), 3);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ImportWindow, RenameLinkRepacksAnOldPackageForTheImport) {
    prompter.queueFile(inPackage("ABCDEFG.ARJ"));
    click("lnkRename");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].caption, "请注意！");
    EXPECT_EQ(prompter.messages()[0].text,
              "请选择正确文件,被改名的文件类似CGSBXXX.ARJ(XXX为数字)!");

    writeSamplePackage(packageFolder());
    const QStringList newNames{"KJCG.TXT", "CGWCDW.TXT", "CGWCR.TXT", "JDWYHMD.TXT", "ZLQK.TXT"};
    const QStringList oldNames{"KJCG12.TXT", "CGDW12.TXT", "CGWCR12.TXT", "JDMD12.TXT",
                               "ZLQK12.TXT"};
    for (qsizetype i = 0; i < newNames.size(); ++i)
        ASSERT_TRUE(QFile::rename(inPackage(newNames[i]), inPackage(oldNames[i])));
    packPackage(oldNames, "CGSB12.ARJ");

    prompter.clear();
    prompter.queueFile(inPackage("CGSB12.ARJ"));
    click("lnkRename");
    EXPECT_EQ(prompter.fileQuestions().last().caption, "请选择要改名的文件夹");
    EXPECT_EQ(prompter.texts(),
              QStringList{"你已改名成功!文件在" + QDir::toNativeSeparators(packageFolder()) +
                          QDir::separator() + "cgsbqy.arj"});

    prompter.clear();
    choose(inPackage("cgsbqy.arj"));
    click("btnImport");
    EXPECT_EQ(prompter.texts(), QStringList{"导入完毕！"});
    EXPECT_EQ(label("lblCount"), "记录条数:3条；");
}

} // namespace
} // namespace xb::exchange::testing
