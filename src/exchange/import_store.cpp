#include "import_store.h"

#include "import_completer_pool.h"
#include "store/lookups.h"
#include "store/row_batch.h"
#include "store/table_file.h"
#include "store/values_by_name.h"

#include <memory>

namespace xb::exchange {
namespace {

struct CopyStep {
    const char* staging;
    const char* live;
};
// Child rows first, the achievement row last: a record never shows up in the lists before its
// children are in place.
constexpr CopyStep ChildCopies[] = {{"zlqktemp", "zlqk"},
                                    {"cgwcrtemp", "cgwcr"},
                                    {"jdwyhmdtemp", "jdwyhmd"},
                                    {"cgwcdwtemp", "cgwcdw"}};

struct AddedRow {
    std::shared_ptr<store::TableFile> table;
    uint32_t row = 0;
};

// Rows added for one achievement, removed again unless the whole achievement got in.
class AddedRows {
  public:
    ~AddedRows() {
        if (!kept_) (void)discard(); // only after an exception; every refusal discards first
    }
    void add(std::shared_ptr<store::TableFile> table, uint32_t row) {
        rows_.push_back({std::move(table), row});
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

// The key fields' replacements when a staged row can go in as stored: the live table has the
// staging table's fields, name for name, type for type, width for width, and character key
// fields. Empty when the row must go field by field.
std::vector<std::pair<int, std::string>>
rawKey(const store::TableFile& staging, const store::TableFile& live, const std::string& number) {
    const store::FieldList& a = staging.fields();
    const store::FieldList& b = live.fields();
    if (a.size() != b.size()) return {};
    for (size_t i = 0; i < a.size(); ++i)
        if (!store::sameName(a[i].name, b[i].name) || a[i].type != b[i].type ||
            a[i].width != b[i].width || a[i].decimals != b[i].decimals)
            return {};
    const int numberField = live.fieldIndex("ITEM_4");
    const int regionField = live.fieldIndex("ITEM_DQDM");
    if (numberField < 0 || regionField < 0 ||
        b[static_cast<size_t>(numberField)].type != store::FieldType::Character ||
        b[static_cast<size_t>(regionField)].type != store::FieldType::Character)
        return {};
    return {{numberField, number}, {regionField, "."}};
}

store::Error failed(const StagedAchievement& staged, const std::string& why) {
    return store::fail("成果“" + store::trimmed(staged.name) + "”（" + staged.number +
                       "）未能入库：" + why);
}

} // namespace

store::Result<StoredAchievement> storeStagedAchievement(store::Database& db,
                                                        ImportNumbering& numbering,
                                                        store::ImportJournal& journal,
                                                        const StagedAchievement& staged,
                                                        const std::string& replaces) {
    auto number = numbering.next(staged.number);
    if (!number) return failed(staged, number.message());
    if (store::Status s = journal.storing(*number, replaces); !s)
        return failed(staged, s.message());

    AddedRows added;
    // A refused achievement takes back the rows already added for it.
    const auto refuse = [&](const std::string& why) {
        return failed(staged, why + added.discard());
    };
    std::vector<std::vector<store::Value>> completers;
    store::FieldList completerFields;
    std::string raw;
    for (const CopyStep& step : ChildCopies) {
        auto from = db.openTable(step.staging);
        if (!from) return refuse(from.message());
        auto to = db.openTable(step.live);
        if (!to) return refuse(to.message());
        auto rows = rowsWithKey(db, step.staging, staged.number, staged.region);
        if (!rows) return refuse(rows.message());
        // The rows of one table go in with one write; the journal covers them as it covers one.
        store::RowBatch batch(**to);
        const auto key = rawKey(**from, **to, *number);
        const bool completerRows = std::string_view(step.live) == "cgwcr";
        for (uint32_t row : *rows) {
            if (store::Status s = (*from)->readRecord(row, raw); !s) return refuse(s.message());
            if (!key.empty()) {
                // Tables of one layout: the row goes in with its stored bytes.
                if (completerRows) {
                    completers.push_back((*from)->decodeRow(raw));
                    completerFields = (*to)->fields();
                }
                if (store::Status s = batch.addFrom(**from, raw, key); !s)
                    return refuse(s.message());
                continue;
            }
            // Field by field of the same name: either table may come from another program.
            std::vector<store::Value> values =
                store::valuesByName((*from)->decodeRow(raw), (*from)->fields(), **to);
            if (completerRows) {
                completers.push_back(values);
                completerFields = (*to)->fields();
            }
            setKey(**to, values, *number);
            if (store::Status s = batch.add(values); !s) return refuse(s.message());
        }
        const store::Status flushed = batch.flush();
        for (uint32_t row : batch.written())
            added.add(*to, row);
        if (!flushed) return refuse(flushed.message());
    }

    auto from = db.openTable("kjcgtemp");
    if (!from) return refuse(from.message());
    auto to = db.openTable("kjcg");
    if (!to) return refuse(to.message());
    if (store::Status s = (*from)->readRecord(staged.row, raw); !s) return refuse(s.message());
    if (store::TableFile::isDeleted(raw)) return refuse("暂存的记录已被删除");
    if (const auto key = rawKey(**from, **to, *number); !key.empty()) {
        store::RowBatch record(**to);
        store::Status s = record.addFrom(**from, raw, key);
        if (s) s = record.flush();
        if (!s) return refuse(s.message());
        added.add(*to, record.written().front());
    } else {
        std::vector<store::Value> values =
            store::valuesByName((*from)->decodeRow(raw), (*from)->fields(), **to);
        setKey(**to, values, *number);
        auto appended = (*to)->append(values);
        if (!appended) return refuse(appended.message());
        added.add(*to, *appended);
    }
    if (store::Status s = journal.stored(*number); !s) return refuse(s.message());
    added.keep();
    numbering.taken(*number);

    StoredAchievement stored{*number, {}};
    for (const auto& completer : completers)
        if (store::Status s = updateCompleterPool(db, completer, completerFields); !s) {
            stored.warning = "成果“" + store::trimmed(staged.name) +
                             "”已入库，但完成人名录未能更新：" + s.message();
            break;
        }
    return stored;
}

} // namespace xb::exchange
