// The first completing organization page through the real main window.
#include "support/shell_run.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <fstream>

namespace {

class FirstUnitPage : public WindowFixture {
  protected:
    static QLineEdit* box(QDialog& d, const char* name) { return control<QLineEdit>(&d, name); }
    static QComboBox* list(QDialog& d, const char* name) { return control<QComboBox>(&d, name); }
    static void fillRequired(QDialog& d) {
        box(d, "Edt_9")->setText("第一单位");
        box(d, "Edt_37")->setText("北京市海淀区中关村");
        box(d, "Edt_38")->setText("100080");
        choose(list(d, "cb_62"), "1");
        choose(list(d, "cb_64"), "11");
        box(d, "Edt_41")->setText("张三");
        box(d, "Edt_41_2")->setText("010-62345678");
    }
};

} // namespace

TEST_F(FirstUnitPage, ShowsTheProfileWhenTheRecordIsTheOwnOrganization) {
    ASSERT_TRUE(db().execute("update unit set item_37='本单位地址', item_62='3', item_41_3='01', "
                             "item_163='1'")
                    .ok());
    addRecord("2024000001", "1", "成果甲",
              {{"ITEM_9", "本单位"}, {"ITEM_37", "记录里的地址"}, {"ITEM_41", "李四"}});
    start(true);
    prompter.queueAnswer(xb::ui::Answer::No);
    openSection("btn_page04", [&](QDialog& d) {
        EXPECT_EQ(box(d, "Edt_37")->text(), "本单位地址");
        EXPECT_EQ(box(d, "Edt_41")->text(), "李四"); // the contact stays the record's
        EXPECT_TRUE(control<QCheckBox>(&d, "cb_163")->isChecked());
        EXPECT_TRUE(list(d, "CB_41_3")->isEnabled());
        box(d, "Edt_38")->setText("100080");
        choose(list(d, "cb_64"), "11");
        box(d, "Edt_41_2")->setText("1");
        ::click(&d, "quit01");
    });
    // The profile differs from the record, so leaving asks.
    EXPECT_TRUE(prompter.texts().contains("记录已经更改,是否保存？"));
}

TEST_F(FirstUnitPage, ConvertedFlagIsStoredByTheAttribute) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    const auto saveWith = [&](const char* attribute, bool converted) {
        openSection("btn_page04", [&](QDialog& d) {
            fillRequired(d);
            choose(list(d, "cb_62"), attribute);
            if (QString(attribute) == "3") {
                EXPECT_TRUE(control<QCheckBox>(&d, "cb_163")->isEnabled());
                EXPECT_EQ(list(d, "CB_41_3")->currentIndex(), -1);
                choose(list(d, "CB_41_3"), "01");
                control<QCheckBox>(&d, "cb_163")->setChecked(converted);
            } else {
                EXPECT_FALSE(control<QCheckBox>(&d, "cb_163")->isEnabled());
                EXPECT_EQ(list(d, "CB_41_3")->count(), 0);
            }
            ::click(&d, "btnSave01");
            ::click(&d, "quit01");
        });
        return field("2024000001", "item_163") + "/" + field("2024000001", "item_41_3");
    };
    EXPECT_EQ(saveWith("3", true), "1/01");
    EXPECT_EQ(saveWith("3", false), "0/01");
    EXPECT_EQ(saveWith("1", true), "/");
    EXPECT_EQ(mark("btn_page04"), "done");
}

TEST_F(FirstUnitPage, RefusesAMalformedCodeAndBytesBeyondTheTransferContactField) {
    addRecord("2024000001", "1", "成果甲");
    start(true);
    QString typed;
    openSection("btn_page04", [&](QDialog& d) {
        fillRequired(d);
        box(d, "Edt_420")->setText("123456789");
        ::click(&d, "btnSave01");
        box(d, "Edt_420")->setText("12345678-9");
        QLineEdit* contact = box(d, "TLinkMan");
        contact->setFocus();
        type(contact, "123456789012345678901");
        typed = contact->text();
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_EQ(prompter.texts().first(), "\"组织机构代码\"格式错误！");
    EXPECT_EQ(typed, "12345678901234567890");
    EXPECT_EQ(field("2024000001", "TLinkMan"), "12345678901234567890");
    EXPECT_EQ(field("2024000001", "item_420"), "12345678-9");
}

TEST_F(FirstUnitPage, ARefusedPostShowsTheEngineMessageAndSetsNoMark) {
    addRecord("2024000001", "1", "成果甲");
    // A table in another writer's layout (dBASE IV here) is only read, so its post is refused.
    store.reset();
    {
        std::fstream dbf(data() + "/kjcg.dbf", std::ios::in | std::ios::out | std::ios::binary);
        dbf.put(static_cast<char>(0x8B));
    }
    store = std::make_unique<xb::store::RecordStore>(data());
    start(true);
    ASSERT_EQ(listCount(), 1);
    main->computeDoneMarks();
    ASSERT_EQ(mark("btn_page04"), "question");
    openSection("btn_page04", [&](QDialog& d) {
        fillRequired(d);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_EQ(prompter.messages().first().caption, "提示");
    EXPECT_FALSE(prompter.texts().contains("储存成功！"));
    EXPECT_EQ(mark("btn_page04"), "question");
    EXPECT_FALSE(main->recordList()->editing());
}

TEST_F(FirstUnitPage, SavedSectionsLeaveTheCompletenessCheck) {
    addRecord("2024000001", "1", "成果甲");
    // The command-line tool works on the data directory while the program is not running.
    const std::string check = std::string(XB_CLI_PATH) + " --data " + data() + " check";
    store.reset();
    const std::string before = runShell(check + " 2>/dev/null").out;
    store = std::make_unique<xb::store::RecordStore>(data());
    ASSERT_TRUE(store->open().ok());
    start(true);
    EXPECT_NE(before.find("第一完成单位情况"), std::string::npos) << before;
    openSection("btn_page04", [&](QDialog& d) {
        fillRequired(d);
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    openSection("btn_page09", [&](QDialog& d) {
        box(d, "edt_302_y")->setText("2006");
        box(d, "edt_302_m")->setText("3");
        box(d, "edt_302_d")->setText("7");
        ::click(&d, "btnSave01");
        ::click(&d, "Button2");
    });
    main.reset();
    store.reset();
    const std::string after = runShell(check + " 2>/dev/null").out;
    EXPECT_EQ(after.find("第一完成单位情况"), std::string::npos) << after;
    EXPECT_NE(after.find("2024000001"), std::string::npos) << after; // other sections still open
}
