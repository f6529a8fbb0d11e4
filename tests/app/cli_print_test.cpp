// xunbao-cli print: a record's whole registration form as a PDF file, read back with pdftotext.
#include "store/database.h"
#include "store/temp_dir.h"
#include "support/shell_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

int pageCount(const std::string& pdf) {
    std::string info;
    if (quietStatus("pdfinfo " + pdf, &info) != 0) return -1;
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

class CliPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(quietStatus(cli + " init"), 0);
        xb::store::Database db(data);
        ASSERT_TRUE(db.execute("insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9, "
                               "item_124_1, item_120, item_121) values ('2024000001', '.', '1', "
                               "'高效节能电机控制系统', '测试研究院', '05', '2024-0001', "
                               "'2024-05-06')")
                        .ok());
        ASSERT_TRUE(db.execute("insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9) "
                               "values ('2024000002', '.', '2', '区域科技政策评估', '某所')")
                        .ok());
        for (int i = 1; i <= 20; ++i)
            ASSERT_TRUE(db.execute("insert into cgwcr (item_4, item_dqdm, item_187, item_180) "
                                   "values ('2024000001', '.', " +
                                   std::to_string(i) + ", '完成人" + std::to_string(i) + "')")
                            .ok());
    }
    // The text layer without its blanks and line breaks, which depend on the layout.
    std::string text(const std::string& pdf) {
        std::string out;
        EXPECT_EQ(quietStatus("pdftotext " + pdf + " -", &out), 0);
        return compact(out);
    }
    static std::string compact(std::string text) {
        std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\f'; });
        return text;
    }

    TempDir dir;
    const std::string data = dir.file("data");
    const std::string cli = std::string(XB_CLI_PATH) + " --data " + data;
};

TEST_F(CliPrint, WritesTheWholeFormWithTheRecordsValuesAndMarks) {
    const std::string pdf = dir.file("登记表.pdf");
    const std::string print = cli + " print --record 2024000001 --out " + pdf;
    ASSERT_EQ(quietStatus(print), 0);
    // 15 pages of the applied form, the completers list of 20 running over onto a second one.
    EXPECT_EQ(pageCount(pdf), 16);
    const std::string read = text(pdf);
    for (const char* expected :
         {"科 技 成 果 登 记 表", "（应用技术类成果）", "高效节能电机控制系统", "测试研究院",
          "表    号：CG-002", "完成人20", "10--1", "10--2", "√", "生物、医药和医疗器械",
          "附件五：国家科技计划编码规则", "中华人民共和国统计法", "研究终止日期"})
        EXPECT_NE(read.find(compact(expected)), std::string::npos) << expected;
    // The font's look-alike radicals never stand in for the characters in the text layer.
    EXPECT_EQ(read.find("⾼"), std::string::npos);

    const auto size = std::filesystem::file_size(pdf);
    EXPECT_EQ(quietStatus(print), 1); // never over an existing file
    EXPECT_EQ(std::filesystem::file_size(pdf), size);
}

TEST_F(CliPrint, TheFormFollowsTheCategoryUnlessChosen) {
    const std::string basic = dir.file("basic.pdf"), applied = dir.file("applied.pdf");
    ASSERT_EQ(quietStatus(cli + " print --record 2024000002 --out " + basic), 0);
    EXPECT_EQ(pageCount(basic), 13);
    EXPECT_NE(text(basic).find("（基础理论、软科学类成果）"), std::string::npos);
    ASSERT_EQ(quietStatus(cli + " print --record 2024000002 --form applied --out " + applied), 0);
    EXPECT_EQ(pageCount(applied), 15);
    EXPECT_NE(text(applied).find("表号：CG-002"), std::string::npos);

    EXPECT_EQ(
        quietStatus(cli + " print --record 2024000002 --form letter --out " + dir.file("x.pdf")),
        2);
    EXPECT_EQ(quietStatus(cli + " print --record 2024999999 --out " + dir.file("y.pdf")), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("y.pdf")));
}

} // namespace
