#include "support/qt_printing.h"
#include "ui/dialog_prompter.h"
#include "ui/scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace Qt::StringLiterals;

namespace {

// Sorted, because the platform decides the order on screen.
QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

// Every message is recorded in order. OK-only boxes never take a queued answer, queued answers are
// read by their sense, and an empty queue presses the affirmative button.
TEST(Prompter, ScriptedMessagesAreRecordedAndAnswered) {
    xb::ui::ScriptedPrompter prompts;
    prompts.queueAnswer(Answer::No);
    prompts.queueAnswer(Answer::Yes);
    prompts.queueAnswer(Answer::Cancel);

    prompter().warn(u"储存成功！"_s);
    EXPECT_FALSE(prompter().confirm(u"请注意！"_s, u"记录已经更改,是否保存？"_s));
    EXPECT_TRUE(prompter().confirmOkCancel(u"提示信息"_s, u"退出并储存？"_s));
    EXPECT_EQ(prompter().ask({u"提示信息"_s, u"是否删除该项目？!"_s, MessageIcon::Information,
                              Buttons::YesNo}),
              Answer::No);
    EXPECT_EQ(prompts.pendingAnswers(), 0);
    EXPECT_TRUE(prompter().confirm(u"提示信息"_s, u"是否全部选择？"_s));
    prompter().showError(xb::store::Error{"字段 ITEM_999 不存在"});

    const QList<Message> expected{
        {u"Xunbao"_s, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok},
        {u"请注意！"_s, u"记录已经更改,是否保存？"_s, MessageIcon::Question, Buttons::YesNo},
        {u"提示信息"_s, u"退出并储存？"_s, MessageIcon::Information, Buttons::OkCancel},
        {u"提示信息"_s, u"是否删除该项目？!"_s, MessageIcon::Information, Buttons::YesNo},
        {u"提示信息"_s, u"是否全部选择？"_s, MessageIcon::Question, Buttons::YesNo},
        {u"提示"_s, u"字段 ITEM_999 不存在"_s, MessageIcon::Critical, Buttons::Ok},
    };
    EXPECT_EQ(prompts.messages(), expected);
    EXPECT_EQ(prompts.answers(), (QList<Answer>{Answer::Ok, Answer::No, Answer::Ok, Answer::No,
                                                Answer::Yes, Answer::Ok}));
}

// Queued paths come back in order and an empty queue cancels; a scripted prompter is installed
// only while it lives, and puts back the one before it.
TEST(Prompter, ScriptedChoicesAndInstallation) {
    EXPECT_TRUE(dynamic_cast<DialogPrompter*>(&prompter()));
    {
        xb::ui::ScriptedPrompter prompts;
        prompts.queueFile(u"/pkg/DFJHXX.ARJ"_s);
        prompts.queueFolder(u"/export"_s);
        {
            xb::ui::ScriptedPrompter inner;
            EXPECT_EQ(&prompter(), &inner);
        }
        const FileQuestion file{u"打开"_s, u"/pkg"_s, u"ARJ (*.arj)"_s};
        EXPECT_EQ(prompter().chooseExistingFile(file), u"/pkg/DFJHXX.ARJ"_s);
        EXPECT_EQ(prompter().chooseExistingFile(file), QString());
        EXPECT_EQ(prompter().chooseFolder({u"导出"_s, {}}), u"/export"_s);
        EXPECT_EQ(prompter().chooseFolder({u"导出"_s, {}}), QString());
        EXPECT_EQ(prompts.fileQuestions(), (QList<FileQuestion>{file, file}));
        EXPECT_EQ(prompts.folderQuestions().size(), 2);
    }
    EXPECT_TRUE(dynamic_cast<DialogPrompter*>(&prompter()));
}

// The real boxes carry caption, icon and Chinese buttons, the affirmative one as default and the
// negative one for Escape.
TEST(Prompter, MessageBoxesCarryCaptionIconAndChineseButtons) {
    const auto question =
        buildMessageBox({u"提示信息"_s, u"是否删除?"_s, MessageIcon::Information, Buttons::YesNo});
    EXPECT_EQ(question->windowTitle(), u"提示信息"_s);
    EXPECT_EQ(question->text(), u"是否删除?"_s);
    EXPECT_EQ(question->icon(), QMessageBox::Information);
    EXPECT_EQ(buttonTexts(*question), QStringList({u"否"_s, u"是"_s}));
    EXPECT_EQ(question->defaultButton(), question->button(QMessageBox::Yes));
    EXPECT_EQ(question->escapeButton(), question->button(QMessageBox::No));

    const auto okCancel =
        buildMessageBox({u"提示信息"_s, u"退出?"_s, MessageIcon::Question, Buttons::OkCancel});
    EXPECT_EQ(buttonTexts(*okCancel), QStringList({u"取消"_s, u"确定"_s}));
    EXPECT_EQ(okCancel->escapeButton(), okCancel->button(QMessageBox::Cancel));

    const auto warning =
        buildMessageBox({u"Xunbao"_s, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok});
    EXPECT_EQ(buttonTexts(*warning), QStringList{u"确定"_s});
    EXPECT_EQ(warning->icon(), QMessageBox::Warning);
}

// The program's prompter shows a real modal box and returns the button pressed in it.
TEST(Prompter, DialogPrompterReturnsThePressedButton) {
    QString shownCaption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        shownCaption = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(DialogPrompter().confirm(u"请注意！"_s, u"记录已经更改,是否保存？"_s));
    EXPECT_EQ(shownCaption, u"请注意！"_s);
}
