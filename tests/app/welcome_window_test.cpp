#include "app/welcome_window.h"
#include "ui/modal.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace xb::app;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class WelcomeWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        // A picture much smaller than the window, red on the left and blue on the right, so
        // that the window shows whether it was stretched over the whole client area.
        QImage picture(80, 60, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(0, 0, 40, 60, Qt::red);
        painter.fillRect(40, 0, 40, 60, Qt::blue);
        painter.end();
        QVERIFY(picture.save(picturePath(), "JPG"));
    }

    void pictureFillsTheClientArea() {
        WelcomeWindow window(picturePath());
        window.setCloseDelay(1h);
        window.show();
        QVERIFY(window.hasPicture());
        QCOMPARE(window.windowTitle(), u"国家XunbaoQelo〔V6.0〕"_s);
        QCOMPARE(window.size(), QSize(807, 600));
        QVERIFY(window.findChildren<QAbstractButton*>().isEmpty());

        const QImage shown = window.grab().toImage();
        QCOMPARE(shown.size(), QSize(807, 600));
        for (QPoint left : {QPoint(2, 2), QPoint(2, 597), QPoint(380, 300)})
            QCOMPARE(dominantColour(shown.pixelColor(left)), 'r');
        for (QPoint right : {QPoint(804, 2), QPoint(804, 597), QPoint(430, 300)})
            QCOMPARE(dominantColour(shown.pixelColor(right)), 'b');
    }

    // A missing or unreadable picture still gives the window, with its title as content.
    void withoutPictureTheTitleIsShown() {
        QFile broken(folder.filePath(u"broken.jpg"_s));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
        broken.close();

        for (const QString& path : {folder.filePath(u"missing.jpg"_s), broken.fileName()}) {
            WelcomeWindow window(path);
            QVERIFY(!window.hasPicture());
            QCOMPARE(window.size(), QSize(807, 600));
            auto* label = window.findChild<QLabel*>();
            QVERIFY(label);
            QCOMPARE(label->text(), u"国家XunbaoQelo〔V6.0〕"_s);
        }
    }

    // Shown modally, as at start, the window closes itself once its delay is over, and again
    // each time it is shown.
    void closesItselfAfterItsDelayEachTimeItIsShown() {
        WelcomeWindow window(picturePath());
        QCOMPARE(window.closeDelay(), 5000ms);
        window.setCloseDelay(150ms);
        for (int showing = 0; showing < 2; ++showing) {
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(xb::ui::showModal(window), int(QDialog::Accepted));
            QVERIFY(clock.elapsed() >= 150);
            QVERIFY(!window.isVisible());
        }
    }

    // Closed early, the window leaves no timer behind that would close it again.
    void closedEarlyItStaysClosed() {
        WelcomeWindow window(picturePath());
        window.setCloseDelay(100ms);
        QSignalSpy finished(&window, &QDialog::finished);
        window.show();
        window.reject();
        QTest::qWait(300);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
    }

  private:
    QString picturePath() const { return folder.filePath(u"welcome.jpg"_s); }

    // 'r', 'g' or 'b' when that channel stands out clearly (JPEG blurs colours a little),
    // '-' for grey, white or mixed.
    static char dominantColour(const QColor& colour) {
        const int r = colour.red(), g = colour.green(), b = colour.blue();
        if (r > g + 100 && r > b + 100) return 'r';
        if (g > r + 100 && g > b + 100) return 'g';
        if (b > r + 100 && b > g + 100) return 'b';
        return '-';
    }

    QTemporaryDir folder;
};

int runWelcomeWindowTests(int argc, char** argv) {
    WelcomeWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "welcome_window_test.moc"
