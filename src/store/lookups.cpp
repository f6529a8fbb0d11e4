#include "lookups.h"

namespace xb::store {
namespace {

std::string trimAscii(std::string s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

std::string equalsFilter(const std::string& field, const std::string& value) {
    return field + "='" + quoteForSql(value) + "'";
}

// Character count of UTF-8 text up to `chars` characters, in bytes.
size_t bytesOfChars(const std::string& s, int chars) {
    size_t i = 0;
    for (int n = 0; n < chars && i < s.size(); ++n) {
        const auto c = static_cast<unsigned char>(s[i]);
        i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    }
    return std::min(i, s.size());
}

} // namespace

std::string trimmed(const std::string& text) {
    std::string s = trimAscii(text);
    static const std::string wide = "\xE3\x80\x80"; // full-width blank
    while (s.starts_with(wide))
        s.erase(0, wide.size());
    while (s.ends_with(wide))
        s.erase(s.size() - wide.size());
    return s == text ? s : trimmed(s);
}

Result<std::vector<std::string>> dictionaryEntries(Database& db, const std::string& dictionary,
                                                   bool optional, bool withVersion1) {
    auto view = db.table("zdxx");
    if (!view) return view.error();
    Cursor& c = **view;
    if (Status s = c.setFilter(equalsFilter("zddm", dictionary)); !s) return s.error();
    std::vector<std::string> entries;
    for (c.first(); !c.eof(); c.next()) {
        const std::string code = c.text("xxdm");
        const std::string label = c.text("xxmc");
        if (trimAscii(code).empty() || trimAscii(label).empty()) continue;
        if (!withVersion1 && label.starts_with("**")) continue;
        entries.push_back(code + kEntrySeparator + label);
    }
    if (optional) entries.push_back(kBlankEntry);
    return entries;
}

Result<std::vector<std::string>> codeTableEntries(Database& db, const std::string& table,
                                                  const std::string& codeField,
                                                  const std::string& labelField, bool optional) {
    return codeTableEntries(db, table, codeField, labelField, optional, {}, {});
}

Result<std::vector<std::string>> codeTableEntries(Database& db, const std::string& table,
                                                  const std::string& codeField,
                                                  const std::string& labelField, bool optional,
                                                  const std::string& keyField,
                                                  const std::string& key) {
    auto view = db.table(table);
    if (!view) return view.error();
    Cursor& c = **view;
    if (c.fieldIndex(codeField) < 0) return fail("表 " + table + " 中没有字段 " + codeField);
    if (c.fieldIndex(labelField) < 0) return fail("表 " + table + " 中没有字段 " + labelField);
    if (!keyField.empty()) {
        if (c.fieldIndex(keyField) < 0) return fail("表 " + table + " 中没有字段 " + keyField);
        if (Status s = c.setFilter(equalsFilter(keyField, key)); !s) return s.error();
    }
    std::vector<std::string> entries;
    for (c.first(); !c.eof(); c.next()) {
        if (c.isNull(codeField) || c.isNull(labelField)) continue;
        entries.push_back(c.text(codeField) + kEntrySeparator + c.text(labelField));
    }
    if (optional) entries.push_back(kBlankEntry);
    return entries;
}

Result<std::vector<std::string>> columnValues(Database& db, const std::string& table,
                                              const std::string& field) {
    auto view = db.table(table);
    if (!view) return view.error();
    Cursor& c = **view;
    const int index = c.fieldIndex(field);
    if (index < 0) return fail("表 " + table + " 中没有字段 " + field);
    std::vector<std::string> values;
    for (c.first(); !c.eof(); c.next())
        if (!c.value(index).isNull()) values.push_back(c.text(field));
    return values;
}

std::string codeBeforeSeparator(const std::string& text) {
    const size_t sep = text.find(kEntrySeparator);
    return trimAscii(sep == std::string::npos ? text : text.substr(0, sep));
}

int entryIndexForCode(const std::vector<std::string>& entries, const std::string& code) {
    int found = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == kBlankEntry) continue;
        if (codeBeforeSeparator(entries[i]) == code) found = static_cast<int>(i);
    }
    return found;
}

std::string entryCode(const std::string& entry, int width) {
    return trimAscii(entry.substr(0, bytesOfChars(entry, width)));
}

Result<std::string> classificationText(Database& db, const std::string& table,
                                       const std::string& code) {
    auto view = db.table(table);
    if (!view) return view.error();
    Cursor& c = **view;
    // The code column is addressed by name, the label by position.
    if (Status s = c.setFilter(equalsFilter("xxdm", trimAscii(code))); !s) return s.error();
    if (c.isEmpty() || c.fieldCount() < 3) return std::string();
    return trimAscii(c.value(1).toText()) + kEntrySeparator + trimAscii(c.value(2).toText());
}

Result<std::string> labelOf(Database& db, const std::string& dictionary, const std::string& code) {
    auto view = db.table("zdxx");
    if (!view) return view.error();
    Cursor& c = **view;
    if (Status s =
            c.setFilter(equalsFilter("zddm", dictionary) + " and " + equalsFilter("xxdm", code));
        !s)
        return s.error();
    if (c.isEmpty() || trimAscii(code).empty()) return std::string();
    return c.text("xxmc");
}

Result<std::string> codeOfLabel(Database& db, const std::string& dictionary,
                                const std::string& label) {
    auto view = db.table("zdxx");
    if (!view) return view.error();
    Cursor& c = **view;
    if (Status s =
            c.setFilter(equalsFilter("zddm", dictionary) + " and " + equalsFilter("xxmc", label));
        !s)
        return s.error();
    if (c.isEmpty() || trimAscii(label).empty()) return std::string();
    return c.text("xxdm");
}

std::array<std::string, 3> splitKeywords(const std::string& text) {
    std::array<std::string, 3> parts;
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t semi = text.find(';', start);
        parts[static_cast<size_t>(i)] =
            text.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    return parts;
}

std::string replaceTabs(std::string text) {
    for (char& c : text)
        if (c == '\t') c = ' ';
    return text;
}

std::string quoteForSql(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

} // namespace xb::store
