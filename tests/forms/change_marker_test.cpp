#include "forms/change_marker.h"
#include "ui/text_limits.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace xb::forms;
using namespace Qt::StringLiterals;

namespace {

// Types text key by key, as keyClicks() does for Latin-1 only.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class PageStateTest : public QObject {
    Q_OBJECT

  private slots:
    // Filling does not mark the page; an edit by the user or by a picker does, until cleared.
    void markerFollowsEditsNotFilling() {
        QLineEdit box;
        QComboBox list;
        list.addItems({u"01  电子信息"_s, u"02  软件"_s});
        xb::forms::ChangeMarker marker;
        marker.watch(&box);
        marker.watch(&list);
        {
            xb::forms::ChangeMarker::Filling filling(marker);
            box.setText(u"0101  计算机及网络技术"_s);
            list.setCurrentIndex(1);
        }
        QVERIFY(!marker.isSet());
        QTest::keyClicks(&box, u"x"_s);
        QVERIFY(marker.isSet());
        marker.clear();
        box.setText(u"0102  通信技术"_s);
        QVERIFY(marker.isSet());
        marker.clear();
        list.setCurrentIndex(0);
        QVERIFY(marker.isSet());
    }

    // Limits count GBK bytes: a Chinese character takes two.
    void textLimitsCountGbkBytes() {
        QLineEdit name;
        xb::ui::limitToGbkBytes(&name, 6);
        name.show();
        type(&name, u"张三丰李"_s);
        QCOMPARE(name.text(), u"张三丰"_s);
        name.clear();
        type(&name, u"ab张三cd"_s);
        QCOMPARE(name.text(), u"ab张三"_s);
    }
};

int runChangeMarkerTests(int argc, char** argv) {
    PageStateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "change_marker_test.moc"
