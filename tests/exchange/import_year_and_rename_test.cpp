// Year reassignment of staged achievements, and the renaming of old packages CGSBxxx.ARJ
// through the real arj.
#include "exchange/archiver.h"
#include "exchange/package_rename.h"
#include "exchange/year_reassignment.h"
#include "import_fixture.h"
#include "store/restore.h"

namespace xb::exchange::testing {
namespace {

using Texts = std::vector<std::string>;

class YearReassignment : public ImportFixture {
  protected:
    void stage(const std::string& table, const std::string& number, const std::string& name) {
        addRow(table, {{"ITEM_4", number}, {"ITEM_DQDM", "."}, {"ITEM_3", name}});
    }
    Texts numbers(const std::string& table) { return column("select * from " + table, "ITEM_4"); }
};

TEST_F(YearReassignment, TheNewNumberFollowsTheStagedNumbersOfTheYear) {
    stage("kjcgtemp", "2008000001", "甲");
    addRow("cgwcrtemp", {{"ITEM_4", "2008000001"}, {"ITEM_DQDM", "."}, {"ITEM_180", "张三"}});
    addRow("zlqktemp", {{"ITEM_4", "2008000001"}, {"ITEM_DQDM", "."}, {"PATENT_NO", "ZL1"}});
    // A row of another region code is another achievement's.
    addRow("zlqktemp", {{"ITEM_4", "2008000001"}, {"ITEM_DQDM", "X"}, {"PATENT_NO", "ZL2"}});
    stage("kjcgtemp", "2010000002", "乙");
    stage("kjcgtemp", "2010000001", "丙");

    auto moved = reassignYear(db(), "2008000001", ".", "2012");
    ASSERT_TRUE(moved.ok()) << moved.message();
    EXPECT_EQ(*moved, "2012000001");
    EXPECT_EQ(numbers("kjcgtemp"), (Texts{"2012000001", "2010000002", "2010000001"}));
    EXPECT_EQ(numbers("cgwcrtemp"), Texts{"2012000001"});
    EXPECT_EQ(numbers("zlqktemp"), (Texts{"2012000001", "2008000001"}));

    moved = reassignYear(db(), "2012000001", ".", "2010");
    ASSERT_TRUE(moved.ok());
    EXPECT_EQ(*moved, "2010000003");
    EXPECT_EQ(numbers("cgwcrtemp"), Texts{"2010000003"});

    // The same year still gives the greatest staged number of the year plus one.
    const auto stagedBytes = [&] {
        QFile file(QString::fromStdString(db().tablePath("kjcgtemp")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray beforeThird = stagedBytes();
    moved = reassignYear(db(), "2010000002", ".", "2010");
    ASSERT_TRUE(moved.ok());
    EXPECT_EQ(*moved, "2010000004");
    EXPECT_EQ(numbers("kjcgtemp"), (Texts{"2010000003", "2010000004", "2010000001"}));

    // A greatest staged number of ten characters that is not a number changes nothing.
    stage("kjcgtemp", "2013abcdef", "丁");
    EXPECT_FALSE(reassignYear(db(), "2010000001", ".", "2013").ok());
    EXPECT_EQ(numbers("kjcgtemp"), (Texts{"2010000003", "2010000004", "2010000001", "2013abcdef"}));

    // Each reassignment was backed up first: the newest backup gives the staged table back.
    const auto backups = store::listBackups(db().directory());
    ASSERT_EQ(backups.size(), 3u);
    EXPECT_EQ(backups.front().operation, "年度调整");
    db().closeAll();
    ASSERT_TRUE(store::restoreBackup(db().directory(), backups.front().folder).ok());
    EXPECT_EQ(stagedBytes(), beforeThird);
}

TEST(RecordYear, OnlyFourDigitYearsFrom1900To2050) {
    for (const char* year : {"1900", "2008", "2050"})
        EXPECT_TRUE(isRecordYear(year)) << year;
    for (const char* year : {"", "1899", "2051", "20a8", "208", "20080"})
        EXPECT_FALSE(isRecordYear(year)) << year;
}

TEST(OldPackageName, IsCgsbAndOneToThreeCharacters) {
    EXPECT_EQ(oldPackageUnitCode("/x/CGSB12.ARJ"), QString("12"));
    EXPECT_EQ(oldPackageUnitCode(" cgsb1.arj "), QString("1"));
    EXPECT_EQ(oldPackageUnitCode("CGSB123.Arj"), QString("123"));
    for (const char* name : {"ABCDEFG.ARJ", "CGSB.ARJ", "CGSB1234.ARJ", "CGSB12.ZIP", "XCGSB1.ARJ"})
        EXPECT_FALSE(oldPackageUnitCode(name)) << name;
    EXPECT_EQ(oldPackageFiles("12"),
              (QStringList{"KJCG12.TXT", "CGDW12.TXT", "CGWCR12.TXT", "JDMD12.TXT", "ZLQK12.TXT"}));
}

class PackageRenaming : public ImportFixture {
  protected:
    void packOld(const QStringList& files) {
        for (const QString& file : files)
            writePackageFile(file, "content of " + file.toStdString() + "\r\n");
        packPackage(files, "CGSB12.ARJ");
    }
    QStringList entries() const {
        return QDir(packageFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(PackageRenaming, OldPackageBecomesCgsbqyWithTheFilesUnderTheirNewNames) {
    packOld(oldPackageFiles("12"));
    writePackageFile("CGSBQY.ARJ", "an older package");

    auto renamed = renamePackage(Archiver(), inPackage("CGSB12.ARJ"));
    ASSERT_TRUE(renamed.ok()) << renamed.message();
    EXPECT_EQ(*renamed, inPackage("cgsbqy.arj"));
    EXPECT_EQ(entries(), (QStringList{"CGSB12.ARJ", "cgsbqy.arj"}));

    QTemporaryDir unpacked;
    ASSERT_TRUE(QFile::copy(*renamed, QDir(unpacked.path()).filePath("cgsbqy.arj")));
    auto listed = Archiver().list(unpacked.path(), "cgsbqy.arj");
    ASSERT_TRUE(listed.ok()) << listed.message();
    EXPECT_EQ(*listed, renamedPackageFiles());
    ASSERT_TRUE(Archiver().extract(unpacked.path(), "cgsbqy.arj").ok());
    const QStringList oldNames = oldPackageFiles("12");
    for (qsizetype i = 0; i < oldNames.size(); ++i)
        EXPECT_EQ(readBytes(QDir(unpacked.path()).filePath(renamedPackageFiles()[i])),
                  "content of " + oldNames[i].toStdString() + "\r\n");
}

TEST_F(PackageRenaming, APackageLackingAFileIsRefusedAndChangesNothing) {
    packOld({"KJCG12.TXT", "CGDW12.TXT", "CGWCR12.TXT", "ZLQK12.TXT"});
    auto renamed = renamePackage(Archiver(), inPackage("CGSB12.ARJ"));
    ASSERT_FALSE(renamed.ok());
    EXPECT_EQ(QString::fromStdString(renamed.message()), MissingPackageFilesText);
    EXPECT_EQ(entries(), QStringList{"CGSB12.ARJ"});

    writePackageFile("CGSB13.ARJ", "not an archive");
    renamed = renamePackage(Archiver(), inPackage("CGSB13.ARJ"));
    ASSERT_FALSE(renamed.ok());
    EXPECT_NE(renamed.message().find("不是 ARJ 压缩包"), std::string::npos) << renamed.message();
    EXPECT_EQ(entries(), (QStringList{"CGSB12.ARJ", "CGSB13.ARJ"}));
}

} // namespace
} // namespace xb::exchange::testing
