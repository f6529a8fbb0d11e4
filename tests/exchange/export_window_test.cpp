// The export window driven through its controls: scopes, multiple selection, the count label,
// the questions before an export and the export itself with the real arj.
#include "exchange/export_window.h"
#include "exchange_test_data.h"
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

#include <memory>

using namespace xb;
using namespace xb::exchange;
using namespace Qt::StringLiterals;
using xb::ui::Answer;
using xb::ui::Message;
using Flags = std::vector<std::pair<std::string, std::string>>;

class ExportWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        data = std::make_unique<exchange::testing::TestDataDirectory>();
        QCOMPARE(QString::fromStdString(data->error()), QString());
        auto added = exchange::testing::addSampleOffice(data->db());
        QVERIFY(added.ok());
        office = *added;
        target = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<xb::ui::ScriptedPrompter>();
        window = std::make_unique<TFormout>(data->store());
    }

    void cleanup() {
        window.reset();
        prompts.reset();
        target.reset();
        data.reset();
    }

    // Each opening clears every export flag and waits for a scope; the scopes select whole
    // years or everything, Ctrl with the mouse changes the selection, the count label follows.
    void scopesAndSelectionDriveTheCount() {
        for (int opening = 0; opening < 2; ++opening) {
            QCOMPARE(*data->db().execute("update kjcg set item_sjdc = :f", {{"f", "1"}}), 3);
            window->show();
            QCOMPARE(flags(),
                     (Flags{{"2008000001", "0"}, {"2008000002", "0"}, {"2009000001", "0"}}));
            QVERIFY(!button("btnExport")->isEnabled());
            QCOMPARE(label()->text(), u"选择了0条记录"_s);
            QVERIFY(!radio("rbAll")->isChecked() && !radio("rbYear")->isChecked());
            QVERIFY(!years()->isVisible());
            QCOMPARE(years()->count(), 2);
            QCOMPARE(years()->currentText(), u"2009"_s);
            QCOMPARE(shownNames(),
                     (QStringList{u"高效节能换热器的研制"_s, u"城市交通拥堵对策研究"_s,
                                  u"稀土催化材料基础研究"_s}));
            click(radio("rbAll"));
            window->close();
        }
        window->show();
        click(radio("rbAll"));
        QCOMPARE(label()->text(), u"选择了3记录！"_s);
        QVERIFY(button("btnExport")->isEnabled());
        QCOMPARE(radio("rbAll")->toolTip(), u"再次选择全部项目请双击"_s);
        ctrlClickRow(1);
        QCOMPARE(label()->text(), u"选择了2记录！"_s);
        QCOMPARE(window->selectedRecords(),
                 (std::vector<uint32_t>{office.recordA, office.recordC}));
        QTest::mouseDClick(radio("rbAll"), Qt::LeftButton);
        QCOMPARE(label()->text(), u"选择了3记录！"_s);

        click(radio("rbYear"));
        QVERIFY(years()->isVisible());
        QCOMPARE(radio("rbAll")->toolTip(), QString());
        QCOMPARE(shownNames(), QStringList{u"稀土催化材料基础研究"_s});
        QCOMPARE(label()->text(), u"选择了1记录！"_s);
        QTest::keyClick(years(), Qt::Key_Down);
        QCOMPARE(years()->currentText(), u"2008"_s);
        QCOMPARE(shownNames().size(), 2);
        QCOMPARE(label()->text(), u"选择了2记录！"_s);
        QCOMPARE(window->selectedRecords(),
                 (std::vector<uint32_t>{office.recordA, office.recordB}));
    }

    // Opened as the main window opens it: a folder is chosen, the year 2008 exported, the
    // window left with 退出.
    void exportingAYearPacksItAndMarksItsRecords() {
        prompts->queueFolder(target->path());
        xb::ui::ScriptedModal modal;
        modal.queue([this](QDialog&) {
            click(button("btnFolder"));
            QCOMPARE(edit("edtFolder")->text(), QDir::toNativeSeparators(target->path()));
            click(radio("rbYear"));
            QTest::keyClick(years(), Qt::Key_Down);
            click(button("btnExport"));
            click(button("btnQuit"));
        });
        xb::ui::showModal(*window);
        QVERIFY(!modal.requests().first().leftOpen);
        QCOMPARE(modal.requests().first().caption, u"数据导出"_s);
        QCOMPARE(edit("edtFolder")->text(), QString());

        const QString folder = QDir::toNativeSeparators(target->path()) + QDir::separator();
        QCOMPARE(prompts->messages(),
                 (QList<Message>{{u"Xunbao"_s, u"你已打包成功!文件在"_s + folder + u"cgsbqy.arj"_s,
                                  xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok}}));
        QCOMPARE(exchange::testing::folderEntries(target->path()), QStringList{u"cgsbqy.arj"_s});
        auto listed = Archiver().list(target->path(), u"cgsbqy.arj"_s);
        QVERIFY(listed.ok());
        QCOMPARE(*listed, exchangePackageFiles());
        QCOMPARE(flags(), (Flags{{"2008000001", "1"}, {"2008000002", "1"}, {"2009000001", "0"}}));
    }

    // An overlong folder is refused; declining the overwrite question or the select-all
    // question changes nothing; accepting both packs every record of every year.
    void questionsBeforeAnExport() {
        const QString package = QDir(target->path()).filePath(u"cgsbqy.arj"_s);
        QVERIFY(exchange::testing::writeFile(package, "handed in last year"));
        window->show();
        prompts->queueFolder(QString(7001, u'a'));
        click(button("btnFolder"));
        click(radio("rbYear"));
        click(button("btnExport"));
        prompts->queueFolder(target->path());
        click(button("btnFolder"));
        ctrlClickRow(0); // the one record of 2009 is deselected
        QCOMPARE(label()->text(), u"选择了0记录！"_s);
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
        QCOMPARE(prompts->messages(), (QList<Message>{tooLong, overwrite, overwrite, selectAll}));
        QCOMPARE(exchange::testing::readFile(package), QByteArray("handed in last year"));
        QCOMPARE(exchange::testing::folderEntries(target->path()), QStringList{u"cgsbqy.arj"_s});
        QCOMPARE(flags(), (Flags{{"2008000001", "0"}, {"2008000002", "0"}, {"2009000001", "0"}}));

        prompts->clear();
        prompts->queueAnswer(Answer::Yes);
        prompts->queueAnswer(Answer::Yes);
        click(button("btnExport"));
        QCOMPARE(prompts->texts().size(), 3);
        QVERIFY(prompts->texts().last().startsWith(u"你已打包成功!"_s));
        QVERIFY(radio("rbAll")->isChecked());
        QCOMPARE(label()->text(), u"选择了3记录！"_s);
        QCOMPARE(flags(), (Flags{{"2008000001", "1"}, {"2008000002", "1"}, {"2009000001", "1"}}));
        QVERIFY(exchange::testing::readFile(package) != "handed in last year");
    }

  private:
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

int runExportWindowTests(int argc, char** argv) {
    ExportWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_window_test.moc"
