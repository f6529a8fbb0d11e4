// Test data shared by the export and dictionary tests: a data directory of its own, built from
// the installation sources and opened as the program opens it, and a small research office.
// Helpers report failures as values, so that fixtures and helpers outside a test can use them.
#pragma once

#include "store/record_store.h"
#include "store/value.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xb::exchange::testing {

class TestDataDirectory {
  public:
    TestDataDirectory();
    // Empty when the directory was built and opened; otherwise what went wrong.
    const std::string& error() const { return error_; }
    store::RecordStore& store() { return *store_; }
    store::Database& db() { return store_->db(); }
    QString path() const;

  private:
    QTemporaryDir folder_;
    std::unique_ptr<store::RecordStore> store_;
    std::string error_;
};

// Appends a row given as field names and values; yields its physical row number.
using FieldValues = std::vector<std::pair<std::string, store::Value>>;
store::Result<uint32_t> addRow(store::Database& db, const std::string& table,
                               const FieldValues& values);

// Records A (2008000001, applied technology, memos with a line break and a leading quote),
// B (2008000002) and C (2009000001), stored in that order. Each has a cooperating
// organization; A and C have completers, A a committee member and a patent; C's child rows
// are stored before A's. One profile row, two subject leaders.
struct SampleOffice {
    uint32_t recordA = 0, recordB = 0, recordC = 0;
};
store::Result<SampleOffice> addSampleOffice(store::Database& db);

// The stored record number and ITEM_SJDC of each achievement record.
std::vector<std::pair<std::string, std::string>> exportFlags(store::Database& db);

QByteArray gbk(const QString& text);
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
// The names in a folder, hidden ones included, sorted.
QStringList folderEntries(const QString& folder);

} // namespace xb::exchange::testing
