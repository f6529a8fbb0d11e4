#include "exchange_writer.h"

#include "store/system_error.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace xb::exchange {
namespace {

constexpr char Tab = '\t';
constexpr char Quote = '"';

enum class LineClose {
    TrailingTab, // every written value is followed by TAB
    BareValue,   // the last written value stands bare at the line end
    QuotedValue, // the last value is enclosed in QUOTEs, inner QUOTEs not doubled
};

struct RuleShape {
    int fieldsLeftOut; // fields at the end of the row that are never written
    LineClose close;
};

RuleShape shapeOf(ColumnRule rule) {
    switch (rule) {
    case ColumnRule::Kjcg:
        return {1, LineClose::TrailingTab};
    case ColumnRule::Cgwcr:
        return {1, LineClose::BareValue};
    case ColumnRule::Expert:
        return {2, LineClose::BareValue};
    case ColumnRule::Unit:
        return {0, LineClose::QuotedValue};
    case ColumnRule::Cgwcdw:
    case ColumnRule::Jdwyhmd:
    case ColumnRule::Zlqk:
        break;
    }
    return {0, LineClose::BareValue};
}

bool isNamed(const store::FieldDef& field, const char* upperCaseName) {
    return store::upperName(field.name) == upperCaseName;
}

// A value that holds TAB or CR, or begins with QUOTE, must be quoted or it would split or open a
// value in the reader. A lone LF is written plain: only CR LF ends a line.
bool needsQuoting(const std::string& text) {
    return text.find_first_of("\t\r") != std::string::npos ||
           (!text.empty() && text.front() == Quote);
}

void appendQuoted(std::string& line, const std::string& text) {
    line += Quote;
    for (char c : text) {
        line += c;
        if (c == Quote) line += Quote;
    }
    line += Quote;
}

void appendValue(std::string& line, const std::string& text) {
    if (needsQuoting(text))
        appendQuoted(line, text);
    else
        line += text;
}

std::string withBlanksFor(std::string text, const char* characters) {
    std::replace_if(
        text.begin(), text.end(),
        [characters](char c) { return std::string_view(characters).find(c) != std::string::npos; },
        ' ');
    return text;
}

// The bare value has no quoting of its own, so a TAB or CR in it would split the record for
// every reader; each becomes a blank. A lone LF ends no line and stays. A bare value that begins
// with QUOTE is taken by the reader for the start of a quoted value, which closes at the line end
// only when the QUOTEs pair up and the last character is a QUOTE; otherwise the following lines
// would be drawn into this record, so its QUOTEs become blanks too.
std::string bareValue(const std::string& text) {
    std::string bare = withBlanksFor(text, "\t\r");
    if (!bare.empty() && bare.front() == Quote) {
        const auto quotes = std::count(bare.begin(), bare.end(), Quote);
        if (quotes % 2 != 0 || bare.back() != Quote) bare = withBlanksFor(std::move(bare), "\"");
    }
    return bare;
}

// ITEM_188 travels as a flag: "1" or "0".
std::string flagValue(const std::string& text) {
    return text == "1" ? "1" : "0";
}

// The closing value of UNIT.TXT is QUOTE, text, QUOTE, with no doubling, and readers keep it as
// it stands. TAB and CR become blanks for the same reason as in a bare value. Every
// inner QUOTE becomes a blank as well: an unpaired one leaves the value open at the line end, so
// the reader draws the next line into the record, and readers that look for the value's end
// would stop at any of them; doubling would not help, since the value is never unquoted.
std::string closingValue(const std::string& text) {
    return Quote + withBlanksFor(text, "\t\r\"") + Quote;
}

const std::string& textAt(const std::vector<std::string>& texts, std::size_t index) {
    static const std::string empty;
    return index < texts.size() ? texts[index] : empty;
}

} // namespace

const char* exchangeFileName(ColumnRule rule) {
    switch (rule) {
    case ColumnRule::Kjcg:
        return "KJCG.TXT";
    case ColumnRule::Cgwcdw:
        return "CGWCDW.TXT";
    case ColumnRule::Cgwcr:
        return "CGWCR.TXT";
    case ColumnRule::Jdwyhmd:
        return "JDWYHMD.TXT";
    case ColumnRule::Zlqk:
        return "ZLQK.TXT";
    case ColumnRule::Unit:
        return "UNIT.TXT";
    case ColumnRule::Expert:
        return "EXPERT.TXT";
    }
    return "";
}

const char* sourceTableName(ColumnRule rule) {
    switch (rule) {
    case ColumnRule::Kjcg:
        return "kjcg";
    case ColumnRule::Cgwcdw:
        return "cgwcdw";
    case ColumnRule::Cgwcr:
        return "cgwcr";
    case ColumnRule::Jdwyhmd:
        return "jdwyhmd";
    case ColumnRule::Zlqk:
        return "zlqk";
    case ColumnRule::Unit:
        return "unit";
    case ColumnRule::Expert:
        return "unitexpert";
    }
    return "";
}

std::string exchangeLine(ColumnRule rule, const store::FieldList& fields,
                         const std::vector<std::string>& texts) {
    const RuleShape shape = shapeOf(rule);
    const int written = std::max(0, static_cast<int>(fields.size()) - shape.fieldsLeftOut);
    const int withTab = shape.close == LineClose::TrailingTab ? written : written - 1;

    std::string line;
    for (int k = 0; k < withTab; ++k) {
        if (rule == ColumnRule::Kjcg && isNamed(fields[k], "ITEM_SJDC"))
            line += '0'; // the receiving side has not exported the record yet
        else
            appendValue(line, textAt(texts, k));
        line += Tab;
    }
    if (withTab < written) {
        const std::string& last = textAt(texts, withTab);
        if (shape.close == LineClose::QuotedValue)
            line += closingValue(last);
        else if (isNamed(fields[withTab], "ITEM_188"))
            line += flagValue(last);
        else
            line += bareValue(last);
    }
    return line;
}

ExchangeFileWriter::ExchangeFileWriter(std::FILE* file, std::string displayName)
    : file_(file), displayName_(std::move(displayName)) {}

ExchangeFileWriter::ExchangeFileWriter(ExchangeFileWriter&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), displayName_(std::move(other.displayName_)) {}

ExchangeFileWriter& ExchangeFileWriter::operator=(ExchangeFileWriter&& other) noexcept {
    if (this != &other) {
        if (file_) std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
        displayName_ = std::move(other.displayName_);
    }
    return *this;
}

ExchangeFileWriter::~ExchangeFileWriter() {
    if (file_) std::fclose(file_);
}

store::Result<ExchangeFileWriter> ExchangeFileWriter::create(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return store::fail("无法创建文件 " + name + "：" + store::systemErrorText(errno));
    return ExchangeFileWriter(file, name);
}

store::Error ExchangeFileWriter::writeError(int errorNumber) const {
    return store::fail("写入文件 " + displayName_ + " 时出错：" +
                       store::systemErrorText(errorNumber));
}

store::Status ExchangeFileWriter::writeLine(const std::string& line) {
    if (!file_) return writeError(EBADF);
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
        std::fwrite("\r\n", 1, 2, file_) != 2)
        return writeError(errno);
    return {};
}

store::Status ExchangeFileWriter::close() {
    if (!file_) return {};
    std::FILE* file = std::exchange(file_, nullptr);
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!flushed) return writeError(flushError);
    if (!closed) return writeError(errno);
    return {};
}

store::Status writeExchangeFile(const std::filesystem::path& path,
                                const std::vector<std::string>& lines) {
    auto writer = ExchangeFileWriter::create(path);
    if (!writer) return writer.error();
    for (const std::string& line : lines)
        if (auto written = writer->writeLine(line); !written) return written;
    return writer->close();
}

} // namespace xb::exchange
