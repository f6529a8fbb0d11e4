#include "sql_executor.h"

#include "gbk.h"
#include "table_file.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>

namespace xb::store::sql {
namespace {

std::string trimmedRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

// An operand with its field resolved and its literal converted once, before rows are read.
struct Bound {
    bool isField = false;
    int field = -1;
    FieldType type = FieldType::Character;
    std::string text; // literal as UTF-8
    std::string gbk;  // literal as GBK bytes, trailing blanks removed
    std::optional<double> number;
    std::optional<Date> date;
};

struct BoundExpr {
    Expr::Kind kind = Expr::Kind::Compare;
    std::string op;
    bool negated = false;
    Bound left, right;
    std::unique_ptr<BoundExpr> a, b;
};

class Binder {
  public:
    Binder(const TableFile& table, const Params& params) : table_(table), params_(params) {}

    Result<int> field(const std::string& name) const {
        const int index = table_.fieldIndex(name);
        if (index < 0) return fail("表 " + table_.fileName() + " 中没有字段 " + name);
        return index;
    }

    Result<Bound> operand(const Operand& o) const {
        Bound b;
        switch (o.kind) {
        case Operand::Kind::Field: {
            auto index = field(o.text);
            if (!index) return index.error();
            b.isField = true;
            b.field = *index;
            b.type = table_.fields()[*index].type;
            return b;
        }
        case Operand::Kind::Param: {
            const auto it = params_.find(lowerName(o.text));
            if (it == params_.end()) return fail("参数 :" + o.text + " 没有赋值");
            b.text = it->second;
            break;
        }
        case Operand::Kind::Text:
        case Operand::Kind::Number:
            b.text = o.text;
            break;
        }
        b.gbk = trimmedRight(toGbk(b.text));
        b.number = parseNumber(b.text);
        b.date = Date::fromText(b.text);
        return b;
    }

    Result<std::unique_ptr<BoundExpr>> bind(const Expr& e) const {
        auto out = std::make_unique<BoundExpr>();
        out->kind = e.kind;
        out->op = e.op;
        out->negated = e.negated;
        if (e.kind == Expr::Kind::And || e.kind == Expr::Kind::Or || e.kind == Expr::Kind::Not) {
            auto a = bind(*e.a);
            if (!a) return a;
            out->a = std::move(*a);
            if (e.b) {
                auto b = bind(*e.b);
                if (!b) return b;
                out->b = std::move(*b);
            }
            return out;
        }
        auto left = operand(e.left);
        if (!left) return left.error();
        out->left = *left;
        if (e.kind == Expr::Kind::IsNull) return out;
        auto right = operand(e.right);
        if (!right) return right.error();
        out->right = *right;
        if (e.kind == Expr::Kind::Compare) {
            // A literal compared with a number or date field must be a number or a date.
            for (const auto& [field, literal] :
                 {std::pair{&out->left, &out->right}, std::pair{&out->right, &out->left}}) {
                if (!field->isField || literal->isField) continue;
                const bool numeric = field->type == FieldType::Number ||
                                     field->type == FieldType::SmallInt ||
                                     field->type == FieldType::Integer;
                if (numeric && !literal->number)
                    return fail("类型不匹配：“" + literal->text + "”不是数值");
                if (field->type == FieldType::Date && !literal->date)
                    return fail("类型不匹配：“" + literal->text + "”不是日期（yyyy-MM-dd）");
            }
        }
        return out;
    }

  private:
    const TableFile& table_;
    const Params& params_;
};

bool likeMatch(std::string_view text, std::string_view pattern) {
    // Iterative matcher with backtracking to the last "%": linear for the usual patterns.
    size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    auto charLen = [](std::string_view s, size_t i) {
        const auto c = static_cast<unsigned char>(s[i]);
        return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    };
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = ++p;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == '_') {
            t += static_cast<size_t>(charLen(text, t));
            ++p;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

class Evaluator {
  public:
    explicit Evaluator(const TableFile& table) : table_(table) {}

    bool eval(const BoundExpr& e, std::string_view raw) const {
        switch (e.kind) {
        case Expr::Kind::And:
            return eval(*e.a, raw) && eval(*e.b, raw);
        case Expr::Kind::Or:
            return eval(*e.a, raw) || eval(*e.b, raw);
        case Expr::Kind::Not:
            return !eval(*e.a, raw);
        case Expr::Kind::IsNull:
            return valueOf(e.left, raw).isNull() != e.negated;
        case Expr::Kind::Like: {
            std::string text = valueOf(e.left, raw).toText();
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            const std::string pattern =
                e.right.isField ? valueOf(e.right, raw).toText() : e.right.text;
            return likeMatch(text, pattern) != e.negated;
        }
        case Expr::Kind::Compare: {
            const int c = compare(e.left, e.right, raw);
            if (c == kNoOrder) return false;
            if (e.op == "=") return c == 0;
            if (e.op == "<>") return c != 0;
            if (e.op == "<") return c < 0;
            if (e.op == ">") return c > 0;
            if (e.op == "<=") return c <= 0;
            return c >= 0;
        }
        }
        return false;
    }

  private:
    static constexpr int kNoOrder = 1000;

    Value valueOf(const Bound& b, std::string_view raw) const {
        if (b.isField) return table_.decode(raw, b.field);
        return Value(b.text);
    }

    static bool numeric(FieldType t) {
        return t == FieldType::Number || t == FieldType::SmallInt || t == FieldType::Integer;
    }

    int compare(const Bound& l, const Bound& r, std::string_view raw) const {
        const Bound* field = l.isField ? &l : r.isField ? &r : nullptr;
        if (field && (numeric(field->type) || field->type == FieldType::Date)) {
            const Value lv = valueOf(l, raw), rv = valueOf(r, raw);
            if ((l.isField && lv.isNull()) || (r.isField && rv.isNull())) return kNoOrder;
            if (field->type == FieldType::Date) {
                const auto ld = l.isField ? lv.toDate() : l.date;
                const auto rd = r.isField ? rv.toDate() : r.date;
                if (!ld || !rd) return kNoOrder;
                return *ld < *rd ? -1 : *ld > *rd ? 1 : 0;
            }
            const double ln = l.isField ? lv.toNumber() : l.number.value_or(0);
            const double rn = r.isField ? rv.toNumber() : r.number.value_or(0);
            return ln < rn ? -1 : ln > rn ? 1 : 0;
        }
        // Text: stored GBK bytes compared byte by byte, trailing blanks ignored.
        const std::string lb = bytesOf(l, raw), rb = bytesOf(r, raw);
        const int c = lb.compare(rb);
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }

    std::string bytesOf(const Bound& b, std::string_view raw) const {
        if (!b.isField) return b.gbk;
        if (b.type == FieldType::Character) return std::string(table_.fieldBytes(raw, b.field));
        return trimmedRight(toGbk(table_.decode(raw, b.field).toText()));
    }

    const TableFile& table_;
};

// A conjunct of the WHERE clause that an index can answer: field = value, or field like 'abc%'.
struct IndexProbe {
    int field = -1;
    std::string key;
    bool prefix = false;
};

void collectProbes(const BoundExpr* e, std::vector<IndexProbe>& out) {
    if (!e) return;
    if (e->kind == Expr::Kind::And) {
        collectProbes(e->a.get(), out);
        collectProbes(e->b.get(), out);
        return;
    }
    if (e->kind == Expr::Kind::Compare && e->op == "=") {
        const Bound* f = e->left.isField ? &e->left : e->right.isField ? &e->right : nullptr;
        const Bound* v = e->left.isField ? &e->right : &e->left;
        if (f && !v->isField && f->type == FieldType::Character)
            out.push_back({f->field, v->gbk, false});
    }
    if (e->kind == Expr::Kind::Like && !e->negated && e->left.isField && !e->right.isField &&
        e->left.type == FieldType::Character) {
        const std::string& pattern = e->right.text;
        const size_t wild = pattern.find_first_of("%_");
        if (wild == std::string::npos)
            out.push_back({e->left.field, e->right.gbk, false});
        else if (wild > 0)
            out.push_back({e->left.field, toGbk(pattern.substr(0, wild)), true});
    }
}

// The conjunct most likely to narrow the rows: the longest key, an exact one on a tie. A one-byte
// category code selects a third of the table; a year or a record number selects few rows.
std::optional<IndexProbe> findProbe(const BoundExpr* e) {
    std::vector<IndexProbe> probes;
    collectProbes(e, probes);
    if (probes.empty()) return std::nullopt;
    return *std::max_element(probes.begin(), probes.end(),
                             [](const IndexProbe& a, const IndexProbe& b) {
                                 if (a.key.size() != b.key.size())
                                     return a.key.size() < b.key.size();
                                 return a.prefix && !b.prefix;
                             });
}

struct Plan {
    std::shared_ptr<TableFile> table;
    std::unique_ptr<BoundExpr> where;
};

Result<Plan> plan(Database& db, const std::string& tableName, const Expr* where,
                  const Params& params) {
    auto table = db.openTable(tableName);
    if (!table) return table.error();
    Plan p;
    p.table = *table;
    if (where) {
        auto bound = Binder(*p.table, params).bind(*where);
        if (!bound) return bound.error();
        p.where = std::move(*bound);
    }
    return p;
}

// Record numbers, ascending, of the rows that satisfy the plan's condition. With `keys`, the
// stored bytes of field `keyField` of each such row are gathered on the same pass.
Result<std::vector<uint32_t>> matchingRows(const Plan& p, int keyField = -1,
                                           std::vector<std::string>* keys = nullptr) {
    TableFile& table = *p.table;
    const Evaluator evaluator(table);
    std::vector<uint32_t> rows;
    const auto take = [&](uint32_t recno, std::string_view raw) {
        if (p.where && !evaluator.eval(*p.where, raw)) return;
        rows.push_back(recno);
        if (keys) keys->emplace_back(table.fieldBytes(raw, keyField));
    };
    if (const auto probe = findProbe(p.where.get())) {
        auto candidates = indexedRows(table, probe->field, probe->key, probe->prefix);
        if (!candidates) return candidates.error();
        std::string raw;
        for (uint32_t recno : *candidates) {
            if (Status s = table.readRecord(recno, raw); !s) return s.error();
            take(recno, raw);
        }
        return rows;
    }
    Status s = table.scan([&](uint32_t recno, std::string_view raw) {
        take(recno, raw);
        return true;
    });
    if (!s) return s.error();
    return rows;
}

int compareValues(const Value& a, const Value& b, FieldType type) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : a.isNull() ? -1 : 1;
    switch (type) {
    case FieldType::Number:
    case FieldType::SmallInt:
    case FieldType::Integer: {
        const double x = a.toNumber(), y = b.toNumber();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    case FieldType::Date: {
        const auto x = a.toDate(), y = b.toDate();
        return *x < *y ? -1 : *x > *y ? 1 : 0;
    }
    default: {
        const int c = toGbk(a.toText()).compare(toGbk(b.toText()));
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    }
}

// Character fields sort by their stored bytes (GBK order, as the engine compares text), without
// turning every key into text and back for each comparison. `keys` are the rows' stored bytes.
void sortRowsByBytes(std::vector<uint32_t>& rows, std::vector<std::string>& keys, bool descending) {
    std::vector<uint32_t> order(rows.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
        return descending ? keys[x] > keys[y] : keys[x] < keys[y];
    });
    std::vector<uint32_t> sorted(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = rows[order[i]];
    rows = std::move(sorted);
}

Status sortRows(const TableFile& table, std::vector<uint32_t>& rows, int field, bool descending) {
    std::vector<std::pair<Value, uint32_t>> keyed;
    keyed.reserve(rows.size());
    std::string raw;
    for (uint32_t recno : rows) {
        if (Status s = table.readRecord(recno, raw); !s) return s;
        keyed.emplace_back(table.decode(raw, field), recno);
    }
    const FieldType type = table.fields()[field].type;
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& x, const auto& y) {
        const int c = compareValues(x.first, y.first, type);
        return descending ? c > 0 : c < 0;
    });
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = keyed[i].second;
    return {};
}

// Reads the rows of a result in file order, however the result is ordered, and calls `visit`
// with each row's position in the result.
Status readInFileOrder(const TableFile& table, const std::vector<uint32_t>& rows,
                       const std::function<void(size_t, std::string_view)>& visit) {
    std::vector<std::pair<uint32_t, size_t>> order(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        order[i] = {rows[i], i};
    std::sort(order.begin(), order.end());
    std::vector<uint32_t> sorted(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = order[i].first;
    return table.readRows(sorted,
                          [&](size_t i, std::string_view raw) { visit(order[i].second, raw); });
}

// The smallest text greater than every text that starts with `prefix` (empty: none is).
std::string successor(std::string prefix) {
    while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF)
        prefix.pop_back();
    if (prefix.empty()) return std::string(1, '\xFF') + std::string(64, '\xFF');
    prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
    return prefix;
}

// max(f) over a character field whose index also selects the rows: walk the index from the top
// and stop at the first row that satisfies the whole condition.
std::optional<Result<std::unique_ptr<Cursor>>> maxThroughIndex(const Plan& p, const Select& s) {
    if (s.items.size() != 1 || s.items[0].aggregate != SelectItem::Aggregate::Max)
        return std::nullopt;
    TableFile& table = *p.table;
    const int field = table.fieldIndex(s.items[0].field);
    if (field < 0 || table.fields()[field].type != FieldType::Character) return std::nullopt;
    std::vector<IndexProbe> probes;
    collectProbes(p.where.get(), probes);
    std::optional<IndexProbe> probe;
    for (const IndexProbe& candidate : probes)
        if (candidate.field == field) probe = candidate;
    if (p.where && !probe) return std::nullopt;
    auto index = table.index(field);
    if (!index) return Result<std::unique_ptr<Cursor>>(index.error());
    const CharIndex& idx = **index;
    // Start just past the last key the probe admits and walk down while keys still match it.
    auto end = idx.end();
    if (probe && probe->prefix)
        end = idx.lower_bound(successor(probe->key));
    else if (probe)
        end = idx.upper_bound(probe->key);
    const Evaluator evaluator(table);
    std::string raw;
    Value best;
    for (auto it = std::make_reverse_iterator(end); it != idx.rend(); ++it) {
        if (probe && !(probe->prefix ? it->first.starts_with(probe->key) : it->first == probe->key))
            break;
        if (Status st = table.readRecord(it->second, raw); !st)
            return Result<std::unique_ptr<Cursor>>(st.error());
        if (p.where && !evaluator.eval(*p.where, raw)) continue;
        best = table.decode(raw, field);
        break;
    }
    FieldDef def = table.fields()[field];
    return Result<std::unique_ptr<Cursor>>(
        std::make_unique<Cursor>(FieldList{def}, std::vector<std::vector<Value>>{{best}}));
}

} // namespace

Result<std::unique_ptr<Cursor>> runSelect(Database& db, const Select& s, const Params& params) {
    auto p = plan(db, s.table, s.where.get(), params);
    if (!p) return p.error();
    TableFile& table = *p->table;
    if (auto viaIndex = maxThroughIndex(*p, s)) return std::move(*viaIndex);

    const int orderField = s.orderBy.empty() ? -1 : table.fieldIndex(s.orderBy);
    if (!s.orderBy.empty() && orderField < 0)
        return fail("表 " + table.fileName() + " 中没有字段 " + s.orderBy);
    // Character keys are taken on the pass that finds the rows.
    const bool byBytes = orderField >= 0 && table.fields()[orderField].type == FieldType::Character;
    std::vector<std::string> keys;
    auto rows = matchingRows(*p, orderField, byBytes ? &keys : nullptr);
    if (!rows) return rows.error();
    if (byBytes) {
        sortRowsByBytes(*rows, keys, s.descending);
    } else if (orderField >= 0) {
        if (Status st = sortRows(table, *rows, orderField, s.descending); !st) return st.error();
    }
    if (s.star && !s.distinct) return std::make_unique<Cursor>(p->table, std::move(*rows), false);

    // Computed rows: a field list, distinct values or aggregates.
    std::vector<int> fields;
    FieldList defs;
    bool aggregate = false;
    if (s.star) {
        for (size_t i = 0; i < table.fields().size(); ++i)
            fields.push_back(static_cast<int>(i));
        defs = table.fields();
    } else {
        for (const SelectItem& item : s.items) {
            if (item.aggregate != SelectItem::Aggregate::None) aggregate = true;
            if (item.field == "*") {
                fields.push_back(-1);
                defs.push_back(numberField("COUNT"));
                continue;
            }
            const int f = table.fieldIndex(item.field);
            if (f < 0) return fail("表 " + table.fileName() + " 中没有字段 " + item.field);
            fields.push_back(f);
            defs.push_back(item.aggregate == SelectItem::Aggregate::Count ? numberField("COUNT")
                                                                          : table.fields()[f]);
        }
    }
    std::vector<std::vector<Value>> out;
    if (aggregate) {
        std::vector<Value> result(s.items.size());
        std::vector<long long> counts(s.items.size(), 0);
        // A plain field beside an aggregate takes the value of the first row in result order.
        std::vector<size_t> firstAt(s.items.size(), rows->size());
        Status read = readInFileOrder(table, *rows, [&](size_t at, std::string_view raw) {
            for (size_t i = 0; i < s.items.size(); ++i) {
                const SelectItem& item = s.items[i];
                if (item.aggregate == SelectItem::Aggregate::Count) {
                    if (fields[i] < 0 || !table.decode(raw, fields[i]).isNull()) ++counts[i];
                    continue;
                }
                const Value v = table.decode(raw, fields[i]);
                if (item.aggregate == SelectItem::Aggregate::None) {
                    if (!v.isNull() && at < firstAt[i]) {
                        result[i] = v;
                        firstAt[i] = at;
                    }
                    continue;
                }
                if (v.isNull()) continue;
                const int c = compareValues(v, result[i], table.fields()[fields[i]].type);
                if (result[i].isNull() ||
                    (item.aggregate == SelectItem::Aggregate::Max ? c > 0 : c < 0))
                    result[i] = v;
            }
        });
        if (!read) return read.error();
        for (size_t i = 0; i < s.items.size(); ++i)
            if (s.items[i].aggregate == SelectItem::Aggregate::Count)
                result[i] = Value(static_cast<long long>(counts[i]));
        out.push_back(std::move(result));
    } else {
        std::vector<std::vector<Value>> all(rows->size());
        Status read = readInFileOrder(table, *rows, [&](size_t at, std::string_view raw) {
            std::vector<Value>& row = all[at];
            row.reserve(fields.size());
            for (int f : fields)
                row.push_back(table.decode(raw, f));
        });
        if (!read) return read.error();
        std::set<std::vector<std::string>> seen;
        for (std::vector<Value>& row : all) {
            if (s.distinct) {
                std::vector<std::string> key;
                for (const Value& v : row)
                    key.push_back(v.toText());
                if (!seen.insert(std::move(key)).second) continue;
            }
            out.push_back(std::move(row));
        }
    }
    return std::make_unique<Cursor>(std::move(defs), std::move(out));
}

Result<int> runChange(Database& db, const Statement& statement, const Params& params) {
    if (const auto* d = std::get_if<Delete>(&statement)) {
        auto p = plan(db, d->table, d->where.get(), params);
        if (!p) return p.error();
        auto rows = matchingRows(*p);
        if (!rows) return rows.error();
        for (uint32_t recno : *rows)
            if (Status s = p->table->markDeleted(recno); !s) return s.error();
        return static_cast<int>(rows->size());
    }
    if (const auto* u = std::get_if<Update>(&statement)) {
        auto p = plan(db, u->table, u->where.get(), params);
        if (!p) return p.error();
        const Binder binder(*p->table, params);
        std::vector<std::pair<int, Bound>> sets;
        for (const auto& [name, operand] : u->assignments) {
            auto field = binder.field(name);
            if (!field) return field.error();
            auto value = binder.operand(operand);
            if (!value) return value.error();
            sets.emplace_back(*field, *value);
        }
        auto rows = matchingRows(*p);
        if (!rows) return rows.error();
        std::string raw;
        for (uint32_t recno : *rows) {
            if (Status s = p->table->readRecord(recno, raw); !s) return s.error();
            std::vector<Value> row = p->table->decodeRow(raw);
            for (const auto& [field, value] : sets)
                row[static_cast<size_t>(field)] =
                    value.isField ? p->table->decode(raw, value.field) : Value(value.text);
            if (Status s = p->table->write(recno, row); !s) return s.error();
        }
        return static_cast<int>(rows->size());
    }
    const auto& ins = std::get<Insert>(statement);
    auto table = db.openTable(ins.table);
    if (!table) return table.error();
    const Binder binder(**table, params);
    std::vector<Value> row((*table)->fields().size());
    if (ins.values.size() > row.size()) return fail("INSERT 的值多于表的字段数");
    for (size_t i = 0; i < ins.values.size(); ++i) {
        int field = static_cast<int>(i);
        if (!ins.columns.empty()) {
            auto f = binder.field(ins.columns[i]);
            if (!f) return f.error();
            field = *f;
        }
        auto value = binder.operand(ins.values[i]);
        if (!value) return value.error();
        if (value->isField) return fail("INSERT 的值不能是字段名 " + ins.values[i].text);
        row[static_cast<size_t>(field)] = Value(value->text);
    }
    auto appended = (*table)->append(row);
    if (!appended) return appended.error();
    return 1;
}

} // namespace xb::store::sql
