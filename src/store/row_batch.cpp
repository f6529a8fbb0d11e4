#include "row_batch.h"

#include "gbk.h"

#include <cstring>

namespace xb::store {

RowBatch::RowBatch(TableFile& table, uint32_t rowsPerWrite)
    : table_(table), rowsPerWrite_(rowsPerWrite == 0 ? 1 : rowsPerWrite) {}

Status RowBatch::add(const std::vector<Value>& values) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    if (rows_ == 0 && table_.memo_) memoBase_ = table_.memo_->nextFree();
    if (Status s = table_.encode(values, {}, row_, &memos_); !s) return s;
    return added();
}

Status RowBatch::addFrom(const TableFile& source, std::string_view sourceRaw,
                         const std::vector<std::pair<int, std::string>>& texts) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    if (rows_ == 0 && table_.memo_) memoBase_ = table_.memo_->nextFree();
    if (Status s = table_.encodeFrom(source, sourceRaw, row_, &memos_); !s) return s;
    for (const auto& [field, text] : texts) {
        if (field < 0 || field >= static_cast<int>(table_.fields_.size()) ||
            table_.fields_[static_cast<size_t>(field)].type != FieldType::Character)
            return fail("表文件 " + table_.fileName() + " 没有第 " + std::to_string(field + 1) +
                        " 个字符字段");
        const int width = table_.fields_[static_cast<size_t>(field)].width;
        const std::string bytes = toGbk(text);
        const std::string_view cut = cutGbkBytes(bytes, width);
        char* out = row_.data() + table_.offsets_[static_cast<size_t>(field)];
        std::memset(out, ' ', static_cast<size_t>(width));
        std::memcpy(out, cut.data(), cut.size());
    }
    return added();
}

Status RowBatch::added() {
    raw_ += row_;
    ++rows_;
    if (rows_ >= rowsPerWrite_) return flush();
    return {};
}

Status RowBatch::flush() {
    if (rows_ == 0) return {};
    const uint32_t rows = rows_;
    rows_ = 0;
    std::string memos = std::move(memos_);
    memos_.clear();
    if (!memos.empty()) {
        // The memo blocks were numbered from the next free block when the first row came.
        if (table_.memo_->nextFree() != memoBase_) {
            raw_.clear();
            return fail("表文件 " + table_.fileName() + " 的备注文件在成批写入时被改动");
        }
        if (Status s = table_.memo_->writeStaged(memos); !s) {
            raw_.clear();
            return s;
        }
    }
    auto first = table_.appendEncoded(raw_, rows);
    raw_.clear();
    if (!first) return first.error();
    for (uint32_t i = 0; i < rows; ++i)
        written_.push_back(*first + i);
    return {};
}

} // namespace xb::store
