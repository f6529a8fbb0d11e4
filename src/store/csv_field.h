// A field of a comma-separated file as spreadsheet programs read it: quoted, with its quotes
// doubled, when it holds a comma, a quote or a line break.
#pragma once

#include <string>

namespace xb::store {

inline std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace xb::store
