#include "output/text_parts.h"

#include "store/gbk.h"
#include "store/lookups.h"

namespace xb::output {
namespace {

// Characters [from, from + count) of a UTF-8 text, counted in characters (1-based `from`).
std::string characters(const std::string& text, size_t from, size_t count) {
    std::string out;
    size_t index = 0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        ++index;
        if (index >= from && index < from + count) out += text.substr(i, length);
        i += length;
    }
    return out;
}

bool isClosingMark(const std::string& c) {
    static const std::string marks = "）)”’》〉】〕］」』｝、。，．：；！？…～,.;:!?%";
    return !c.empty() && marks.find(c) != std::string::npos;
}
bool isOpeningMark(const std::string& c) {
    static const std::string marks = "（(“‘《〈【〔［「『｛";
    return !c.empty() && marks.find(c) != std::string::npos;
}

size_t characterCount(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// "2005.03" as "2005年03月"; a text without "." is the year alone.
std::string yearMonth(const std::string& text) {
    const size_t dot = text.find('.');
    if (dot == std::string::npos) return text.empty() ? text : text + "年";
    return text.substr(0, dot) + "年" + text.substr(dot + 1) + "月";
}

const std::string kTo = "至";

} // namespace

std::array<std::string, 3> wordKeywords(const std::string& text) {
    return store::splitKeywords(text);
}

std::array<std::string, 3> printedKeywords(const std::string& text) {
    std::array<std::string, 3> words;
    const size_t first = text.find(';');
    if (first == std::string::npos) {
        words[0] = store::trimmed(text);
        return words;
    }
    words[0] = store::trimmed(text.substr(0, first));
    const size_t second = text.find(';', first + 1);
    if (second == std::string::npos) {
        words[1] = store::trimmed(text.substr(first + 1));
        return words;
    }
    words[1] = store::trimmed(text.substr(first + 1, second - first - 1));
    words[2] = text.substr(second + 1);
    return words;
}

std::array<std::string, 2> wordPeriod(const std::string& period) {
    const size_t to = period.find(kTo);
    if (to == std::string::npos) return {yearMonth(store::trimmed(period)), ""};
    // The start drops the one character stored just before "至".
    std::string start = period.substr(0, to);
    if (!start.empty()) start = characters(start, 1, characterCount(start) - 1);
    return {yearMonth(store::trimmed(start)),
            yearMonth(store::trimmed(period.substr(to + kTo.size())))};
}

std::array<std::string, 4> coverPeriod(const std::string& period) {
    const size_t n = characterCount(period);
    const std::string last = n > 7 ? characters(period, n - 6, 7) : period;
    return {characters(period, 1, 4), characters(period, 6, 2), characters(last, 1, 4),
            characters(last, 6, 2)};
}

std::array<std::string, 3> coverDateParts(const std::string& date) {
    std::array<std::string, 3> parts;
    size_t start = 0;
    for (size_t i = 0; i < 3; ++i) {
        const size_t dash = date.find('-', start);
        parts[i] = date.substr(start, dash == std::string::npos ? std::string::npos : dash - start);
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    return parts;
}

std::array<std::string, 3> approvalDateParts(const std::string& date) {
    std::string digits;
    for (char c : date)
        if (c != '-') digits += c;
    return {characters(digits, 1, 4), characters(digits, 5, 2), characters(digits, 7, 2)};
}

std::array<std::string, 3> certificateDateParts(const std::string& date) {
    return {characters(date, 1, 4), characters(date, 6, 2), characters(date, 9, 2)};
}

std::string wrapLines(const std::string& text, int width) {
    width = std::max(width, 2);
    std::string out;
    std::string rest = text;
    while (!rest.empty()) {
        std::string line = store::cutToGbkWidth(rest, width);
        if (line.empty()) line = characters(rest, 1, 1); // a character GBK cannot hold
        // By the rules of Chinese typesetting a line gives its last character to the next one
        // when that would start with a closing mark, when it would end with an opening one, or
        // when the next line would hold a single character and be the last.
        const size_t count = characterCount(line);
        if (count > 2 && line.size() < rest.size()) {
            const std::string last = characters(line, count, 1);
            const std::string after = rest.substr(line.size());
            std::string word = after; // the rest without its closing marks
            while (characterCount(word) > 1 &&
                   isClosingMark(characters(word, characterCount(word), 1)))
                word = characters(word, 1, characterCount(word) - 1);
            const bool lone = characterCount(word) == 1 && word.size() > 1;
            if (isClosingMark(characters(after, 1, 1)) || isOpeningMark(last) || lone)
                line.erase(line.size() - last.size());
        }
        out += line + "\r";
        rest.erase(0, line.size());
    }
    return out;
}

} // namespace xb::output
