#include "staging_rows.h"

#include "exchange_values.h"
#include "store/gbk.h"
#include "store/values_by_name.h"

#include <algorithm>

namespace xb::exchange {
namespace {

bool isText(store::FieldType type) {
    return type == store::FieldType::Character || type == store::FieldType::Memo;
}

} // namespace

StagingRows::StagingRows(const store::FieldList& fileFields, store::TableFile& table)
    : fileFields_(fileFields), table_(table), slots_(fileFields.size()) {
    const store::FieldList& fields = table.fields();
    for (size_t k = 0; k < fileFields.size(); ++k) {
        Slot& slot = slots_[k];
        slot.target = table.fieldIndex(fileFields[k].name);
        if (slot.target < 0) continue;
        const store::FieldType type = fields[static_cast<size_t>(slot.target)].type;
        slot.bytes = isText(fileFields[k].type) && isText(type);
        // Memos are numbered in the table's field order as the row is encoded; a memo from a
        // value would be numbered before those from bytes.
        if (!slot.bytes && type == store::FieldType::Memo) byBytes_ = false;
        if (slot.bytes) byteOrder_.push_back(static_cast<int>(k));
    }
    std::sort(byteOrder_.begin(), byteOrder_.end(),
              [this](int a, int b) { return slots_[a].target < slots_[b].target; });
    values_.resize(fields.size());
    bytes_.resize(byteOrder_.size());
}

store::Status StagingRows::take(const ExchangeRecord& record) {
    texts_ = &record.fields;
    replaced_.clear();
    static const std::string empty;
    const auto textOf = [&](size_t k) -> const std::string& {
        return k < record.fields.size() ? record.fields[k] : empty;
    };
    if (!byBytes_) {
        auto values = valuesFromExchange(record.fields, fileFields_, record.firstLine);
        if (!values) return values.error();
        values_ = std::move(*values);
        return {};
    }
    for (size_t k = 0; k < slots_.size(); ++k) {
        const Slot& slot = slots_[k];
        const int item = static_cast<int>(k) + 1;
        if (slot.bytes) {
            if (store::Status s = checkExchangeBytes(textOf(k), record.firstLine, item); !s)
                return s;
            continue;
        }
        auto value = valueFromExchange(textOf(k), fileFields_[k], record.firstLine, item);
        if (!value) return value.error();
        if (slot.target >= 0) values_[static_cast<size_t>(slot.target)] = std::move(*value);
    }
    return {};
}

std::string StagingRows::text(int field) const {
    if (!byBytes_) return values_[static_cast<size_t>(field)].toText();
    const auto k = static_cast<size_t>(field);
    return k < texts_->size() ? store::fromGbk((*texts_)[k]) : std::string();
}

void StagingRows::replace(int field, std::string text) {
    if (!byBytes_) {
        values_[static_cast<size_t>(field)] = store::Value(std::move(text));
        return;
    }
    const Slot& slot = slots_[static_cast<size_t>(field)];
    if (!slot.bytes) {
        if (slot.target >= 0) values_[static_cast<size_t>(slot.target)] = store::Value(text);
        return;
    }
    replaced_.emplace_back(field, store::toGbk(text));
}

store::Status StagingRows::add(store::RowBatch& batch) {
    if (!byBytes_) return batch.add(store::valuesByName(values_, fileFields_, table_));
    for (size_t i = 0; i < byteOrder_.size(); ++i) {
        const auto k = static_cast<size_t>(byteOrder_[i]);
        std::string_view bytes = k < texts_->size() ? std::string_view((*texts_)[k]) : "";
        for (const auto& [field, text] : replaced_)
            if (static_cast<size_t>(field) == k) bytes = text;
        bytes_[i] = {slots_[k].target, bytes};
    }
    const store::Status added = batch.addWithBytes(values_, bytes_);
    for (const Slot& slot : slots_)
        if (!slot.bytes && slot.target >= 0) values_[static_cast<size_t>(slot.target)] = {};
    return added;
}

} // namespace xb::exchange
