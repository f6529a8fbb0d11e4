#include "gatherer.h"

#include "authority/gather_schema.h"
#include "exchange/exchange_reader.h"
#include "exchange/exchange_values.h"
#include "exchange/folder_files.h"
#include "exchange/import_file_check.h"
#include "exchange/import_package.h"
#include "exchange/import_reading.h"
#include "exchange/package_keys.h"
#include "store/layouts.h"
#include "store/lookups.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace xb::authority {
namespace {

// Rows go to the server in pieces of about a megabyte, so a package of any size is held in
// memory one piece at a time.
constexpr size_t CopyPieceBytes = size_t{1} << 20;
// Gatherers of one database take their turns, so that two of them never replace each other's
// records half-way.
constexpr const char* GatherLock = "SELECT pg_advisory_xact_lock(7340035)";

void appendValue(std::string& out, const store::Value& value, store::FieldType type) {
    const bool text = type == store::FieldType::Character || type == store::FieldType::Memo;
    if (text) {
        if (const std::string* t = value.text()) appendCopyText(out, *t);
        return;
    }
    if (value.isNull()) {
        out += "\\N";
        return;
    }
    appendCopyText(out, value.toText());
}

std::string columnList(const store::FieldList& fields) {
    std::string out;
    for (const store::FieldDef& field : fields)
        out += ", " + columnName(field);
    return out;
}

std::string textOf(const std::vector<store::Value>& values, const store::FieldList& fields,
                   const char* name) {
    const int at = store::fieldPosition(fields, name);
    if (at < 0) return {};
    const std::string* text = values[static_cast<size_t>(at)].text();
    return text ? store::trimmed(*text) : std::string();
}

struct SubmittingUnit {
    std::string key; // organization code, else name; empty when the package has no UNIT.TXT row
    std::string name;
    std::vector<store::Value> values;
};

// The first row of UNIT.TXT, read and checked as the other files are.
store::Result<SubmittingUnit> readUnit(const QString& folder) {
    SubmittingUnit unit;
    const QString name = exchange::findFileIgnoringCase(folder, QStringLiteral("UNIT.TXT"));
    if (name.isEmpty()) return unit;
    const std::filesystem::path path = QDir(folder).filePath(name).toStdString();
    if (auto s = exchange::checkFileComplete(path, "UNIT.TXT"); !s) return s.error();
    const store::FieldList& fields = store::layoutOf("unit").fields;
    auto reader = exchange::ExchangeReader::open(path, static_cast<int>(fields.size()));
    if (!reader) return reader.error();
    exchange::ExchangeRecord record;
    auto more = reader->next(record);
    if (!more) return more.error();
    if (!*more) return unit;
    auto values = exchange::valuesFromExchange(record.fields, fields, record.firstLine);
    if (!values) return store::fail("文件 UNIT.TXT " + values.message());
    unit.values = std::move(*values);
    unit.name = textOf(unit.values, fields, "item_9");
    unit.key = textOf(unit.values, fields, "item_420");
    if (unit.key.empty()) unit.key = unit.name;
    return unit;
}

} // namespace

store::Result<std::string> sha256OfFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return store::fail("无法读取文件 " + path + "：" + file.errorString().toStdString());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return store::fail("无法读取文件 " + path);
    return hash.result().toHex().toStdString();
}

store::Result<std::vector<std::string>> packagesIn(const std::vector<std::string>& inputs) {
    namespace fs = std::filesystem;
    std::vector<std::string> packages;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (fs::is_regular_file(input, error)) {
            packages.push_back(input);
            continue;
        }
        if (!fs::is_directory(input, error)) return store::fail("找不到压缩包或文件夹 " + input);
        std::vector<std::string> found;
        for (auto it = fs::recursive_directory_iterator(input, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (!it->is_regular_file(error)) continue;
            std::string extension = it->path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (extension == ".arj") found.push_back(it->path().string());
        }
        if (error) return store::fail("无法列出文件夹 " + input + "：" + error.message());
        std::sort(found.begin(), found.end());
        packages.insert(packages.end(), found.begin(), found.end());
    }
    return packages;
}

store::Result<std::unique_ptr<Gatherer>> Gatherer::open(const std::string& conninfo,
                                                        const std::string& rowsFolder,
                                                        exchange::Archiver archiver) {
    auto db = PgConnection::open(conninfo);
    if (!db) return db.error();
    if (auto s = migrateSchema(**db); !s) return s.error();
    if (auto s = loadDictionaries(**db, rowsFolder); !s) return s.error();
    if (auto s = (*db)->execute(std::string("SET search_path = ") + GatherSchema); !s)
        return s.error();
    auto known = (*db)->query("SELECT sha256, file_name FROM package");
    if (!known) return known.error();
    std::unique_ptr<Gatherer> gatherer(new Gatherer(std::move(*db), std::move(archiver)));
    for (int r = 0; r < known->rows(); ++r)
        gatherer->known_.emplace(known->text(r, 0), known->text(r, 1));
    return gatherer;
}

PreparedPackage::PreparedPackage() = default;
PreparedPackage::PreparedPackage(PreparedPackage&&) noexcept = default;
PreparedPackage& PreparedPackage::operator=(PreparedPackage&&) noexcept = default;
PreparedPackage::~PreparedPackage() = default;

PackageReport Gatherer::gather(const std::string& path) {
    PreparedPackage package = prepare(path);
    return load(package);
}

std::optional<std::string> Gatherer::knownAs(const std::string& hash) {
    const std::lock_guard lock(knownMutex_);
    const auto found = known_.find(hash);
    if (found == known_.end()) return std::nullopt;
    return found->second;
}

PreparedPackage Gatherer::prepare(const std::string& path) {
    PreparedPackage package;
    package.path = path;
    PackageReport report;
    report.path = path;
    auto hash = sha256OfFile(path);
    if (!hash) {
        report.message = hash.message();
        package.settled = report;
        return package;
    }
    package.hash = *hash;
    if (auto known = knownAs(package.hash)) {
        report.outcome = PackageOutcome::AlreadyGathered;
        report.message = "与已汇总的压缩包 " + *known + " 内容相同，跳过";
        package.settled = report;
        return package;
    }
    auto unpacked = exchange::UnpackedPackage::unpack(archiver_, QString::fromStdString(path));
    if (!unpacked) {
        report.message = unpacked.message();
        package.settled = report;
        return package;
    }
    package.unpacked = std::move(*unpacked);
    return package;
}

PackageReport Gatherer::load(PreparedPackage& package) {
    if (package.settled) return *package.settled;
    PackageReport report;
    report.path = package.path;
    if (auto s = loadUnpacked(package, report); !s) {
        (void)db_->execute("ROLLBACK");
        report.outcome = PackageOutcome::Refused;
        report.message = s.message();
        report.achievements = report.childRows = report.replaced = 0;
        return report;
    }
    if (report.outcome == PackageOutcome::Gathered) {
        const std::lock_guard lock(knownMutex_);
        known_.emplace(package.hash, package.path);
    }
    return report;
}

store::Status Gatherer::loadUnpacked(const PreparedPackage& prepared, PackageReport& report) {
    const std::string& path = prepared.path;
    const std::string& hash = prepared.hash;
    const QString folder = prepared.unpacked->folder();
    if (auto s = exchange::checkPackageFiles(folder); !s) return s;
    auto unit = readUnit(folder);
    if (!unit) return unit.error();
    report.organization = unit->name;

    // The package row, with its organization's newest profile, in one exchange with the
    // server; a package of the same hash taken by another gatherer meanwhile gives no row.
    std::string organizationId = "NULL";
    std::string sql = std::string("BEGIN; ") + GatherLock + "; ";
    if (!unit->key.empty()) {
        const store::FieldList& fields = store::layoutOf("unit").fields;
        std::string names = "org_key", values = db_->literal(unit->key), updates;
        for (size_t k = 0; k < fields.size(); ++k) {
            const std::string column = columnName(fields[k]);
            names += ", " + column;
            updates += std::string(k ? ", " : "") + column + " = EXCLUDED." + column;
            const store::Value& v = unit->values[k];
            const bool text = fields[k].type == store::FieldType::Character ||
                              fields[k].type == store::FieldType::Memo;
            values += ", " + db_->literal(text         ? std::optional(v.text() ? *v.text() : "")
                                          : v.isNull() ? std::nullopt
                                                       : std::optional(v.toText()));
        }
        sql += "WITH o AS (INSERT INTO organization (" + names + ") VALUES (" + values +
               ") ON CONFLICT (org_key) DO UPDATE SET " + updates + " RETURNING id) ";
        organizationId = "(SELECT id FROM o)";
    }
    sql += "INSERT INTO package (file_name, sha256, organization_id) SELECT " + db_->literal(path) +
           ", " + db_->literal(hash) + ", " + organizationId +
           " ON CONFLICT (sha256) DO NOTHING RETURNING id, organization_id";
    auto begun = db_->executeAll(sql);
    if (!begun) return begun.error();
    const PgRows& package = begun->back();
    if (package.rows() == 0) {
        report.outcome = PackageOutcome::AlreadyGathered;
        auto known = db_->query("SELECT file_name FROM package WHERE sha256 = $1", {hash});
        report.message = "与已汇总的压缩包 " + (known && known->rows() ? known->text(0, 0) : "") +
                         " 内容相同，跳过";
        return db_->execute("ROLLBACK");
    }
    const std::string packageId = package.text(0, 0);
    const std::optional<std::string> organization =
        package.isNull(0, 1) ? std::nullopt : std::optional(package.text(0, 1));
    const std::string prefix = packageId + "\t" + (organization ? *organization : "\\N");

    exchange::PackageKeys keys;
    std::vector<long long> counts;
    for (const GatheredTable& table : gatheredTables()) {
        long long rows = 0;
        const QString name =
            exchange::findFileIgnoringCase(folder, QString::fromLatin1(table.fileName));
        if (!name.isEmpty()) {
            const std::filesystem::path file = QDir(folder).filePath(name).toStdString();
            if (auto s = exchange::checkFileComplete(file, table.fileName); !s) return s;
            const store::FieldList& fields = store::layoutOf(table.tableName).fields;
            exchange::ReadOptions options;
            options.variant = exchange::ReadVariant::Import;
            options.achievementDates = table.achievements;
            auto reader =
                exchange::ExchangeReader::open(file, static_cast<int>(fields.size()), options);
            if (!reader) return reader.error();
            std::string copy = "COPY " + std::string(table.tableName) + " (package_id" +
                               (table.achievements ? ", organization_id" : "") +
                               columnList(fields) + ") FROM STDIN";
            if (auto s = db_->beginCopy(copy); !s) return s;
            const std::string& rowPrefix = table.achievements ? prefix : packageId;
            std::string data;
            data.reserve(CopyPieceBytes + (CopyPieceBytes >> 2));
            exchange::ExchangeRecord record;
            const auto refuse = [&](store::Error error) -> store::Status {
                db_->abortCopy(error.message);
                return error;
            };
            for (;;) {
                auto more = reader->next(record);
                if (!more) return refuse(more.error());
                if (!*more) break;
                auto values = exchange::valuesFromExchange(record.fields, fields, record.firstLine);
                if (!values)
                    return refuse(store::fail("文件 " + std::string(table.fileName) + " " +
                                              values.message()));
                if (auto s = keys.check(table.fileName, table.achievements, record.firstLine,
                                        textOf(*values, fields, "ITEM_4"),
                                        textOf(*values, fields, "ITEM_DQDM"));
                    !s)
                    return refuse(s.error());
                data += rowPrefix;
                for (size_t k = 0; k < fields.size(); ++k) {
                    data += '\t';
                    appendValue(data, (*values)[k], fields[k].type);
                }
                data += '\n';
                ++rows;
                if (data.size() >= CopyPieceBytes) {
                    if (auto s = db_->putCopy(data); !s) return refuse(s.error());
                    data.clear();
                }
            }
            if (!data.empty())
                if (auto s = db_->putCopy(data); !s) return refuse(s.error());
            if (auto s = db_->endCopy(); !s) return s;
        }
        counts.push_back(rows);
    }
    report.achievements = counts[0];
    report.childRows = counts[1] + counts[2] + counts[3] + counts[4];

    // The organization's earlier copies of the records this package carries again go, the
    // package's counts are noted and the whole is committed, in one exchange with the server.
    const std::string id = packageId;
    const std::string org = organization ? *organization : "NULL";
    const auto deleteFrom = [&](const char* table) {
        return std::string(table) + "_gone AS (DELETE FROM " + table +
               " c USING earlier e WHERE c.package_id = e.package_id AND c.\"item_4\" = "
               "e.\"item_4\" AND c.\"item_dqdm\" = e.\"item_dqdm\" RETURNING 1)";
    };
    auto finished = db_->executeAll(
        "WITH earlier AS (SELECT o.package_id, o.\"item_4\", o.\"item_dqdm\" FROM kjcg o "
        "JOIN kjcg n ON n.\"item_4\" = o.\"item_4\" AND n.\"item_dqdm\" = o.\"item_dqdm\" "
        "WHERE n.package_id = " +
        id + " AND o.organization_id = " + org + " AND o.package_id <> " + id + "), " +
        deleteFrom("cgwcdw") + ", " + deleteFrom("cgwcr") + ", " + deleteFrom("jdwyhmd") + ", " +
        deleteFrom("zlqk") + ", " + deleteFrom("kjcg") + " UPDATE package SET achievements = " +
        std::to_string(counts[0]) + ", cgwcdw_rows = " + std::to_string(counts[1]) +
        ", cgwcr_rows = " + std::to_string(counts[2]) + ", jdwyhmd_rows = " +
        std::to_string(counts[3]) + ", zlqk_rows = " + std::to_string(counts[4]) +
        ", replaced = (SELECT count(*) FROM kjcg_gone) WHERE id = " + id +
        " RETURNING replaced; COMMIT");
    if (!finished) return finished.error();
    report.replaced = std::stoll(finished->front().text(0, 0));
    report.outcome = PackageOutcome::Gathered;
    return {};
}

} // namespace xb::authority
