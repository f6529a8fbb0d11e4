#include "import_journal.h"

#include "sync_scope.h"
#include "system_error.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace xb::store {

namespace {

constexpr const char* kJournalName = "import.jnl";
// The tables that hold a record's rows. The achievement row goes last, so a removal that is
// interrupted leaves the record listed, and the journal, until the next opening finishes it.
constexpr const char* kRecordTables[] = {"zlqk", "cgwcdw", "cgwcr", "jdwyhmd", "kjcg"};

std::string journalPath(const Database& db) {
    return (std::filesystem::path(db.directory()) / kJournalName).string();
}

Status removeRecordRows(Database& db, const std::string& number) {
    for (const char* table : kRecordTables) {
        if (!db.hasTable(table)) continue;
        auto deleted = db.execute(std::string("delete from ") + table + " where item_4=:item_4",
                                  {{"item_4", number}});
        if (!deleted) return deleted.error();
    }
    return {};
}

Error journalError(const std::string& what, int errorNumber) {
    return fail("导入日志 " + std::string(kJournalName) + what + "：" +
                systemErrorText(errorNumber));
}

} // namespace

Status settleImportJournal(Database& db) {
    const std::string path = journalPath(db);
    std::unique_ptr<File> file;
    if (const int error = openFile(path, OpenAs::Read, file))
        return error == ENOENT ? Status() : Status(journalError("无法读取", error));
    uint64_t size = 0;
    std::string bytes;
    int error = file->size(size);
    if (!error) {
        bytes.resize(static_cast<size_t>(size));
        error = readExactly(*file, bytes.data(), bytes.size(), 0);
    }
    if (error) return journalError("无法读取", error);
    file.reset();
    std::istringstream in(bytes);

    // What the journal says, line by line; a last line cut short by the kill is ignored.
    std::set<std::string> begun, whole, gone;
    std::map<std::string, std::string> twinOf;
    std::string text;
    while (std::getline(in, text)) {
        if (in.eof()) break; // no line end: the write was cut short
        std::istringstream words(text);
        std::string kind, number, twin;
        words >> kind >> number >> twin;
        if (number.empty()) continue;
        if (kind == "S") {
            begun.insert(number);
            if (!twin.empty()) twinOf[number] = twin;
        } else if (kind == "W") {
            whole.insert(number);
        } else if (kind == "R") {
            gone.insert(number);
        }
    }

    // What the settling removes is on the disk before the journal that calls for it goes.
    SyncScope scope;
    for (const std::string& number : begun) {
        if (!whole.count(number)) {
            if (Status s = removeRecordRows(db, number); !s) return s;
        } else if (auto twin = twinOf.find(number);
                   twin != twinOf.end() && !gone.count(twin->second)) {
            if (Status s = removeRecordRows(db, twin->second); !s) return s;
        }
    }
    if (Status s = scope.commit(); !s) return s;
    if (const int removed = fileSystem().remove(path); removed && removed != ENOENT)
        return journalError("无法删除", removed);
    return {};
}

ImportJournal::ImportJournal(Database& db, std::unique_ptr<File> file)
    : db_(&db), file_(std::move(file)) {}

ImportJournal::ImportJournal(ImportJournal&& other) noexcept
    : db_(other.db_), file_(std::move(other.file_)), size_(other.size_) {}

ImportJournal::~ImportJournal() = default;

Result<ImportJournal> ImportJournal::begin(Database& db) {
    if (Status s = settleImportJournal(db); !s) return s.error();
    const std::string path = journalPath(db);
    std::unique_ptr<File> file;
    int error = openFile(path, OpenAs::Replace, file);
    // The journal must exist on disk before the first row it protects.
    if (!error) error = file->sync();
    if (!error) error = fileSystem().syncDirectory(db.directory());
    if (error) return journalError("无法建立", error);
    return ImportJournal(db, std::move(file));
}

Status ImportJournal::line(const std::string& text) {
    return lines(text + "\n");
}

Status ImportJournal::lines(const std::string& bytes) {
    // Each line is on the disk before what it announces is written.
    int error = file_->writeAt(bytes.data(), bytes.size(), size_);
    if (!error) error = file_->sync();
    if (error) return journalError("无法写入", error);
    size_ += bytes.size();
    return {};
}

Status ImportJournal::storing(const std::string& number, const std::string& replaces) {
    return line("S " + number + (replaces.empty() ? "" : " " + replaces));
}

Status ImportJournal::stored(const std::string& number) {
    return line("W " + number);
}

Status ImportJournal::storing(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string text;
    for (const auto& [number, replaces] : records)
        text += "S " + number + (replaces.empty() ? "" : " " + replaces) + "\n";
    return lines(text);
}

namespace {
std::string linesOf(const char* kind, const std::vector<std::string>& numbers) {
    std::string text;
    for (const std::string& number : numbers)
        text += std::string(kind) + " " + number + "\n";
    return text;
}
} // namespace

Status ImportJournal::stored(const std::vector<std::string>& numbers) {
    return lines(linesOf("W", numbers));
}

Status ImportJournal::replaced(const std::vector<std::string>& twins) {
    return lines(linesOf("R", twins));
}

Status ImportJournal::finish() {
    file_.reset();
    return settleImportJournal(*db_);
}

} // namespace xb::store
