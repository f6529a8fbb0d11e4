#include "output/check_marks.h"

#include "store/field.h"
#include "store/lookups.h"

#include <algorithm>

namespace xb::output {
std::string markBoxName(const std::string& field, const std::string& code) {
    return "QL_" + store::upperName(field) + "_" + code;
}

std::vector<std::string> markedCodes(const std::string& field, const std::string& text) {
    std::vector<std::string> codes;
    if (text.find(';') == std::string::npos) {
        const std::string code = store::trimmed(text);
        if (!code.empty()) codes.push_back(code);
    } else {
        size_t start = 0;
        for (int i = 0; i < 3; ++i) {
            const size_t semi = text.find(';', start);
            const std::string code = store::trimmed(
                text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
            if (!code.empty()) codes.push_back(code);
            if (semi == std::string::npos) break;
            start = semi + 1;
        }
    }
    // The pages store "0" for an enterprise that is not a converted institute; the form's box
    // for 否 is "2".
    if (store::upperName(field) == "ITEM_163")
        std::replace(codes.begin(), codes.end(), std::string("0"), std::string("2"));
    return codes;
}

std::vector<std::string> markedBoxes(const std::string& field, const std::string& text) {
    std::vector<std::string> boxes;
    for (const std::string& code : markedCodes(field, text))
        boxes.push_back(markBoxName(field, code));
    return boxes;
}

} // namespace xb::output
