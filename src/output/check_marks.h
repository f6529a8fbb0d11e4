// Check marks of the printed form: one mark box per option of a coded field, named
// "QL_" + field + "_" + code. A field marks the boxes of its first three codes when it holds a
// ";" list, else the box of its whole text.
#pragma once

#include <string>
#include <vector>

namespace xb::output {

inline constexpr const char* kCheckMark = "√";

// The name of the mark box of one option ("QL_ITEM_123_A").
std::string markBoxName(const std::string& field, const std::string& code);

// The codes a field's text marks: up to the first three trimmed codes of a ";" list, or the
// trimmed whole text; none for an empty text. `ITEM_163` (converted research institute) marks
// 否 (code "2" on the form) for the stored "0" as well.
std::vector<std::string> markedCodes(const std::string& field, const std::string& text);

// The names of the boxes a field's text marks.
std::vector<std::string> markedBoxes(const std::string& field, const std::string& text);

} // namespace xb::output
