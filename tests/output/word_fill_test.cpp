// Word documents filled from the shipped templates, read back with python-docx.
#include "data_directory.h"
#include "output/docx_document.h"
#include "output/fill_values.h"
#include "output/form_wording.h"
#include "output/output_fixture.h"
#include "output/word_output.h"

#include <QFile>
#include <QJsonArray>

#include <filesystem>
#include <set>

using namespace xb::output;

namespace {

const WordForm kForms[] = {WordForm::Applied, WordForm::Basic, WordForm::Application,
                           WordForm::Certificate};

std::string text(const QJsonObject& read, const std::string& bookmark) {
    return read.value(QString::fromStdString(bookmark)).toString().toStdString();
}

class WordFill : public OutputFixture {
  protected:
    // Fills the form of the record and saves it; yields what python-docx reads back.
    QJsonObject fillAndRead(const std::string& number, WordForm form) {
        auto values = fillValues(db(), number, ".", form);
        EXPECT_TRUE(values.ok()) << (values ? "" : values.message());
        if (!values) return {};
        values_ = *values;
        auto filled = fillTemplate(templateOf(form), values_);
        EXPECT_TRUE(filled.ok());
        if (!filled) return {};
        EXPECT_EQ(filled->missingBookmark, "");
        const std::string out = scratch(commandName(form) + ".docx");
        std::filesystem::remove(out);
        EXPECT_TRUE(saveNewFile(filled->document, out).ok());
        return readBookmarks(out);
    }
    std::vector<BookmarkValue> values_;
};

TEST(Templates, EachCarriesExactlyTheBookmarksOfItsFillOrderAndTheDataDirectoryAllFour) {
    for (WordForm form : kForms) {
        auto document = DocxDocument::open(builtTemplates() + "/" + templateName(form) + ".docx");
        ASSERT_TRUE(document.ok()) << templateName(form);
        const std::vector<std::string> names = document->bookmarkNames();
        const std::set<std::string> unique(names.begin(), names.end());
        EXPECT_EQ(unique.size(), names.size()) << templateName(form) << " has duplicates";
        const std::vector<std::string> wanted = templateBookmarks(form);
        EXPECT_EQ(unique, std::set<std::string>(wanted.begin(), wanted.end()))
            << templateName(form);
    }
    // Row tables at their counts: 50 completers, 20 committee members, 5 patents, 8 units.
    const auto applied = templateBookmarks(WordForm::Applied);
    for (const char* name : {"item_186_50", "item_198_20", "patentl_nam_5", "item_174_8"})
        EXPECT_NE(std::find(applied.begin(), applied.end(), name), applied.end()) << name;
    EXPECT_EQ(std::find(applied.begin(), applied.end(), "item_186_51"), applied.end());

    TempDir dir;
    auto built = xb::install::buildDataDirectory(
        dir.file("data"),
        xb::install::sourcesIn(std::filesystem::path(builtTemplates()).parent_path().string()));
    ASSERT_TRUE(built.ok()) << built.message();
    for (WordForm form : kForms)
        EXPECT_TRUE(std::filesystem::exists(templatePath(dir.file("data"), form)))
            << templateName(form);
}

TEST_F(WordFill, EveryBookmarkHoldsItsTextInEveryForm) {
    addCompleteRecord("2024000001", "1");
    addCompleteRecord("2024000002", "2");
    for (const auto& [number, forms] :
         {std::pair{"2024000001",
                    std::vector{WordForm::Applied, WordForm::Application, WordForm::Certificate}},
          std::pair{"2024000002", std::vector{WordForm::Basic}}}) {
        for (WordForm form : forms) {
            const QJsonObject read = fillAndRead(number, form);
            EXPECT_TRUE(read.value("__duplicates__").toArray().isEmpty());
            std::map<std::string, std::string> expected;
            for (const BookmarkValue& v : values_)
                expected[v.bookmark] += v.text;
            for (const auto& [bookmark, value] : expected) {
                std::string crs = value;
                // The reader shows CR LF of a memo as the one paragraph break it makes.
                for (size_t at; (at = crs.find("\r\n")) != std::string::npos;)
                    crs.erase(at + 1, 1);
                EXPECT_EQ(text(read, bookmark), crs) << templateName(form) << " " << bookmark;
            }
        }
    }
}

TEST_F(WordFill, TheRecordsValuesInTheWordsOfTheForm) {
    addCompleteRecord("2024000001", "1");
    QJsonObject read = fillAndRead("2024000001", WordForm::Applied);
    const std::pair<const char*, const char*> applied[] = {
        {"item_3_a", "高效节能电机控制系统"},
        {"item_8_1_a", "2005年03月"},
        {"item_8_2_a", "2006年12月"},
        {"item_121_a", "2024-05-06"},
        {"item_14_3", "控制"},
        {"item_123", "新产品"},
        {"item_124_1", "新能源与高效节能;电子信息"},
        {"item_126", "国家科技计划(国家科技支撑计划);部门计划"},
        {"item_149", "150.5"},
        {"item_15", "数学"},
        {"item_12", "A1"},
        {"patent_ty", "发明专利;实用新型专利;"},
        {"item_62", "企业(有限责任公司)"},
        {"item_163", "(属于科研机构转制型企业)"},
        {"item_64", "北京市"},
        {"item_63", "外交部"},
        {"patentl_no_1", "ZL200510001"},
        {"patentl_no_2", "ZL200510003"},
        {"patent_no_1", "ZL200510002"},
        {"patent_no_3", ""},
        {"item_170_2", "协作工厂"},
        {"item_181_1", "男"},
        {"item_181_2", "女"},
        {"item_183_1", "正高"},
        {"item_192_1", "王主任"},
        {"item_193_2", "女"},
        {"item_198_1", "院士"},
        {"item_13_1", "本成果研制了高效节能电机控制系统。\r节能百分之二十。"},
    };
    for (const auto& [bookmark, value] : applied)
        EXPECT_EQ(text(read, bookmark), value) << bookmark;
    // Text filled in takes the formatting of its place: the cover's values at 12 pt (long names
    // wrap within the cover page).
    EXPECT_EQ(read.value("__sizes__").toObject().value("item_3_a").toString(), "24");

    read = fillAndRead("2024000001", WordForm::Certificate);
    EXPECT_EQ(text(read, "item_34_y") + text(read, "item_34_m") + text(read, "item_34_d"),
              "20061220");
    EXPECT_EQ(text(read, "item_1_1"), "0");
    EXPECT_EQ(text(read, "item_1_2"), "");
    EXPECT_EQ(text(read, "item_32_1_1"), "稳定应用");
    EXPECT_EQ(text(read, "item_3"), "高效节能电机控制系统\r");
}

TEST_F(WordFill, TheFormsWordTheirSectionsAndNoticesAsThePrintedForm) {
    const auto read = [&](WordForm form) {
        return readBookmarks(builtTemplates() + "/" + templateName(form) + ".docx");
    };
    const QJsonObject applied = read(WordForm::Applied);
    const QJsonObject basic = read(WordForm::Basic);
    const QString appliedText = "\n" + applied.value("__text__").toString() + "\n";
    const QString basicText = "\n" + basic.value("__text__").toString() + "\n";
    // The basic form has no sections on property and application: its organizations are 四、.
    EXPECT_TRUE(basicText.contains("\n四、成果完成单位情况\n"));
    EXPECT_FALSE(basicText.contains("六、成果完成单位情况"));
    EXPECT_TRUE(appliedText.contains("\n六、成果完成单位情况\n"));
    for (const QString& text : {appliedText, basicText}) {
        EXPECT_TRUE(text.contains("\n成果转让联系人电话\n"));
        for (const std::string& line : formWording("cover.notice"))
            EXPECT_TRUE(text.contains("\n" + QString::fromStdString(line) + "\n")) << line;
    }
    // The summary box may run onto the next page with its heading, in all four documents.
    for (WordForm form : kForms)
        EXPECT_TRUE(read(form).value("__splittable__").toArray().contains("item_13_1"))
            << templateName(form);
}

TEST_F(WordFill, RowTablesFillUpToTheirLimits) {
    addCompleteRecord("2024000001", "1", 60);
    addCompleteRecord("2024000002", "1", 3);
    QJsonObject read = fillAndRead("2024000001", WordForm::Applied);
    EXPECT_EQ(text(read, "item_180_1"), "完成人1");
    EXPECT_EQ(text(read, "item_180_50"), "完成人50");
    EXPECT_EQ(text(read, "item_187_50"), "50");
    EXPECT_FALSE(read.contains("item_180_51"));
    read = fillAndRead("2024000001", WordForm::Application);
    EXPECT_EQ(text(read, "item_180_15"), "完成人15");

    read = fillAndRead("2024000002", WordForm::Applied);
    EXPECT_EQ(text(read, "item_180_3"), "完成人3");
    EXPECT_TRUE(read.contains("item_180_4"));
    EXPECT_EQ(text(read, "item_180_4"), "");
    EXPECT_EQ(text(read, "item_186_50"), "");
}

TEST_F(WordFill, ShortRecommendingUnitGetsAParagraphBreakAndTheSecrecyFlag) {
    const std::string twenty = "一二三四五六七八九十一二三四五六七八九十"; // 40 bytes
    addCompleteRecord("2024000001", "1");
    addCompleteRecord("2024000002", "2");
    ASSERT_TRUE(db().execute("update kjcg set item_128=:u, item_1='3' where item_4='2024000001'",
                             {{"u", twenty}})
                    .ok());
    ASSERT_TRUE(db().execute("update kjcg set item_128=:u where item_4='2024000002'",
                             {{"u", twenty + "十"}})
                    .ok());
    EXPECT_EQ(text(fillAndRead("2024000001", WordForm::Applied), "item_128_a"), twenty + "\r");
    EXPECT_EQ(text(fillAndRead("2024000002", WordForm::Basic), "item_128_a"), twenty + "十");
    const QJsonObject read = fillAndRead("2024000001", WordForm::Application);
    EXPECT_EQ(text(read, "item_1_1"), "1");
    EXPECT_EQ(text(read, "item_1_2"), "3");
}

TEST_F(WordFill, AMissingBookmarkStopsTheFillingAndKeepsWhatCameBefore) {
    const std::vector<BookmarkValue> values{
        {"item_3", "成果"}, {"no_such_mark", "x"}, {"item_9", "单位"}};
    auto filled = fillTemplate(templateOf(WordForm::Applied), values);
    ASSERT_TRUE(filled.ok());
    EXPECT_EQ(filled->missingBookmark, "no_such_mark");
    ASSERT_TRUE(saveNewFile(filled->document, scratch("partial.docx")).ok());
    const QJsonObject read = readBookmarks(scratch("partial.docx"));
    EXPECT_EQ(text(read, "item_3"), "成果");
    EXPECT_EQ(text(read, "item_9"), "");

    EXPECT_FALSE(fillTemplate(scratch("none.docx"), values).ok());
    QFile junk(QString::fromStdString(scratch("junk.docx")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a zip");
    junk.close();
    EXPECT_FALSE(fillTemplate(scratch("junk.docx"), values).ok());
}

TEST_F(WordFill, DocumentsAreNeverWrittenOverAnExistingFile) {
    auto filled = fillTemplate(templateOf(WordForm::Certificate), {{"item_3", "第一次"}});
    ASSERT_TRUE(filled.ok());
    const std::string folder = scratch("文档");
    auto first = saveInFolder(filled->document, folder, "证书_2024000001");
    ASSERT_TRUE(first.ok()) << first.message();
    EXPECT_EQ(std::filesystem::path(*first).filename().string(), "证书_2024000001.docx");
    const auto size = std::filesystem::file_size(*first);
    auto again =
        fillTemplate(templateOf(WordForm::Certificate), {{"item_3", "第二次，更长的名称"}});
    ASSERT_TRUE(again.ok());
    auto second = saveInFolder(again->document, folder, "证书_2024000001");
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(std::filesystem::path(*second).filename().string(), "证书_2024000001(2).docx");
    EXPECT_EQ(std::filesystem::file_size(*first), size);
    EXPECT_EQ(text(readBookmarks(*first), "item_3"), "第一次");
    EXPECT_FALSE(saveNewFile(again->document, *first).ok());
    EXPECT_EQ(text(readBookmarks(*first), "item_3"), "第一次");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 2);
}

} // namespace
