// Tables for spreadsheet programs: tab-separated text, CSV (UTF-8 with a byte-order mark, which
// spreadsheet programs on Chinese Windows read right) and Excel workbooks (libxlsxwriter) with a
// frozen header row, column widths, dates as dates and amounts as numbers.
#pragma once

#include "store/result.h"
#include "store/value.h"

#include <string>
#include <variant>
#include <vector>

namespace xb::analysis {

enum class CellKind { Text, Number, Integer, Date, Percent };

struct Column {
    std::string header;
    CellKind kind = CellKind::Text;
    double width = 12; // in characters of the workbook's font
};

// Empty, text, a number (amounts, counts, shares from 0 to 1) or a date.
using Cell = std::variant<std::monostate, std::string, double, store::Date>;

struct Sheet {
    std::string name; // the worksheet's name; at most 31 characters
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
};

enum class SheetFormat { Tsv, Csv, Xlsx };

// "tsv", "csv" or "xlsx"; nullopt for anything else.
std::optional<SheetFormat> sheetFormat(const std::string& name);

// The sheets as text: each sheet's name on a line of its own when there are several, its header
// and rows, sheets apart by an empty line. Tabs and line ends inside a text become blanks.
std::string sheetsText(const std::vector<Sheet>& sheets, SheetFormat format);

// Writes the sheets to `path`. An existing file is refused unless `replace`; it is replaced only
// once the new file is whole.
store::Status writeSheets(const std::vector<Sheet>& sheets, SheetFormat format,
                          const std::string& path, bool replace);

} // namespace xb::analysis
