#include "database.h"

#include "layouts.h"
#include "pack.h"
#include "sql_executor.h"
#include "sql_parser.h"
#include "sync_scope.h"
#include "table_file.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace fs = std::filesystem;

namespace xb::store {
namespace {

std::string withExtension(const std::string& name) {
    const std::string lower = lowerName(name);
    return lower.ends_with(".dbf") ? name : name + ".dbf";
}

} // namespace

Database::Database(std::string directory, bool reading)
    : directory_(std::move(directory)), reading_(reading) {}
Database::~Database() = default;

std::string Database::tablePath(const std::string& name) const {
    const std::string file = withExtension(name);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(directory_, ec))
        if (sameName(entry.path().filename().string(), file)) return entry.path().string();
    return (fs::path(directory_) / file).string();
}

bool Database::hasTable(const std::string& name) const {
    std::error_code ec;
    return fs::exists(tablePath(name), ec);
}

Result<std::shared_ptr<TableFile>> Database::openTable(const std::string& name) {
    const std::string key = lowerName(withExtension(name));
    if (auto it = open_.find(key); it != open_.end()) return it->second;
    auto table = TableFile::open(tablePath(name), reading_ ? OpenMode::Reading : OpenMode::Shared);
    if (!table) return table.error();
    // A table another program wrote may lack fields the program writes; it is only read then,
    // since a row written without them would lose what belongs there.
    if (const TableLayout* layout = findLayout(name))
        for (const FieldDef& field : layout->fields)
            if ((*table)->fieldIndex(field.name) < 0) {
                (*table)->refuseWrites("表文件 " + (*table)->fileName() + " 缺少字段 " +
                                       field.name);
                break;
            }
    open_.emplace(key, *table);
    return *table;
}

Result<std::unique_ptr<Cursor>> Database::table(const std::string& name) {
    auto table = openTable(name);
    if (!table) return table.error();
    auto rows = allRows(**table);
    if (!rows) return rows.error();
    return std::make_unique<Cursor>(*table, std::move(*rows), true);
}

namespace {

// Statements parsed before, by their text: the program runs the same few statements over and
// over (a check per record, a lookup per row) with other parameter values.
Result<std::shared_ptr<const sql::Statement>> parsed(const std::string& text) {
    constexpr size_t kKept = 256;
    static std::mutex guard;
    static std::unordered_map<std::string, std::shared_ptr<const sql::Statement>> known;
    {
        std::lock_guard lock(guard);
        if (auto it = known.find(text); it != known.end()) return it->second;
    }
    auto statement = sql::parse(text);
    if (!statement) return statement.error();
    auto shared = std::make_shared<const sql::Statement>(std::move(*statement));
    std::lock_guard lock(guard);
    if (known.size() >= kKept) known.clear();
    known.emplace(text, shared);
    return shared;
}

} // namespace

Result<std::unique_ptr<Cursor>> Database::query(const std::string& sql, const Params& params) {
    auto statement = parsed(sql);
    if (!statement) return statement.error();
    const auto* select = std::get_if<sql::Select>(statement->get());
    if (!select) return fail("SQL 语句有误：查询只能使用 SELECT 语句");
    return sql::runSelect(*this, *select, params);
}

Result<int> Database::execute(const std::string& sql, const Params& params) {
    auto statement = parsed(sql);
    if (!statement) return statement.error();
    if (std::holds_alternative<sql::Select>(**statement))
        return fail("SQL 语句有误：SELECT 语句应作为查询执行");
    // A statement over many rows syncs each table once, when it is done.
    SyncScope scope;
    auto changed = sql::runChange(*this, **statement, params);
    if (Status s = scope.commit(); !s) return s.error();
    return changed;
}

Status Database::pack(const std::string& name) {
    const std::string key = lowerName(withExtension(name));
    if (auto it = open_.find(key); it != open_.end()) {
        if (it->second.use_count() > 1)
            return fail("表文件 " + it->second->fileName() + " 正在使用，无法压缩");
        open_.erase(it);
    }
    return packTable(tablePath(name), PackNeed::WhenNeeded);
}

void Database::closeTable(const std::string& name) {
    open_.erase(lowerName(withExtension(name)));
}

} // namespace xb::store
