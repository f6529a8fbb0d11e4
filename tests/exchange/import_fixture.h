// Test data for the import: a data directory of its own, built from the installation sources
// and opened as the program opens it, helpers that add stored records and child rows, and
// helpers that write exchange files by hand and pack them with the real arj.
#pragma once

#include "exchange/archiver.h"
#include "store/gbk.h"
#include "store/layouts.h"
#include "store/record_store.h"
#include "support/shipped_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xb::exchange::testing {

using Fields = std::vector<std::pair<std::string, store::Value>>;
// Field texts of a hand-written exchange line, by field name; they are put in the file as they
// stand, so quoting is written out in the test.
using RawTexts = std::map<std::string, std::string>;

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// One hand-written line: the texts in the table's field order, UTF-8 turned into GBK. An
// achievement line leaves out the last field and ends with TAB; a child line ends with its last
// written value, bare. `written` is the number of fields the file carries.
inline std::string handLine(const std::string& table, const RawTexts& texts, size_t written,
                            bool endsWithTab) {
    const store::FieldList& fields = store::layoutOf(table).fields;
    std::string line;
    for (size_t i = 0; i < written; ++i) {
        auto it = texts.find(fields[i].name);
        if (it != texts.end()) line += store::toGbk(it->second);
        if (endsWithTab || i + 1 < written) line += '\t';
    }
    return line;
}

inline std::string kjcgLine(const RawTexts& texts) {
    return handLine("kjcg", texts, store::layoutOf("kjcg").fields.size() - 1, true);
}

// CGWCR.TXT leaves out ITEM_NO; the other child files carry every field.
inline std::string childLine(const std::string& table, const RawTexts& texts) {
    size_t written = store::layoutOf(table).fields.size();
    if (table == "cgwcr") --written;
    return handLine(table, texts, written, false);
}

inline std::string linesOf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// A data directory built from the installation sources in `path`, opened.
inline std::unique_ptr<store::RecordStore> openNewDataDirectory(const std::string& path) {
    std::string error;
    auto opened = openShippedData(path, error);
    EXPECT_TRUE(opened) << error;
    return opened;
}

class ImportFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("package"));
        store = openNewDataDirectory(dataPath());
    }

    std::string dataPath() const { return QDir(root.path()).filePath("data").toStdString(); }
    QString packageFolder() const { return QDir(root.path()).filePath("package"); }
    QString inPackage(const QString& name) const { return QDir(packageFolder()).filePath(name); }
    store::Database& db() { return store->db(); }

    void addRow(const std::string& table, const Fields& fields) {
        auto cursor = db().table(table);
        ASSERT_TRUE(cursor.ok()) << cursor.message();
        ASSERT_TRUE((*cursor)->append().ok());
        for (const auto& [name, value] : fields)
            ASSERT_TRUE((*cursor)->setValue(name, value).ok()) << name;
        auto posted = (*cursor)->post();
        ASSERT_TRUE(posted.ok()) << posted.message();
    }
    void addRecord(const std::string& number, const std::string& name,
                   const std::string& unit = "第一单位", Fields more = {}) {
        Fields fields{{"ITEM_4", number},
                      {"ITEM_DQDM", "."},
                      {"ITEM_3", name},
                      {"ITEM_9", unit},
                      {"ITEM_CGLB", "1"}};
        fields.insert(fields.end(), more.begin(), more.end());
        addRow("kjcg", fields);
    }

    // Every row of a query, each field as text.
    std::vector<std::vector<std::string>> rows(const std::string& sql,
                                               const store::Params& params = {}) {
        std::vector<std::vector<std::string>> out;
        auto c = db().query(sql, params);
        EXPECT_TRUE(c.ok()) << (c.ok() ? "" : c.message());
        if (!c.ok()) return out;
        for ((*c)->first(); !(*c)->eof(); (*c)->next()) {
            std::vector<std::string> row;
            for (const store::Value& v : (*c)->row())
                row.push_back(v.toText());
            out.push_back(row);
        }
        return out;
    }
    // One column of a query, as text.
    std::vector<std::string> column(const std::string& sql, const std::string& field,
                                    const store::Params& params = {}) {
        std::vector<std::string> out;
        auto c = db().query(sql, params);
        EXPECT_TRUE(c.ok()) << (c.ok() ? "" : c.message());
        if (!c.ok()) return out;
        for ((*c)->first(); !(*c)->eof(); (*c)->next())
            out.push_back((*c)->text(field));
        return out;
    }
    int count(const std::string& table) {
        return static_cast<int>(rows("select * from " + table).size());
    }
    // The rows of the live tables and the completer pool, to prove that they did not change.
    std::vector<std::vector<std::string>> liveSnapshot() {
        std::vector<std::vector<std::string>> all;
        for (const char* table : {"kjcg", "cgwcdw", "cgwcr", "jdwyhmd", "zlqk", "cgwcrNew"})
            for (auto& row : rows(std::string("select * from ") + table))
                all.push_back(std::move(row));
        return all;
    }
    int stagedRows() {
        int n = 0;
        for (const char* table : {"kjcgtemp", "cgwcdwtemp", "cgwcrtemp", "jdwyhmdtemp", "zlqktemp"})
            n += count(table);
        return n;
    }

    // Writes exchange files into the package folder; bytes as given.
    void writePackageFile(const QString& name, const std::string& bytes) {
        writeBytes(inPackage(name), bytes);
    }
    // Packs the named files of the package folder into a new archive and removes the text files.
    QString packPackage(const QStringList& files, const QString& archive = "CGSBQY.ARJ") {
        QFile::remove(inPackage(archive));
        auto packed = Archiver().add(packageFolder(), archive, files);
        EXPECT_TRUE(packed.ok()) << (packed.ok() ? "" : packed.message());
        for (const QString& file : files)
            QFile::remove(inPackage(file));
        return inPackage(archive);
    }

    QTemporaryDir root;
    std::unique_ptr<store::RecordStore> store;
};

} // namespace xb::exchange::testing
