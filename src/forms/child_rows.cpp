#include "forms/child_rows.h"

#include <QString>

#include <algorithm>

namespace xb::forms {

bool moveToRecord(store::Cursor& cursor, uint32_t record) {
    for (cursor.first(); !cursor.eof(); cursor.next())
        if (cursor.recNo() == record) return true;
    return false;
}

RowWriter trimming(RowWriter entry, const char* field) {
    return [entry = std::move(entry), field](store::Cursor& row) -> store::Status {
        if (store::Status s = entry(row); !s) return s;
        return row.setValue(
            field, store::Value(QString::fromStdString(row.text(field)).trimmed().toStdString()));
    };
}

store::Status writeEntry(store::Cursor& row, const RowWriter& entry, const FieldValues& more) {
    if (store::Status s = entry(row); !s) {
        row.cancel();
        return s;
    }
    return store::setValuesAndPost(row, more);
}

store::Status rewriteEntry(store::Database& db, const std::string& table, uint32_t record,
                           const RowWriter& entry, const FieldValues& more, const char* gone) {
    auto rows = db.table(table);
    if (!rows) return rows.error();
    store::Cursor& row = **rows;
    if (!moveToRecord(row, record)) return store::fail(gone);
    if (store::Status s = row.edit(); !s) return s;
    return writeEntry(row, entry, more);
}

ChildRows::ChildRows(store::Database& db, std::string table) : db_(db), table_(std::move(table)) {}

void ChildRows::select(std::string sql, store::Params params) {
    sql_ = std::move(sql);
    params_ = std::move(params);
}

store::Status ChildRows::reload() {
    rows_.reset();
    auto result = db_.query(sql_, params_);
    if (!result) return result.error();
    rows_ = std::move(*result);
    return {};
}

int ChildRows::count() const {
    return rows_ ? rows_->count() : 0;
}

uint32_t ChildRows::recordOf(int row) const {
    if (!rows_ || !rows_->moveTo(row)) return 0;
    return rows_->recNo();
}

int ChildRows::rowOf(uint32_t record) const {
    for (int row = 0; row < count(); ++row)
        if (recordOf(row) == record) return row;
    return -1;
}

store::Result<uint32_t> ChildRows::append(const FieldValues& values) {
    auto table = db_.table(table_);
    if (!table) return table.error();
    store::Cursor& cursor = **table;
    if (store::Status s = cursor.append(); !s) return s.error();
    if (store::Status s = store::setValuesAndPost(cursor, values); !s) return s.error();
    return cursor.recNo();
}

store::Status ChildRows::update(int row, const FieldValues& values) {
    if (!rows_ || !rows_->moveTo(row)) return store::fail("所选的行已不存在");
    if (store::Status s = rows_->edit(); !s) return s;
    return store::setValuesAndPost(*rows_, values);
}

store::Status ChildRows::remove(int row) {
    if (!rows_ || !rows_->moveTo(row)) return store::fail("所选的行已不存在");
    return rows_->remove();
}

store::Status ChildRows::renumber(const std::string& field) {
    if (!rows_) return {};
    const bool numeric = [&] {
        const int index = rows_->fieldIndex(field);
        return index >= 0 &&
               rows_->fields()[static_cast<size_t>(index)].type == store::FieldType::Number;
    }();
    for (int row = 0; row < rows_->count(); ++row) {
        rows_->moveTo(row);
        if (rows_->integer(field) == row + 1 && !rows_->isNull(field)) continue;
        if (store::Status s = rows_->edit(); !s) return s;
        const store::Value number =
            numeric ? store::Value(row + 1) : store::Value(std::to_string(row + 1));
        if (store::Status s = store::setValuesAndPost(*rows_, {{field, number}}); !s) return s;
    }
    return {};
}

bool ChildRows::numberedInOrder(const std::string& field) const {
    for (int row = 0; row < count(); ++row) {
        rows_->moveTo(row);
        if (rows_->isNull(field) || rows_->integer(field) != row + 1) return false;
    }
    return true;
}

long long ChildRows::largestNumber(const std::string& field) const {
    long long largest = 0;
    for (int row = 0; row < count(); ++row) {
        rows_->moveTo(row);
        largest = std::max(largest, rows_->integer(field));
    }
    return largest;
}

} // namespace xb::forms
