#include "import_journal.h"

#include "system_error.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

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
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return journalError("无法读取", errno);

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
    in.close();

    for (const std::string& number : begun) {
        if (!whole.count(number)) {
            if (Status s = removeRecordRows(db, number); !s) return s;
        } else if (auto twin = twinOf.find(number);
                   twin != twinOf.end() && !gone.count(twin->second)) {
            if (Status s = removeRecordRows(db, twin->second); !s) return s;
        }
    }
    if (!std::filesystem::remove(path, ec) && ec)
        return fail("导入日志 " + std::string(kJournalName) + "无法删除：" + ec.message());
    return {};
}

ImportJournal::ImportJournal(Database& db, int fd) : db_(&db), fd_(fd) {}

ImportJournal::ImportJournal(ImportJournal&& other) noexcept : db_(other.db_), fd_(other.fd_) {
    other.fd_ = -1;
}

ImportJournal::~ImportJournal() {
    if (fd_ >= 0) ::close(fd_);
}

Result<ImportJournal> ImportJournal::begin(Database& db) {
    if (Status s = settleImportJournal(db); !s) return s.error();
    const std::string path = journalPath(db);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return journalError("无法建立", errno);
    // The journal must exist on disk before the first row it protects.
    ::fsync(fd);
    return ImportJournal(db, fd);
}

Status ImportJournal::line(const std::string& text) {
    return lines(text + "\n");
}

Status ImportJournal::lines(const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return journalError("无法写入", errno);
        written += static_cast<size_t>(n);
    }
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

Status ImportJournal::stored(const std::vector<std::string>& numbers) {
    std::string text;
    for (const std::string& number : numbers)
        text += "W " + number + "\n";
    return lines(text);
}

Status ImportJournal::replaced(const std::string& replaced) {
    return line("R " + replaced);
}

Status ImportJournal::finish() {
    ::close(fd_);
    fd_ = -1;
    return settleImportJournal(*db_);
}

} // namespace xb::store
