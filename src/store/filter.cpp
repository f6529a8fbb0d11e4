#include "filter.h"

#include "gbk.h"
#include "table_file.h"

#include <cctype>

namespace xb::store {
namespace {

void skipBlanks(const std::string& s, size_t& i) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
}

bool keywordAt(const std::string& s, size_t i, const char* word) {
    size_t k = 0;
    for (; word[k]; ++k)
        if (i + k >= s.size() || std::tolower(static_cast<unsigned char>(s[i + k])) != word[k])
            return false;
    return i + k == s.size() || std::isspace(static_cast<unsigned char>(s[i + k]));
}

// The text of a field as filters compare it: stored bytes for character fields, the value's text
// for the others.
std::string comparable(const TableFile& table, std::string_view raw, int field) {
    if (table.fields()[field].type == FieldType::Character)
        return std::string(table.fieldBytes(raw, field));
    return toGbk(table.decode(raw, field).toText());
}

} // namespace

Result<std::vector<FilterTerm>> parseFilter(const std::string& expression, const TableFile& table) {
    std::vector<FilterTerm> terms;
    const std::string& s = expression;
    auto bad = [&](const std::string& why) {
        return fail("过滤条件有误：" + why + "（" + expression + "）");
    };
    size_t i = 0;
    skipBlanks(s, i);
    if (i == s.size()) return terms;
    while (true) {
        const size_t nameStart = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_'))
            ++i;
        const std::string name = s.substr(nameStart, i - nameStart);
        if (name.empty()) return bad("缺少字段名");
        const int field = table.fieldIndex(name);
        if (field < 0) return fail("表 " + table.fileName() + " 中没有字段 " + name);
        skipBlanks(s, i);
        if (i >= s.size() || s[i] != '=') return bad("缺少“=”");
        ++i;
        skipBlanks(s, i);
        if (i >= s.size() || s[i] != '\'') return bad("值必须用单引号括起");
        ++i;
        std::string value;
        bool closed = false;
        while (i < s.size()) {
            if (s[i] == '\'') {
                if (i + 1 < s.size() && s[i + 1] == '\'') {
                    value += '\'';
                    i += 2;
                    continue;
                }
                ++i;
                closed = true;
                break;
            }
            value += s[i++];
        }
        if (!closed) return bad("引号不配对");
        FilterTerm term;
        term.field = field;
        if (!value.empty() && value.back() == '*') {
            term.prefix = true;
            value.pop_back();
        }
        term.value = trimRight(toGbk(value));
        terms.push_back(std::move(term));
        skipBlanks(s, i);
        if (i == s.size()) break;
        if (!keywordAt(s, i, "and")) return bad("条件之间只能用 and 连接");
        i += 3;
        skipBlanks(s, i);
    }
    return terms;
}

bool filterMatches(const std::vector<FilterTerm>& terms, const TableFile& table,
                   std::string_view raw) {
    for (const FilterTerm& t : terms) {
        const std::string v = comparable(table, raw, t.field);
        if (t.prefix ? !v.starts_with(t.value) : v != t.value) return false;
    }
    return true;
}

} // namespace xb::store
