// What a save of the own-organization profile page writes into the one `unit` row, through the
// real main window.
#include "support/window_fixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class ProfileStore : public WindowFixture {
  protected:
    static void fillRequired(QDialog& d) {
        control<QLineEdit>(&d, "edt_9")->setText("  中国农业科学院茶叶研究所 ");
        control<QLineEdit>(&d, "Edt_37")->setText("浙江省杭州市梅灵南路9号");
        control<QLineEdit>(&d, "Edt_38")->setText("310008");
        control<QLineEdit>(&d, "Edt_39")->setText("0571-86650000");
        control<QLineEdit>(&d, "Edt_40")->setText("0571-86650001");
        control<QLineEdit>(&d, "Edt_41")->setText("科研处");
        control<QLineEdit>(&d, "Edt_41_2")->setText("0571-86650002");
    }
    std::string unit(const char* name) {
        auto row = db().table("unit");
        return (*row)->text(name);
    }
};

} // namespace

TEST_F(ProfileStore, SavingWritesTheFixedValuesTheTrimmedNameAndTheEnterpriseRule) {
    const std::string introduction = "第一行\r\n" + std::string(50 * 3, 'x');
    ASSERT_TRUE(db().execute("update unit set item_62='3', item_41_3='05', item_163='1', "
                             "unitintrod=:text, item_124_2='0101 ;9999 ;'",
                             {{"text", introduction}})
                    .ok());
    start(true);
    openSection("Button2", [&](QDialog& d) {
        fillRequired(d);
        // The stored code the classification table does not hold shows as its bare code.
        EXPECT_EQ(control<QLineEdit>(&d, "edt_124_2_2")->text(), "9999");
        choose(control<QComboBox>(&d, "cb_62"), "1");
        ::click(&d, "btnSave01");
        ::click(&d, "quit01");
    });
    EXPECT_TRUE(prompter.texts().contains("储存成功！"))
        << prompter.texts().join('|').toStdString();
    EXPECT_EQ(unit("item_9"), "中国农业科学院茶叶研究所");
    EXPECT_EQ(unit("unitcode"), "9990001000");
    EXPECT_EQ(unit("unitlevel"), "1");
    EXPECT_EQ((*db().table("unit"))->integer("endlevel"), 1);
    EXPECT_EQ((*db().table("unit"))->value("chiefexper").toText(), "   9999999999");
    EXPECT_EQ(unit("item_62"), "1");
    EXPECT_EQ(unit("item_41_3"), "");
    EXPECT_EQ(unit("item_163"), "");
    EXPECT_EQ(unit("item_124_2"), "0101 ;9999 ;"); // the unknown code is kept
    // The introduction was not touched: it keeps its Windows line break.
    EXPECT_EQ(unit("unitintrod"), introduction);
    EXPECT_EQ(count("select count(*) from unit"), 1);
}

TEST_F(ProfileStore, AWindowsLineBreakInTheIntroductionIsNoChange) {
    const std::string introduction = "第一行\r\n" + std::string(50 * 3, 'x');
    ASSERT_TRUE(db().execute("update unit set item_37='地址', item_38='310008', "
                             "item_39='1', item_40='2', item_41='科研处', item_41_2='3', "
                             "unitintrod=:text",
                             {{"text", introduction}})
                    .ok());
    start(true);
    openSection("Button2", [&](QDialog& d) { ::click(&d, "quit01"); });
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_FALSE(prompter.texts().contains("记录已经更改,是否保存？"))
        << prompter.texts().join('|').toStdString();
}
