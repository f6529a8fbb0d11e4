#include "exchange/exchange_reader.h"
#include "exchange/exchange_values.h"
#include "fuzz_targets.h"
#include "store/layouts.h"

#include <string>

namespace xb::fuzz {

int exchangeReader(const uint8_t* data, size_t size) {
    static const store::FieldList& fields = store::layoutOf("kjcgtemp").fields;
    exchange::ReadOptions options;
    options.achievementDates = true;
    options.today = store::Date{2024, 1, 1};
    options.maxRecordBytes = 1 << 16; // small, so that oversized records are met too
    auto reader =
        exchange::ExchangeReader::fromBytes(std::string(reinterpret_cast<const char*>(data), size),
                                            "KJCG.TXT", static_cast<int>(fields.size()), options);
    // As the import reads: record by record into the staging table's values, up to the first
    // refusal. Every record consumes at least one byte, so more records than bytes would mean
    // the reader stopped moving.
    for (size_t records = 0;; ++records) {
        if (records > size) __builtin_trap();
        auto record = reader.next();
        if (!record.ok() || !record->has_value()) break;
        if ((*record)->fields.size() != fields.size()) __builtin_trap();
        auto values = exchange::valuesFromExchange((*record)->fields, fields, (*record)->firstLine);
        if (!values.ok()) break;
    }
    return 0;
}

} // namespace xb::fuzz
