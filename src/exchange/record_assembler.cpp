#include "record_assembler.h"

#include <algorithm>

namespace xb::exchange {

namespace {
constexpr std::string_view TabQuote = "\t\"";
constexpr std::string_view QuoteTab = "\"\t";

// Where TAB QUOTE (or QUOTE TAB) first stands in `text`. Records hold a TAB between every two
// values and few QUOTEs, so the QUOTEs are looked for.
std::size_t findTabQuote(std::string_view text) {
    for (std::size_t quote = text.find('"', 1); quote != std::string_view::npos;
         quote = text.find('"', quote + 1))
        if (text[quote - 1] == '\t') return quote - 1;
    return std::string_view::npos;
}

std::size_t findQuoteTab(std::string_view text) {
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos;
         quote = text.find('"', quote + 1))
        if (quote + 1 < text.size() && text[quote + 1] == '\t') return quote;
    return std::string_view::npos;
}

} // namespace

bool RecordAssembler::begin(std::string_view line) {
    text_.assign(line);
    open_ = false;
    return scan(line);
}

bool RecordAssembler::append(std::string_view lineEnd, std::string_view line) {
    text_ += lineEnd;
    text_ += line;
    if (findQuoteTab(line) == std::string_view::npos) addToOpenValue(line);
    return scan(line);
}

void RecordAssembler::addToOpenValue(std::string_view text) {
    if (std::count(text.begin(), text.end(), '"') % 2 != 0) oddQuotes_ = !oddQuotes_;
    if (!text.empty()) endsWithQuote_ = text.back() == '"';
}

bool RecordAssembler::scan(std::string_view unscanned) {
    for (;;) {
        std::size_t closing = std::string_view::npos;
        if (!open_) {
            const std::size_t opening = findTabQuote(unscanned);
            if (opening == std::string_view::npos) return true;
            unscanned.remove_prefix(opening + TabQuote.size());
            open_ = true;
            oddQuotes_ = true; // the value holds its opening TAB and QUOTE
            endsWithQuote_ = true;
            closing = findQuoteTab(unscanned);
            if (closing == std::string_view::npos) addToOpenValue(unscanned);
        } else {
            closing = findQuoteTab(unscanned);
        }
        if (closing == std::string_view::npos) {
            // The line ends inside the value: the record is complete only if the value closed
            // exactly at the line end.
            return !oddQuotes_ && endsWithQuote_;
        }
        addToOpenValue(unscanned.substr(0, closing + QuoteTab.size()));
        unscanned.remove_prefix(closing + 1); // the TAB is scanned again
        if (!oddQuotes_) open_ = false;
    }
}

} // namespace xb::exchange
