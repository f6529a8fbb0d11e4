// The export window driven through its controls: scopes, multiple selection, the count label,
// the questions before an export and the export itself with the real arj.
#include "exchange/export_window.h"
#include "exchange_test_data.h"
#include "support/qt_printing.h"
#include "ui/modal.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <gtest/gtest.h>

#include <memory>

using namespace xb;
using namespace xb::exchange;
using namespace Qt::StringLiterals;
using xb::ui::Answer;
using xb::ui::Message;
using Flags = std::vector<std::pair<std::string, std::string>>;

class ExportWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        data = std::make_unique<exchange::testing::TestDataDirectory>();
        ASSERT_EQ(data->error(), "");
        auto added = exchange::testing::addSampleOffice(data->db());
        ASSERT_TRUE(added.ok());
        office = *added;
        target = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<xb::ui::ScriptedPrompter>();
        window = std::make_unique<TFormout>(data->store());
    }
    void TearDown() override {
        window.reset();
        prompts.reset();
        target.reset();
        data.reset();
    }

    template <class T> T* control(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control %s", name);
        return widget;
    }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QRadioButton* radio(const char* name) const { return control<QRadioButton>(name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QComboBox* years() const { return control<QComboBox>("cbYear"); }
    QLabel* label() const { return control<QLabel>("lblCount"); }
    QTableView* grid() const { return control<QTableView>("DBGrid1"); }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    void ctrlClickRow(int row) const {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    }

    QStringList shownNames() const {
        QStringList names;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            names << grid()->model()->index(row, 0).data().toString();
        return names;
    }

    Flags flags() const { return exchange::testing::exportFlags(data->db()); }

    std::unique_ptr<exchange::testing::TestDataDirectory> data;
    exchange::testing::SampleOffice office;
    std::unique_ptr<QTemporaryDir> target;
    std::unique_ptr<xb::ui::ScriptedPrompter> prompts;
    std::unique_ptr<TFormout> window;
};

// Each opening clears every export flag and waits for a scope; the scopes select whole
// years or everything, Ctrl with the mouse changes the selection, the count label follows.
TEST_F(ExportWindow, ScopesAndSelectionDriveTheCount) {
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_EQ(*data->db().execute("update kjcg set item_sjdc = :f", {{"f", "1"}}), 3);
        window->show();
        EXPECT_EQ(flags(), (Flags{{"2008000001", "0"}, {"2008000002", "0"}, {"2009000001", "0"}}));
        EXPECT_FALSE(button("btnExport")->isEnabled());
        EXPECT_EQ(label()->text(), u"选择了0条记录"_s);
        EXPECT_TRUE(!radio("rbAll")->isChecked() && !radio("rbYear")->isChecked());
        EXPECT_FALSE(years()->isVisible());
        EXPECT_EQ(years()->count(), 2);
        EXPECT_EQ(years()->currentText(), u"2009"_s);
        EXPECT_EQ(shownNames(), (QStringList{u"高效节能换热器的研制"_s, u"城市交通拥堵对策研究"_s,
                                             u"稀土催化材料基础研究"_s}));
        click(radio("rbAll"));
        window->close();
    }
    window->show();
    click(radio("rbAll"));
    EXPECT_EQ(label()->text(), u"选择了3记录！"_s);
    EXPECT_TRUE(button("btnExport")->isEnabled());
    EXPECT_EQ(radio("rbAll")->toolTip(), u"再次选择全部项目请双击"_s);
    ctrlClickRow(1);
    EXPECT_EQ(label()->text(), u"选择了2记录！"_s);
    EXPECT_EQ(window->selectedRecords(), (std::vector<uint32_t>{office.recordA, office.recordC}));
    QTest::mouseDClick(radio("rbAll"), Qt::LeftButton);
    EXPECT_EQ(label()->text(), u"选择了3记录！"_s);

    click(radio("rbYear"));
    EXPECT_TRUE(years()->isVisible());
    EXPECT_EQ(radio("rbAll")->toolTip(), QString());
    EXPECT_EQ(shownNames(), QStringList{u"稀土催化材料基础研究"_s});
    EXPECT_EQ(label()->text(), u"选择了1记录！"_s);
    QTest::keyClick(years(), Qt::Key_Down);
    EXPECT_EQ(years()->currentText(), u"2008"_s);
    EXPECT_EQ(shownNames().size(), 2);
    EXPECT_EQ(label()->text(), u"选择了2记录！"_s);
    EXPECT_EQ(window->selectedRecords(), (std::vector<uint32_t>{office.recordA, office.recordB}));
}

// Opened as the main window opens it: a folder is chosen, the year 2008 exported, the
// window left with 退出.
TEST_F(ExportWindow, ExportingAYearPacksItAndMarksItsRecords) {
    prompts->queueFolder(target->path());
    xb::ui::ScriptedModal modal;
    modal.queue([this](QDialog&) {
        click(button("btnFolder"));
        EXPECT_EQ(edit("edtFolder")->text(), QDir::toNativeSeparators(target->path()));
        click(radio("rbYear"));
        QTest::keyClick(years(), Qt::Key_Down);
        click(button("btnExport"));
        click(button("btnQuit"));
    });
    xb::ui::showModal(*window);
    ASSERT_EQ(modal.requests().size(), 1);
    EXPECT_FALSE(modal.requests().first().leftOpen);
    EXPECT_EQ(modal.requests().first().caption, u"数据导出"_s);
    EXPECT_EQ(edit("edtFolder")->text(), QString());

    const QString folder = QDir::toNativeSeparators(target->path()) + QDir::separator();
    EXPECT_EQ(prompts->messages(),
              (QList<Message>{{u"Xunbao"_s, u"你已打包成功!文件在"_s + folder + u"cgsbqy.arj"_s,
                               xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok}}));
    EXPECT_EQ(exchange::testing::folderEntries(target->path()), QStringList{u"cgsbqy.arj"_s});
    auto listed = Archiver().list(target->path(), u"cgsbqy.arj"_s);
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(*listed, exchangePackageFiles());
    EXPECT_EQ(flags(), (Flags{{"2008000001", "1"}, {"2008000002", "1"}, {"2009000001", "0"}}));
}

// An overlong folder is refused; declining the overwrite question or the select-all
// question changes nothing; accepting both packs every record of every year.
TEST_F(ExportWindow, QuestionsBeforeAnExport) {
    const QString package = QDir(target->path()).filePath(u"cgsbqy.arj"_s);
    EXPECT_TRUE(exchange::testing::writeFile(package, "handed in last year"));
    window->show();
    prompts->queueFolder(QString(7001, u'a'));
    click(button("btnFolder"));
    click(radio("rbYear"));
    click(button("btnExport"));
    prompts->queueFolder(target->path());
    click(button("btnFolder"));
    ctrlClickRow(0); // the one record of 2009 is deselected
    EXPECT_EQ(label()->text(), u"选择了0记录！"_s);
    prompts->queueAnswer(Answer::No);
    click(button("btnExport"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::No);
    click(button("btnExport"));

    const Message tooLong{u"Xunbao"_s, u"文件目录路径不超过7个字符！"_s,
                          xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok};
    const Message overwrite{u"提示信息"_s,
                            u"该路径存在上报文件！选择“是”该文件将被覆盖；选择“否”放弃操作。"
                            u"如果需要保存现存文件，需要把该文件保存到到别的文件夹内，"
                            u"再执行该操作！"_s,
                            xb::ui::MessageIcon::Information, xb::ui::Buttons::YesNo};
    const Message selectAll{u"提示信息"_s, u"请选择您要导出的项目，是否全部选择？"_s,
                            xb::ui::MessageIcon::Information, xb::ui::Buttons::YesNo};
    EXPECT_EQ(prompts->messages(), (QList<Message>{tooLong, overwrite, overwrite, selectAll}));
    EXPECT_EQ(exchange::testing::readFile(package), QByteArray("handed in last year"));
    EXPECT_EQ(exchange::testing::folderEntries(target->path()), QStringList{u"cgsbqy.arj"_s});
    EXPECT_EQ(flags(), (Flags{{"2008000001", "0"}, {"2008000002", "0"}, {"2009000001", "0"}}));

    prompts->clear();
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::Yes);
    click(button("btnExport"));
    ASSERT_EQ(prompts->texts().size(), 3);
    EXPECT_TRUE(prompts->texts().last().startsWith(u"你已打包成功!"_s));
    EXPECT_TRUE(radio("rbAll")->isChecked());
    EXPECT_EQ(label()->text(), u"选择了3记录！"_s);
    EXPECT_EQ(flags(), (Flags{{"2008000001", "1"}, {"2008000002", "1"}, {"2009000001", "1"}}));
    EXPECT_NE(exchange::testing::readFile(package), "handed in last year");
}
