#include "field.h"

#include <algorithm>
#include <cctype>

namespace xb::store {

FieldDef charField(std::string name, int width) {
    return {std::move(name), FieldType::Character, width, 0};
}
// dBASE allows at most 19 digits; four decimals keep money in 万元 to the yuan.
FieldDef numberField(std::string name) {
    return {std::move(name), FieldType::Number, 18, 4};
}
FieldDef smallIntField(std::string name) {
    return {std::move(name), FieldType::SmallInt, 6, 0};
}
FieldDef integerField(std::string name) {
    return {std::move(name), FieldType::Integer, 11, 0};
}
FieldDef dateField(std::string name) {
    return {std::move(name), FieldType::Date, 8, 0};
}
FieldDef memoField(std::string name) {
    return {std::move(name), FieldType::Memo, 10, 0};
}
FieldDef logicalField(std::string name) {
    return {std::move(name), FieldType::Logical, 1, 0};
}

namespace {
// Field and table names are ASCII; folding them needs no locale.
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;
    return std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string lowerName(std::string name) {
    for (char& c : name)
        c = lowerAscii(c);
    return name;
}

std::string upperName(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

int fieldPosition(const FieldList& fields, const std::string& name) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (sameName(fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

} // namespace xb::store
