// The stored bytes of one field of a new row, from its value: what TableFile gives every field
// when it encodes a row, for code that fills rows field by field.
#pragma once

#include "field.h"
#include "result.h"
#include "value.h"

#include <string>
#include <string_view>

namespace xb::store {

// Writes `value` into `out`, the field's width of blanks. A memo's text, when there is one, goes
// to `memoText` (UTF-8) instead: its block number is the caller's to give. Refuses a value the
// field cannot take.
Status encodeField(const FieldDef& field, const Value& value, char* out, std::string& memoText);

// The text without blanks before and after it.
std::string withoutOuterBlanks(std::string_view text);
// Whether every byte is ASCII, which is its own GBK.
bool isAscii(std::string_view text);

} // namespace xb::store
