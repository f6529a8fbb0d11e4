#include "row_batch.h"

#include "field_encoding.h"
#include "file_io.h"
#include "gbk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace xb::store {

RowBatch::RowBatch(TableFile& table, uint32_t rowsPerWrite)
    : table_(table), rowsPerWrite_(rowsPerWrite == 0 ? 1 : rowsPerWrite) {}

void RowBatch::beginMemos() {
    if (rows_ == 0 && rewrites_.empty() && table_.memo_) memoBase_ = table_.memo_->nextFree();
}

Status RowBatch::add(const std::vector<Value>& values) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    beginMemos();
    if (Status s = table_.encode(values, {}, row_, &memos_); !s) return s;
    return added();
}

Status RowBatch::addWithBytes(const std::vector<Value>& values,
                              const std::vector<std::pair<int, std::string_view>>& bytes) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    beginMemos();
    // The row is made in place at the end of the batch, field by field in the table's order, so
    // that memos are numbered as TableFile numbers them.
    const size_t at = raw_.size();
    raw_.append(table_.recordLength_, ' ');
    const auto refuse = [&](Status s) {
        raw_.resize(at);
        return s;
    };
    static const Value none;
    auto given = bytes.begin();
    std::string memoText;
    for (size_t i = 0; i < table_.fields_.size(); ++i) {
        const FieldDef& f = table_.fields_[i];
        char* out = raw_.data() + at + table_.offsets_[i];
        std::string_view text;
        std::string converted;
        if (given != bytes.end() && given->first == static_cast<int>(i)) {
            text = given->second;
            ++given;
            if (f.type == FieldType::Character) {
                const std::string_view cut = cutGbkBytes(text, f.width);
                std::memcpy(out, cut.data(), cut.size());
                continue;
            }
            if (f.type != FieldType::Memo)
                return refuse(fail("表文件 " + table_.fileName() + " 的字段 " + f.name +
                                   " 不是字符或备注字段"));
        } else {
            const Value& value = i < values.size() ? values[i] : none;
            if (Status s = encodeField(f, value, out, memoText); !s) return refuse(s);
            if (f.type != FieldType::Memo) continue;
            converted = toGbk(memoText);
            text = converted;
        }
        if (text.empty()) continue;
        auto block = table_.storeMemo(std::string(text), &memos_);
        if (!block) return refuse(block.error());
        char number[32];
        std::snprintf(number, sizeof number, "%*u", f.width, *block);
        std::memcpy(out, number, static_cast<size_t>(f.width));
    }
    if (given != bytes.end())
        return refuse(fail("表文件 " + table_.fileName() + " 没有第 " +
                           std::to_string(given->first + 1) + " 个字段"));
    return counted();
}

Status RowBatch::rewrite(uint32_t recno, const std::vector<Value>& values) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    // A memo staged for the row is not in the memo file yet, where its comparison would read it.
    if (table_.memo_ && rewrites_.count(recno) != 0)
        if (Status s = flush(); !s) return s;
    beginMemos();
    std::string old;
    if (auto pending = rewrites_.find(recno); pending != rewrites_.end())
        old = pending->second;
    else if (Status s = table_.readRecord(recno, old); !s)
        return s;
    std::string raw;
    if (Status s = table_.encode(values, old, raw, &memos_); !s) return s;
    raw[0] = old[0];
    ++table_.version_;
    table_.updateCache(recno, 0, raw);
    if (!TableFile::isDeleted(old)) {
        table_.indexRemove(old, recno);
        table_.indexAdd(raw, recno);
    }
    rewrites_[recno] = std::move(raw);
    return {};
}

Status RowBatch::addFrom(const TableFile& source, std::string_view sourceRaw,
                         const std::vector<std::pair<int, std::string>>& texts) {
    if (table_.readOnly_) return fail(table_.readOnlyText());
    beginMemos();
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
    return counted();
}

Status RowBatch::counted() {
    ++rows_;
    if (rows_ >= rowsPerWrite_) return flush();
    return {};
}

Status RowBatch::flush() {
    if (rows_ == 0 && rewrites_.empty()) return {};
    const uint32_t rows = rows_;
    rows_ = 0;
    std::string memos = std::move(memos_);
    memos_.clear();
    if (!memos.empty()) {
        // The memo blocks were numbered from the next free block when the first row came.
        Status s = table_.memo_->nextFree() == memoBase_
                       ? table_.memo_->writeStaged(memos)
                       : fail("表文件 " + table_.fileName() + " 的备注文件在成批写入时被改动");
        if (!s) {
            raw_.clear();
            forgetRewrites();
            return s;
        }
    }
    if (rows > 0) {
        auto first = table_.appendEncoded(raw_, rows);
        raw_.clear();
        if (!first) {
            forgetRewrites();
            return first.error();
        }
        for (uint32_t i = 0; i < rows; ++i)
            written_.push_back(*first + i);
    }
    return writeRewrites();
}

Status RowBatch::writeRewrites() {
    if (rewrites_.empty()) return {};
    // Rows closer than this are written together with the stored rows between them: reading and
    // writing a few kilobytes more costs less than another pair of system calls.
    constexpr uint32_t WriteThrough = 16 * 1024;
    constexpr uint32_t MaxWrite = 1 << 20;
    const uint32_t length = table_.recordLength_;
    const uint32_t gapRows = std::max<uint32_t>(1, WriteThrough / length);
    const uint32_t maxRows = std::max<uint32_t>(1, MaxWrite / length);
    std::string span;
    for (auto from = rewrites_.begin(); from != rewrites_.end();) {
        auto to = std::next(from);
        auto last = from;
        while (to != rewrites_.end() && to->first - last->first <= gapRows &&
               to->first - from->first < maxRows)
            last = to++;
        const uint32_t first = from->first;
        const size_t bytes = static_cast<size_t>(last->first - first + 1) * length;
        const off_t at = table_.headerLength_ + static_cast<off_t>(first - 1) * length;
        span.resize(bytes);
        if (from != last &&
            readAt(table_.fd_, span.data(), bytes, at) != static_cast<ssize_t>(bytes)) {
            forgetRewrites();
            return fail("无法读取表文件 " + table_.fileName());
        }
        for (auto row = from; row != to; ++row)
            std::memcpy(span.data() + static_cast<size_t>(row->first - first) * length,
                        row->second.data(), length);
        if (!writeAll(table_.fd_, span.data(), bytes, at)) {
            forgetRewrites();
            return fail("无法写入表文件 " + table_.fileName() + "（磁盘已满？）");
        }
        from = to;
    }
    rewrites_.clear();
    if (Status s = table_.writeHeader(false); !s) return s;
    return {};
}

void RowBatch::forgetRewrites() {
    if (rewrites_.empty()) return;
    rewrites_.clear();
    table_.indexes_.clear();
    table_.cacheRows_ = 0;
    ++table_.version_;
}

} // namespace xb::store
