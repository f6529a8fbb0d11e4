#include "output/record_rows.h"

#include <cctype>
#include <map>

namespace xb::output {
namespace {

std::string lower(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

} // namespace

store::Result<std::vector<FieldText>> readRows(store::Database& db, const std::string& sql,
                                               const store::Params& params) {
    auto cursor = db.query(sql, params);
    if (!cursor) return cursor.error();
    std::vector<FieldText> rows;
    store::Cursor& c = **cursor;
    for (c.first(); !c.eof(); c.next()) {
        std::map<std::string, std::string> values;
        for (int i = 0; i < c.fieldCount(); ++i) {
            const std::string name = c.fields()[static_cast<size_t>(i)].name;
            values[lower(name)] = c.text(name);
        }
        rows.push_back([values = std::move(values)](const std::string& field) {
            const auto it = values.find(lower(field));
            return it == values.end() ? std::string() : it->second;
        });
    }
    return rows;
}

} // namespace xb::output
