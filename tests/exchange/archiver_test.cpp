// The package calls run against the real arj program.
#include "exchange/archiver.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace xb::exchange {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray contentOf(const QString& name) {
    // GBK text with the line layout of an exchange file.
    return name.toLatin1() + "\t\xbf\xc6\xbc\xbc\t\"a\r\nb\"\t\r\n";
}

class ExchangeArchiver : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Archiver::findProgram().isEmpty()) << "arj must be installed for these tests";
        ASSERT_TRUE(source.isValid());
        ASSERT_TRUE(target.isValid());
    }
    QString in(const QTemporaryDir& dir, const QString& name) const { return dir.filePath(name); }

    Archiver archiver;
    QTemporaryDir source;
    QTemporaryDir target;
};

std::string text(const store::Status& status) {
    return status.ok() ? "ok" : status.message();
}

uint32_t crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// An archive made by arj whose single member's stored name is replaced by `hostile` (same
// length as "AAAAAAAAAX"), with the header's checksum made right again, as another program
// could have written it.
QByteArray archiveWithMemberName(const Archiver& archiver, const QTemporaryDir& dir,
                                 const QByteArray& hostile) {
    writeFile(dir.filePath("AAAAAAAAAX"), "x");
    if (!archiver.add(dir.path(), "made.arj", {"AAAAAAAAAX"})) return {};
    QByteArray bytes = readFile(dir.filePath("made.arj"));
    const qsizetype name = bytes.indexOf(QByteArray("AAAAAAAAAX\0", 11));
    const qsizetype header = bytes.lastIndexOf("\x60\xEA", name);
    if (name < 0 || header < 0 || hostile.size() != 10) return {};
    const int size = static_cast<unsigned char>(bytes[header + 2]) |
                     static_cast<unsigned char>(bytes[header + 3]) << 8;
    bytes.replace(name, 10, hostile);
    const uint32_t crc = crc32(bytes.mid(header + 4, size));
    for (int i = 0; i < 4; ++i)
        bytes[header + 4 + size + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    return bytes;
}

TEST_F(ExchangeArchiver, PacksListsAndExtractsTheSevenExchangeFiles) {
    for (const QString& name : exchangePackageFiles())
        writeFile(in(source, name), contentOf(name));
    ASSERT_EQ(text(packExchangePackage(archiver, source.path())), "ok");
    ASSERT_TRUE(QFile::exists(in(source, "cgsbqy.arj")));

    auto listed = archiver.list(source.path(), "CGSBQY.ARJ");
    ASSERT_TRUE(listed.ok()) << listed.message();
    EXPECT_EQ(*listed, exchangePackageFiles());

    // Received under the name import asks for; an older copy of a file is replaced.
    ASSERT_TRUE(QFile::copy(in(source, "cgsbqy.arj"), in(target, "CGSBQY.ARJ")));
    writeFile(in(target, "UNIT.TXT"), "an older profile");
    ASSERT_EQ(text(unpackExchangePackage(archiver, target.path())), "ok");
    for (const QString& name : exchangePackageFiles())
        EXPECT_EQ(readFile(in(target, name)), contentOf(name)) << name.toStdString();

    // A package that already exists is added to: callers delete it first for a new one.
    for (const QString& name : renamedPackageFiles())
        QFile::remove(in(target, name));
    for (const QString& name : renamedPackageFiles())
        writeFile(in(target, name), "renamed");
    ASSERT_TRUE(QFile::remove(in(target, "CGSBQY.ARJ")));
    ASSERT_EQ(text(repackRenamedPackage(archiver, target.path())), "ok");
    listed = archiver.list(target.path(), "cgsbqy.arj");
    ASSERT_TRUE(listed.ok());
    EXPECT_EQ(*listed, renamedPackageFiles());
}

TEST_F(ExchangeArchiver, OldPackagesAndDictionaryPackagesYieldTheirTextFiles) {
    const QStringList oldFiles{"KJCG12.TXT", "CGDW12.TXT", "CGWCR12.TXT", "JDMD12.TXT",
                               "ZLQK12.TXT"};
    for (const QString& name : oldFiles)
        writeFile(in(source, name), contentOf(name));
    ASSERT_EQ(text(archiver.add(source.path(), "CGSB12.ARJ", oldFiles)), "ok");
    writeFile(in(source, "DFJHXX.TXT"), "01\t\t\xbf\xc6\xbc\xbc\r\n");
    ASSERT_EQ(text(archiver.add(source.path(), "DFJHXX.ARJ", {"DFJHXX.TXT"})), "ok");
    ASSERT_EQ(text(archiver.add(source.path(), "XKFLB.ARJ", {"DFJHXX.TXT"})), "ok");
    for (const char* name : {"CGSB12.ARJ", "DFJHXX.ARJ", "XKFLB.ARJ"})
        ASSERT_TRUE(QFile::copy(in(source, name), in(target, name)));

    writeFile(in(target, "KJCG12.TXT"), "stale");
    EXPECT_EQ(text(unpackOldPackage(archiver, target.path(), "CGSB12.ARJ", oldFiles)), "ok");
    EXPECT_EQ(readFile(in(target, "KJCG12.TXT")), contentOf("KJCG12.TXT"));
    EXPECT_EQ(text(unpackOldPackage(archiver, target.path(), "CGSB12.ARJ", {"KJCG13.TXT"})),
              "压缩包 CGSB12.ARJ 中没有文件 KJCG13.TXT，压缩包的内容不正确。");

    EXPECT_EQ(
        text(unpackDictionaryPackage(archiver, target.path(), DictionaryPackage::ProjectSources)),
        "ok");
    EXPECT_EQ(readFile(in(target, "DFJHXX.TXT")), QByteArray("01\t\t\xbf\xc6\xbc\xbc\r\n"));
    EXPECT_EQ(text(unpackDictionaryPackage(archiver, target.path(),
                                           DictionaryPackage::DisciplineClassification)),
              "压缩包 XKFLB.ARJ 中没有文件 XKFL.TXT，压缩包的内容不正确。");
}

TEST_F(ExchangeArchiver, FailuresAreReportedInsteadOfWaitedFor) {
    writeFile(in(source, "KJCG.TXT"), "x");
    const std::string missingInput = text(packExchangePackage(archiver, source.path()));
    EXPECT_NE(missingInput.find("找不到要压缩的文件"), std::string::npos) << missingInput;
    EXPECT_NE(missingInput.find("CGWCDW.TXT"), std::string::npos) << missingInput;
    EXPECT_FALSE(QFile::exists(in(source, "cgsbqy.arj")));

    const std::string missingPackage = text(unpackExchangePackage(archiver, target.path()));
    EXPECT_EQ(missingPackage.rfind("找不到压缩包 ", 0), 0u) << missingPackage;
    EXPECT_NE(missingPackage.find("CGSBQY.ARJ"), std::string::npos) << missingPackage;

    writeFile(in(target, "cgsbqy.arj"), QByteArray(2000, '\x55'));
    const std::string badPackage = text(unpackExchangePackage(archiver, target.path()));
    EXPECT_EQ(badPackage, "压缩包 cgsbqy.arj 不能解压：文件不是 ARJ 压缩包。") << badPackage;

    EXPECT_EQ(text(unpackExchangePackage(archiver, in(target, "no-such-folder")))
                  .rfind("找不到压缩包", 0),
              0u);
    EXPECT_EQ(
        text(archiver.add(in(target, "no-such-folder"), "a.arj", {"KJCG.TXT"})).rfind("文件夹“", 0),
        0u);

    const Archiver absent(in(source, "arj"));
    EXPECT_EQ(text(absent.add(source.path(), "cgsbqy.arj", {"KJCG.TXT"})),
              "找不到压缩程序 arj，请把它放在本程序所在的文件夹中，或安装到系统中。");
}

// A member stored with DOS parent steps made arj loop until the time bound; such packages are
// refused, naming the member, before anything is unpacked.
TEST_F(ExchangeArchiver, MembersWithFoldersOrControlCharactersAreRefusedBeforeUnpacking) {
    const std::pair<QByteArray, const char*> hostile[] = {
        {"..\\..\\..\\X", "含有路径"},
        {"C:KJCG.TXT", "含有驱动器"},
        {"KJCG\x01X.TXT", "含有控制字符"},
    };
    for (const auto& [name, reason] : hostile) {
        QTemporaryDir dir;
        const QByteArray package = archiveWithMemberName(archiver, dir, name);
        ASSERT_FALSE(package.isEmpty());
        writeFile(in(target, "CGSBQY.ARJ"), package);
        const std::string refused = text(unpackExchangePackage(archiver, target.path()));
        EXPECT_EQ(refused.rfind("压缩包 CGSBQY.ARJ 中的文件“", 0), 0u) << refused;
        EXPECT_NE(refused.find(reason), std::string::npos) << refused;
        EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), QStringList{"CGSBQY.ARJ"});
    }
    EXPECT_EQ(unsafeMemberReason("KJCG.TXT"), "");
    EXPECT_EQ(unsafeMemberReason("a/b"), "文件名含有路径");
    EXPECT_EQ(unsafeMemberReason(".."), "文件名含有“..”");
}

TEST_F(ExchangeArchiver, AnArchiverThatNeverEndsIsStopped) {
    const QString hanging = in(source, "arj");
    writeFile(hanging, "#!/bin/sh\nexec sleep 600\n");
    ASSERT_TRUE(
        QFile::setPermissions(hanging, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    writeFile(in(source, "KJCG.TXT"), "x");
    const Archiver stuck(hanging, std::chrono::milliseconds(1000));
    EXPECT_EQ(text(stuck.add(source.path(), "cgsbqy.arj", {"KJCG.TXT"})),
              "压缩程序 arj 在 1 秒内没有结束，已被终止。");
    EXPECT_FALSE(QFile::exists(in(source, "cgsbqy.arj")));
}

} // namespace
} // namespace xb::exchange
