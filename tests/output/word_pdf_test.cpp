// The filled documents open in another word processor: LibreOffice converts them to PDF, and the
// PDF's text holds the record's name, its completers and its chosen options.
#include "output/fill_values.h"
#include "output/output_fixture.h"
#include "output/word_output.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>
#include <filesystem>

using namespace xb::output;

namespace {

class WordPdf : public OutputFixture {};

// The PDF's text without its layout blanks and line ends, so that a value wrapped in a cell
// still reads as one.
std::string pdfText(const std::string& pdf) {
    QProcess text;
    text.start("pdftotext", {QString::fromStdString(pdf), "-"});
    EXPECT_TRUE(text.waitForFinished(60000));
    QString out = QString::fromUtf8(text.readAllStandardOutput());
    out.remove(QRegularExpression("\\s"));
    return out.toStdString();
}

TEST_F(WordPdf, TheFilledDocumentsOfBothFormsConvertAndShowTheRecord) {
    addCompleteRecord("2024000001", "1");
    addCompleteRecord("2024000002", "2");
    ASSERT_TRUE(db().execute("update kjcg set item_2='1' where item_4='2024000002'").ok());
    const std::string out = scratch("pdf");
    std::filesystem::create_directories(out);
    struct Document {
        std::string number;
        WordForm form;
        std::string file;
    };
    std::vector<Document> documents;
    for (const auto& [number, forms] :
         {std::pair{std::string("2024000001"),
                    std::vector{WordForm::Applied, WordForm::Application, WordForm::Certificate}},
          std::pair{std::string("2024000002"),
                    std::vector{WordForm::Basic, WordForm::Application, WordForm::Certificate}}})
        for (WordForm form : forms) {
            auto values = fillValues(db(), number, ".", form);
            ASSERT_TRUE(values.ok());
            auto filled = fillTemplate(templateOf(form), *values);
            ASSERT_TRUE(filled.ok());
            const std::string file = out + "/" + commandName(form) + "_" + number + ".docx";
            ASSERT_TRUE(saveNewFile(filled->document, file).ok());
            documents.push_back({number, form, file});
        }

    // One conversion run for all six, with a profile of its own so that runs do not collide.
    QStringList arguments{"-env:UserInstallation=file://" + QString::fromStdString(scratch("lo")),
                          "--headless",
                          "--convert-to",
                          "pdf",
                          "--outdir",
                          QString::fromStdString(out)};
    for (const Document& d : documents)
        arguments << QString::fromStdString(d.file);
    QProcess office;
    office.start("soffice", arguments);
    ASSERT_TRUE(office.waitForFinished(600000));
    ASSERT_EQ(office.exitCode(), 0) << office.readAllStandardError().toStdString();

    for (const Document& d : documents) {
        std::string pdf = d.file;
        pdf.replace(pdf.size() - 4, 4, "pdf");
        ASSERT_TRUE(std::filesystem::exists(pdf)) << pdf;
        const std::string text = pdfText(pdf);
        const bool applied = d.number == "2024000001";
        const std::string name = applied ? "高效节能电机控制系统" : "区域科技政策评估方法研究";
        EXPECT_NE(text.find(name), std::string::npos) << pdf;
        for (const char* person : {"完成人1", "完成人2", "完成人3"})
            EXPECT_NE(text.find(person), std::string::npos) << pdf << " " << person;
        // The chosen options as the form words them.
        if (d.form == WordForm::Applied) {
            for (const char* option :
                 {"新产品", "国内领先", "国家科技计划(国家科技支撑计划);部门计划",
                  "企业(有限责任公司)(属于科研机构转制型企业)", "正高"})
                EXPECT_NE(text.find(option), std::string::npos) << option;
        } else if (d.form == WordForm::Basic) {
            for (const char* option : {"论文", "国际领先", "评审", "促进工业的发展;"})
                EXPECT_NE(text.find(option), std::string::npos) << option;
        } else if (d.form == WordForm::Certificate) {
            EXPECT_NE(text.find("2006年12月20日"), std::string::npos) << pdf;
            EXPECT_NE(text.find(applied ? "鉴定" : "评审"), std::string::npos) << pdf;
        }
    }
    if (const char* keep = std::getenv("XB_KEEP_PDF")) {
        for (const Document& d : documents) {
            std::string pdf = d.file;
            pdf.replace(pdf.size() - 4, 4, "pdf");
            std::filesystem::copy_file(
                pdf, std::string(keep) + "/" + std::filesystem::path(pdf).filename().string(),
                std::filesystem::copy_options::overwrite_existing);
        }
    }
}

} // namespace
