#include "value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

namespace xb::store {

namespace {
bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int daysIn(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}
std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}
} // namespace

bool Date::valid() const {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysIn(year, month);
}

std::string Date::toText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

std::optional<Date> Date::fromText(const std::string& text) {
    const std::string_view t = trimmed(text);
    // yyyy-MM-dd; one-digit month and day are accepted as the date form allows them.
    int parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (char c : t) {
        if (c >= '0' && c <= '9') {
            if (++digits > 4) return std::nullopt;
            parts[part] = parts[part] * 10 + (c - '0');
        } else if (c == '-' && digits > 0 && part < 2) {
            ++part;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits == 0) return std::nullopt;
    Date d{parts[0], parts[1], parts[2]};
    if (!d.valid()) return std::nullopt;
    return d;
}

Date Date::today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool Value::isNull() const {
    if (data_.index() == 0) return true;
    if (const auto* s = std::get_if<std::string>(&data_)) return trimmed(*s).empty();
    return false;
}

std::string Value::toText() && {
    if (std::string* text = std::get_if<std::string>(&data_)) return std::move(*text);
    return std::as_const(*this).toText();
}

std::string Value::toText() const& {
    switch (data_.index()) {
    case 1:
        return std::get<std::string>(data_);
    case 2:
        return formatNumber(std::get<double>(data_));
    case 3:
        return std::get<Date>(data_).toText();
    case 4:
        return std::get<bool>(data_) ? "T" : "F";
    default:
        return {};
    }
}

double Value::toNumber() const {
    switch (data_.index()) {
    case 1:
        return parseNumber(std::get<std::string>(data_)).value_or(0.0);
    case 2:
        return std::get<double>(data_);
    case 4:
        return std::get<bool>(data_) ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

long long Value::toInteger() const {
    return std::llround(toNumber());
}

std::optional<Date> Value::toDate() const {
    if (const auto* d = std::get_if<Date>(&data_)) return *d;
    if (const auto* s = std::get_if<std::string>(&data_)) return Date::fromText(*s);
    return std::nullopt;
}

std::string formatNumber(double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    // The shortest fixed-point text that reads back as the same number: 12.5 stays "12.5".
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

std::optional<double> parseNumber(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return std::nullopt;
    std::string_view body = t;
    // One sign at most: "+-3" is no number (the reader below takes a minus only).
    if (body.front() == '+') {
        body.remove_prefix(1);
        if (body.starts_with('-') || body.starts_with('+')) return std::nullopt;
    }
    double out = 0;
    const auto [ptr, ec] =
        std::from_chars(body.data(), body.data() + body.size(), out, std::chars_format::fixed);
    if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
    return out;
}

std::optional<std::string> fixedNumberText(std::string_view text, int decimals) {
    if (!parseNumber(text)) return std::nullopt;
    std::string_view t = trimmed(text);
    const bool negative = t.front() == '-';
    if (t.front() == '-' || t.front() == '+') t.remove_prefix(1);
    const size_t point = t.find('.');
    std::string digits(t.substr(0, point));
    std::string_view fraction = point == std::string_view::npos ? "" : t.substr(point + 1);
    const auto places = static_cast<size_t>(std::max(decimals, 0));
    const bool roundUp = fraction.size() > places && fraction[places] >= '5';
    digits.append(fraction.substr(0, std::min(places, fraction.size())));
    digits.append(places - std::min(places, fraction.size()), '0');
    if (roundUp) { // half away from zero, on the decimal digits as given
        size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    std::string whole = digits.substr(0, digits.size() - places);
    const size_t firstDigit = whole.find_first_not_of('0');
    whole = firstDigit == std::string::npos ? "0" : whole.substr(firstDigit);
    std::string out = whole;
    if (places > 0) out += "." + digits.substr(digits.size() - places);
    if (negative && digits.find_first_not_of('0') != std::string::npos) out.insert(0, "-");
    return out;
}

bool fitsDouble(std::string_view digits) {
    int significant = 0;
    int pendingZeros = 0;
    bool started = false;
    for (char c : digits) {
        if (c < '0' || c > '9') continue;
        if (c == '0') {
            if (started) ++pendingZeros;
            continue;
        }
        started = true;
        significant += pendingZeros + 1;
        pendingZeros = 0;
    }
    return significant <= 15;
}

} // namespace xb::store
