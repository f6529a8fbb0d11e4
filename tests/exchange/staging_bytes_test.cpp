// Reading a package stages texts as the bytes the files hold. The staging tables must come out
// exactly as when every text was decoded into a value and encoded again, which is spelled out
// here with the reader, the value conversion and the row batch; refused files give the same
// message both ways.
#include "exchange/exchange_reader.h"
#include "exchange/exchange_values.h"
#include "exchange/import_reading.h"
#include "exchange/import_staging.h"
#include "import_fixture.h"
#include "store/row_batch.h"
#include "store/table_file.h"
#include "store/values_by_name.h"
#include "support/gbk_codes.h"

namespace xb::exchange::testing {
namespace {

const store::Date Today{2024, 1, 2};

struct StagedFile {
    const char* file;
    const char* table;
};
constexpr StagedFile Files[] = {{"KJCG.TXT", "kjcgtemp"},
                                {"CGWCDW.TXT", "cgwcdwtemp"},
                                {"CGWCR.TXT", "cgwcrtemp"},
                                {"JDWYHMD.TXT", "jdwyhmdtemp"},
                                {"ZLQK.TXT", "zlqktemp"}};

// The staging of one file with every text decoded and encoded again.
store::Status stageByValues(store::Database& db, const QString& folder, const StagedFile& file) {
    auto table = db.openTable(file.table);
    if (!table) return table.error();
    const store::FieldList& fields = store::layoutOf(file.table).fields;
    ReadOptions options;
    options.achievementDates = std::string(file.table) == "kjcgtemp";
    options.today = Today;
    auto reader = ExchangeReader::open(QDir(folder).filePath(file.file).toStdString(),
                                       static_cast<int>(fields.size()), options);
    if (!reader) return reader.error();
    store::RowBatch batch(**table);
    int achievements = 0;
    for (;;) {
        auto record = reader->next();
        if (!record) return record.error();
        if (!*record) break;
        auto values = valuesFromExchange((*record)->fields, fields, (*record)->firstLine);
        if (!values) return store::fail("文件 " + std::string(file.file) + " " + values.message());
        if (options.achievementDates)
            (*values)[static_cast<size_t>(store::fieldPosition(fields, "NO"))] =
                store::Value(std::to_string(++achievements));
        if (store::Status s = batch.add(store::valuesByName(*values, fields, **table)); !s)
            return s;
    }
    return batch.flush();
}

class StagingBytes : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        other = openNewDataDirectory(otherPath());
    }
    std::string otherPath() const { return QDir(root.path()).filePath("other").toStdString(); }

    store::Result<int> read() {
        ReadingOptions options;
        options.today = Today;
        return readPackage(db(), packageFolder(), options);
    }
    // The same package staged by values in the other data directory; the first refusal.
    store::Status readByValues() {
        if (store::Status s = emptyStagingTables(other->db()); !s) return s;
        for (const StagedFile& file : Files)
            if (store::Status s = stageByValues(other->db(), packageFolder(), file); !s) return s;
        return {};
    }
    void expectSameStagingFiles() {
        for (const StagedFile& file : Files) {
            db().closeTable(file.table);
            other->db().closeTable(file.table);
        }
        for (const StagedFile& file : Files)
            for (const char* extension : {".dbf", ".dbt"}) {
                const std::string name = std::string(file.table) + extension;
                const auto path = [&](const std::string& folder) {
                    return QDir(QString::fromStdString(folder))
                        .filePath(QString::fromStdString(name));
                };
                EXPECT_EQ(readBytes(path(dataPath())), readBytes(path(otherPath()))) << name;
            }
    }

    std::unique_ptr<store::RecordStore> other;
};

// Texts that meet every rule of the format: quoted values with TABs, quotes and line breaks, a
// value that starts with a quote, the user-defined codes people's names use and the euro byte,
// texts longer than their fields that end in the middle of a double-byte character, numbers with
// blanks and decimals, dates, a missing registration date and a number the file carried.
void writeTrickyPackage(const QString& folder) {
    const std::string rare = store::fromGbk(euroAndUserDefinedCodes().substr(0, 41));
    std::string longName = "a";
    for (int i = 0; i < 80; ++i)
        longName += "稻";
    std::vector<std::string> achievements;
    for (int i = 0; i < 30; ++i) {
        const std::string number = "2008" + std::to_string(100000 + i);
        RawTexts texts{{"ITEM_4", number},
                       {"ITEM_DQDM", i % 3 == 0 ? "AB" : "."},
                       {"ITEM_3", i % 2 ? longName : "水稻" + rare},
                       {"ITEM_9", "第一单位" + std::to_string(i)},
                       {"ITEM_CGLB", std::to_string(1 + i % 3)},
                       {"ITEM_8", "\"2001.01\t至2003.12\""},
                       {"ITEM_13", "\"第一行\r\n第二\t行，\"\"引号\"\"" + rare + "\""},
                       {"ITEM_13_1", std::string(i * 40, 'x')},
                       {"ITEM_14", "\"\"\"关键词\""},
                       {"ITEM_120", "a\"b"},
                       {"ITEM_45", i % 4 ? " 12.5 " : "-0.25"},
                       {"ITEM_149", std::to_string(i * 1234) + ".756"},
                       {"ITEM_51_2", std::to_string(i % 5)},
                       {"ITEM_303", i % 5 ? "" : "评价意见 "},
                       {"NO", "77"}};
        if (i % 2) texts["ITEM_121"] = "2009-05-06";
        achievements.push_back(kjcgLine(texts));
    }
    writeBytes(QDir(folder).filePath("KJCG.TXT"), linesOf(achievements));
    std::vector<std::string> completers, organizations, members, patents;
    for (int i = 0; i < 30; ++i) {
        const std::string number = "2008" + std::to_string(100000 + i);
        const std::string region = i % 3 == 0 ? "AB" : ".";
        completers.push_back(childLine("cgwcr", {{"ITEM_4", number},
                                                 {"ITEM_DQDM", region},
                                                 {"ITEM_187", std::to_string(i % 3 + 1)},
                                                 {"ITEM_180", i % 2 ? "张" + rare : "李四"},
                                                 {"ITEM_182", "1965.03"},
                                                 {"ITEM_186", longName + longName}}));
        organizations.push_back(childLine("cgwcdw", {{"ITEM_4", number},
                                                     {"ITEM_DQDM", region},
                                                     {"ITEM_176", " 2 "},
                                                     {"ITEM_170", "\"合作\t单位\""}}));
        members.push_back(childLine("jdwyhmd", {{"ITEM_4", number},
                                                {"ITEM_DQDM", region},
                                                {"ITEM_190", "1"},
                                                {"ITEM_192", "赵" + rare}}));
        patents.push_back(childLine("zlqk", {{"ITEM_4", number},
                                             {"ITEM_DQDM", region},
                                             {"ITEM_NO", "1"},
                                             {"PATENT_NAM", longName}}));
    }
    writeBytes(QDir(folder).filePath("CGWCR.TXT"), linesOf(completers));
    writeBytes(QDir(folder).filePath("CGWCDW.TXT"), linesOf(organizations));
    writeBytes(QDir(folder).filePath("JDWYHMD.TXT"), linesOf(members));
    writeBytes(QDir(folder).filePath("ZLQK.TXT"), linesOf(patents));
    writeBytes(QDir(folder).filePath("UNIT.TXT"), "");
}

TEST_F(StagingBytes, TablesAreByteIdenticalToStagingByValues) {
    writeTrickyPackage(packageFolder());
    auto read = this->read();
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(*read, 30);
    const store::Status byValues = readByValues();
    ASSERT_TRUE(byValues.ok()) << byValues.message();
    expectSameStagingFiles();
}

// A text outside the code page, numbers that are none, a number
// wider than its field:
// the same message both ways, and nothing stays staged.
TEST_F(StagingBytes, RefusedFilesGiveTheSameMessageAndLeaveNothingStaged) {
    const std::vector<std::pair<const char*, std::string>> faults{
        {"ITEM_13", "\"" + store::toGbk("好") + "\xFF\""},
        {"ITEM_3", "\x81"},
        {"ITEM_45", "12.5元"},
        {"ITEM_51_2", "二"},
        {"ITEM_51_2", "1234567"},
        {"ITEM_149", std::string(30, '9')}};
    for (const auto& [field, text] : faults) {
        writeTrickyPackage(packageFolder());
        // The fault goes into an achievement put first; the texts are written as bytes.
        RawTexts texts{{"ITEM_4", "2008000002"}, {"ITEM_DQDM", "."}, {"ITEM_3", "名称"}};
        std::string line = kjcgLine(texts);
        const store::FieldList& fields = store::layoutOf("kjcg").fields;
        std::vector<std::string> items;
        for (size_t i = 0, start = 0; i + 1 < fields.size(); ++i) {
            const size_t tab = line.find('\t', start);
            items.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        items[static_cast<size_t>(store::fieldPosition(fields, field))] = text;
        line.clear();
        for (const std::string& item : items)
            line += item + '\t';
        writeBytes(inPackage("KJCG.TXT"), line + "\r\n" + readBytes(inPackage("KJCG.TXT")));

        auto read = this->read();
        ASSERT_FALSE(read.ok()) << field;
        const store::Status byValues = readByValues();
        ASSERT_FALSE(byValues.ok()) << field;
        EXPECT_EQ(read.message(), byValues.message()) << field;
        EXPECT_EQ(stagedRows(), 0) << field;
    }
}

} // namespace
} // namespace xb::exchange::testing
