#include "label_views.h"

#include "lookups.h"

#include <map>

namespace xb::store {
namespace {

// One column of a view: a stored field, or a label looked up in a dictionary from a stored code.
struct Column {
    std::string name;
    std::string source;     // the stored field
    std::string dictionary; // empty: the stored value itself
    bool reverse = false;   // look the stored label up and show its code
};

std::vector<Column> columnsOf(LabelView view) {
    auto stored = [](std::initializer_list<const char*> names) {
        std::vector<Column> out;
        for (const char* n : names)
            out.push_back({n, n, "", false});
        return out;
    };
    auto append = [](std::vector<Column> a, const std::vector<Column>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    switch (view) {
    case LabelView::Completers:
        return append(
            append(stored({"ITEM_4", "ITEM_DQDM", "ITEM_187", "ITEM_180", "ITEM_181", "ITEM_182",
                           "ITEM_183", "ITEM_184", "ITEM_185", "ITEM_186", "ITEM_188"}),
                   {{"V_181", "ITEM_181", "item_181"},
                    {"V_183", "ITEM_183", "item_183"},
                    {"V_184", "ITEM_184", "item_184"},
                    {"V_188", "ITEM_188", "item_188"}}),
            stored({"ITEM_NO"}));
    case LabelView::Committee:
        return append(
            stored({"ITEM_4", "ITEM_DQDM", "ITEM_190", "ITEM_191", "ITEM_192", "ITEM_193",
                    "ITEM_194", "ITEM_195", "ITEM_196", "ITEM_197", "ITEM_198", "ITEM_199"}),
            {{"V_191", "ITEM_191", "item_191", true},
             {"V_193", "ITEM_193", "item_193"},
             {"V_198", "ITEM_198", "item_198"}});
    case LabelView::Patents:
        return append(stored({"ITEM_4", "ITEM_DQDM", "ITEM_NO", "PATENT_NO", "PATENT_NAM",
                              "PATENT_ST", "PATENT_TY"}),
                      {{"V_st", "PATENT_ST", "patent_st"}, {"V_ty", "PATENT_TY", "patent_ty"}});
    case LabelView::SubjectLeaders:
        return append(
            append(
                stored({"unitcode", "item_187", "item_180", "item_181", "item_182", "item_124_1"}),
                {{"V_181", "item_181", "item_181"}, {"V_124_1", "item_124_1", "item_124_1"}}),
            stored({"item_186"}));
    }
    return {};
}

} // namespace

Result<std::unique_ptr<Cursor>> labelledView(Database& db, LabelView view, const std::string& sql,
                                             const Params& params) {
    auto source = db.query(sql, params);
    if (!source) return source.error();
    Cursor& rows = **source;
    const std::vector<Column> columns = columnsOf(view);
    FieldList fields;
    std::vector<int> sourceIndex;
    for (const Column& col : columns) {
        const int index = rows.fieldIndex(col.source);
        if (index < 0) return fail("查询结果中没有字段 " + col.source);
        sourceIndex.push_back(index);
        FieldDef def = col.dictionary.empty() ? rows.fields()[static_cast<size_t>(index)]
                                              : charField(col.name, 120);
        def.name = col.name;
        fields.push_back(def);
    }
    // Labels are looked up once per distinct code.
    std::map<std::pair<std::string, std::string>, std::string> cache;
    std::vector<std::vector<Value>> out;
    for (rows.first(); !rows.eof(); rows.next()) {
        std::vector<Value> row;
        for (size_t i = 0; i < columns.size(); ++i) {
            const Value stored = rows.value(sourceIndex[i]);
            if (columns[i].dictionary.empty()) {
                row.push_back(stored);
                continue;
            }
            const std::string code = trimmed(stored.toText());
            auto key =
                std::make_pair(columns[i].dictionary + (columns[i].reverse ? "<" : ">"), code);
            auto it = cache.find(key);
            if (it == cache.end()) {
                auto label = columns[i].reverse ? codeOfLabel(db, columns[i].dictionary, code)
                                                : labelOf(db, columns[i].dictionary, code);
                if (!label) return label.error();
                it = cache.emplace(key, *label).first;
            }
            row.push_back(Value(it->second));
        }
        out.push_back(std::move(row));
    }
    return std::make_unique<Cursor>(std::move(fields), std::move(out));
}

} // namespace xb::store
