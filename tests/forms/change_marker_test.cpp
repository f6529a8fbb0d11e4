#include "forms/change_marker.h"
#include "support/window_driver.h"
#include "ui/text_limits.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <gtest/gtest.h>

using namespace xb::forms;
using namespace Qt::StringLiterals;

// Filling does not mark the page; an edit by the user or by a picker does, until cleared.
TEST(ChangeMarker, FollowsEditsNotFilling) {
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
    EXPECT_FALSE(marker.isSet());
    QTest::keyClicks(&box, u"x"_s);
    EXPECT_TRUE(marker.isSet());
    marker.clear();
    box.setText(u"0102  通信技术"_s);
    EXPECT_TRUE(marker.isSet());
    marker.clear();
    list.setCurrentIndex(0);
    EXPECT_TRUE(marker.isSet());
}

// Limits count GBK bytes: a Chinese character takes two.
TEST(TextLimits, CountGbkBytes) {
    QLineEdit name;
    xb::ui::limitToGbkBytes(&name, 6);
    name.show();
    type(&name, u"张三丰李"_s);
    EXPECT_EQ(name.text(), u"张三丰"_s);
    name.clear();
    type(&name, u"ab张三cd"_s);
    EXPECT_EQ(name.text(), u"ab张三"_s);
}
