#include "app/welcome_window.h"
#include "support/qt_printing.h"
#include "ui/modal.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <gtest/gtest.h>

using namespace xb::app;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

class WelcomeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // A picture much smaller than the window, red on the left and blue on the right, so
        // that the window shows whether it was stretched over the whole client area.
        QImage picture(80, 60, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 40, 60, Qt::red);
        painter.fillRect(40, 0, 40, 60, Qt::blue);
        painter.end();
        ASSERT_TRUE(picture.save(picturePath(), "JPG"));
    }

    QString picturePath() const { return folder.filePath(u"welcome.jpg"_s); }

    QTemporaryDir folder;
};

// 'r', 'g' or 'b' when that channel stands out clearly (JPEG blurs colours a little), '-' for
// grey, white or mixed.
char dominantColour(const QColor& colour) {
    const int r = colour.red(), g = colour.green(), b = colour.blue();
    if (r > g + 100 && r > b + 100) return 'r';
    if (g > r + 100 && g > b + 100) return 'g';
    if (b > r + 100 && b > g + 100) return 'b';
    return '-';
}

} // namespace

TEST_F(WelcomeWindowTest, PictureFillsTheClientArea) {
    WelcomeWindow window(picturePath());
    window.setCloseDelay(1h);
    window.show();
    EXPECT_TRUE(window.hasPicture());
    EXPECT_EQ(window.windowTitle(), u"国家XunbaoQelo〔V6.0〕"_s);
    EXPECT_EQ(window.size(), QSize(807, 600));
    EXPECT_TRUE(window.findChildren<QAbstractButton*>().isEmpty());

    const QImage shown = window.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(807, 600));
    for (QPoint left : {QPoint(2, 2), QPoint(2, 597), QPoint(380, 300)})
        EXPECT_EQ(dominantColour(shown.pixelColor(left)), 'r');
    for (QPoint right : {QPoint(804, 2), QPoint(804, 597), QPoint(430, 300)})
        EXPECT_EQ(dominantColour(shown.pixelColor(right)), 'b');
}

// A missing or unreadable picture still gives the window, with its title as content.
TEST_F(WelcomeWindowTest, WithoutPictureTheTitleIsShown) {
    QFile broken(folder.filePath(u"broken.jpg"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();

    for (const QString& path : {folder.filePath(u"missing.jpg"_s), broken.fileName()}) {
        WelcomeWindow window(path);
        EXPECT_FALSE(window.hasPicture());
        EXPECT_EQ(window.size(), QSize(807, 600));
        auto* label = window.findChild<QLabel*>();
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), u"国家XunbaoQelo〔V6.0〕"_s);
    }
}

// Shown modally, as at start, the window closes itself once its delay is over, and again each
// time it is shown.
TEST_F(WelcomeWindowTest, ClosesItselfAfterItsDelayEachTimeItIsShown) {
    WelcomeWindow window(picturePath());
    EXPECT_EQ(window.closeDelay(), 5000ms);
    window.setCloseDelay(150ms);
    for (int showing = 0; showing < 2; ++showing) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(xb::ui::showModal(window), int(QDialog::Accepted));
        EXPECT_GE(clock.elapsed(), 150);
        EXPECT_FALSE(window.isVisible());
    }
}

// Closed early, the window leaves no timer behind that would close it again.
TEST_F(WelcomeWindowTest, ClosedEarlyItStaysClosed) {
    WelcomeWindow window(picturePath());
    window.setCloseDelay(100ms);
    QSignalSpy finished(&window, &QDialog::finished);
    window.show();
    window.reject();
    QTest::qWait(300);
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toInt(), int(QDialog::Rejected));
}
