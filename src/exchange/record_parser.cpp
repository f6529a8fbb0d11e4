#include "record_parser.h"

#include "store/value.h"

#include <algorithm>

namespace xb::exchange {
namespace {

constexpr char Tab = '\t';
constexpr char Quote = '"';

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

std::size_t countQuotes(std::string_view s) {
    return std::count(s.begin(), s.end(), Quote);
}

std::size_t leadingQuotes(std::string_view s) {
    const std::size_t first = s.find_first_not_of(Quote);
    return first == std::string_view::npos ? s.size() : first;
}

// Drops the enclosing QUOTEs and turns each pair of QUOTEs, read from the left, into one.
std::string unquoted(std::string_view quoted) {
    std::string_view inner =
        quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : std::string_view{};
    std::string out;
    out.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        out += inner[i];
        if (inner[i] == Quote && i + 1 < inner.size() && inner[i + 1] == Quote) ++i;
    }
    return out;
}

// The values of a record from left to right, TAB-separated.
class Pieces {
  public:
    explicit Pieces(std::string_view record) : rest_(record) {}

    // The text before the next TAB, or all that is left when no TAB remains.
    std::string_view take() {
        const std::size_t tab = rest_.find(Tab);
        std::string_view piece = rest_.substr(0, tab);
        if (tab == std::string_view::npos) {
            rest_ = {};
            more_ = false;
        } else {
            rest_.remove_prefix(tab + 1);
        }
        return piece;
    }
    // False once a piece was taken that had no TAB after it.
    bool more() const { return more_; }
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
    bool more_ = true;
};

// A quoted value: pieces are joined back with their TABs until its QUOTEs pair up. A value left
// open at the end of the record takes what there is.
std::string quotedValue(std::string_view first, Pieces& pieces) {
    std::string value(first);
    std::size_t quotes = countQuotes(first);
    while (quotes % 2 != 0 && pieces.more()) {
        const std::string_view piece = pieces.take();
        value += Tab;
        value.append(piece);
        quotes += countQuotes(piece);
    }
    return unquoted(value);
}

} // namespace

bool isBlankRecord(std::string_view record) {
    return std::all_of(record.begin(), record.end(), isBlankOrControl);
}

ParsedRecord parseRecord(std::string_view record, const ParseRules& rules) {
    ParsedRecord parsed;
    parseRecord(record, rules, parsed);
    return parsed;
}

void parseRecord(std::string_view record, const ParseRules& rules, ParsedRecord& parsed) {
    parsed.fields.resize(static_cast<std::size_t>(std::max(rules.fieldCount, 0)));
    for (std::string& field : parsed.fields)
        field.clear();
    parsed.surplus = false;
    const int n = std::min(rules.valueCount, rules.fieldCount);
    if (n < 1) return;

    Pieces pieces(record);
    if (record.find(Tab) != std::string_view::npos) parsed.fields[0] = pieces.take();

    for (int k = 2; k <= n - 1; ++k) {
        const std::string_view piece = pieces.take();
        std::string& field = parsed.fields[k - 1];
        if (leadingQuotes(piece) % 2 != 0) {
            field = quotedValue(piece, pieces);
            continue;
        }
        field = piece;
        if (k == 6 && !rules.sixthValueDate.empty() && !store::Date::fromText(field))
            field = rules.sixthValueDate;
        if (!field.empty() && field.front() == Quote) field = unquoted(field);
    }

    // The last field takes the rest untouched but for its outer blanks and control characters.
    const std::string_view last = trimmed(pieces.rest());
    parsed.fields[n - 1] = last;
    parsed.surplus = last.find(Tab) != std::string_view::npos;
}

} // namespace xb::exchange
