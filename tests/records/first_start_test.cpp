// The program's first start on an installation without the own organization's profile.
#include "app/pages.h"
#include "support/window_fixture.h"

#include <QPlainTextEdit>

namespace {

class FirstStart : public WindowFixture {
  protected:
    FirstStart() { withUnit = false; }
    void startWithPages() {
        main = std::make_unique<xb::records::TMainForm>(*store);
        xb::app::installPages(*main, *store);
        main->show();
        QApplication::processEvents();
    }
};

void fillProfile(QDialog& page) {
    const std::pair<const char*, const char*> values[] = {
        {"edt_9", "中国农业科学院茶叶研究所"},
        {"Edt_37", "浙江省杭州市西湖区梅灵南路9号"},
        {"Edt_38", "310008"},
        {"Edt_39", "0571-86650000"},
        {"Edt_40", "0571-86650001"},
        {"Edt_41", "科研管理处"},
        {"Edt_41_2", "0571-86650002"}};
    for (const auto& [name, text] : values)
        page.findChild<QLineEdit*>(name)->setText(QString::fromUtf8(text));
    // The introduction must say something: at least a hundred bytes.
    page.findChild<QPlainTextEdit*>("Memo3")->setPlainText(
        "中国农业科学院茶叶研究所成立于1958年，是国家级茶叶科研机构，主要从事茶树种质资源、育种、栽"
        "培、加工与质量安全研究。");
}

} // namespace

TEST_F(FirstStart, TheProfilePageComesFirstAndUnlocksTheWindow) {
    modal.queue([this](QDialog& page) {
        fillProfile(page);
        page.findChild<QPushButton*>("btnSave01")->click();
        page.findChild<QPushButton*>("quit01")->click();
    });
    startWithPages();
    ASSERT_FALSE(modal.requests().isEmpty());
    EXPECT_EQ(modal.requests()[0].className, "xb::parties::TFpage4a");
    EXPECT_TRUE(prompter.texts().contains("储存成功！"));
    EXPECT_EQ(count("select count(*) from unit"), 1);
    for (const char* name : {"Button1", "Button5", "BitBtn2", "BitBtn3", "BitBtn4", "btn_page01"})
        EXPECT_TRUE(find(name)->isEnabled()) << name;

    // The new-record dialog offers the profile's name as the first completing organization.
    modal.queue([this](QDialog& d) {
        EXPECT_EQ(find<QLineEdit>("edt_9", &d)->text(), "中国农业科学院茶叶研究所");
    });
    click("Button1");
}

TEST_F(FirstStart, LeavingTheProfileEmptyKeepsTheRecordControlsLocked) {
    startWithPages(); // nothing queued: the page is shown and left without a profile
    ASSERT_FALSE(modal.requests().isEmpty());
    EXPECT_EQ(modal.requests()[0].className, "xb::parties::TFpage4a");
    EXPECT_EQ(count("select count(*) from unit"), 0);
    for (const char* name : {"Button1", "Button5", "BitBtn2", "BitBtn4", "btn_page01"})
        EXPECT_FALSE(find(name)->isEnabled()) << name;
    EXPECT_TRUE(find("Button4")->isEnabled());
    EXPECT_TRUE(find("BitBtn1")->isEnabled());
}
