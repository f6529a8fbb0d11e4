// Ctrl+V into every multi-line text of every window while the clipboard holds nothing usable:
// the boxes are found by walking the windows the program creates, so a box added later is
// covered without being named here.
#include "support/window_fixture.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// What an X11 clipboard hands over when its owner went away between listing its formats and
// giving the data: text is announced, none arrives.
class VanishingText : public QMimeData {
  public:
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }

  protected:
    QVariant retrieveData(const QString&, QMetaType) const override { return {}; }
};

QMimeData* imageOnly() {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    return data;
}

// Every multi-line text of every window, shown or not.
QList<QWidget*> multiLineTexts() {
    QList<QWidget*> boxes;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        for (QWidget* box : top->findChildren<QPlainTextEdit*>())
            if (!boxes.contains(box)) boxes << box;
        for (QWidget* box : top->findChildren<QTextEdit*>())
            if (!boxes.contains(box)) boxes << box;
    }
    return boxes;
}

QString textOf(QWidget* box) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->toPlainText();
    return qobject_cast<QTextEdit*>(box)->toPlainText();
}

void setTextOf(QWidget* box, const QString& text) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        plain->setPlainText(text);
        plain->moveCursor(QTextCursor::End);
    } else {
        auto* rich = qobject_cast<QTextEdit*>(box);
        rich->setPlainText(text);
        rich->moveCursor(QTextCursor::End);
    }
}

bool editable(QWidget* box) {
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return !plain->isReadOnly();
    return !qobject_cast<QTextEdit*>(box)->isReadOnly();
}

} // namespace

using EveryWindowPaste = WindowFixture;

TEST_F(EveryWindowPaste, NothingUsableOnTheClipboardPastesNothingAndTextPastesAsTyped) {
    addRecord("2024000001", "1", "水稻新品种");
    completeRecord("2024000001");
    start(true);
    const QList<QWidget*> boxes = multiLineTexts();
    QStringList editableNames;
    for (QWidget* box : boxes)
        if (editable(box)) editableNames << box->window()->objectName() + "/" + box->objectName();
    // The walk reaches the memos of the pages and of the profile's dialogs.
    EXPECT_TRUE(editableNames.contains("TFpage1/Mo_13_1")) << editableNames.join(' ').toStdString();
    EXPECT_TRUE(editableNames.contains("TFormstudy/Memo1"))
        << editableNames.join(' ').toStdString();

    const std::function<void()> unusable[] = {
        [] { QApplication::clipboard()->clear(); },
        [] { QApplication::clipboard()->setMimeData(new QMimeData); },
        [] { QApplication::clipboard()->setMimeData(imageOnly()); },
        [] { QApplication::clipboard()->setMimeData(new VanishingText); },
    };
    for (QWidget* box : boxes) {
        const std::string where =
            (box->window()->objectName() + "/" + box->objectName()).toStdString();
        QWidget* window = box->window();
        const bool wasShown = window->isVisible();
        window->show();
        box->setFocus();
        setTextOf(box, "已输入的概况");
        for (const auto& empty : unusable) {
            empty();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(textOf(box), "已输入的概况") << where;
        }
        QApplication::clipboard()->setText("甲\t乙");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(textOf(box), editable(box) ? "已输入的概况甲\t乙" : "已输入的概况") << where;
        if (!wasShown) window->hide();
    }
}
