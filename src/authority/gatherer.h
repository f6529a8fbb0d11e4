// Gathering received exchange packages into the authority's PostgreSQL schema. Each package is
// unpacked in a private folder, read and checked with the import's reader and rules, and loaded
// with COPY in one transaction: it is in whole or not at all. A package already gathered (same
// SHA-256) is skipped; a newer package of an organization replaces that organization's earlier
// copies of the records it carries again.
#pragma once

#include "authority/pg_connection.h"
#include "exchange/archiver.h"
#include "store/result.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace xb::exchange {
class UnpackedPackage;
}

namespace xb::authority {

enum class PackageOutcome { Gathered, AlreadyGathered, Refused };

struct PackageReport {
    std::string path;
    PackageOutcome outcome = PackageOutcome::Refused;
    std::string message;      // why it was refused or skipped
    std::string organization; // the submitting organization's name, from UNIT.TXT
    long long achievements = 0;
    long long childRows = 0; // cooperating units, completers, committee members and patents
    long long replaced = 0;  // earlier copies of the same records taken out
};

// A package made ready to load: hashed and unpacked, or settled already (refused, or known by
// its hash) without unpacking.
struct PreparedPackage {
    PreparedPackage();
    PreparedPackage(PreparedPackage&&) noexcept;
    PreparedPackage& operator=(PreparedPackage&&) noexcept;
    ~PreparedPackage();

    std::string path;
    std::string hash;
    std::unique_ptr<exchange::UnpackedPackage> unpacked;
    std::optional<PackageReport> settled;
};

class Gatherer {
  public:
    // Connects, creates or migrates the schema and refreshes its dictionaries from the
    // installation's rows folder.
    static store::Result<std::unique_ptr<Gatherer>>
    open(const std::string& conninfo, const std::string& rowsFolder,
         exchange::Archiver archiver = exchange::Archiver());

    // Gathers one package; failures are in the report, never thrown.
    PackageReport gather(const std::string& path);

    // The two halves of gather(), so that the next package is unpacked while one loads.
    // prepare() runs the archiver and belongs to the main thread (the unpacked folder is
    // removed there too, when the prepared package goes); load() may run on another thread,
    // one at a time, as it alone uses the connection.
    PreparedPackage prepare(const std::string& path);
    PackageReport load(PreparedPackage& package);

    // False once the connection to the server is lost: no later package can be gathered.
    bool usable() const { return db_->alive(); }
    PgConnection& connection() { return *db_; }

  private:
    Gatherer(std::unique_ptr<PgConnection> db, exchange::Archiver archiver)
        : db_(std::move(db)), archiver_(std::move(archiver)) {}
    store::Status loadUnpacked(const PreparedPackage& package, PackageReport& report);
    std::optional<std::string> knownAs(const std::string& hash);

    std::unique_ptr<PgConnection> db_;
    exchange::Archiver archiver_;
    // The hashes of the packages in the database and the names they came under, so that a
    // package gathered before is not unpacked again.
    std::mutex knownMutex_;
    std::unordered_map<std::string, std::string> known_;
};

// The packages named: files as given, and every file ending in ".arj" (letter case ignored)
// below the folders given, each folder's in name order. A name that does not exist is an Error.
store::Result<std::vector<std::string>> packagesIn(const std::vector<std::string>& inputs);

// The SHA-256 of a file as 64 lower-case hex digits.
store::Result<std::string> sha256OfFile(const std::string& path);

} // namespace xb::authority
