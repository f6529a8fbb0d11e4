// GBK (code page 936, as Windows maps it) at the file boundaries. Inside the program text is
// UTF-8. Every byte sequence of the code page converts to text and back to the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace xb::store {

// UTF-8 to GBK bytes; a character GBK cannot hold becomes "?".
std::string toGbk(std::string_view utf8);
// GBK bytes to UTF-8; a byte that is not code page 936 becomes U+FFFD.
std::string fromGbk(std::string_view gbk);
// Position of the first byte that is not code page 936; npos when all bytes are.
size_t firstNonGbkByte(std::string_view gbk);
// Bytes the text takes in GBK: field widths and byte limits are counted this way.
int gbkLength(std::string_view utf8);
// The longest prefix of the text that fits in `width` GBK bytes, never half a character.
std::string cutToGbkWidth(std::string_view utf8, int width);
// The longest prefix of GBK bytes within `width` that does not split a double-byte character.
std::string_view cutGbkBytes(std::string_view gbk, int width);

} // namespace xb::store
