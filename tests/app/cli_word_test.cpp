// xunbao-cli word: a record's Word document written to a new file for scripts.
#include "store/database.h"
#include "store/temp_dir.h"
#include "support/shell_run.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CliWord, WritesTheFilledDocumentOnceAndRefusesWhatItCannotDo) {
    TempDir dir;
    const std::string data = dir.file("data"), docx = dir.file("证书.docx");
    const std::string cli = std::string(XB_CLI_PATH) + " --data " + data;
    ASSERT_EQ(quietStatus(cli + " init"), 0);
    {
        xb::store::Database db(data);
        ASSERT_TRUE(db.execute("insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9, "
                               "item_34) values ('2024000001', '.', '1', '命令行成果', '某所', "
                               "'2006.12.20')")
                        .ok());
        ASSERT_TRUE(db.execute("insert into cgwcr (item_4, item_dqdm, item_187, item_180) values "
                               "('2024000001', '.', 1, '张三')")
                        .ok());
    }
    const std::string word = cli + " word --record 2024000001 --form certificate --out " + docx;
    ASSERT_EQ(quietStatus(word), 0);
    std::string read;
    ASSERT_EQ(
        quietStatus("/usr/bin/python3 " XB_SOURCE_DIR "/tests/output/read_bookmarks.py " + docx,
                    &read),
        0);
    EXPECT_NE(read.find("\"item_3_1\": \"命令行成果\""), std::string::npos) << read;
    EXPECT_NE(read.find("\"item_180_1\": \"张三\""), std::string::npos) << read;
    EXPECT_NE(read.find("\"item_34_y\": \"2006\""), std::string::npos) << read;

    const auto size = std::filesystem::file_size(docx);
    EXPECT_EQ(quietStatus(word), 1); // never over an existing file
    EXPECT_EQ(std::filesystem::file_size(docx), size);
    EXPECT_EQ(
        quietStatus(cli + " word --record 2024000001 --form letter --out " + dir.file("x.docx")),
        2);
    EXPECT_EQ(
        quietStatus(cli + " word --record 2024999999 --form applied --out " + dir.file("y.docx")),
        1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("y.docx")));
}
