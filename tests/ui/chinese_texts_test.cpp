// What Qt itself shows (the context menu of a text box, the file dialogs, message boxes) reads
// Chinese and fits; a pasted text is cut at the box's byte width.
#include "ui/dialog_prompter.h"
#include "ui/qt_translations.h"
#include "ui/text_limits.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace xb::ui;
using namespace Qt::StringLiterals;

class ChineseTextsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(installQtChineseTranslation()); }

    void contextMenuOfATextBoxIsChinese() {
        QLineEdit box(u"文字"_s);
        const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts << action->text();
        const QString all = texts.join(u'|');
        QVERIFY2(all.contains(u"复制"_s) && all.contains(u"粘贴"_s) && all.contains(u"撤消"_s),
                 qPrintable(all));
        QVERIFY2(!all.contains(u"Paste"_s) && !all.contains(u"Copy"_s), qPrintable(all));
    }

    // The dialogs the prompter opens for a package and for an export folder.
    void fileDialogsAreChinese() {
        const QString openTexts = textsOfDialogOpenedBy([] {
            DialogPrompter().chooseExistingFile({u"打开"_s, QDir::tempPath(), {}});
        });
        QVERIFY2(openTexts.contains(u"打开"_s) && openTexts.contains(u"取消"_s),
                 qPrintable(openTexts));
        QVERIFY2(openTexts.contains(u"查找范围"_s) && openTexts.contains(u"文件名称"_s),
                 qPrintable(openTexts));
        const QString folderTexts = textsOfDialogOpenedBy([] {
            DialogPrompter().chooseFolder({u"导出"_s, {}});
        });
        QVERIFY2(folderTexts.contains(u"取消"_s), qPrintable(folderTexts));
        for (const QString& english : {u"Cancel"_s, u"Look in"_s, u"Open"_s, u"Choose"_s})
            QVERIFY2(!openTexts.contains(english) && !folderTexts.contains(english),
                     qPrintable(openTexts + folderTexts));
    }

    // A short text under a long caption: the box is wide enough for the caption and the title
    // bar's buttons.
    void aMessageBoxIsAsWideAsItsCaption() {
        const QString caption = u"成果名称：全国农业科技成果登记管理系统"_s;
        const auto box =
            buildMessageBox({caption, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok});
        box->show();
        const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(caption);
        QVERIFY2(box->width() >= captionWidth + 100,
                 qPrintable(u"%1 < %2"_s.arg(box->width()).arg(captionWidth + 100)));
        box->hide();
    }

    // Typing stops at the width; a paste is cut there at a whole character, not refused.
    void aPastedTextIsCutAtTheByteWidth() {
        QLineEdit box;
        limitToGbkBytes(&box, 7);
        QApplication::clipboard()->setText(u"中国农业科学"_s);
        QCOMPARE(QApplication::clipboard()->text(), u"中国农业科学"_s);
        box.paste();
        QCOMPARE(box.text(), u"中国农"_s); // 6 bytes; the fourth character would need 8
        box.setText(u"ab"_s);
        QApplication::clipboard()->setText(u"中国人"_s);
        box.paste();
        QCOMPARE(box.text(), u"ab中国"_s);
        box.paste();
        QCOMPARE(box.text(), u"ab中国"_s); // one byte left: no character of the paste fits
        box.setCursorPosition(0);
        QApplication::clipboard()->setText(u"xyz"_s);
        box.paste();
        QCOMPARE(box.text(), u"xab中国"_s); // cut where it is inserted, the rest kept
    }

  private:
    // Opens a dialog through `open`, reads every button and label text of it, and cancels it.
    static QString textsOfDialogOpenedBy(const std::function<void()>& open) {
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            for (const QPushButton* button : dialog->findChildren<QPushButton*>())
                texts << button->text();
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                texts << label->text();
            dialog->reject();
        });
        open();
        return texts.join(u'|');
    }
};

int runChineseTextsTests(int argc, char** argv) {
    ChineseTextsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "chinese_texts_test.moc"
