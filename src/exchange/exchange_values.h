// Field texts of exchange files and the typed values of table fields, in both directions.
// Numbers travel with "." and no grouping, dates as yyyy-MM-dd, logicals as T/F.
#pragma once

#include "store/field.h"
#include "store/result.h"
#include "store/value.h"

#include <string>
#include <string_view>
#include <vector>

namespace xb::exchange {

// The typed value of one field text (GBK) read from line `line`, item `item` (from 1). Empty
// texts of number, date and logical fields are null; a text the field cannot take is an Error
// such as "第 3 行第 46 项“abc”不是数字".
store::Result<store::Value> valueFromExchange(const std::string& gbkText,
                                              const store::FieldDef& field, int line, int item);

// Refuses a field text (GBK) with a byte outside the code page, as valueFromExchange does; a text
// that passes reads as text and back to the same bytes.
store::Status checkExchangeBytes(std::string_view gbkText, int line, int item);

// Every field text of a record, in the order of `fields` (missing texts are empty).
store::Result<std::vector<store::Value>>
valuesFromExchange(const std::vector<std::string>& texts, const store::FieldList& fields, int line);

// The field text (GBK) that the writer puts in the file for a value; null gives empty text.
std::string exchangeText(const store::Value& value);
std::vector<std::string> exchangeTexts(const std::vector<store::Value>& values);

} // namespace xb::exchange
