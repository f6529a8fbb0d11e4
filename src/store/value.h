// A field value as the program sees it: null, text (UTF-8), number, date or logical.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace xb::store {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const Date&) const = default;

    bool valid() const;
    // "yyyy-MM-dd", the one date form the program writes and reads.
    std::string toText() const;
    static std::optional<Date> fromText(const std::string& text);
    static Date today();
};

class Value {
  public:
    Value() = default;
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    Value(double number) : data_(number) {}
    Value(int number) : data_(static_cast<double>(number)) {}
    Value(long long number) : data_(static_cast<double>(number)) {}
    Value(Date date) : data_(date) {}
    static Value logical(bool b) {
        Value v;
        v.data_ = b;
        return v;
    }

    // Null, or a text that is empty or only blanks: the two are the same to every test.
    bool isNull() const;
    bool isText() const { return data_.index() == 1; }
    bool isNumber() const { return data_.index() == 2; }
    bool isDate() const { return data_.index() == 3; }
    bool isLogical() const { return data_.index() == 4; }

    // The value as text: numbers with "." and no grouping, dates as yyyy-MM-dd, logicals T/F.
    std::string toText() const&;
    // A value about to go away hands over its text instead of copying it.
    std::string toText() &&;
    // Numbers as they are; text parsed as a number (0 when it is not one).
    double toNumber() const;
    long long toInteger() const;
    std::optional<Date> toDate() const;

    const std::string* text() const { return std::get_if<std::string>(&data_); }

    bool operator==(const Value& other) const = default;

  private:
    std::variant<std::monostate, std::string, double, Date, bool> data_;
};

// Shortest text of a number without exponent: "12", "12.5", "-0.25".
std::string formatNumber(double value);
// Parses "12", " 12.50 ", "-3"; rejects anything else.
std::optional<double> parseNumber(std::string_view text);
// A number text with exactly `decimals` places, rounded half away from zero on its decimal
// digits, so that "9999999999999.9999" keeps all its digits; nullopt when it is no number.
std::optional<std::string> fixedNumberText(std::string_view text, int decimals);
// Whether a double holds the number written with these digits exactly (at most 15 significant).
bool fitsDouble(std::string_view digits);

} // namespace xb::store
