// What every single-record page promises, run for each page through the real main window: a
// save shows the same values when the page is opened again; a change makes 退出 ask; a failed
// check moves the focus and writes nothing; Escape does not close the page; every opening starts
// in the first field.
#include "store/history.h"
#include "support/window_fixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <map>

namespace {

struct PageContract {
    const char* page;       // object name of the page
    const char* button;     // main window button that opens it
    const char* caption;    // the caption while it is open
    const char* saveButton; // object names of the page's buttons
    const char* quitButton;
    const char* box; // a text box, its table and field
    const char* table;
    const char* field;
    const char* badBox; // a box whose value fails a check, and where the focus goes then
    const char* badValue;
    const char* focus;
    // Fills what the page's checks require.
    std::function<void(QDialog&)> fillRequired;
};

void PrintTo(const PageContract& contract, std::ostream* out) {
    *out << contract.page;
}

void setText(QDialog& d, const char* name, const QString& text) {
    control<QLineEdit>(&d, name)->setText(text);
}

const PageContract kPages[] = {
    {"TFpage9", "btn_page09", "成果名称：成果甲", "btnSave01", "Button2", "Edt_301", "kjcg",
     "item_301", "edt_302_m", "13", "edt_302_m",
     [](QDialog& d) {
         setText(d, "edt_302_y", "2006");
         setText(d, "edt_302_m", "1");
         setText(d, "edt_302_d", "5");
     }},
    {"TFpage1", "btn_page01", "成果名称：成果甲", "btnSave01", "quit01", "Edt_120", "kjcg",
     "item_120", "edt_121_m", "13", "edt_121_m",
     [](QDialog& d) {
         setText(d, "edt_121_y", "2006");
         setText(d, "edt_121_m", "3");
         setText(d, "edt_121_d", "7");
         setText(d, "edt_8_y_s", "2003");
         setText(d, "edt_8_m_s", "5");
         setText(d, "edt_8_y_e", "2005");
         setText(d, "edt_8_m_e", "12");
         for (const char* list : {"CB_1", "Cb_125_1", "cb_16", "cb_33", "cb_201"})
             choose(control<QComboBox>(&d, list), "1");
         control<QAbstractButton>(&d, "RB_123_1")->click();
         control<QAbstractButton>(&d, "CB_125_01")->click();
         control<QPlainTextEdit>(&d, "Mo_13_1")->setPlainText("简介");
         control<QPlainTextEdit>(&d, "Mo_13")->setPlainText("公报");
     }},
    {"TFpage4", "btn_page04", "成果名称：成果甲", "btnSave01", "quit01", "Edt_39", "kjcg",
     "item_39", "Edt_420", "123456789", "Edt_420",
     [](QDialog& d) {
         setText(d, "Edt_9", "第一单位");
         setText(d, "Edt_37", "北京市海淀区中关村");
         setText(d, "Edt_38", "100080");
         choose(control<QComboBox>(&d, "cb_62"), "1");
         choose(control<QComboBox>(&d, "cb_64"), "11");
         setText(d, "Edt_41", "张三");
         setText(d, "Edt_41_2", "010-1");
     }},
    {"TFpage3", "btn_page03", "成果名称：成果甲", "btnSave01", "quit01", "Edt_127", "kjcg",
     "item_127", "edt_34_m", "13", "edt_34_m",
     [](QDialog& d) {
         choose(control<QComboBox>(&d, "cb_21"), "1");
         control<QCheckBox>(&d, "cb_126_03")->setChecked(true);
     }},
    {"TFpage4a", "Button2", "单位情况", "btnSave01", "quit01", "Edt_60", "unit", "item_60",
     "Edt_38", "31000x", "Edt_38",
     [](QDialog& d) {
         setText(d, "edt_9", "中国农业科学院茶叶研究所");
         setText(d, "Edt_37", "浙江省杭州市西湖区梅灵南路9号");
         setText(d, "Edt_38", "310008");
         setText(d, "Edt_39", "0571-86650000");
         setText(d, "Edt_40", "0571-86650001");
         control<QPlainTextEdit>(&d, "Memo3")->setPlainText(QString(50, QChar(0x8336)));
         setText(d, "Edt_41", "科研管理处");
         setText(d, "Edt_41_2", "0571-86650002");
     }},
    {"TFpage2", "btn_page02", "成果名称：成果甲", "btnSave01", "quit01", "Edt_53", "kjcg",
     "item_53", "edt_51_2", "", "Button1",
     [](QDialog& d) {
         ::click(&d, "cb_51_3");
         choose(control<QComboBox>(&d, "CB_32"), "1");
         ::click(&d, "cb_161_1");
     }},
};

// Pages whose failing check is not brought about by a text box: what makes a check fail.
const std::map<std::string, std::function<void(QDialog&)>> kSpoilers = {
    {"TFpage2", [](QDialog& d) { ::click(&d, "cb_51_1"); }}, // patents without any patent
};

class RecordPageContract : public WindowFixture,
                           public ::testing::WithParamInterface<PageContract> {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        addRecord("2024000001", "1", "成果甲");
        start(true);
    }
    std::string stored() {
        const PageContract& p = GetParam();
        auto c = db().query(std::string("select * from ") + p.table);
        return c.ok() && !(*c)->isEmpty() ? (*c)->text(p.field) : std::string("<none>");
    }
};

TEST_P(RecordPageContract, SavedValuesShowAgainOnReopening) {
    const PageContract& p = GetParam();
    openSection(p.button, [&](QDialog& d) {
        EXPECT_EQ(d.objectName(), p.page);
        p.fillRequired(d);
        setText(d, p.box, "五六七八");
        ::click(&d, p.saveButton);
        ::click(&d, p.quitButton);
    });
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_TRUE(prompter.texts().contains("储存成功！"))
        << prompter.texts().join("|").toStdString();
    EXPECT_EQ(stored(), "五六七八");
    QString shown;
    openSection(p.button, [&](QDialog& d) {
        shown = control<QLineEdit>(&d, p.box)->text();
        EXPECT_EQ(d.windowTitle(), p.caption);
        ::click(&d, p.quitButton);
    });
    EXPECT_EQ(shown, "五六七八");
    EXPECT_FALSE(lastLeftOpen()); // nothing changed: 退出 closes without asking
    EXPECT_FALSE(prompter.texts().contains("记录已经更改,是否保存？"));

    // The history gets exactly the one field a save changes, with its values before and after.
    const auto before = xb::store::readHistory(db().directory(), "");
    ASSERT_TRUE(before.ok()) << before.message();
    openSection(p.button, [&](QDialog& d) {
        setText(d, p.box, "九十");
        ::click(&d, p.saveButton);
        ::click(&d, p.quitButton);
    });
    const auto after = xb::store::readHistory(db().directory(), "");
    ASSERT_TRUE(after.ok()) << after.message();
    ASSERT_EQ(after->size(), before->size() + 1);
    const xb::store::HistoryEntry& line = after->front();
    EXPECT_EQ(line.operation, "储存");
    EXPECT_EQ(line.change.table + "." + line.change.field, std::string(p.table) + "." + p.field);
    EXPECT_EQ(line.change.before, "五六七八");
    EXPECT_EQ(line.change.after, "九十");
    EXPECT_EQ(line.change.number, std::string(p.table) == "kjcg" ? "2024000001" : "");
}

TEST_P(RecordPageContract, AChangeMakesQuitAsk) {
    const PageContract& p = GetParam();
    prompter.queueAnswer(xb::ui::Answer::No);
    openSection(p.button, [&](QDialog& d) {
        p.fillRequired(d);
        setText(d, p.box, "改过");
        ::click(&d, p.quitButton);
    });
    EXPECT_TRUE(prompter.texts().contains("记录已经更改,是否保存？"));
    EXPECT_EQ(prompter.pendingAnswers(), 0);
    EXPECT_FALSE(lastLeftOpen());
    EXPECT_EQ(stored(), ""); // answered No: nothing written
}

TEST_P(RecordPageContract, AFailedCheckMovesFocusAndWritesNothing) {
    const PageContract& p = GetParam();
    QString focus;
    openSection(p.button, [&](QDialog& d) {
        p.fillRequired(d);
        setText(d, p.box, "不该写入");
        if (const auto spoiler = kSpoilers.find(p.page); spoiler != kSpoilers.end())
            spoiler->second(d);
        else
            setText(d, p.badBox, p.badValue);
        ::click(&d, p.saveButton);
        focus = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        setText(d, p.box, "");
        setText(d, p.badBox, "");
    });
    EXPECT_EQ(focus, p.focus);
    EXPECT_FALSE(prompter.texts().contains("储存成功！"));
    EXPECT_EQ(stored(), "");
    EXPECT_FALSE(main->recordList()->editing());
}

TEST_P(RecordPageContract, EscapeDoesNotClose) {
    const PageContract& p = GetParam();
    bool visibleAfterEscape = false;
    openSection(p.button, [&](QDialog& d) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&d, &escape);
        d.close(); // the window manager's close box
        visibleAfterEscape = d.isVisible();
    });
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_TRUE(lastLeftOpen());
}

// Space on a focused 退出 would close the page: every opening starts in the page's first field,
// also after the last one ended on a button.
TEST_P(RecordPageContract, EveryOpeningStartsInTheFirstField) {
    const PageContract& p = GetParam();
    QWidget* first = nullptr;
    openSection(p.button, [&](QDialog& d) {
        first = d.focusWidget();
        control<QWidget>(&d, p.quitButton)->setFocus();
        ::click(&d, p.quitButton);
    });
    QWidget* again = nullptr;
    openSection(p.button, [&](QDialog& d) {
        again = d.focusWidget();
        ::click(&d, p.quitButton);
    });
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(qobject_cast<QPushButton*>(first)) << first->objectName().toStdString();
    EXPECT_EQ(again, first) << (again ? again->objectName().toStdString() : "none");
}

INSTANTIATE_TEST_SUITE_P(Pages, RecordPageContract, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.page); });

} // namespace
