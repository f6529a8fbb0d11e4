#include "field_encoding.h"

#include "gbk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace xb::store {

std::string withoutOuterBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

namespace {

Status encodeNumber(const FieldDef& f, const Value& v, char* out) {
    if (v.isNull()) return {};
    std::string digits;
    if (const std::string* text = v.text()) {
        auto fixed = fixedNumberText(*text, f.decimals);
        if (!fixed) return fail("“" + *text + "”不是字段 " + f.name + " 可接受的数值");
        digits = std::move(*fixed);
    } else {
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.*f", f.decimals, v.toNumber());
        digits = buf;
    }
    const auto width = static_cast<size_t>(f.width);
    if (digits.size() > width)
        return fail("数值 " + withoutOuterBlanks(v.toText()) + " 超出字段 " + f.name + " 的宽度");
    std::memcpy(out + width - digits.size(), digits.data(), digits.size());
    return {};
}

} // namespace

Status encodeField(const FieldDef& f, const Value& v, char* out, std::string& memoText) {
    memoText.clear();
    switch (f.type) {
    case FieldType::Character: {
        // Texts held as text (most are) are converted without a copy first; ASCII texts are
        // already their GBK bytes.
        const std::string* text = v.text();
        std::string converted;
        std::string_view bytes;
        if (text && isAscii(*text)) {
            bytes = *text;
        } else {
            converted = toGbk(text ? *text : v.toText());
            bytes = converted;
        }
        const std::string_view cut = cutGbkBytes(bytes, f.width);
        std::memcpy(out, cut.data(), cut.size());
        return {};
    }
    case FieldType::Number:
    case FieldType::SmallInt:
    case FieldType::Integer:
        return encodeNumber(f, v, out);
    case FieldType::Date: {
        if (v.isNull()) return {};
        const auto d = v.toDate();
        if (!d) return fail("“" + v.toText() + "”不是字段 " + f.name + " 可接受的日期");
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", d->year, d->month, d->day);
        std::memcpy(out, buf, 8);
        return {};
    }
    case FieldType::Logical:
        if (v.isLogical()) {
            out[0] = v.toText() == "T" ? 'T' : 'F';
        } else if (!v.isNull()) {
            const std::string t = v.toText();
            out[0] = (t == "T" || t == "t" || t == "Y" || t == "y" || t == "1") ? 'T' : 'F';
        } else {
            out[0] = '?';
        }
        return {};
    case FieldType::Memo:
        // Blanks and line breaks alone are a memo's content too.
        memoText = v.text() ? *v.text() : v.toText();
        return {};
    }
    return {};
}

} // namespace xb::store
