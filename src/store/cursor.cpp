#include "cursor.h"

#include "filter.h"
#include "history.h"
#include "table_file.h"

#include <algorithm>
#include <cstring>

namespace xb::store {

struct Cursor::Impl {
    // Live rows of a table.
    std::shared_ptr<TableFile> table;
    std::vector<uint32_t> recnos;
    bool tableView = false; // a table cursor: filters apply and rows leave when they stop matching
    std::vector<FilterTerm> filter;
    std::string filterText;
    // Computed rows.
    FieldList cachedFields;
    std::vector<std::vector<Value>> rows;

    int pos = 0;
    bool atEof = true;
    bool atBof = true;

    enum class State { Browse, Edit, Insert } state = State::Browse;
    std::vector<Value> buffer;
    std::vector<Value> original; // the row as edit() found it, while a history scope is open

    bool live() const { return table != nullptr; }
    int count() const {
        return live() ? static_cast<int>(recnos.size()) : static_cast<int>(rows.size());
    }
    const FieldList& fields() const { return live() ? table->fields() : cachedFields; }

    // Rows of the positions from windowFirst on, read together in file order: a result in
    // record-number order whose rows lie scattered over the file is still read sequentially.
    mutable std::string window;
    mutable int windowFirst = 0;
    mutable int windowRows = 0;
    mutable int windowWanted = 0;
    mutable uint64_t windowVersion = 0;

    bool inWindow(int at) const {
        return windowVersion == table->version() && at >= windowFirst &&
               at < windowFirst + windowRows;
    }

    // Reads the rows of the positions from `at` on. A cursor that keeps walking forward gets
    // ever larger windows; one that jumps about reads few rows at a time.
    bool fillWindow(int at) const {
        constexpr int kSmallest = 32;
        constexpr size_t kLargestBytes = 8 << 20;
        const bool walking = windowVersion == table->version() && at == windowFirst + windowRows;
        const int largest = static_cast<int>(std::max<size_t>(
            kSmallest, kLargestBytes / std::max<uint32_t>(1, table->recordLength())));
        windowWanted =
            walking ? std::min(largest, std::max(kSmallest, windowWanted * 2)) : kSmallest;
        const int rows = std::min(windowWanted, count() - at);
        const size_t length = table->recordLength();
        window.resize(static_cast<size_t>(rows) * length);
        // Rows are read in file order, so that a result whose rows lie scattered over the file
        // is still read sequentially, and each is copied to its place in the window.
        std::vector<std::pair<uint32_t, int>> order;
        order.reserve(static_cast<size_t>(rows));
        for (int i = 0; i < rows; ++i)
            order.emplace_back(recnos[static_cast<size_t>(at + i)], i);
        std::sort(order.begin(), order.end());
        std::vector<uint32_t> sorted;
        sorted.reserve(order.size());
        for (const auto& [recno, i] : order)
            sorted.push_back(recno);
        const Status read = table->readRows(sorted, [&](size_t index, std::string_view bytes) {
            std::memcpy(window.data() + static_cast<size_t>(order[index].second) * length,
                        bytes.data(), length);
        });
        windowVersion = table->version();
        windowFirst = at;
        windowRows = read ? rows : 0;
        return read.ok();
    }

    // The current row's bytes as they lie in the window; empty when the row cannot be read.
    // Valid until the cursor moves or the table is written.
    std::optional<std::string_view> currentRaw() const {
        if (!live() || recnos.empty()) return std::nullopt;
        if (!inWindow(pos) && !fillWindow(pos)) return std::nullopt;
        const size_t length = table->recordLength();
        return std::string_view(window).substr(static_cast<size_t>(pos - windowFirst) * length,
                                               length);
    }

    void clampAfterRemoval() {
        if (pos >= count()) pos = std::max(0, count() - 1);
        atEof = count() == 0;
        atBof = count() == 0;
    }
};

Cursor::Cursor(std::shared_ptr<TableFile> table, std::vector<uint32_t> recnos, bool tableView)
    : d(std::make_unique<Impl>()) {
    d->table = std::move(table);
    d->recnos = std::move(recnos);
    d->tableView = tableView;
    fieldCount_ = static_cast<int>(d->fields().size());
    first();
}

Cursor::Cursor(FieldList fields, std::vector<std::vector<Value>> rows)
    : d(std::make_unique<Impl>()) {
    d->cachedFields = std::move(fields);
    d->rows = std::move(rows);
    fieldCount_ = static_cast<int>(d->fields().size());
    first();
}

Cursor::~Cursor() = default;

void Cursor::first() {
    cancel();
    d->pos = 0;
    d->atEof = d->count() == 0;
    d->atBof = true;
}

void Cursor::last() {
    cancel();
    d->pos = std::max(0, d->count() - 1);
    d->atEof = d->count() == 0;
    d->atBof = d->count() == 0;
}

void Cursor::next() {
    moveBy(1);
}
void Cursor::prior() {
    moveBy(-1);
}

void Cursor::moveBy(int rows) {
    cancel();
    const int n = d->count();
    if (n == 0) {
        d->atEof = d->atBof = true;
        return;
    }
    const long target = static_cast<long>(d->pos) + rows;
    d->atEof = target >= n;
    d->atBof = target < 0;
    d->pos = static_cast<int>(std::clamp<long>(target, 0, n - 1));
}

bool Cursor::moveTo(int position) {
    cancel();
    if (position < 0 || position >= d->count()) return false;
    d->pos = position;
    d->atEof = d->atBof = false;
    return true;
}

bool Cursor::eof() const {
    return d->atEof || d->count() == 0;
}
bool Cursor::bof() const {
    return d->atBof || d->count() == 0;
}
int Cursor::count() const {
    return d->count();
}
int Cursor::position() const {
    return d->count() == 0 ? -1 : d->pos;
}

uint32_t Cursor::recNo() const {
    if (!d->live() || d->recnos.empty()) return 0;
    return d->recnos[static_cast<size_t>(d->pos)];
}

const FieldList& Cursor::fields() const {
    return d->fields();
}

int Cursor::fieldIndex(const std::string& name) const {
    if (d->live()) return d->table->fieldIndex(name);
    const FieldList& f = d->fields();
    for (size_t i = 0; i < f.size(); ++i)
        if (sameName(f[i].name, name)) return static_cast<int>(i);
    return -1;
}

Value Cursor::value(int index) const {
    if (index < 0 || index >= fieldCount()) return {};
    if (d->state != Impl::State::Browse) return d->buffer[static_cast<size_t>(index)];
    if (!d->live()) {
        if (d->rows.empty()) return {};
        return d->rows[static_cast<size_t>(d->pos)][static_cast<size_t>(index)];
    }
    const auto raw = d->currentRaw();
    return raw ? d->table->decode(*raw, index) : Value();
}

Value Cursor::value(const std::string& name) const {
    return value(fieldIndex(name));
}

std::string Cursor::text(const std::string& name) const {
    std::string t = value(name).toText();
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    return t;
}

long long Cursor::integer(const std::string& name) const {
    return value(name).toInteger();
}
std::optional<Date> Cursor::date(const std::string& name) const {
    return value(name).toDate();
}
bool Cursor::isNull(int index) const {
    // A stored row answers without reading whole memos.
    if (index >= 0 && index < fieldCount() && d->state == Impl::State::Browse && d->live())
        if (const auto raw = d->currentRaw()) return d->table->isNull(*raw, index);
    return value(index).isNull();
}

bool Cursor::isNull(const std::string& name) const {
    return isNull(fieldIndex(name));
}

std::vector<Value> Cursor::row() const {
    std::vector<Value> out;
    for (int i = 0; i < fieldCount(); ++i)
        out.push_back(value(i));
    return out;
}

bool Cursor::editable() const {
    return d->live();
}
bool Cursor::editing() const {
    return d->state != Impl::State::Browse;
}

Status Cursor::edit() {
    if (!d->live()) return fail("结果集只读，不能修改");
    if (d->state != Impl::State::Browse) return {};
    if (d->recnos.empty()) return fail("没有可以修改的记录");
    const auto raw = d->currentRaw();
    if (!raw) return fail("无法读取当前记录");
    d->buffer = d->table->decodeRow(*raw);
    if (HistoryScope::current()) d->original = d->buffer;
    d->state = Impl::State::Edit;
    return {};
}

Status Cursor::append() {
    if (!d->live()) return fail("结果集只读，不能增加记录");
    d->buffer.assign(d->table->fields().size(), Value());
    d->state = Impl::State::Insert;
    return {};
}

Status Cursor::setValue(int index, const Value& value) {
    if (d->state == Impl::State::Browse) return fail("记录不在编辑状态");
    if (index < 0 || index >= fieldCount()) return fail("字段不存在");
    d->buffer[static_cast<size_t>(index)] = value;
    return {};
}

Status Cursor::setValue(const std::string& name, const Value& value) {
    const int index = fieldIndex(name);
    if (index < 0) return fail("字段 " + name + " 不存在");
    return setValue(index, value);
}

Status Cursor::post() {
    if (d->state == Impl::State::Browse) return {};
    TableFile& table = *d->table;
    uint32_t recno = 0;
    if (d->state == Impl::State::Edit) {
        recno = d->recnos[static_cast<size_t>(d->pos)];
        if (Status s = table.write(recno, d->buffer); !s) return s;
    } else {
        auto appended = table.append(d->buffer);
        if (!appended) return appended.error();
        recno = *appended;
    }
    const bool wasInsert = d->state == Impl::State::Insert;
    HistoryScope* history = HistoryScope::current();
    if (history && (wasInsert || !d->original.empty())) {
        // Compared as stored, so that a value written in another form than it reads is no change.
        std::string raw;
        if (table.readRecord(recno, raw))
            history->noteRow(table, wasInsert ? std::vector<Value>() : d->original,
                             table.decodeRow(raw));
    }
    d->state = Impl::State::Browse;
    d->buffer.clear();
    d->original.clear();
    bool stays = true;
    if (d->tableView && !d->filter.empty()) {
        std::string raw;
        stays = table.readRecord(recno, raw) && filterMatches(d->filter, table, raw);
    }
    if (wasInsert) {
        if (stays) {
            d->recnos.push_back(recno);
            d->pos = static_cast<int>(d->recnos.size()) - 1;
            d->atEof = d->atBof = false;
        }
    } else if (!stays) {
        // The row no longer belongs to the view: the cursor lands on the row that followed it.
        d->recnos.erase(d->recnos.begin() + d->pos);
        d->clampAfterRemoval();
    }
    return {};
}

void Cursor::cancel() {
    d->state = Impl::State::Browse;
    d->buffer.clear();
    d->original.clear();
}

Status Cursor::remove() {
    if (!d->live()) return fail("结果集只读，不能删除");
    cancel();
    if (d->recnos.empty()) return fail("没有可以删除的记录");
    const uint32_t recno = d->recnos[static_cast<size_t>(d->pos)];
    std::vector<Value> removed;
    if (HistoryScope::current()) {
        std::string raw;
        if (d->table->readRecord(recno, raw)) removed = d->table->decodeRow(raw);
    }
    if (Status s = d->table->markDeleted(recno); !s) return s;
    if (!removed.empty()) HistoryScope::current()->noteRow(*d->table, removed, {});
    d->recnos.erase(d->recnos.begin() + d->pos);
    d->clampAfterRemoval();
    return {};
}

Status Cursor::setFilter(const std::string& expression) {
    if (!d->live() || !d->tableView) return fail("只有数据表可以设置过滤条件");
    auto terms = parseFilter(expression, *d->table);
    if (!terms) return terms.error();
    d->filter = std::move(*terms);
    d->filterText = expression;
    Status s = refresh();
    first();
    return s;
}

const std::string& Cursor::filter() const {
    return d->filterText;
}

bool Cursor::locate(const std::string& field, const Value& value) {
    const int index = fieldIndex(field);
    if (index < 0) return false;
    std::string want = value.toText();
    while (!want.empty() && want.back() == ' ')
        want.pop_back();
    for (int i = 0; i < count(); ++i) {
        d->pos = i;
        std::string have = this->value(index).toText();
        while (!have.empty() && have.back() == ' ')
            have.pop_back();
        if (have == want) {
            d->atEof = d->atBof = false;
            return true;
        }
    }
    first();
    return false;
}

Status Cursor::refresh() {
    if (!d->live()) return {};
    cancel();
    const uint32_t current = recNo();
    std::vector<uint32_t> rows;
    if (d->tableView) {
        TableFile& table = *d->table;
        Result<std::vector<uint32_t>> candidates =
            (!d->filter.empty() && table.fields()[d->filter[0].field].type == FieldType::Character)
                ? indexedRows(table, d->filter[0].field, d->filter[0].value, d->filter[0].prefix)
                : allRows(table);
        if (!candidates) return candidates.error();
        std::string raw;
        for (uint32_t recno : *candidates) {
            if (d->filter.size() > 1 ||
                (!d->filter.empty() &&
                 table.fields()[d->filter[0].field].type != FieldType::Character)) {
                if (!table.readRecord(recno, raw) || !filterMatches(d->filter, table, raw))
                    continue;
            }
            rows.push_back(recno);
        }
    } else {
        // A result set keeps its rows; those deleted meanwhile drop out.
        std::string raw;
        for (uint32_t recno : d->recnos)
            if (d->table->readRecord(recno, raw) && !TableFile::isDeleted(raw))
                rows.push_back(recno);
    }
    d->recnos = std::move(rows);
    d->windowRows = 0; // positions now name other rows
    const auto it = std::find(d->recnos.begin(), d->recnos.end(), current);
    d->pos = it == d->recnos.end() ? 0 : static_cast<int>(it - d->recnos.begin());
    d->atEof = d->atBof = d->recnos.empty();
    return {};
}

} // namespace xb::store
