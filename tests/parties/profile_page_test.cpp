#include "parties/profile_page.h"
#include "parties/subject_leaders_page.h"
#include "parties/unit_profile.h"
#include "shipped_data.h"
#include "support/window_driver.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QToolButton>

using namespace xb::ui;
using namespace xb::parties;
using namespace Qt::StringLiterals;

namespace {

const QString kIntroduction =
    u"中国农业科学院茶叶研究所是国家级茶叶专业科研机构，主要从事茶树种质资源、"
    u"茶树育种栽培、茶叶加工与质量安全等方面的研究。"_s;
const QString kLongerIntroduction =
    kIntroduction + u"\n研究所设有茶树资源与改良、茶叶加工等研究中心。"_s;

// Fills the required fields of the basic tab so that the checks pass.
void fillRequired(QDialog& page) {
    control<QLineEdit>(&page, "edt_9")->setText(u"中国农业科学院茶叶研究所"_s);
    control<QLineEdit>(&page, "Edt_37")->setText(u"浙江省杭州市西湖区梅灵南路9号"_s);
    control<QLineEdit>(&page, "Edt_38")->setText(u"310008"_s);
    control<QLineEdit>(&page, "Edt_39")->setText(u"0571-86650000"_s);
    control<QLineEdit>(&page, "Edt_40")->setText(u"0571-86650001"_s);
    control<QPlainTextEdit>(&page, "Memo3")->setPlainText(kIntroduction);
    control<QLineEdit>(&page, "Edt_41")->setText(u"科研管理处"_s);
    control<QLineEdit>(&page, "Edt_41_2")->setText(u"0571-86650002"_s);
}

void openPicker(QDialog& page, const char* box) {
    if (auto* edit = control<QLineEdit>(&page, box))
        if (auto* arrow = edit->findChild<QToolButton*>(u"dropDown"_s))
            QTest::mouseClick(arrow, Qt::LeftButton);
}

} // namespace

class ProfilePageTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        data = std::make_unique<ShippedData>();
        QVERIFY2(data->ok(), data->error().c_str());
        store = std::make_unique<xb::store::RecordStore>(data->path());
        QVERIFY(store->open().ok());
        prompts = std::make_unique<xb::ui::ScriptedPrompter>();
        modal = std::make_unique<xb::ui::ScriptedModal>();
    }
    void cleanup() {
        modal.reset();
        prompts.reset();
        store.reset();
        data.reset();
    }

    // A first profile typed in, picked and saved shows every value again when the page is
    // opened anew; 退出 right after the save asks nothing.
    void savedProfileShowsEveryValue() {
        {
            TFpage4a page(*store);
            modal->queue([&](QDialog& d) {
                QCOMPARE(d.windowTitle(), u"单位情况"_s);
                QCOMPARE(d.size(), QSize(800, 600));
                fillRequired(d);
                control<QLineEdit>(&d, "edt_420")->setText(u"12345678-9"_s);
                control<QLineEdit>(&d, "Edt_60")->setText(u"www.tricaas.com"_s);
                control<QLineEdit>(&d, "Edt_61")->setText(u"kyc@tricaas.com"_s);
                QVERIFY(!control(&d, "CB_41_3")->isEnabled());
                QVERIFY(choose(control<QComboBox>(&d, "cb_62"), u"3"_s));
                QVERIFY(control(&d, "CB_41_3")->isEnabled());
                QVERIFY(choose(control<QComboBox>(&d, "CB_41_3"), u"05"_s));
                click(&d, "cb_163");
                QVERIFY(choose(control<QComboBox>(&d, "cb_64"), u"33"_s));
                modal->queue(
                    [](QDialog& picker) { pickNode(picker, u"0101  计算机及网络技术"_s); });
                openPicker(d, "edt_124_2_1");
                modal->queue([](QDialog& picker) { pickNode(picker, u"0201  系统软件"_s); });
                openPicker(d, "edt_124_2_3");
                modal->queue([](QDialog& picker) { pickNode(picker, u"1101410  演绎逻辑学"_s); });
                openPicker(d, "edt_15_1_1");
                modal->queue([](QDialog& picker) { pickNode(picker, u"06  新材料"_s); });
                openPicker(d, "edt_124_1_10");
                control<QLineEdit>(&d, "edt_15_2")->setText(u"110"_s); // typed by hand
                modal->queue([](QDialog& dialog) {
                    QCOMPARE(dialog.windowTitle(), u"单位简介"_s);
                    QCOMPARE(control<QPlainTextEdit>(&dialog, "Memo1")->toPlainText(),
                             kIntroduction);
                    control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(kLongerIntroduction);
                    click(&dialog, "btnSave");
                    click(&dialog, "btnQuit");
                });
                QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo3")->viewport(), Qt::LeftButton);
                QCOMPARE(control<QPlainTextEdit>(&d, "Memo3")->toPlainText(), kLongerIntroduction);
                QVERIFY(!*hasProfile(store->db())); // the introduction waits for 储存
                modal->queue([](QDialog& dialog) {
                    control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(u"茶树育种与栽培"_s);
                    click(&dialog, "btnSave");
                    click(&dialog, "btnQuit");
                });
                QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo2")->viewport(), Qt::LeftButton);
                click(&d, "btnSave01");
                click(&d, "quit01");
            });
            QCOMPARE(page.showProfile(), int(QDialog::Accepted));
            QCOMPARE(modal->pendingActions(), 0);
            QCOMPARE(prompts->texts(), QStringList{u"储存成功！"_s});
        }
        auto stored = loadProfile(store->db());
        QCOMPARE(stored->researchFields, u"0101 ;0201 ;"_s);
        QCOMPARE(stored->researchDisciplines, u"1101410 ;"_s);
        QCOMPARE(stored->advantageFields, u"06 ;"_s);
        QCOMPARE(stored->advantageDisciplines, u"110 ;"_s); // typed codes keep their form
        QCOMPARE(stored->advantage, u"茶树育种与栽培"_s);
        QCOMPARE(stored->unitCode, u"9990001000"_s);

        TFpage4a reopened(*store);
        reopened.fillFromProfile();
        auto text = [&](const char* name) { return control<QLineEdit>(&reopened, name)->text(); };
        QCOMPARE(text("edt_9"), u"中国农业科学院茶叶研究所"_s);
        QCOMPARE(text("edt_420"), u"12345678-9"_s);
        QCOMPARE(text("Edt_37"), u"浙江省杭州市西湖区梅灵南路9号"_s);
        QCOMPARE(text("Edt_38"), u"310008"_s);
        QCOMPARE(text("Edt_39"), u"0571-86650000"_s);
        QCOMPARE(text("Edt_40"), u"0571-86650001"_s);
        QCOMPARE(text("Edt_60"), u"www.tricaas.com"_s);
        QCOMPARE(text("Edt_41"), u"科研管理处"_s);
        QCOMPARE(text("Edt_41_2"), u"0571-86650002"_s);
        QCOMPARE(text("Edt_61"), u"kyc@tricaas.com"_s);
        QCOMPARE(control<QComboBox>(&reopened, "cb_62")->currentText(), u"3  企业"_s);
        QCOMPARE(control<QComboBox>(&reopened, "CB_41_3")->currentText(), u"05  有限责任公司"_s);
        QVERIFY(control<QCheckBox>(&reopened, "cb_163")->isChecked());
        QVERIFY(control<QCheckBox>(&reopened, "cb_163")->isEnabled());
        QVERIFY(control<QComboBox>(&reopened, "cb_64")->currentText().startsWith(u"33  "_s));
        QCOMPARE(text("edt_124_2_1"), u"0101  计算机及网络技术"_s);
        QCOMPARE(text("edt_124_2_2"), u"0201  系统软件"_s);
        QCOMPARE(text("edt_124_2_3"), QString());
        QCOMPARE(text("edt_15_1_1"), u"1101410  演绎逻辑学"_s);
        QCOMPARE(text("edt_124_1_1"), u"06  新材料"_s);
        QCOMPARE(text("edt_15_1"), u"110  数学"_s);
        QCOMPARE(control<QPlainTextEdit>(&reopened, "Memo2")->toPlainText(), u"茶树育种与栽培"_s);
        QCOMPARE(control<QPlainTextEdit>(&reopened, "Memo3")->toPlainText(), kLongerIntroduction);
        QVERIFY(!reopened.changeMarkerSet());
    }

    // Ten codes typed by hand into the boxes of 优势学科 need 120 of the field's 100 bytes: the
    // save is refused with the box's name, nothing is stored and no success is reported.
    void overlongTypedCodesAreRefusedByName() {
        TFpage4a page(*store);
        modal->queue([&](QDialog& d) {
            fillRequired(d);
            for (int i = 1; i <= 10; ++i)
                control<QLineEdit>(&d, qPrintable(u"edt_15_%1"_s.arg(i)))
                    ->setText(u"11014%1"_s.arg(i, 5, 10, QChar(u'0')));
            click(&d, "btnSave01");
            QCOMPARE(prompts->texts(),
                     QStringList{u"\"优势学科\"的内容超出了可储存的长度，请删减后再储存！"_s});
            control<QLineEdit>(&d, "edt_15_9")->clear();
            control<QLineEdit>(&d, "edt_15_10")->clear();
            click(&d, "btnSave01");
            click(&d, "quit01");
        });
        page.showProfile();
        QCOMPARE(prompts->texts().last(), u"储存成功！"_s);
        const auto stored = loadProfile(store->db());
        QVERIFY(stored);
        QCOMPARE(stored->advantageDisciplines.size(), 8 * 12);
    }

    // The checks come in their order through the warning box, the focus goes to the field,
    // nothing is stored, and 退出 cannot leave the page while a check fails.
    void checksStopSavingAndLeaving() {
        TFpage4a page(*store);
        QStringList focused;
        modal->queue([&](QDialog& d) {
            auto note = [&] {
                QWidget* focus = QApplication::focusWidget();
                focused << (focus ? focus->objectName() : QString());
            };
            control<QTabWidget>(&d, "PageControl1")->setCurrentIndex(2);
            click(&d, "btnSave01");
            note();
            fillRequired(d);
            control<QLineEdit>(&d, "Edt_38")->setText(u"31000"_s);
            click(&d, "btnSave01");
            note();
            control<QLineEdit>(&d, "Edt_38")->setText(u"31000a"_s);
            click(&d, "quit01");
            note();
            control<QLineEdit>(&d, "Edt_38")->setText(u"310008"_s);
            control<QPlainTextEdit>(&d, "Memo3")->setPlainText(QString(49, QChar(0x8336)));
            click(&d, "btnSave01");
            note();
            control<QLineEdit>(&d, "Edt_41_2")->clear();
            control<QPlainTextEdit>(&d, "Memo3")->setPlainText(QString(50, QChar(0x8336)));
            click(&d, "quit01");
            note();
        });
        QCOMPARE(page.showProfile(), int(QDialog::Rejected));
        QVERIFY(modal->requests().first().leftOpen);
        const QStringList expected{
            u"\"单位名称\"不能为空！"_s,     u"\"邮政编码\"应该为6位数字！"_s,
            u"\"邮政编码\"必须为数字！"_s,   u"\"单位简介\"内容不得小于50字！"_s,
            u"\"联系部门电话\"不能为空！"_s,
        };
        QCOMPARE(prompts->texts(), expected);
        QCOMPARE(prompts->messages().first().caption, u"Xunbao"_s);
        QCOMPARE(focused,
                 (QStringList{u"edt_9"_s, u"Edt_38"_s, u"Edt_38"_s, u"Memo3"_s, u"Edt_41_2"_s}));
        QVERIFY(!*hasProfile(store->db()));
    }

    // 退出 asks only when something differs from the stored row: an unchanged page closes at
    // once; a changed organization code asks, and No leaves the row alone; a code box changed
    // through the picker asks, and Yes stores it.
    void leavingAsksOnlyAboutChanges() {
        TFpage4a page(*store);
        modal->queue([&](QDialog& d) {
            fillRequired(d);
            QVERIFY(choose(control<QComboBox>(&d, "cb_62"), u"1"_s));
            QVERIFY(choose(control<QComboBox>(&d, "cb_64"), u"11"_s));
            click(&d, "btnSave01");
        });
        page.showProfile();
        prompts->clear();

        modal->queue([&](QDialog& d) { click(&d, "quit01"); });
        QCOMPARE(page.showProfile(), int(QDialog::Accepted));
        QVERIFY(prompts->texts().isEmpty());

        prompts->queueAnswer(Answer::No);
        modal->queue([&](QDialog& d) {
            control<QLineEdit>(&d, "edt_420")->setText(u"87654321-0"_s);
            click(&d, "quit01");
        });
        QCOMPARE(page.showProfile(), int(QDialog::Accepted));
        const Message question{u"请注意！"_s, u"记录已经更改,是否保存？"_s, MessageIcon::Question,
                               Buttons::YesNo};
        QCOMPARE(prompts->messages(), QList<Message>{question});
        QCOMPARE(loadProfile(store->db())->orgCode, QString());
        prompts->clear();

        prompts->queueAnswer(Answer::Yes);
        modal->queue([&](QDialog& d) {
            modal->queue([](QDialog& picker) { pickNode(picker, u"02  软件"_s); });
            openPicker(d, "edt_124_1_1");
            click(&d, "quit01");
        });
        page.showProfile();
        QCOMPARE(prompts->texts(), (QStringList{u"记录已经更改,是否保存？"_s, u"储存成功！"_s}));
        QCOMPARE(loadProfile(store->db())->advantageFields, u"02 ;"_s);
        prompts->clear();

        // Choosing the root empties the box, which is a change as well.
        prompts->queueAnswer(Answer::Yes);
        modal->queue([&](QDialog& d) {
            modal->queue([](QDialog& picker) { click(&picker, "Button1"); });
            openPicker(d, "edt_124_1_1");
            QCOMPARE(control<QLineEdit>(&d, "edt_124_1_1")->text(), QString());
            click(&d, "quit01");
        });
        page.showProfile();
        QCOMPARE(prompts->texts().size(), 2);
        QCOMPARE(loadProfile(store->db())->advantageFields, QString());
    }

    // Leaving the enterprise attribute unchecks and disables the converted box and empties the
    // ownership list; the save then stores both enterprise fields empty.
    void enterpriseControlsFollowTheAttribute() {
        TFpage4a page(*store);
        modal->queue([&](QDialog& d) {
            fillRequired(d);
            auto* attribute = control<QComboBox>(&d, "cb_62");
            auto* ownership = control<QComboBox>(&d, "CB_41_3");
            auto* converted = control<QCheckBox>(&d, "cb_163");
            QVERIFY(choose(attribute, u"3"_s));
            QVERIFY(choose(ownership, u"01"_s));
            click(&d, "cb_163");
            QVERIFY(converted->isChecked());
            QVERIFY(choose(attribute, u"2"_s));
            QVERIFY(!converted->isChecked() && !converted->isEnabled());
            QVERIFY(!ownership->isEnabled());
            QCOMPARE(ownership->count(), 0);
            QVERIFY(choose(control<QComboBox>(&d, "cb_64"), u"11"_s));
            click(&d, "btnSave01");
        });
        page.showProfile();
        auto stored = loadProfile(store->db());
        QCOMPARE(stored->attribute, u"2"_s);
        QCOMPARE(stored->ownership, QString());
        QCOMPARE(stored->converted, QString());
    }

    // 学科带头人情况 stores the page without its checks and opens the subject leaders of the
    // profile's unit code; the first text dialog stores its text at once.
    void subjectLeadersAndTextDialogsStoreAtOnce() {
        TFpage4a page(*store);
        bool listEmpty = false, buttonsOff = false;
        modal->queue([&](QDialog& d) {
            modal->queue([](QDialog& dialog) {
                QCOMPARE(dialog.objectName(), u"TFormstudy"_s);
                QCOMPARE(dialog.windowTitle(), u"简要说明及补充"_s);
                control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(u"茶学"_s);
                click(&dialog, "btnSave");
                click(&dialog, "btnQuit");
            });
            QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo1")->viewport(), Qt::LeftButton);
            QVERIFY(*hasProfile(store->db()));
            QCOMPARE(control<QPlainTextEdit>(&d, "Memo1")->toPlainText(), u"茶学"_s);

            control<QLineEdit>(&d, "edt_9")->setText(u"茶叶研究所"_s);
            modal->queue([&](QDialog& list) {
                QCOMPARE(list.objectName(), u"TFpage11"_s);
                listEmpty = control<QTableWidget>(&list, "DBGrid1")->rowCount() == 0;
                buttonsOff = !control(&list, "Button1")->isEnabled() &&
                             !control(&list, "Button3")->isEnabled();
                click(&list, "quit01");
            });
            click(&d, "BitBtndtr");
        });
        page.showProfile();
        QVERIFY(listEmpty && buttonsOff);
        QCOMPARE(modal->requests().size(), 3);
        QVERIFY(prompts->texts().isEmpty());
        auto stored = loadProfile(store->db());
        QCOMPARE(stored->name, u"茶叶研究所"_s);
        QCOMPARE(stored->studyDirection, u"茶学"_s);
        QCOMPARE(stored->unitCode, u"9990001000"_s);
    }

  private:
    std::unique_ptr<ShippedData> data;
    std::unique_ptr<xb::store::RecordStore> store;
    std::unique_ptr<xb::ui::ScriptedPrompter> prompts;
    std::unique_ptr<xb::ui::ScriptedModal> modal;
};

int runProfilePageTests(int argc, char** argv) {
    ProfilePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "profile_page_test.moc"
