// Rows of an exchange file as the staging table takes them. Texts of character and memo fields
// go in as the GBK bytes the file holds, cut at the field's width: decoding them only to encode
// them again costs most of the reading. Number, date and logical texts are read as values.
#pragma once

#include "exchange_reader.h"
#include "store/field.h"
#include "store/result.h"
#include "store/row_batch.h"
#include "store/table_file.h"
#include "store/value.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xb::exchange {

class StagingRows {
  public:
    // Records whose texts follow `fileFields` go into `table`, field by field of the same name.
    StagingRows(const store::FieldList& fileFields, store::TableFile& table);

    // Takes the record's texts, refused as valuesFromExchange refuses them ("第 3 行第 46 项…");
    // they stay in use until add().
    store::Status take(const ExchangeRecord& record);
    // The text of field `field` as the taken record has it, decoded (a field of character type).
    std::string text(int field) const;
    // Puts `text` in place of field `field` of the taken record.
    void replace(int field, std::string text);
    // Adds the taken record as a row.
    store::Status add(store::RowBatch& batch);

  private:
    struct Slot {
        int target = -1;    // the table's field of the same name, -1 when it has none
        bool bytes = false; // texts go in as bytes: character or memo field on both sides
    };

    const store::FieldList& fileFields_;
    store::TableFile& table_;
    std::vector<Slot> slots_;
    bool byBytes_ = true;        // false when a typed value must fill a memo field of the table
    std::vector<int> byteOrder_; // file fields that go in as bytes, in the table's field order
    const std::vector<std::string>* texts_ = nullptr;
    std::vector<store::Value> values_;                    // in the table's field order
    std::vector<std::pair<int, std::string_view>> bytes_; // in the table's field order
    std::vector<std::pair<int, std::string>> replaced_;   // file field, GBK text
};

} // namespace xb::exchange
