#include "import_store.h"

#include "import_completer_pool.h"
#include "store/lookups.h"
#include "store/row_batch.h"
#include "store/sync_scope.h"
#include "store/table_file.h"
#include "store/values_by_name.h"

#include <memory>

namespace xb::exchange {
namespace {

struct CopyStep {
    const char* staging;
    const char* live;
};
// Child rows first, the achievement rows last: a record never shows up in the lists before its
// children are in place.
constexpr CopyStep ChildCopies[] = {{"zlqktemp", "zlqk"},
                                    {"cgwcrtemp", "cgwcr"},
                                    {"jdwyhmdtemp", "jdwyhmd"},
                                    {"cgwcdwtemp", "cgwcdw"}};

struct AddedRow {
    std::shared_ptr<store::TableFile> table;
    uint32_t row = 0;
};

// Rows added for a group, removed again unless the whole group got in.
class AddedRows {
  public:
    ~AddedRows() {
        if (!kept_) (void)discard(); // only after an exception; every refusal discards first
    }
    void add(const std::shared_ptr<store::TableFile>& table, const std::vector<uint32_t>& rows) {
        for (uint32_t row : rows)
            rows_.push_back({table, row});
    }
    void keep() { kept_ = true; }

    // Removes the rows again; "" when all went, else what stays behind, for the message.
    std::string discard() {
        kept_ = true;
        std::string left;
        for (auto it = rows_.rbegin(); it != rows_.rend(); ++it)
            if (store::Status s = it->table->markDeleted(it->row); !s)
                left += "；表 " + it->table->fileName() + " 第 " + std::to_string(it->row) +
                        " 行未能撤回：" + s.message();
        rows_.clear();
        return left;
    }

  private:
    std::vector<AddedRow> rows_;
    bool kept_ = false;
};

// Puts a row in the live table under the record key (number, "."). A live table without the key
// fields refuses every write, which reports it.
void setKey(const store::TableFile& live, std::vector<store::Value>& values,
            const std::string& number) {
    if (const int field = live.fieldIndex("ITEM_4"); field >= 0)
        values[static_cast<size_t>(field)] = store::Value(number);
    if (const int field = live.fieldIndex("ITEM_DQDM"); field >= 0)
        values[static_cast<size_t>(field)] = store::Value(".");
}

// How staged rows go into a live table. When the live table has the staging table's fields, name
// for name, type for type, width for width, and character key fields, a row goes in as stored
// with only the key fields replaced; otherwise field by field of the same name, since either
// table may come from another program.
class RowCopy {
  public:
    RowCopy(const store::TableFile& staging, const store::TableFile& live)
        : staging_(staging), live_(live) {
        const store::FieldList& a = staging.fields();
        const store::FieldList& b = live.fields();
        if (a.size() != b.size()) return;
        for (size_t i = 0; i < a.size(); ++i)
            if (!store::sameName(a[i].name, b[i].name) || a[i].type != b[i].type ||
                a[i].width != b[i].width || a[i].decimals != b[i].decimals)
                return;
        numberField_ = live.fieldIndex("ITEM_4");
        regionField_ = live.fieldIndex("ITEM_DQDM");
        const auto isCharacter = [&](int field) {
            return field >= 0 && b[static_cast<size_t>(field)].type == store::FieldType::Character;
        };
        asStored_ = isCharacter(numberField_) && isCharacter(regionField_);
    }

    // Adds the staged row `raw` to `batch` under `number`; `values`, when given, gets the row's
    // values in the live table's field order.
    store::Status add(store::RowBatch& batch, std::string_view raw, const std::string& number,
                      std::vector<store::Value>* values) const {
        if (asStored_) {
            if (values) *values = staging_.decodeRow(raw);
            return batch.addFrom(staging_, raw, {{numberField_, number}, {regionField_, "."}});
        }
        std::vector<store::Value> row =
            store::valuesByName(staging_.decodeRow(raw), staging_.fields(), live_);
        if (values) *values = row;
        setKey(live_, row, number);
        return batch.add(row);
    }

  private:
    const store::TableFile& staging_;
    const store::TableFile& live_;
    int numberField_ = -1;
    int regionField_ = -1;
    bool asStored_ = false;
};

// An achievement of the group that has its number.
struct Member {
    size_t index = 0; // in the group
    std::string number;
    std::string raw; // its kjcgtemp row
    std::vector<std::vector<store::Value>> completers;
};

store::Error failed(const StagedAchievement& staged, const std::string& why) {
    return store::fail("成果“" + store::trimmed(staged.name) + "”（" + staged.number +
                       "）未能入库：" + why);
}

// Adds the rows of one child staging table for every member to `batch`, in member order, reading
// the staged rows in as few reads as their places allow.
store::Status addChildRows(store::Database& db, const StagedChildRows& children,
                           const CopyStep& step, const std::vector<StoringAchievement>& group,
                           std::vector<Member>& members, store::RowBatch& batch,
                           store::FieldList& completerFields) {
    auto from = db.openTable(step.staging);
    if (!from) return from.error();
    auto to = db.openTable(step.live);
    if (!to) return to.error();
    std::vector<uint32_t> rows;
    std::vector<Member*> owners;
    for (Member& member : members) {
        auto found = children.rows(db, step.staging, *group[member.index].staged);
        if (!found) return found.error();
        rows.insert(rows.end(), found->begin(), found->end());
        owners.insert(owners.end(), found->size(), &member);
    }
    const bool completerRows = std::string_view(step.live) == "cgwcr";
    if (completerRows) completerFields = (*to)->fields();
    const RowCopy copy(**from, **to);
    store::Status added;
    std::vector<store::Value> values;
    store::Status read = (*from)->readRows(rows, [&](size_t i, std::string_view raw) {
        if (!added) return;
        Member& member = *owners[i];
        added = copy.add(batch, raw, member.number, completerRows ? &values : nullptr);
        if (completerRows) member.completers.push_back(std::move(values));
    });
    if (!read) return read;
    return added;
}

} // namespace

StoredGroup storeStagedGroup(store::Database& db, ImportNumbering& numbering,
                             store::ImportJournal& journal, const StagedChildRows& children,
                             const std::vector<StoringAchievement>& group) {
    StoredGroup stored{{group.size(), store::fail("")}, {}, {}};
    auto& results = stored.results;
    const auto refuseEach = [&](const std::string& why) {
        for (size_t i = 0; i < group.size(); ++i)
            results[i] = failed(*group[i].staged, why);
        stored.failure = why;
        return stored;
    };
    auto from = db.openTable("kjcgtemp");
    if (!from) return refuseEach(from.message());
    auto to = db.openTable("kjcg");
    if (!to) return refuseEach(to.message());

    // The staged achievement rows, then the numbers: one that cannot be numbered or whose staged
    // row is gone is refused alone, before anything is written.
    std::vector<uint32_t> stagedRows;
    for (const StoringAchievement& achievement : group)
        stagedRows.push_back(achievement.staged->row);
    std::vector<std::string> raws(group.size());
    if (store::Status s =
            (*from)->readRows(stagedRows, [&](size_t i, std::string_view raw) { raws[i] = raw; });
        !s)
        return refuseEach(s.message());
    const ImportNumbering::Mark mark = numbering.mark();
    std::vector<Member> members;
    std::vector<std::pair<std::string, std::string>> storing;
    for (size_t i = 0; i < group.size(); ++i) {
        const StagedAchievement& staged = *group[i].staged;
        auto number = numbering.next(staged.number);
        if (!number) {
            results[i] = failed(staged, number.message());
            continue;
        }
        if (store::TableFile::isDeleted(raws[i])) {
            results[i] = failed(staged, "暂存的记录已被删除");
            continue;
        }
        // Taken for now, so that the next one of the year follows it.
        numbering.taken(*number);
        members.push_back({i, *number, std::move(raws[i]), {}});
        storing.emplace_back(*number, group[i].replaces);
        results[i] = StoredAchievement{*number};
    }
    if (members.empty()) return stored;

    AddedRows added;
    // A refused group takes back the rows already added for it and its numbers.
    const auto refuse = [&](const std::string& why) {
        const std::string left = added.discard();
        numbering.rewind(mark);
        for (const Member& member : members)
            results[member.index] = failed(*group[member.index].staged, why + left);
        stored.failure = why + left;
        return stored;
    };
    if (store::Status s = journal.storing(storing); !s) return refuse(s.message());

    store::FieldList completerFields;
    // The group's rows go to the disk together, before the journal says they are whole.
    store::SyncScope scope;
    for (const CopyStep& step : ChildCopies) {
        auto live = db.openTable(step.live);
        if (!live) return refuse(live.message());
        // The rows of one table go in with one write; the journal covers them as it covers one.
        store::RowBatch batch(**live);
        store::Status s = addChildRows(db, children, step, group, members, batch, completerFields);
        if (s) s = batch.flush();
        added.add(*live, batch.written());
        if (!s) return refuse(s.message());
    }

    store::RowBatch records(**to);
    const RowCopy copy(**from, **to);
    store::Status s;
    for (const Member& member : members)
        if (s = copy.add(records, member.raw, member.number, nullptr); !s) break;
    if (s) s = records.flush();
    added.add(*to, records.written());
    if (!s) return refuse(s.message());
    if (store::Status synced = scope.commit(); !synced) return refuse(synced.message());
    std::vector<std::string> numbers;
    for (const Member& member : members)
        numbers.push_back(member.number);
    if (store::Status s = journal.stored(numbers); !s) return refuse(s.message());
    added.keep();

    std::vector<std::vector<store::Value>> completers;
    for (Member& member : members)
        for (auto& completer : member.completers)
            completers.push_back(std::move(completer));
    if (completers.empty()) return stored;
    if (store::Status s = updateCompleterPool(db, completers, completerFields); !s)
        stored.warning =
            std::to_string(members.size()) + " 项成果已入库，但完成人名录未能更新：" + s.message();
    return stored;
}

} // namespace xb::exchange
