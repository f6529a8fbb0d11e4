#include "unit_profile.h"

#include "store/lookups.h"

#include <utility>
#include <vector>

namespace xb::parties {
namespace {

using Member = QString UnitProfile::*;

// The fields stored as the page shows them, in table order where it matters to no one.
const std::vector<std::pair<const char*, Member>>& textFields() {
    static const std::vector<std::pair<const char*, Member>> fields{
        {"item_420", &UnitProfile::orgCode},   {"item_37", &UnitProfile::address},
        {"item_38", &UnitProfile::postcode},   {"item_39", &UnitProfile::phone},
        {"item_40", &UnitProfile::fax},        {"item_60", &UnitProfile::website},
        {"item_41", &UnitProfile::department}, {"item_41_2", &UnitProfile::departmentPhone},
        {"item_61", &UnitProfile::email},
    };
    return fields;
}

const std::vector<std::pair<const char*, Member>>& codeListFields() {
    static const std::vector<std::pair<const char*, Member>> fields{
        {"item_124_2", &UnitProfile::researchFields},
        {"item_15_1", &UnitProfile::researchDisciplines},
        {"item_124_1", &UnitProfile::advantageFields},
        {"item_15", &UnitProfile::advantageDisciplines},
    };
    return fields;
}

const std::vector<std::pair<const char*, Member>>& memoFields() {
    static const std::vector<std::pair<const char*, Member>> fields{
        {"studydirec", &UnitProfile::studyDirection},
        {"advantage", &UnitProfile::advantage},
        {"unitintrod", &UnitProfile::introduction},
    };
    return fields;
}

QString textOf(const store::Cursor& row, const char* field) {
    return QString::fromStdString(row.text(field));
}

store::Value valueOf(const QString& text) {
    return store::Value(text.toStdString());
}

// Multi-line texts travel in tab-separated exchange files, so they are stored without tabs.
QString storedMemo(const QString& text) {
    return QString::fromStdString(store::replaceTabs(text.toStdString()));
}

// The current row of `unit` in edit state, or a new first row of an empty table.
store::Result<std::unique_ptr<store::Cursor>> editProfileRow(store::Database& db) {
    auto cursor = db.table("unit");
    if (!cursor) return cursor.error();
    store::Cursor& row = **cursor;
    row.first();
    if (store::Status s = row.isEmpty() ? row.append() : row.edit(); !s) return s.error();
    return std::move(*cursor);
}

} // namespace

store::Result<bool> hasProfile(store::Database& db) {
    auto cursor = db.table("unit");
    if (!cursor) return cursor.error();
    return !(*cursor)->isEmpty();
}

store::Result<UnitProfile> loadProfile(store::Database& db) {
    auto cursor = db.table("unit");
    if (!cursor) return cursor.error();
    store::Cursor& row = **cursor;
    UnitProfile profile;
    row.first();
    if (row.isEmpty()) return profile;
    profile.name = textOf(row, "item_9");
    for (const auto& [field, member] : textFields())
        profile.*member = textOf(row, field);
    for (const auto& [field, member] : codeListFields())
        profile.*member = textOf(row, field);
    for (const auto& [field, member] : memoFields())
        profile.*member = textOf(row, field);
    profile.attribute = textOf(row, "item_62");
    profile.ownership = textOf(row, "item_41_3");
    profile.converted = textOf(row, "item_163");
    profile.province = textOf(row, "item_64");
    profile.unitCode = textOf(row, "unitcode");
    return profile;
}

store::Status storeProfileText(store::Database& db, const QString& field, const QString& text) {
    auto cursor = editProfileRow(db);
    if (!cursor) return cursor.error();
    store::Cursor& row = **cursor;
    if (store::Status s = row.setValue(field.toStdString(), valueOf(storedMemo(text))); !s) {
        row.cancel();
        return s;
    }
    return row.post();
}

} // namespace xb::parties
