#include "history.h"

#include "field.h"
#include "file_system.h"
#include "gbk.h"
#include "sync_scope.h"
#include "system_error.h"
#include "table_file.h"
#include "whole_files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iterator>

namespace fs = std::filesystem;

namespace xb::store {

const char* const kHistoryFile = "xbhist.dbf";

namespace {

thread_local HistoryScope* tCurrent = nullptr;

enum Column { Time, Operation, Section, Table, Number, Field, Before, After };

const FieldList& historyFields() {
    static const FieldList fields{charField("h_time", 23),    charField("h_oper", 30),
                                  charField("h_section", 60), charField("h_table", 10),
                                  charField("item_4", 10),    charField("h_field", 10),
                                  memoField("h_before"),      memoField("h_after")};
    return fields;
}

std::string historyError(const std::string& what) {
    return "无法写入修改记录（" + what + "）";
}

// To the millisecond and never the same twice in one process, so that the changes read in the
// order they were made.
std::string now() {
    static long long last = 0;
    const long long millis = std::max(
        last + 1, static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::system_clock::now().time_since_epoch())
                                             .count()));
    last = millis;
    const std::time_t t = static_cast<std::time_t>(millis / 1000);
    std::tm local{};
    localtime_r(&t, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(millis % 1000));
    return text;
}

std::string tableName(const TableFile& table) {
    return lowerName(fs::path(table.path()).stem().string());
}

// The history and the completer pool (a by-product of the completers' names) are not the
// office's records; staging tables are the import's work.
bool recorded(const std::string& table) {
    return table + ".dbf" != kHistoryFile && table != "cgwcrnew" && !table.ends_with("temp");
}

// A new history is made under a passing name and then given its own, so that one cut short (a
// full disk, a power cut) is never taken for a damaged history.
Status createHistory(const std::string& directory) {
    FileSystem& files = fileSystem();
    const fs::path dir(directory);
    const fs::path table = dir / ".xbhist-new.dbf", memo = dir / ".xbhist-new.dbt";
    const std::string oldMemo = findFile(directory, "xbhist.dbt");
    for (const fs::path& left : {table, memo, oldMemo.empty() ? fs::path() : dir / oldMemo})
        if (!left.empty()) (void)files.remove(left.string());
    if (Status s = TableFile::create(table.string(), historyFields()); !s) {
        (void)files.remove(table.string());
        (void)files.remove(memo.string());
        return s;
    }
    int error = files.rename(memo.string(), (dir / "xbhist.dbt").string());
    if (!error) error = files.rename(table.string(), (dir / kHistoryFile).string());
    if (!error) error = files.syncDirectory(directory);
    if (error) return fail(systemErrorText(error));
    return {};
}

Result<std::shared_ptr<TableFile>> openHistory(const std::string& directory) {
    std::string present = findFile(directory, kHistoryFile);
    if (present.empty()) {
        if (Status s = createHistory(directory); !s) return s.error();
        present = kHistoryFile;
    }
    return TableFile::open((fs::path(directory) / present).string(), OpenMode::Shared);
}

} // namespace

HistoryScope::HistoryScope(std::string operation, std::string section)
    : operation_(std::move(operation)), section_(std::move(section)), outer_(tCurrent) {
    tCurrent = this;
}

HistoryScope::~HistoryScope() {
    tCurrent = outer_;
}

HistoryScope* HistoryScope::current() {
    return tCurrent;
}

void HistoryScope::add(const std::string& directory, HistoryChange change) {
    directory_ = directory;
    changes_.push_back(std::move(change));
}

void HistoryScope::noteRow(const TableFile& table, const std::vector<Value>& before,
                           const std::vector<Value>& after) {
    const std::string name = tableName(table);
    if (!recorded(name)) return;
    const FieldList& fields = table.fields();
    const int numberField = table.fieldIndex("item_4");
    auto textOf = [](const std::vector<Value>& row, size_t i) {
        return i < row.size() ? trimRight(row[i].toText()) : std::string();
    };
    std::string number;
    if (numberField >= 0)
        number = textOf(after.empty() ? before : after, static_cast<size_t>(numberField));
    const std::string directory = fs::path(table.path()).parent_path().string();
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string was = textOf(before, i), is = textOf(after, i);
        if (was == is) continue;
        add(directory, {name, number, lowerName(fields[i].name), std::move(was), std::move(is)});
    }
}

Status HistoryScope::commit() {
    if (changes_.empty()) return {};
    Status s = appendHistory(directory_, operation_, section_, changes_);
    changes_.clear();
    return s;
}

Status appendHistory(const std::string& directory, const std::string& operation,
                     const std::string& section, const std::vector<HistoryChange>& changes) {
    if (changes.empty()) return {};
    SyncScope sync;
    auto table = openHistory(directory);
    if (!table) return fail(historyError(table.message()));
    const std::string time = now();
    PendingRows rows;
    for (const HistoryChange& c : changes) {
        const std::vector<Value> values{time,
                                        cutToGbkWidth(operation, 30),
                                        cutToGbkWidth(section, 60),
                                        c.table,
                                        c.number,
                                        c.field,
                                        Value(c.before),
                                        Value(c.after)};
        if (Status s = (*table)->encodeNew(values, rows); !s)
            return fail(historyError(s.message()));
    }
    if (auto appended = (*table)->appendRows(rows); !appended)
        return fail(historyError(appended.message()));
    if (Status s = sync.commit(); !s) return fail(historyError(s.message()));
    return {};
}

Result<std::vector<HistoryEntry>> readHistory(const std::string& directory,
                                              const std::string& number) {
    std::vector<HistoryEntry> entries;
    const std::string present = findFile(directory, kHistoryFile);
    if (present.empty()) return entries;
    auto table = TableFile::open((fs::path(directory) / present).string(), OpenMode::Reading);
    if (!table) return table.error();
    const TableFile& history = **table;
    if (history.fields().size() != historyFields().size())
        return fail("修改记录表 " + present + " 的字段不对");
    Status read = history.scan([&](uint32_t, std::string_view raw) {
        // Only the rows of the record are decoded, memos and all.
        if (!number.empty() && history.fieldBytes(raw, Number) != number) return true;
        std::vector<Value> row = history.decodeRow(raw);
        auto text = [&](int column) {
            return trimRight(row[static_cast<size_t>(column)].toText());
        };
        entries.push_back(
            {text(Time),
             text(Operation),
             text(Section),
             {text(Table), text(Number), text(Field), row[Before].toText(), row[After].toText()}});
        return true;
    });
    if (!read) return read.error();
    // The newest change first; the lines of one change (the fields of one save, written under
    // one time) stay in the order they were written.
    std::vector<HistoryEntry> newestFirst;
    newestFirst.reserve(entries.size());
    for (size_t end = entries.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && entries[begin - 1].time == entries[end - 1].time)
            --begin;
        std::move(entries.begin() + static_cast<long>(begin),
                  entries.begin() + static_cast<long>(end), std::back_inserter(newestFirst));
        end = begin;
    }
    for (HistoryEntry& e : newestFirst)
        e.time.resize(std::min<size_t>(e.time.size(), 19)); // shown to the second
    return newestFirst;
}

} // namespace xb::store
