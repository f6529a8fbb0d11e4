// Export end to end: records created through the store are written, packed by the real arj into
// cgsbqy.arj and marked; the package is unpacked again and its files compared byte for byte.
#include "exchange/archiver.h"
#include "exchange/exchange_reader.h"
#include "exchange/exchange_values.h"
#include "exchange/export_flags.h"
#include "exchange/exporter.h"
#include "exchange_test_data.h"
#include "store/table_file.h"

#include <gtest/gtest.h>

#include <QDir>

namespace xb::exchange {
namespace {

using namespace testing;
using Flags = std::vector<std::pair<std::string, std::string>>;

QByteArray lines(const QStringList& texts) {
    QByteArray bytes;
    for (const QString& text : texts)
        bytes += gbk(text) + "\r\n";
    return bytes;
}

class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(data.error(), "");
        ASSERT_FALSE(Archiver::findProgram().isEmpty()) << "arj must be installed";
        auto added = addSampleOffice(data.db());
        ASSERT_TRUE(added.ok()) << added.message();
        office = *added;
    }

    // The package in `target`, unpacked into a folder of its own.
    QDir unpacked() {
        EXPECT_TRUE(
            QFile::copy(target.filePath("cgsbqy.arj"), unpackFolder.filePath("CGSBQY.ARJ")));
        auto s = unpackExchangePackage(archiver, unpackFolder.path());
        EXPECT_TRUE(s.ok()) << s.message();
        return QDir(unpackFolder.path());
    }

    TestDataDirectory data;
    QTemporaryDir target, unpackFolder;
    Archiver archiver;
    SampleOffice office;
};

TEST_F(Export, PackagesTheChosenRecordsTheirChildrenAndTheProfileAsTheFormatSays) {
    auto cleared = clearExportFlags(data.db());
    ASSERT_TRUE(cleared.ok()) << cleared.message();
    EXPECT_EQ(*cleared, 3); // two flags were "1", one was empty
    std::pair<int, int> lastStep;
    auto package = exportPackage(data.db(), archiver, target.path(),
                                 {office.recordA, office.recordC}, [&](int done, int total) {
                                     lastStep = {done, total};
                                 });
    ASSERT_TRUE(package.ok()) << package.message();
    EXPECT_EQ(*package, target.filePath("cgsbqy.arj"));
    EXPECT_EQ(lastStep.first, lastStep.second);
    // Only the package is left in the target folder: no text files, no work folder.
    EXPECT_EQ(folderEntries(target.path()), QStringList{"cgsbqy.arj"});
    auto listed = archiver.list(target.path(), "cgsbqy.arj");
    ASSERT_TRUE(listed.ok()) << listed.message();
    EXPECT_EQ(*listed, exchangePackageFiles());

    const QDir files = unpacked();
    // Child rows in the tables' stored order (C's before A's), B's stay at home; the last value
    // bare, ITEM_188 as a flag, CGWCR.TXT and EXPERT.TXT without their last fields.
    EXPECT_EQ(
        readFile(files.filePath("CGWCDW.TXT")),
        lines({"2009000001\t.\t1\t稀土应用中心\t\t\t\t\t",
               "2008000001\t.\t1\t合作单位甲\t北京市海淀区\t100081\t张三\t010-12345678\t备注"}));
    EXPECT_EQ(readFile(files.filePath("CGWCR.TXT")),
              lines({"2009000001\t.\t1\t赵六\t\t\t\t\t\t\t0",
                     "2008000001\t.\t1\t李四\t1\t1965.03\t2\t3\t东方能源研究所\t主持研制\t1",
                     "2008000001\t.\t2\t王芳\t2\t\t\t\t\t\t0"}));
    EXPECT_EQ(
        readFile(files.filePath("JDWYHMD.TXT")),
        lines({"2008000001\t.\t1\t主任委员\t陈七\t1\t1\t东方大学\t热能工程\t热能工程\t1\t组长"}));
    EXPECT_EQ(readFile(files.filePath("ZLQK.TXT")),
              lines({"2008000001\t.\t1\tZL200810012345.6\t一种板式换热器\t2\t1"}));
    EXPECT_EQ(readFile(files.filePath("EXPERT.TXT")),
              lines({"9990001000\t1\t王五\t1\t1960.01", "9990001000\t2\t孙八\t2\t1972.11"}));
    // The memo is one quoted value across its line break; the closing value is quoted whole.
    QStringList unit(25);
    unit[0] = "01;02;";
    unit[1] = "\"本所成立于1958年。\r\n主要从事能源研究。\"";
    unit[12] = "东方能源研究所";
    unit[15] = "9990001000";
    unit[16] = unit[17] = "1";
    EXPECT_EQ(readFile(files.filePath("UNIT.TXT")), lines({unit.join('\t') + "\t\"方向 一\""}));

    // KJCG.TXT: every field but the last, each followed by TAB, the export flag written "0".
    const QByteArray kjcg = readFile(files.filePath("KJCG.TXT"));
    auto table = data.db().openTable("kjcg");
    ASSERT_TRUE(table.ok());
    const int fieldCount = static_cast<int>((*table)->fields().size());
    EXPECT_EQ(kjcg.count('\t'), 2 * (fieldCount - 1));
    EXPECT_TRUE(kjcg.endsWith("\t\r\n"));
    EXPECT_TRUE(kjcg.contains(gbk("\t\"第一段\r\n第二段\"\t")));
    EXPECT_TRUE(kjcg.contains(gbk("\t\"\"\"节能\"\"是本成果的核心\"\t")));
    EXPECT_TRUE(kjcg.contains("\t2008-05-20\t") && kjcg.contains("\t12.5\t"));
    EXPECT_FALSE(kjcg.contains("last@example.cn"));
    // Read back, every value is the stored one, in the order the records were chosen.
    auto reader = ExchangeReader::open(files.filePath("KJCG.TXT").toStdString(), fieldCount);
    ASSERT_TRUE(reader.ok()) << reader.message();
    auto records = readAllRecords(*reader);
    ASSERT_TRUE(records.ok()) << records.message();
    ASSERT_EQ(records->size(), 2u);
    std::string raw;
    for (uint32_t r : {0u, 1u}) {
        ASSERT_TRUE((*table)->readRecord(r == 0 ? office.recordA : office.recordC, raw).ok());
        auto expected = exchangeTexts((*table)->decodeRow(raw));
        expected[static_cast<std::size_t>((*table)->fieldIndex("ITEM_SJDC"))] = "0";
        expected.back() = "";
        EXPECT_EQ((*records)[r].fields, expected) << "record " << r;
    }
    EXPECT_EQ(exportFlags(data.db()),
              (Flags{{"2008000001", "1"}, {"2008000002", "0"}, {"2009000001", "1"}}));
}

// A new package replaces an older one of any letter case; files the user keeps in the target
// folder under the names of the text files are not touched.
TEST_F(Export, ANewPackageReplacesTheOlderOneAndNothingElse) {
    ASSERT_TRUE(writeFile(target.filePath("CGSBQY.ARJ"), "old"));
    ASSERT_TRUE(writeFile(target.filePath("KJCG.TXT"), "a file of the user"));
    EXPECT_EQ(existingPackagePath(target.path()), target.filePath("CGSBQY.ARJ"));
    auto package = exportPackage(data.db(), archiver, target.path(), {office.recordB});
    ASSERT_TRUE(package.ok()) << package.message();
    EXPECT_EQ(folderEntries(target.path()), (QStringList{"KJCG.TXT", "cgsbqy.arj"}));
    EXPECT_EQ(readFile(target.filePath("KJCG.TXT")), "a file of the user");
    const QDir files = unpacked();
    EXPECT_EQ(readFile(files.filePath("CGWCDW.TXT")),
              lines({"2008000002\t.\t1\t不应导出的单位\t\t\t\t\t"}));
    EXPECT_EQ(readFile(files.filePath("ZLQK.TXT")), QByteArray());
}

// However the export fails, the tables and an older package stay as they were, no success is
// reported and nothing is left in the target folder.
TEST_F(Export, AFailureChangesNothingAndKeepsTheOlderPackage) {
    ASSERT_TRUE(clearExportFlags(data.db()).ok());
    ASSERT_TRUE(writeFile(target.filePath("CGSBQY.ARJ"), "handed in last year"));
    const Archiver missing(target.filePath("no-such-arj"));
    auto noArchiver = exportPackage(data.db(), missing, target.path(), {office.recordA});
    EXPECT_NE(noArchiver.ok() ? "" : noArchiver.message(), "");
    EXPECT_FALSE(
        exportPackage(data.db(), archiver, target.filePath("gone"), {office.recordA}).ok());
    EXPECT_FALSE(exportPackage(data.db(), archiver, target.path(), {}).ok());
    // A record deleted after it was listed is refused before anything is written.
    ASSERT_EQ(*data.db().execute("delete from kjcg where item_4 = :n", {{"n", "2008000002"}}), 1);
    auto deleted =
        exportPackage(data.db(), archiver, target.path(), {office.recordA, office.recordB});
    ASSERT_FALSE(deleted.ok());
    EXPECT_NE(deleted.message().find("已被删除"), std::string::npos) << deleted.message();

    EXPECT_EQ(folderEntries(target.path()), QStringList{"CGSBQY.ARJ"});
    EXPECT_EQ(readFile(target.filePath("CGSBQY.ARJ")), "handed in last year");
    EXPECT_EQ(exportFlags(data.db()), (Flags{{"2008000001", "0"}, {"2009000001", "0"}}));
}

} // namespace
} // namespace xb::exchange
