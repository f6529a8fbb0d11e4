#include "support/qt_printing.h"
#include "ui/scripted_modal.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace Qt::StringLiterals;

// A page like the application's: a caption set when shown, a text box, a button that saves and
// closes, and optionally no way out by the title bar.
class SamplePage : public QDialog {
    Q_OBJECT

  public:
    explicit SamplePage(const QString& name) {
        setObjectName(name);
        edit->setObjectName(u"edt_3"_s);
        save->setObjectName(u"btnSave01"_s);
        connect(save, &QPushButton::clicked, this, [this] {
            saved = edit->text();
            accept();
        });
    }

    QLineEdit* edit = new QLineEdit(this);
    QPushButton* save = new QPushButton(u"储存"_s, this);
    QString saved;
    int shows = 0;
    bool refuseClose = false;

  protected:
    void showEvent(QShowEvent* event) override {
        ++shows;
        setWindowTitle(u"成果名称："_s + objectName());
        QDialog::showEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose)
            event->ignore();
        else
            QDialog::closeEvent(event);
    }
};

// The queued action meets the dialog shown and modal, its show handler run; what it does decides
// the result; the request is recorded as the user saw it.
TEST(ScriptedModal, QueuedActionDrivesTheShownDialog) {
    xb::ui::ScriptedModal modal;
    SamplePage page(u"TFpage1"_s);
    bool sawItModal = false;
    modal.queue([&](QDialog& dialog) {
        sawItModal = dialog.isVisible() && dialog.windowModality() == Qt::ApplicationModal;
        QTest::keyClicks(dialog.findChild<QLineEdit*>(u"edt_3"_s), u"2005"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"btnSave01"_s), Qt::LeftButton);
    });

    EXPECT_EQ(xb::ui::showModal(page), int(QDialog::Accepted));
    EXPECT_TRUE(sawItModal);
    EXPECT_EQ(page.saved, u"2005"_s);
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(page.windowModality(), Qt::NonModal);
    EXPECT_EQ(modal.pendingActions(), 0);
    ASSERT_EQ(modal.requests().size(), 1);
    const ModalRequest& request = modal.requests().first();
    EXPECT_EQ(request.objectName, u"TFpage1"_s);
    EXPECT_EQ(request.className, u"SamplePage"_s);
    EXPECT_EQ(request.caption, u"成果名称：TFpage1"_s);
    EXPECT_TRUE(request.scripted && !request.leftOpen);
    EXPECT_EQ(request.result, int(QDialog::Accepted));
}

// A dialog opened from within an action takes the next action; requests are listed in the order
// the dialogs opened, each with its own result.
TEST(ScriptedModal, NestedDialogsTakeTheNextActionsInOrder) {
    xb::ui::ScriptedModal modal;
    SamplePage outer(u"TFpage8"_s);
    SamplePage inner(u"TFcompleter"_s);
    int innerResult = -1;
    modal.queue([&](QDialog&) {
        innerResult = xb::ui::showModal(inner);
        outer.reject();
    });
    modal.queue([](QDialog& dialog) { dialog.done(7); });

    EXPECT_EQ(xb::ui::showModal(outer), int(QDialog::Rejected));
    EXPECT_EQ(innerResult, 7);
    ASSERT_EQ(modal.requests().size(), 2);
    EXPECT_EQ(modal.requests()[0].objectName, u"TFpage8"_s);
    EXPECT_EQ(modal.requests()[1].objectName, u"TFcompleter"_s);
    EXPECT_EQ(modal.requests()[1].result, 7);
}

// Without an action, or when the action leaves the dialog open (a page refusing to close), the
// dialog is still closed as rejected and the request says so. A reused dialog starts from a fresh
// result and runs its show handler again.
TEST(ScriptedModal, DialogsLeftOpenAreClosedAsRejected) {
    xb::ui::ScriptedModal modal;
    SamplePage page(u"TFpage3"_s);
    page.setResult(QDialog::Accepted);
    EXPECT_EQ(xb::ui::showModal(page), int(QDialog::Rejected));

    page.refuseClose = true;
    bool stayedOpen = false;
    modal.queue([&](QDialog& dialog) {
        dialog.close();
        stayedOpen = dialog.isVisible();
    });
    EXPECT_EQ(xb::ui::showModal(page), int(QDialog::Rejected));
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(page.shows, 2);
    ASSERT_EQ(modal.requests().size(), 2);
    EXPECT_TRUE(!modal.requests()[0].scripted && modal.requests()[0].leftOpen);
    EXPECT_TRUE(modal.requests()[1].scripted && modal.requests()[1].leftOpen);
}

#include "modal_test.moc"
