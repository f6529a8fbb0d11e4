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

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string lowerName(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
