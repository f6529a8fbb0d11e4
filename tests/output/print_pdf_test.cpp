// The PDF of the printed form reads back as it was laid out: pdftotext finds every text of every
// page, every character as stored, look-alike characters included ("500～1000", "人民").
#include "output/form_pages.h"
#include "output/output_fixture.h"
#include "output/page_painter.h"
#include "output/print_forms.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

using namespace xb::output;

class PrintPdf : public OutputFixture {};

// Blanks, ideographic ones included, are layout: pdftotext leaves them out or adds them.
QString withoutBlanks(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
}

// The text layer of one page of a PDF, blanks and line ends left out.
QString pdfPageText(const QString& pdf, int page) {
    QProcess text;
    text.start("pdftotext",
               {"-raw", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    EXPECT_TRUE(text.waitForFinished(60000));
    return withoutBlanks(QString::fromUtf8(text.readAllStandardOutput()));
}

TEST_F(PrintPdf, TheTextLayerHoldsEveryTextOfBothFormsAsStored) {
    addFullRecord("2024000001", "1");
    addFullRecord("2024000002", "2");
    ASSERT_TRUE(db().execute("update kjcg set item_46='03', item_47='04'").ok());
    for (const auto& [number, form] : {std::pair{"2024000001", PrintedForm::Applied},
                                       std::pair{"2024000002", PrintedForm::Basic}}) {
        auto record = loadPrintRecord(db(), number, ".");
        ASSERT_TRUE(record.ok());
        OutputLabels labels(db());
        const auto pages = buildPages(*record, labels, form, customPages(form));
        const QString pdf = QString::fromStdString(scratch(std::string(number) + ".pdf"));
        ASSERT_TRUE(writePdf(pages, pdf, "登记表").ok());
        QString all;
        for (size_t i = 0; i < pages.size(); ++i) {
            const QString read = pdfPageText(pdf, static_cast<int>(i) + 1);
            all += read;
            for (const PageText& t : pages[i].texts) {
                const QString expected = withoutBlanks(QString::fromStdString(t.text));
                EXPECT_TRUE(read.contains(expected))
                    << number << " page " << i + 1 << ": " << t.text;
            }
        }
        if (form == PrintedForm::Applied) {
            EXPECT_TRUE(all.contains("500～1000")); // 预计达产投资
        }
        EXPECT_TRUE(all.contains("中华人民共和国国家统计局批准"));
    }
}

} // namespace
