// The authority's tables in PostgreSQL, in the schema "xunbao": the received packages, the
// submitting organizations, the achievements with their four child tables (the exchange fields
// as typed columns), the dictionaries the counts are labelled with, and the views the authority
// asks its questions of. The schema creates and migrates itself, recorded in
// xunbao_schema_version.
#pragma once

#include "authority/pg_connection.h"
#include "store/field.h"
#include "store/result.h"

#include <string>
#include <vector>

namespace xb::authority {

inline constexpr const char* GatherSchema = "xunbao";

// The tables filled from a package's files, in the order the import reads them.
struct GatheredTable {
    const char* fileName;  // "KJCG.TXT"
    const char* tableName; // "kjcg", also the layout's name
    bool achievements;     // KJCG.TXT: the achievement rows themselves
};
const std::vector<GatheredTable>& gatheredTables();

// The column of a field: its name in lower case, quoted.
std::string columnName(const store::FieldDef& field);

// Brings the schema to the newest version, creating it when missing; a server holding a newer
// version than this program knows is refused. Runs in its own transaction.
store::Status migrateSchema(PgConnection& db);

// Replaces the dictionary tables (provinces, disciplines, code dictionaries) with the rows of
// the installation's rows folder (province.tsv, xkfl.tsv, zdxx.tsv).
store::Status loadDictionaries(PgConnection& db, const std::string& rowsFolder);

// The views written to reports, in report order: view name and Chinese title.
struct ReportView {
    const char* view;
    const char* title;
};
const std::vector<ReportView>& reportViews();

} // namespace xb::authority
