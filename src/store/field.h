// Field declarations of dBASE tables.
#pragma once

#include <string>
#include <vector>

namespace xb::store {

enum class FieldType {
    Character, // C, width in GBK bytes
    Number,    // N with decimals, read as floating point
    SmallInt,  // N without decimals, read as a 16-bit integer
    Integer,   // N without decimals, read as a 32-bit integer
    Date,      // D, 8 bytes YYYYMMDD
    Memo,      // M, block number into the .dbt file
    Logical,   // L, one byte
};

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Character;
    int width = 0;    // bytes in the record
    int decimals = 0; // numbers only
};

FieldDef charField(std::string name, int width);
FieldDef numberField(std::string name);
FieldDef smallIntField(std::string name);
FieldDef integerField(std::string name);
FieldDef dateField(std::string name);
FieldDef memoField(std::string name);
FieldDef logicalField(std::string name);

// Case-insensitive comparison of ASCII names, as field and table names are compared.
bool sameName(const std::string& a, const std::string& b);
std::string lowerName(std::string name);
std::string upperName(std::string name);

using FieldList = std::vector<FieldDef>;

// The position of the field of that name (letter case ignored); -1 when there is none.
int fieldPosition(const FieldList& fields, const std::string& name);

} // namespace xb::store
