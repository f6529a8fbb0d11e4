// Every help window holds the numbered paragraphs its page names, in order, each one written out.
#include "ui/help_texts.h"

#include <QRegularExpression>
#include <QtTest>

using namespace xb::ui;
using namespace Qt::StringLiterals;

class HelpTextsTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsHoldTheirNumberedParagraphs_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("evaluation certificate") << u"THelpPjzs"_s
                                                << QStringList{u"证书号"_s,
                                                               u"评价日期"_s,
                                                               u"推广应用前景"_s,
                                                               u"主要技术文件目录及来源"_s,
                                                               u"评价委员会专家测试报告"_s,
                                                               u"评价意见"_s};
        QTest::newRow("first organization")
            << u"THelpWcdw"_s << QStringList{u"单位名称"_s, u"组织机构代码"_s,  u"详细通讯地址"_s,
                                             u"邮政编码"_s, u"电话"_s,          u"传真"_s,
                                             u"单位网址"_s, u"单位属性"_s,      u"单位所在省市"_s,
                                             u"隶属关系"_s, u"联系人"_s,        u"联系人电话"_s,
                                             u"电子信箱"_s, u"成果转让联系人"_s};
        QTest::newRow("cooperating organizations")
            << u"THelpHzdw"_s << QStringList{u"序号"_s,     u"单位名称"_s, u"详细通讯地址"_s,
                                             u"邮政编码"_s, u"联系人"_s,   u"联系人电话"_s};
        QTest::newRow("committee") << u"THelpPjwy"_s
                                   << QStringList{u"评价委员会职务"_s, u"工作单位"_s, u"所学专业"_s,
                                                  u"从事专业"_s, u"职称"_s};
        QTest::newRow("completers") << u"THelpWcr"_s << QStringList{u"序号"_s};
    }
    void windowsHoldTheirNumberedParagraphs() {
        QFETCH(QString, window);
        QFETCH(QStringList, headings);
        const auto help = helpText(window);
        QVERIFY(help);
        qsizetype at = 0;
        for (qsizetype i = 0; i < headings.size(); ++i) {
            // "N. 名称：", "N.名称：" or "N、名称：" at the start of a line, with something said.
            const QRegularExpression heading(
                u"^%1\\s*[.、．]\\s*%2\\s*[：:]\\s*\\S"_s.arg(i + 1).arg(headings[i]),
                QRegularExpression::MultilineOption);
            const auto match = heading.match(help->text, at);
            QVERIFY2(match.hasMatch(), qPrintable(window + u" "_s + headings[i]));
            at = match.capturedEnd();
        }
        QVERIFY2(!QRegularExpression(u"^%1\\s*[.、．]"_s.arg(headings.size() + 1),
                                     QRegularExpression::MultilineOption)
                      .match(help->text)
                      .hasMatch(),
                 qPrintable(window));
    }

    void organizationAttributesAreDefined() {
        const auto help = helpText(u"THelpWcdw"_s);
        QVERIFY(help);
        for (const QString& kind : {u"独立科研机构："_s, u"大专院校："_s, u"医疗机构："_s,
                                    u"企业："_s, u"科研机构转制型企业："_s, u"其他："_s})
            QVERIFY2(help->text.contains(kind), qPrintable(kind));
        for (const QString& contact : {u"成果转让联系人电话"_s, u"成果转让联系人电子信箱"_s})
            QVERIFY2(help->text.contains(contact), qPrintable(contact));
    }
};

int runHelpTextsTests(int argc, char** argv) {
    HelpTextsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "help_texts_test.moc"
