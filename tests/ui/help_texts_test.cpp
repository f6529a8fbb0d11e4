// Every help window holds the numbered paragraphs its page names, in order, each one written out.
#include "support/qt_printing.h"
#include "ui/help_texts.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

using namespace xb::ui;
using namespace Qt::StringLiterals;

TEST(HelpTexts, WindowsHoldTheirNumberedParagraphs) {
    const QList<std::pair<QString, QStringList>> windows{
        {u"THelpPjzs"_s,
         {u"证书号"_s, u"评价日期"_s, u"推广应用前景"_s, u"主要技术文件目录及来源"_s,
          u"评价委员会专家测试报告"_s, u"评价意见"_s}},
        {u"THelpWcdw"_s,
         {u"单位名称"_s, u"组织机构代码"_s, u"详细通讯地址"_s, u"邮政编码"_s, u"电话"_s, u"传真"_s,
          u"单位网址"_s, u"单位属性"_s, u"单位所在省市"_s, u"隶属关系"_s, u"联系人"_s,
          u"联系人电话"_s, u"电子信箱"_s, u"成果转让联系人"_s}},
        {u"THelpHzdw"_s,
         {u"序号"_s, u"单位名称"_s, u"详细通讯地址"_s, u"邮政编码"_s, u"联系人"_s,
          u"联系人电话"_s}},
        {u"THelpPjwy"_s,
         {u"评价委员会职务"_s, u"工作单位"_s, u"所学专业"_s, u"从事专业"_s, u"职称"_s}},
        {u"THelpWcr"_s, {u"序号"_s}},
    };
    for (const auto& [window, headings] : windows) {
        SCOPED_TRACE(window.toStdString());
        const auto help = helpText(window);
        ASSERT_TRUE(help);
        qsizetype at = 0;
        for (qsizetype i = 0; i < headings.size(); ++i) {
            // "N. 名称：", "N.名称：" or "N、名称：" at the start of a line, with something said.
            const QRegularExpression heading(
                u"^%1\\s*[.、．]\\s*%2\\s*[：:]\\s*\\S"_s.arg(i + 1).arg(headings[i]),
                QRegularExpression::MultilineOption);
            const auto match = heading.match(help->text, at);
            ASSERT_TRUE(match.hasMatch()) << headings[i].toStdString();
            at = match.capturedEnd();
        }
        EXPECT_FALSE(QRegularExpression(u"^%1\\s*[.、．]"_s.arg(headings.size() + 1),
                                        QRegularExpression::MultilineOption)
                         .match(help->text)
                         .hasMatch());
    }
}

TEST(HelpTexts, OrganizationAttributesAreDefined) {
    const auto help = helpText(u"THelpWcdw"_s);
    ASSERT_TRUE(help);
    for (const QString& kind : {u"独立科研机构："_s, u"大专院校："_s, u"医疗机构："_s, u"企业："_s,
                                u"科研机构转制型企业："_s, u"其他："_s})
        EXPECT_TRUE(help->text.contains(kind)) << kind.toStdString();
    for (const QString& contact : {u"成果转让联系人电话"_s, u"成果转让联系人电子信箱"_s})
        EXPECT_TRUE(help->text.contains(contact)) << contact.toStdString();
}
