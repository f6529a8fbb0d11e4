// Dictionary update from ARJ packages (the real arj) and from dBASE files of another writer
// (python3-dbf); a bad package or file leaves the dictionary as it was.
#include "exchange/dictionary_update.h"
#include "exchange_test_data.h"
#include "store/lookups.h"
#include "store/restore.h"
#include "store/writer_lock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

namespace xb::exchange {
namespace {

using namespace testing;
using Entries = std::vector<std::string>;

class DictionaryUpdate : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(data.error(), "");
        ASSERT_FALSE(Archiver::findProgram().isEmpty()) << "arj must be installed";
    }

    // Packs one text file as the package `name` in the folder the user chooses from.
    QString package(const QString& name, const QString& file, const QByteArray& bytes) {
        QTemporaryDir source;
        EXPECT_TRUE(writeFile(QDir(source.path()).filePath(file), bytes));
        auto packed = archiver.add(source.path(), name, {file});
        EXPECT_TRUE(packed.ok()) << packed.message();
        QFile::remove(chosen.filePath(name));
        EXPECT_TRUE(QFile::rename(QDir(source.path()).filePath(name), chosen.filePath(name)));
        return chosen.filePath(name);
    }

    // Writes a dBASE table with python3-dbf.
    QString peerTable(const QString& name, const QString& fields, const QString& type,
                      const QString& rowsJson) {
        QProcess peer;
        peer.setProcessChannelMode(QProcess::MergedChannels);
        peer.start("/usr/bin/python3", {XB_SOURCE_DIR "/tests/exchange/dictionary_dbf.py", "write",
                                        chosen.filePath(name), fields, type, rowsJson});
        EXPECT_TRUE(peer.waitForFinished(-1));
        EXPECT_EQ(peer.exitCode(), 0) << peer.readAll().toStdString();
        return chosen.filePath(name);
    }

    Entries ministries() {
        auto entries = store::codeTableEntries(data.db(), "lsbw", "Bwdm", "Bwmc", false);
        return entries.ok() ? *entries : Entries{entries.message()};
    }
    std::string classification(const std::string& table, const std::string& code) {
        auto text = store::classificationText(data.db(), table, code);
        return text.ok() ? *text : text.message();
    }

    // No work folder of an update is left in the data directory.
    void expectNoLeftovers() {
        for (const QString& entry : folderEntries(data.path()))
            if (entry != store::WriterLock::fileName)
                EXPECT_FALSE(entry.startsWith('.')) << entry.toStdString();
    }

    TestDataDirectory data;
    QTemporaryDir chosen;
    Archiver archiver;
};

TEST_F(DictionaryUpdate, APackageReplacesTheRowsWithThoseOfItsTextFile) {
    // A cursor opened before, as a page holds one, does not keep the table from being replaced.
    auto heldOpen = data.db().table("ztflh");
    ASSERT_TRUE(heldOpen.ok() && (*heldOpen)->count() > 100);
    const QString ztfl =
        package("ztflb.arj", "ztfl.txt", gbk("1\tA\t马克思主义\r\n\r\n2\tA1\t著作\r\n"));
    auto rows =
        updateDictionaryFromPackage(data.db(), archiver, ztfl, Dictionary::LibraryClassification);
    ASSERT_TRUE(rows.ok()) << rows.message();
    EXPECT_EQ(*rows, 2);
    EXPECT_EQ((*data.db().table("ztflh"))->count(), 2);
    EXPECT_EQ(classification("ztflh", "A1"), "A1  著作");
    // Unpacked elsewhere: the package's own folder is left as it was.
    EXPECT_EQ(folderEntries(chosen.path()), QStringList{"ztflb.arj"});

    const QString plans = package("DFJHXX.ARJ", "DFJHXX.TXT", gbk("02\t09\t部门新计划\r\n"));
    ASSERT_TRUE(
        updateDictionaryFromPackage(data.db(), archiver, plans, Dictionary::ProjectSources).ok());
    auto plan = data.db().query("select * from DFJHZDXX where item_126 = :code", {{"code", "02"}});
    ASSERT_TRUE(plan.ok() && (*plan)->count() == 1);
    EXPECT_EQ((*plan)->text("xxmc"), "部门新计划");
    expectNoLeftovers();
}

TEST_F(DictionaryUpdate, ABadPackageLeavesTheDictionaryAsItWas) {
    const Entries before = ministries();
    const std::vector<std::pair<QString, QByteArray>> bad{
        {"LSBW.TXT", gbk("901\t甲\r\n902\t乙\t多余\t还多\r\n")}, // more values than fields
        {"XKFL.TXT", gbk("1\t110\t数学\r\n")},                   // not the dictionary's file
        {"LSBW.TXT", "\r\n"},                                    // no record at all
    };
    for (const auto& [file, bytes] : bad) {
        auto rows = updateDictionaryFromPackage(
            data.db(), archiver, package("LSBWB.ARJ", file, bytes), Dictionary::Ministries);
        EXPECT_FALSE(rows.ok()) << file.toStdString();
        EXPECT_EQ(ministries(), before) << file.toStdString();
    }
    ASSERT_TRUE(writeFile(chosen.filePath("LSBWB.ARJ"), "not an archive"));
    EXPECT_FALSE(updateDictionaryFromPackage(data.db(), archiver, chosen.filePath("LSBWB.ARJ"),
                                             Dictionary::Ministries)
                     .ok());
    EXPECT_EQ(ministries(), before);
    expectNoLeftovers();
}

TEST_F(DictionaryUpdate, ADbaseFileIsCopiedInByteForByteOnlyWhenItIsAUsableTable) {
    const QString xkfl = peerTable("XKFL.DBF", "JB C(2); XXDM C(20); XXMC C(120)", "vfp",
                                   R"([["1", "110", "数学"], ["1", "999", "新学科"]])");
    const QString installed = QString::fromStdString(data.db().tablePath("xkfl"));
    const QByteArray original = readFile(installed);
    auto updated = updateDictionaryFromFile(data.db(), xkfl, Dictionary::DisciplineClassification);
    ASSERT_TRUE(updated.ok()) << updated.message();
    EXPECT_EQ(QFileInfo(installed).fileName(), "xkfl.dbf"); // the installation's name stays
    EXPECT_EQ(readFile(installed), readFile(xkfl));
    EXPECT_EQ(classification("xkfl", "999"), "999  新学科");
    // The backup taken before the update gives the dictionary back, byte for byte.
    const auto backups = store::listBackups(data.db().directory());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups.front().operation, "更新代码表");
    data.db().closeAll();
    ASSERT_TRUE(store::restoreBackup(data.db().directory(), backups.front().folder).ok());
    EXPECT_EQ(readFile(installed), original);

    // Choosing the dictionary's own file copies it onto itself without losing it.
    const Entries before = ministries();
    const QString own = QString::fromStdString(data.db().tablePath("lsbw"));
    ASSERT_TRUE(updateDictionaryFromFile(data.db(), own, Dictionary::Ministries).ok());
    EXPECT_EQ(ministries(), before);

    ASSERT_TRUE(writeFile(chosen.filePath("LSBW.DBF"), QByteArray(600, 'x')));
    EXPECT_FALSE(
        updateDictionaryFromFile(data.db(), chosen.filePath("LSBW.DBF"), Dictionary::Ministries)
            .ok());
    QFile::remove(chosen.filePath("LSBW.DBF"));
    auto wrongColumns = updateDictionaryFromFile(
        data.db(), peerTable("LSBW.DBF", "CODE C(3); NAME C(80)", "db3", R"([["901", "甲"]])"),
        Dictionary::Ministries);
    ASSERT_FALSE(wrongColumns.ok());
    EXPECT_NE(wrongColumns.message().find("Bwdm"), std::string::npos) << wrongColumns.message();
    EXPECT_EQ(ministries(), before);
    expectNoLeftovers();
}

} // namespace
} // namespace xb::exchange
