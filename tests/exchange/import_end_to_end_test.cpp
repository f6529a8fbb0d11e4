// A package exported by one data directory and imported into another, through the real arj:
// every field of every record and child row arrives, under numbers that continue each year.
// And packages that are not what they claim to be.
#include "exchange/exporter.h"
#include "exchange/import_merge.h"
#include "exchange/import_package.h"
#include "exchange/import_reading.h"
#include "import_fixture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace xb::exchange::testing {
namespace {

// A value for every field: Chinese and ASCII text cut to the field's width, with a TAB in one
// text and a leading quote in another; memos over several lines with quotes and TABs; numbers
// with decimals; dates. Values the format leaves bare (the last one written of a child line)
// stay plain text.
store::Value sampleValue(const std::string& table, const store::FieldDef& field, int record,
                         int position) {
    using store::FieldType;
    const std::string tag = std::to_string(record) + "-" + std::to_string(position);
    switch (field.type) {
    case FieldType::Memo:
        return store::Value("第" + tag + "段\r\n\"引号\"\t制表\r\n末行");
    case FieldType::Number:
        return store::Value(record * 1000 + position + 0.25);
    case FieldType::SmallInt:
    case FieldType::Integer:
        return store::Value(record * 10 + position);
    case FieldType::Date:
        return store::Value(store::Date{2009, record, position % 28 + 1});
    case FieldType::Logical:
        return store::Value::logical(record % 2 == 0);
    case FieldType::Character:
        break;
    }
    if (field.name == "ITEM_188") return store::Value(record % 2 == 0 ? "1" : "0");
    if (field.width <= 3) return store::Value(std::to_string((record + position) % 10));
    std::string text = "值" + tag + "科技成果" + field.name;
    if (table == "kjcg" && field.name == "ITEM_37") text = "北京\t海淀" + tag;
    if (table == "kjcg" && field.name == "ITEM_14") text = "\"关键词\"" + tag;
    if (table == "kjcg" && field.name == "ITEM_3") text = "成果'" + tag;
    return store::Value(store::cutToGbkWidth(text, field.width));
}

// Fields the exchange format does not carry or sets itself, and the import's own: record key
// and list position.
bool travels(const std::string& table, const std::string& field) {
    if (field == "ITEM_4" || field == "ITEM_DQDM") return false;
    if (table == "kjcg") return field != "ITEM_SJDC" && field != "TLinkManEm" && field != "NO";
    if (table == "cgwcr") return field != "ITEM_NO";
    return true;
}

class ImportEndToEnd : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(source.isValid());
        std::string error;
        sourceStore = openShippedData(QDir(source.path()).filePath("data").toStdString(), error);
        ASSERT_TRUE(sourceStore) << error;
    }

    void addSourceRow(const std::string& table, const std::string& number, int record,
                      int variant) {
        auto cursor = sourceStore->db().table(table);
        ASSERT_TRUE(cursor.ok());
        ASSERT_TRUE((*cursor)->append().ok());
        const store::FieldList& fields = store::layoutOf(table).fields;
        for (size_t i = 0; i < fields.size(); ++i)
            ASSERT_TRUE((*cursor)
                            ->setValue(static_cast<int>(i),
                                       sampleValue(table, fields[i], record * 3 + variant,
                                                   static_cast<int>(i)))
                            .ok());
        ASSERT_TRUE((*cursor)->setValue("ITEM_4", number).ok());
        ASSERT_TRUE((*cursor)->setValue("ITEM_DQDM", ".").ok());
        if (table == "kjcg") {
            ASSERT_TRUE((*cursor)->setValue("ITEM_CGLB", std::to_string(record)).ok());
        }
        ASSERT_TRUE((*cursor)->post().ok());
    }

    static std::vector<std::vector<store::Value>>
    rowsOf(store::Database& db, const std::string& table, const std::string& number) {
        std::vector<std::vector<store::Value>> out;
        auto c = db.query("select * from " + table + " where item_4=:n", {{"n", number}});
        EXPECT_TRUE(c.ok());
        for ((*c)->first(); !(*c)->eof(); (*c)->next())
            out.push_back((*c)->row());
        return out;
    }

    void expectSameRows(const std::string& table, const std::string& from, const std::string& to) {
        SCOPED_TRACE(table + " " + from + " -> " + to);
        const auto sent = rowsOf(sourceStore->db(), table, from);
        const auto arrived = rowsOf(db(), table, to);
        ASSERT_EQ(arrived.size(), sent.size());
        ASSERT_FALSE(sent.empty());
        const store::FieldList& fields = store::layoutOf(table).fields;
        for (size_t r = 0; r < sent.size(); ++r)
            for (size_t i = 0; i < fields.size(); ++i) {
                if (!travels(table, fields[i].name)) continue;
                EXPECT_EQ(arrived[r][i].toText(), sent[r][i].toText()) << fields[i].name;
            }
        const auto region = std::find_if(fields.begin(), fields.end(),
                                         [](const auto& f) { return f.name == "ITEM_DQDM"; });
        for (const auto& row : arrived)
            EXPECT_EQ(row[static_cast<size_t>(region - fields.begin())].toText(), ".");
    }

    QTemporaryDir source;
    std::unique_ptr<store::RecordStore> sourceStore;
};

TEST_F(ImportEndToEnd, AnExportedPackageArrivesWholeUnderContinuedNumbers) {
    const std::vector<std::string> sent{"2008000001", "2008000002", "2009000001"};
    for (size_t r = 0; r < sent.size(); ++r) {
        addSourceRow("kjcg", sent[r], static_cast<int>(r) + 1, 0);
        for (const char* table : {"cgwcdw", "cgwcr", "jdwyhmd", "zlqk"})
            for (int variant = 1; variant <= 2; ++variant)
                addSourceRow(table, sent[r], static_cast<int>(r) + 1, variant);
    }
    auto exported = exportPackage(sourceStore->db(), Archiver(), packageFolder(), {1, 2, 3});
    ASSERT_TRUE(exported.ok()) << exported.message();
    ASSERT_TRUE(isImportPackagePath(*exported));

    addRecord("2008000003", "本地成果");
    addRecord("2010000001", "本地成果二");
    const auto localBefore = rows("select * from kjcg");

    auto unpacked = UnpackedPackage::unpack(Archiver(), *exported);
    ASSERT_TRUE(unpacked.ok()) << unpacked.message();
    auto read = readPackage(db(), (*unpacked)->folder());
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 3);
    const MergeOutcome outcome = storeStagedAchievements(db());
    ASSERT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.added, 3);

    const std::vector<std::string> arrived{"2008000004", "2008000005", "2009000001"};
    for (size_t r = 0; r < sent.size(); ++r) {
        expectSameRows("kjcg", sent[r], arrived[r]);
        for (const char* table : {"cgwcdw", "cgwcr", "jdwyhmd", "zlqk"})
            expectSameRows(table, sent[r], arrived[r]);
    }
    const auto all = rows("select * from kjcg");
    EXPECT_EQ(std::vector(all.begin(), all.begin() + 2), localBefore);
    EXPECT_EQ(column("select * from kjcg", "ITEM_SJDC"),
              (std::vector<std::string>{"", "", "0", "0", "0"}));
    EXPECT_EQ(count("cgwcrNew"), 6);
    EXPECT_EQ(stagedRows(), 0);
}

TEST_F(ImportEndToEnd, PackagesThatAreNotExchangePackagesAreRefused) {
    addRecord("2008000001", "本地成果");
    const auto before = liveSnapshot();

    writePackageFile("CGSBQY.ARJ", "this is not an archive at all");
    auto unpacked = UnpackedPackage::unpack(Archiver(), inPackage("CGSBQY.ARJ"));
    ASSERT_FALSE(unpacked.ok());
    EXPECT_NE(unpacked.message().find("CGSBQY.ARJ"), std::string::npos) << unpacked.message();

    // A sound archive that holds something else unpacks, but does not read.
    QFile::remove(inPackage("CGSBQY.ARJ"));
    writePackageFile("README.TXT", "hello\r\n");
    writePackageFile("KJCG.TXT", "");
    packPackage({"README.TXT", "KJCG.TXT"});
    unpacked = UnpackedPackage::unpack(Archiver(), inPackage("CGSBQY.ARJ"));
    ASSERT_TRUE(unpacked.ok()) << unpacked.message();
    auto read = readPackage(db(), (*unpacked)->folder());
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.message(), "文件的格式不正确");
    EXPECT_EQ(liveSnapshot(), before);

    // A folder a process killed outright left behind goes at the next unpack; one of a process
    // still running stays.
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QString left =
        QDir::temp().filePath(QStringLiteral("xunbao-unpack-%1-test").arg(endedPid));
    const QString running = QDir::temp().filePath(
        QStringLiteral("xunbao-unpack-%1-test").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QDir().mkpath(left + QStringLiteral("/inside")) && QDir().mkpath(running));
    UnpackedPackage::removeLeftFolders();
    EXPECT_FALSE(QFileInfo::exists(left));
    EXPECT_TRUE(QFileInfo::exists(running));
    QDir(running).removeRecursively();

    // The private folder goes with the unpacked package.
    const QString folder = (*unpacked)->folder();
    unpacked = store::Error{"gone"};
    EXPECT_FALSE(QDir(folder).exists());
}

} // namespace
} // namespace xb::exchange::testing
