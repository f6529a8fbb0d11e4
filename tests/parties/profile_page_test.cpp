#include "parties/profile_page.h"
#include "parties/subject_leaders_page.h"
#include "parties/unit_profile.h"
#include "support/record_fixture.h"
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
void fillBasicTab(QDialog& page) {
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

class ProfilePage : public RecordFixture {
  protected:
    xb::ui::ScriptedPrompter prompts;
    xb::ui::ScriptedModal modal;
};

// A first profile typed in, picked and saved shows every value again when the page is
// opened anew; 退出 right after the save asks nothing.
TEST_F(ProfilePage, SavedProfileShowsEveryValue) {
    {
        TFpage4a page(*store);
        modal.queue([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), u"单位情况"_s);
            EXPECT_EQ(d.size(), QSize(800, 600));
            fillBasicTab(d);
            control<QLineEdit>(&d, "edt_420")->setText(u"12345678-9"_s);
            control<QLineEdit>(&d, "Edt_60")->setText(u"www.tricaas.com"_s);
            control<QLineEdit>(&d, "Edt_61")->setText(u"kyc@tricaas.com"_s);
            EXPECT_FALSE(control(&d, "CB_41_3")->isEnabled());
            EXPECT_TRUE(choose(control<QComboBox>(&d, "cb_62"), u"3"_s));
            EXPECT_TRUE(control(&d, "CB_41_3")->isEnabled());
            EXPECT_TRUE(choose(control<QComboBox>(&d, "CB_41_3"), u"05"_s));
            click(&d, "cb_163");
            EXPECT_TRUE(choose(control<QComboBox>(&d, "cb_64"), u"33"_s));
            modal.queue([](QDialog& picker) { pickNode(picker, u"0101  计算机及网络技术"_s); });
            openPicker(d, "edt_124_2_1");
            modal.queue([](QDialog& picker) { pickNode(picker, u"0201  系统软件"_s); });
            openPicker(d, "edt_124_2_3");
            modal.queue([](QDialog& picker) { pickNode(picker, u"1101410  演绎逻辑学"_s); });
            openPicker(d, "edt_15_1_1");
            modal.queue([](QDialog& picker) { pickNode(picker, u"06  新材料"_s); });
            openPicker(d, "edt_124_1_10");
            control<QLineEdit>(&d, "edt_15_2")->setText(u"110"_s); // typed by hand
            modal.queue([](QDialog& dialog) {
                EXPECT_EQ(dialog.windowTitle(), u"单位简介"_s);
                EXPECT_EQ(control<QPlainTextEdit>(&dialog, "Memo1")->toPlainText(), kIntroduction);
                control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(kLongerIntroduction);
                click(&dialog, "btnSave");
                click(&dialog, "btnQuit");
            });
            QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo3")->viewport(), Qt::LeftButton);
            EXPECT_EQ(control<QPlainTextEdit>(&d, "Memo3")->toPlainText(), kLongerIntroduction);
            EXPECT_FALSE(*hasProfile(store->db())); // the introduction waits for 储存
            modal.queue([](QDialog& dialog) {
                control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(u"茶树育种与栽培"_s);
                click(&dialog, "btnSave");
                click(&dialog, "btnQuit");
            });
            QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo2")->viewport(), Qt::LeftButton);
            click(&d, "btnSave01");
            click(&d, "quit01");
        });
        EXPECT_EQ(page.showProfile(), int(QDialog::Accepted));
        EXPECT_EQ(modal.pendingActions(), 0);
        EXPECT_EQ(prompts.texts(), QStringList{u"储存成功！"_s});
    }
    auto stored = loadProfile(store->db());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->researchFields, u"0101 ;0201 ;"_s);
    EXPECT_EQ(stored->researchDisciplines, u"1101410 ;"_s);
    EXPECT_EQ(stored->advantageFields, u"06 ;"_s);
    EXPECT_EQ(stored->advantageDisciplines, u"110 ;"_s); // typed codes keep their form
    EXPECT_EQ(stored->advantage, u"茶树育种与栽培"_s);
    EXPECT_EQ(stored->unitCode, u"9990001000"_s);

    TFpage4a reopened(*store);
    reopened.fillFromProfile();
    auto text = [&](const char* name) { return control<QLineEdit>(&reopened, name)->text(); };
    EXPECT_EQ(text("edt_9"), u"中国农业科学院茶叶研究所"_s);
    EXPECT_EQ(text("edt_420"), u"12345678-9"_s);
    EXPECT_EQ(text("Edt_37"), u"浙江省杭州市西湖区梅灵南路9号"_s);
    EXPECT_EQ(text("Edt_38"), u"310008"_s);
    EXPECT_EQ(text("Edt_39"), u"0571-86650000"_s);
    EXPECT_EQ(text("Edt_40"), u"0571-86650001"_s);
    EXPECT_EQ(text("Edt_60"), u"www.tricaas.com"_s);
    EXPECT_EQ(text("Edt_41"), u"科研管理处"_s);
    EXPECT_EQ(text("Edt_41_2"), u"0571-86650002"_s);
    EXPECT_EQ(text("Edt_61"), u"kyc@tricaas.com"_s);
    EXPECT_EQ(control<QComboBox>(&reopened, "cb_62")->currentText(), u"3  企业"_s);
    EXPECT_EQ(control<QComboBox>(&reopened, "CB_41_3")->currentText(), u"05  有限责任公司"_s);
    EXPECT_TRUE(control<QCheckBox>(&reopened, "cb_163")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(&reopened, "cb_163")->isEnabled());
    EXPECT_TRUE(control<QComboBox>(&reopened, "cb_64")->currentText().startsWith(u"33  "_s));
    EXPECT_EQ(text("edt_124_2_1"), u"0101  计算机及网络技术"_s);
    EXPECT_EQ(text("edt_124_2_2"), u"0201  系统软件"_s);
    EXPECT_EQ(text("edt_124_2_3"), QString());
    EXPECT_EQ(text("edt_15_1_1"), u"1101410  演绎逻辑学"_s);
    EXPECT_EQ(text("edt_124_1_1"), u"06  新材料"_s);
    EXPECT_EQ(text("edt_15_1"), u"110  数学"_s);
    EXPECT_EQ(control<QPlainTextEdit>(&reopened, "Memo2")->toPlainText(), u"茶树育种与栽培"_s);
    EXPECT_EQ(control<QPlainTextEdit>(&reopened, "Memo3")->toPlainText(), kLongerIntroduction);
    EXPECT_FALSE(reopened.changeMarkerSet());
}

// Ten codes typed by hand into the boxes of 优势学科 need 120 of the field's 100 bytes: the
// save is refused with the box's name, nothing is stored and no success is reported.
TEST_F(ProfilePage, OverlongTypedCodesAreRefusedByName) {
    TFpage4a page(*store);
    modal.queue([&](QDialog& d) {
        fillBasicTab(d);
        for (int i = 1; i <= 10; ++i)
            control<QLineEdit>(&d, qPrintable(u"edt_15_%1"_s.arg(i)))
                ->setText(u"11014%1"_s.arg(i, 5, 10, QChar(u'0')));
        click(&d, "btnSave01");
        EXPECT_EQ(prompts.texts(),
                  QStringList{u"\"优势学科\"的内容超出了可储存的长度，请删减后再储存！"_s});
        control<QLineEdit>(&d, "edt_15_9")->clear();
        control<QLineEdit>(&d, "edt_15_10")->clear();
        click(&d, "btnSave01");
        click(&d, "quit01");
    });
    page.showProfile();
    EXPECT_EQ(prompts.texts().last(), u"储存成功！"_s);
    const auto stored = loadProfile(store->db());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->advantageDisciplines.size(), 8 * 12);
}

// The checks come in their order through the warning box, the focus goes to the field,
// nothing is stored, and 退出 cannot leave the page while a check fails.
TEST_F(ProfilePage, ChecksStopSavingAndLeaving) {
    TFpage4a page(*store);
    QStringList focused;
    modal.queue([&](QDialog& d) {
        auto note = [&] {
            QWidget* focus = QApplication::focusWidget();
            focused << (focus ? focus->objectName() : QString());
        };
        control<QTabWidget>(&d, "PageControl1")->setCurrentIndex(2);
        click(&d, "btnSave01");
        note();
        fillBasicTab(d);
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
    EXPECT_EQ(page.showProfile(), int(QDialog::Rejected));
    EXPECT_TRUE(modal.requests().first().leftOpen);
    const QStringList expected{
        u"\"单位名称\"不能为空！"_s,     u"\"邮政编码\"应该为6位数字！"_s,
        u"\"邮政编码\"必须为数字！"_s,   u"\"单位简介\"内容不得小于50字！"_s,
        u"\"联系部门电话\"不能为空！"_s,
    };
    EXPECT_EQ(prompts.texts(), expected);
    EXPECT_EQ(prompts.messages().first().caption, u"Xunbao"_s);
    EXPECT_EQ(focused,
              (QStringList{u"edt_9"_s, u"Edt_38"_s, u"Edt_38"_s, u"Memo3"_s, u"Edt_41_2"_s}));
    EXPECT_FALSE(*hasProfile(store->db()));
}

// 退出 asks only when something differs from the stored row: an unchanged page closes at
// once; a changed organization code asks, and No leaves the row alone; a code box changed
// through the picker asks, and Yes stores it.
TEST_F(ProfilePage, LeavingAsksOnlyAboutChanges) {
    TFpage4a page(*store);
    modal.queue([&](QDialog& d) {
        fillBasicTab(d);
        EXPECT_TRUE(choose(control<QComboBox>(&d, "cb_62"), u"1"_s));
        EXPECT_TRUE(choose(control<QComboBox>(&d, "cb_64"), u"11"_s));
        click(&d, "btnSave01");
    });
    page.showProfile();
    prompts.clear();

    modal.queue([&](QDialog& d) { click(&d, "quit01"); });
    EXPECT_EQ(page.showProfile(), int(QDialog::Accepted));
    EXPECT_TRUE(prompts.texts().isEmpty());

    prompts.queueAnswer(Answer::No);
    modal.queue([&](QDialog& d) {
        control<QLineEdit>(&d, "edt_420")->setText(u"87654321-0"_s);
        click(&d, "quit01");
    });
    EXPECT_EQ(page.showProfile(), int(QDialog::Accepted));
    const Message question{u"请注意！"_s, u"记录已经更改,是否保存？"_s, MessageIcon::Question,
                           Buttons::YesNo};
    EXPECT_EQ(prompts.messages(), QList<Message>{question});
    EXPECT_EQ(loadProfile(store->db())->orgCode, QString());
    prompts.clear();

    prompts.queueAnswer(Answer::Yes);
    modal.queue([&](QDialog& d) {
        modal.queue([](QDialog& picker) { pickNode(picker, u"02  软件"_s); });
        openPicker(d, "edt_124_1_1");
        click(&d, "quit01");
    });
    page.showProfile();
    EXPECT_EQ(prompts.texts(), (QStringList{u"记录已经更改,是否保存？"_s, u"储存成功！"_s}));
    EXPECT_EQ(loadProfile(store->db())->advantageFields, u"02 ;"_s);
    prompts.clear();

    // Choosing the root empties the box, which is a change as well.
    prompts.queueAnswer(Answer::Yes);
    modal.queue([&](QDialog& d) {
        modal.queue([](QDialog& picker) { click(&picker, "Button1"); });
        openPicker(d, "edt_124_1_1");
        EXPECT_EQ(control<QLineEdit>(&d, "edt_124_1_1")->text(), QString());
        click(&d, "quit01");
    });
    page.showProfile();
    EXPECT_EQ(prompts.texts().size(), 2);
    EXPECT_EQ(loadProfile(store->db())->advantageFields, QString());
}

// Leaving the enterprise attribute unchecks and disables the converted box and empties the
// ownership list; the save then stores both enterprise fields empty.
TEST_F(ProfilePage, EnterpriseControlsFollowTheAttribute) {
    TFpage4a page(*store);
    modal.queue([&](QDialog& d) {
        fillBasicTab(d);
        auto* attribute = control<QComboBox>(&d, "cb_62");
        auto* ownership = control<QComboBox>(&d, "CB_41_3");
        auto* converted = control<QCheckBox>(&d, "cb_163");
        EXPECT_TRUE(choose(attribute, u"3"_s));
        EXPECT_TRUE(choose(ownership, u"01"_s));
        click(&d, "cb_163");
        EXPECT_TRUE(converted->isChecked());
        EXPECT_TRUE(choose(attribute, u"2"_s));
        EXPECT_TRUE(!converted->isChecked() && !converted->isEnabled());
        EXPECT_FALSE(ownership->isEnabled());
        EXPECT_EQ(ownership->count(), 0);
        EXPECT_TRUE(choose(control<QComboBox>(&d, "cb_64"), u"11"_s));
        click(&d, "btnSave01");
    });
    page.showProfile();
    auto stored = loadProfile(store->db());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->attribute, u"2"_s);
    EXPECT_EQ(stored->ownership, QString());
    EXPECT_EQ(stored->converted, QString());
}

// 学科带头人情况 stores the page without its checks and opens the subject leaders of the
// profile's unit code; the first text dialog stores its text at once.
TEST_F(ProfilePage, SubjectLeadersAndTextDialogsStoreAtOnce) {
    TFpage4a page(*store);
    bool listEmpty = false, buttonsOff = false;
    modal.queue([&](QDialog& d) {
        modal.queue([](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), u"TFormstudy"_s);
            EXPECT_EQ(dialog.windowTitle(), u"简要说明及补充"_s);
            control<QPlainTextEdit>(&dialog, "Memo1")->setPlainText(u"茶学"_s);
            click(&dialog, "btnSave");
            click(&dialog, "btnQuit");
        });
        QTest::mouseClick(control<QPlainTextEdit>(&d, "Memo1")->viewport(), Qt::LeftButton);
        EXPECT_TRUE(*hasProfile(store->db()));
        EXPECT_EQ(control<QPlainTextEdit>(&d, "Memo1")->toPlainText(), u"茶学"_s);

        control<QLineEdit>(&d, "edt_9")->setText(u"茶叶研究所"_s);
        modal.queue([&](QDialog& list) {
            EXPECT_EQ(list.objectName(), u"TFpage11"_s);
            listEmpty = control<QTableWidget>(&list, "DBGrid1")->rowCount() == 0;
            buttonsOff =
                !control(&list, "Button1")->isEnabled() && !control(&list, "Button3")->isEnabled();
            click(&list, "quit01");
        });
        click(&d, "BitBtndtr");
    });
    page.showProfile();
    EXPECT_TRUE(listEmpty && buttonsOff);
    EXPECT_EQ(modal.requests().size(), 3);
    EXPECT_TRUE(prompts.texts().isEmpty());
    auto stored = loadProfile(store->db());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->name, u"茶叶研究所"_s);
    EXPECT_EQ(stored->studyDirection, u"茶学"_s);
    EXPECT_EQ(stored->unitCode, u"9990001000"_s);
}
