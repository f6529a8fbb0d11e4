#include "exchange_values.h"

#include "store/gbk.h"

#include <cmath>
#include <cstdio>

namespace xb::exchange {
namespace {

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

store::Error badItem(int line, int item, const std::string& utf8Text, const char* what) {
    return store::fail("第 " + std::to_string(line) + " 行第 " + std::to_string(item) + " 项“" +
                       utf8Text + "”" + what);
}

} // namespace

store::Status checkExchangeBytes(std::string_view gbkText, int line, int item) {
    if (const size_t at = store::firstNonGbkByte(gbkText); at != std::string::npos) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(gbkText[at]));
        return store::fail("第 " + std::to_string(line) + " 行第 " + std::to_string(item) +
                           " 项含有不属于 GBK 编码的字节 " + hex + "（第 " +
                           std::to_string(at + 1) + " 个字节），文件可能不是本系统的导出文件");
    }
    return {};
}

store::Result<store::Value> valueFromExchange(const std::string& gbkText,
                                              const store::FieldDef& field, int line, int item) {
    using store::FieldType;
    if (store::Status s = checkExchangeBytes(gbkText, line, item); !s) return s.error();
    const std::string text = store::fromGbk(gbkText);
    switch (field.type) {
    case FieldType::Character:
    case FieldType::Memo:
        return store::Value(text);
    case FieldType::Number:
    case FieldType::SmallInt:
    case FieldType::Integer: {
        if (isBlank(text)) return store::Value();
        const auto number = store::parseNumber(text);
        if (!number) return badItem(line, item, text, "不是数字");
        if (field.type != FieldType::Number && *number != std::floor(*number))
            return badItem(line, item, text, "不是整数");
        // The digits as given: a double would round the widest numbers the fields hold.
        const auto first = text.find_first_not_of(' ');
        return store::Value(text.substr(first, text.find_last_not_of(' ') - first + 1));
    }
    case FieldType::Date: {
        if (isBlank(text)) return store::Value();
        const auto date = store::Date::fromText(text);
        if (!date) return badItem(line, item, text, "不是日期");
        return store::Value(*date);
    }
    case FieldType::Logical: {
        if (isBlank(text) || text == "?") return store::Value();
        const auto first = text.find_first_not_of(' ');
        if (text.find_first_not_of(' ', first + 1) == std::string::npos) {
            switch (text[first]) {
            case 'T':
            case 't':
            case 'Y':
            case 'y':
                return store::Value::logical(true);
            case 'F':
            case 'f':
            case 'N':
            case 'n':
                return store::Value::logical(false);
            default:
                break;
            }
        }
        return badItem(line, item, text, "不是逻辑值");
    }
    }
    return store::Value(text);
}

store::Result<std::vector<store::Value>> valuesFromExchange(const std::vector<std::string>& texts,
                                                            const store::FieldList& fields,
                                                            int line) {
    std::vector<store::Value> values;
    values.reserve(fields.size());
    static const std::string empty;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        auto value = valueFromExchange(k < texts.size() ? texts[k] : empty, fields[k], line,
                                       static_cast<int>(k) + 1);
        if (!value) return value.error();
        values.push_back(std::move(*value));
    }
    return values;
}

std::string exchangeText(const store::Value& value) {
    if (const std::string* text = value.text()) return store::toGbk(*text);
    return store::toGbk(value.toText());
}

std::vector<std::string> exchangeTexts(const std::vector<store::Value>& values) {
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (const store::Value& value : values)
        texts.push_back(exchangeText(value));
    return texts;
}

} // namespace xb::exchange
