// Reading exchange files: physical lines are joined into records while a quoted value is open,
// and each record is cut into the field texts of the target table, by position. The reader
// streams: it holds one record at a time, so files of any size are read in linear time.
#pragma once

#include "store/result.h"
#include "store/value.h"

#include <cstddef>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace xb::exchange {

enum class ReadVariant {
    Import,     // achievement packages: a target of exactly 102 fields is filled up to field 101
    Dictionary, // code dictionary files
};

struct ReadOptions {
    ReadVariant variant = ReadVariant::Import;
    // KJCG.TXT read into the achievement staging table: a sixth value that is not a date
    // (empty included) becomes today's date.
    bool achievementDates = false;
    // The date put in for such a sixth value; when not given, the day the reader is opened.
    std::optional<store::Date> today;
    // A record larger than this is refused, so that a quoted value that never closes cannot
    // draw a whole large file into memory.
    std::size_t maxRecordBytes = std::size_t{64} << 20;
};

struct ExchangeRecord {
    int firstLine = 0;               // physical line where the record starts, from 1
    std::vector<std::string> fields; // one GBK text per target field, in field order
};

class ExchangeReader {
  public:
    // Reads the file at `path` for a target table of `fieldCount` fields.
    static store::Result<ExchangeReader> open(const std::filesystem::path& path, int fieldCount,
                                              ReadOptions options = {});
    // Reads exchange bytes held in memory; `fileName` names them in messages.
    static ExchangeReader fromBytes(std::string bytes, std::string fileName, int fieldCount,
                                    ReadOptions options = {});

    ExchangeReader(ExchangeReader&&) noexcept;
    ExchangeReader& operator=(ExchangeReader&&) noexcept;
    ~ExchangeReader();

    // The next record; std::nullopt at the end of the file. Blank records are skipped. A record
    // with more values than the target has fields, a read failure or an oversized record is an
    // Error naming the file and the line; reading may go on after a refused record.
    store::Result<std::optional<ExchangeRecord>> next();
    // The same into `record`, whose texts keep their memory for the next one: false at the end.
    store::Result<bool> next(ExchangeRecord& record);

  private:
    struct Impl;
    explicit ExchangeReader(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Every record of a file at once; for small files such as dictionaries.
store::Result<std::vector<ExchangeRecord>> readAllRecords(ExchangeReader& reader);

} // namespace xb::exchange
