// Writing exchange files: one tab-separated GBK line per table row, columns in the table's field
// order, lines ended by CR LF. The files of a package do not all end their lines alike; the
// column rule of each file says which fields are written and how the line closes.
#pragma once

#include "store/field.h"
#include "store/result.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace xb::exchange {

// The files of an exchange package, each with its own column rule.
enum class ColumnRule {
    Kjcg,    // KJCG.TXT: every field but the last, each followed by TAB; ITEM_SJDC written "0"
    Cgwcdw,  // CGWCDW.TXT: every field, the last one bare
    Cgwcr,   // CGWCR.TXT: every field but the last, the next-to-last bare
    Jdwyhmd, // JDWYHMD.TXT: every field, the last one bare
    Zlqk,    // ZLQK.TXT: every field, the last one bare
    Unit,    // UNIT.TXT: every field, the last one enclosed in QUOTEs
    Expert,  // EXPERT.TXT: every field but the last two, the third-from-last bare
};

// "KJCG.TXT", "CGWCDW.TXT", ..., "EXPERT.TXT": the name written into the package.
const char* exchangeFileName(ColumnRule rule);
// The table a file is written from: "kjcg", ..., "unit", "unitexpert".
const char* sourceTableName(ColumnRule rule);

// One line without its line end. `texts` holds the value texts of the row's fields (GBK bytes)
// in the order of `fields`; a missing text counts as empty.
std::string exchangeLine(ColumnRule rule, const store::FieldList& fields,
                         const std::vector<std::string>& texts);

// An exchange file being written: created anew (an existing file is replaced), one line per
// call, each followed by CR LF. Failures name the file in Chinese.
class ExchangeFileWriter {
  public:
    static store::Result<ExchangeFileWriter> create(const std::filesystem::path& path);
    ExchangeFileWriter(ExchangeFileWriter&& other) noexcept;
    ExchangeFileWriter& operator=(ExchangeFileWriter&& other) noexcept;
    ExchangeFileWriter(const ExchangeFileWriter&) = delete;
    ExchangeFileWriter& operator=(const ExchangeFileWriter&) = delete;
    ~ExchangeFileWriter(); // closes without reporting; call close() to learn of a failure

    store::Status writeLine(const std::string& line);
    // Flushes and closes; a full disk often shows only here.
    store::Status close();

  private:
    ExchangeFileWriter(std::FILE* file, std::string displayName);
    store::Error writeError(int errorNumber) const;

    std::FILE* file_ = nullptr;
    std::string displayName_;
};

// Writes a whole exchange file from its lines.
store::Status writeExchangeFile(const std::filesystem::path& path,
                                const std::vector<std::string>& lines);

} // namespace xb::exchange
