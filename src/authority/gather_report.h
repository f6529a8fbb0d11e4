// The authority's counts and duplicates written out of the gathered schema: a CSV file (UTF-8
// with a byte-order mark, so that spreadsheet programs read the Chinese right; one section per
// view, each under its title) or an Excel workbook (.xlsx, one sheet per view).
#pragma once

#include "authority/pg_connection.h"
#include "store/result.h"

#include <string>
#include <vector>

namespace xb::authority {

struct ReportTable {
    std::string title;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> numeric; // per column: a number, written as one
};

// Every report view of the schema, in report order.
store::Result<std::vector<ReportTable>> readReportTables(PgConnection& db);

// Writes `tables` to `path`; its ending (".csv" or ".xlsx", letter case ignored) says how. An
// existing file is replaced only once the new one is whole.
store::Status writeReport(const std::vector<ReportTable>& tables, const std::string& path);

} // namespace xb::authority
