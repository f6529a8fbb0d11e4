#include "ui/dialog_prompter.h"
#include "ui/scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace xb::ui;
using namespace Qt::StringLiterals;

class PrompterTest : public QObject {
    Q_OBJECT

  private slots:
    // Every message is recorded in order. OK-only boxes never take a queued answer, queued
    // answers are read by their sense, and an empty queue presses the affirmative button.
    void scriptedMessagesAreRecordedAndAnswered() {
        xb::ui::ScriptedPrompter prompts;
        prompts.queueAnswer(Answer::No);
        prompts.queueAnswer(Answer::Yes);
        prompts.queueAnswer(Answer::Cancel);

        prompter().warn(u"储存成功！"_s);
        QVERIFY(!prompter().confirm(u"请注意！"_s, u"记录已经更改,是否保存？"_s));
        QVERIFY(prompter().confirmOkCancel(u"提示信息"_s, u"退出并储存？"_s));
        QCOMPARE(prompter().ask({u"提示信息"_s, u"是否删除该项目？!"_s, MessageIcon::Information,
                                 Buttons::YesNo}),
                 Answer::No);
        QCOMPARE(prompts.pendingAnswers(), 0);
        QVERIFY(prompter().confirm(u"提示信息"_s, u"是否全部选择？"_s));
        prompter().showError(xb::store::Error{"字段 ITEM_999 不存在"});

        const QList<Message> expected{
            {u"Xunbao"_s, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok},
            {u"请注意！"_s, u"记录已经更改,是否保存？"_s, MessageIcon::Question, Buttons::YesNo},
            {u"提示信息"_s, u"退出并储存？"_s, MessageIcon::Information, Buttons::OkCancel},
            {u"提示信息"_s, u"是否删除该项目？!"_s, MessageIcon::Information, Buttons::YesNo},
            {u"提示信息"_s, u"是否全部选择？"_s, MessageIcon::Question, Buttons::YesNo},
            {u"提示"_s, u"字段 ITEM_999 不存在"_s, MessageIcon::Critical, Buttons::Ok},
        };
        QCOMPARE(prompts.messages(), expected);
        QCOMPARE(prompts.answers(), (QList<Answer>{Answer::Ok, Answer::No, Answer::Ok, Answer::No,
                                                   Answer::Yes, Answer::Ok}));
    }

    // Queued paths come back in order and an empty queue cancels; a scripted prompter is
    // installed only while it lives, and puts back the one before it.
    void scriptedChoicesAndInstallation() {
        QVERIFY(dynamic_cast<DialogPrompter*>(&prompter()));
        {
            xb::ui::ScriptedPrompter prompts;
            prompts.queueFile(u"/pkg/DFJHXX.ARJ"_s);
            prompts.queueFolder(u"/export"_s);
            {
                xb::ui::ScriptedPrompter inner;
                QCOMPARE(&prompter(), &inner);
            }
            const FileQuestion file{u"打开"_s, u"/pkg"_s, u"ARJ (*.arj)"_s};
            QCOMPARE(prompter().chooseExistingFile(file), u"/pkg/DFJHXX.ARJ"_s);
            QCOMPARE(prompter().chooseExistingFile(file), QString());
            QCOMPARE(prompter().chooseFolder({u"导出"_s, {}}), u"/export"_s);
            QCOMPARE(prompter().chooseFolder({u"导出"_s, {}}), QString());
            QCOMPARE(prompts.fileQuestions(), (QList<FileQuestion>{file, file}));
            QCOMPARE(prompts.folderQuestions().size(), 2);
        }
        QVERIFY(dynamic_cast<DialogPrompter*>(&prompter()));
    }

    // The real boxes carry caption, icon and Chinese buttons, the affirmative one as default and
    // the negative one for Escape.
    void messageBoxesCarryCaptionIconAndChineseButtons() {
        const auto question = buildMessageBox(
            {u"提示信息"_s, u"是否删除?"_s, MessageIcon::Information, Buttons::YesNo});
        QCOMPARE(question->windowTitle(), u"提示信息"_s);
        QCOMPARE(question->text(), u"是否删除?"_s);
        QCOMPARE(question->icon(), QMessageBox::Information);
        QCOMPARE(buttonTexts(*question), QStringList({u"否"_s, u"是"_s}));
        QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));
        QCOMPARE(question->escapeButton(), question->button(QMessageBox::No));

        const auto okCancel =
            buildMessageBox({u"提示信息"_s, u"退出?"_s, MessageIcon::Question, Buttons::OkCancel});
        QCOMPARE(buttonTexts(*okCancel), QStringList({u"取消"_s, u"确定"_s}));
        QCOMPARE(okCancel->escapeButton(), okCancel->button(QMessageBox::Cancel));

        const auto warning =
            buildMessageBox({u"Xunbao"_s, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok});
        QCOMPARE(buttonTexts(*warning), QStringList{u"确定"_s});
        QCOMPARE(warning->icon(), QMessageBox::Warning);
    }

    // The program's prompter shows a real modal box and returns the button pressed in it.
    void dialogPrompterReturnsThePressedButton() {
        QString shownCaption;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownCaption = box->windowTitle();
            box->button(QMessageBox::No)->click();
        });
        QVERIFY(!DialogPrompter().confirm(u"请注意！"_s, u"记录已经更改,是否保存？"_s));
        QCOMPARE(shownCaption, u"请注意！"_s);
    }

  private:
    // Sorted, because the platform decides the order on screen.
    static QStringList buttonTexts(const QMessageBox& box) {
        QStringList texts;
        for (QAbstractButton* button : box.buttons())
            texts << button->text();
        texts.sort();
        return texts;
    }
};

int runPrompterTests(int argc, char** argv) {
    PrompterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "prompter_test.moc"
