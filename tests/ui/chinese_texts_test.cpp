// What Qt itself shows (the context menu of a text box, the file dialogs, message boxes) reads
// Chinese and fits; a pasted text is cut at the box's byte width.
#include "support/qt_printing.h"
#include "ui/dialog_prompter.h"
#include "ui/qt_translations.h"
#include "ui/text_limits.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace Qt::StringLiterals;

namespace {

class ChineseTexts : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { installed = installQtChineseTranslation(); }
    void SetUp() override { ASSERT_TRUE(installed); }
    static inline bool installed = false;
};

// Opens a dialog through `open`, reads every button and label text of it, and cancels it.
QString textsOfDialogOpenedBy(const std::function<void()>& open) {
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

} // namespace

TEST_F(ChineseTexts, ContextMenuOfATextBoxIsChinese) {
    QLineEdit box(u"文字"_s);
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    const QString all = texts.join(u'|');
    EXPECT_TRUE(all.contains(u"复制"_s) && all.contains(u"粘贴"_s) && all.contains(u"撤消"_s))
        << all.toStdString();
    EXPECT_TRUE(!all.contains(u"Paste"_s) && !all.contains(u"Copy"_s)) << all.toStdString();
}

// The dialogs the prompter opens for a package and for an export folder.
TEST_F(ChineseTexts, FileDialogsAreChinese) {
    const QString openTexts = textsOfDialogOpenedBy([] {
        DialogPrompter().chooseExistingFile({u"打开"_s, QDir::tempPath(), {}});
    });
    EXPECT_TRUE(openTexts.contains(u"打开"_s) && openTexts.contains(u"取消"_s))
        << openTexts.toStdString();
    EXPECT_TRUE(openTexts.contains(u"查找范围"_s) && openTexts.contains(u"文件名称"_s))
        << openTexts.toStdString();
    const QString folderTexts = textsOfDialogOpenedBy([] {
        DialogPrompter().chooseFolder({u"导出"_s, {}});
    });
    EXPECT_TRUE(folderTexts.contains(u"取消"_s)) << folderTexts.toStdString();
    for (const QString& english : {u"Cancel"_s, u"Look in"_s, u"Open"_s, u"Choose"_s})
        EXPECT_TRUE(!openTexts.contains(english) && !folderTexts.contains(english))
            << (openTexts + folderTexts).toStdString();
}

// A short text under a long caption: the box is wide enough for the caption and the title bar's
// buttons.
TEST_F(ChineseTexts, AMessageBoxIsAsWideAsItsCaption) {
    const QString caption = u"成果名称：全国农业科技成果登记管理系统"_s;
    const auto box = buildMessageBox({caption, u"储存成功！"_s, MessageIcon::Warning, Buttons::Ok});
    box->show();
    const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(caption);
    EXPECT_GE(box->width(), captionWidth + 100);
    box->hide();
}

// Typing stops at the width; a paste is cut there at a whole character, not refused.
TEST_F(ChineseTexts, APastedTextIsCutAtTheByteWidth) {
    QLineEdit box;
    limitToGbkBytes(&box, 7);
    QApplication::clipboard()->setText(u"中国农业科学"_s);
    ASSERT_EQ(QApplication::clipboard()->text(), u"中国农业科学"_s);
    box.paste();
    EXPECT_EQ(box.text(), u"中国农"_s); // 6 bytes; the fourth character would need 8
    box.setText(u"ab"_s);
    QApplication::clipboard()->setText(u"中国人"_s);
    box.paste();
    EXPECT_EQ(box.text(), u"ab中国"_s);
    box.paste();
    EXPECT_EQ(box.text(), u"ab中国"_s); // one byte left: no character of the paste fits
    box.setCursorPosition(0);
    QApplication::clipboard()->setText(u"xyz"_s);
    box.paste();
    EXPECT_EQ(box.text(), u"xab中国"_s); // cut where it is inserted, the rest kept
}
