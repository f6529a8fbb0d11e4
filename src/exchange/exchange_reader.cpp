#include "exchange_reader.h"

#include "line_source.h"
#include "record_assembler.h"
#include "record_parser.h"
#include "store/system_error.h"

#include <cerrno>
#include <fstream>
#include <sstream>

namespace xb::exchange {
namespace {

// Import packages may come from installations whose achievement table has 102 fields; their
// last field is never filled from the file.
constexpr int WideAchievementTable = 102;

ParseRules rulesFor(int fieldCount, const ReadOptions& options) {
    ParseRules rules;
    rules.fieldCount = fieldCount;
    rules.valueCount = fieldCount;
    if (options.variant == ReadVariant::Import && fieldCount == WideAchievementTable)
        rules.valueCount = WideAchievementTable - 1;
    if (options.achievementDates)
        rules.sixthValueDate = options.today.value_or(store::Date::today()).toText();
    return rules;
}

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t MiB = std::size_t{1} << 20;
    if (bytes >= MiB && bytes % MiB == 0) return std::to_string(bytes / MiB) + " MB";
    return std::to_string(bytes) + " 字节";
}

} // namespace

struct ExchangeReader::Impl {
    Impl(std::unique_ptr<std::istream> in, std::string name, int fieldCount,
         const ReadOptions& options)
        : lines(std::move(in), options.maxRecordBytes), fileName(std::move(name)),
          rules(rulesFor(fieldCount, options)), maxRecordBytes(options.maxRecordBytes) {}

    store::Error lineError(int line, const std::string& what) const {
        return store::fail("文件 " + fileName + " 第 " + std::to_string(line) + " 行" + what);
    }
    store::Error tooLong(int line) const {
        return lineError(line, "起的记录超过 " + sizeText(maxRecordBytes) + "，文件的格式不正确");
    }
    store::Error readFailed() const { return store::fail("读取文件 " + fileName + " 时出错"); }

    // The next record text, held by the assembler, with the line it starts on; false at the end
    // of the file.
    store::Result<bool> assemble(int& firstLine);
    store::Result<bool> next(ExchangeRecord& record);

    LineSource lines;
    std::string fileName;
    ParseRules rules;
    std::size_t maxRecordBytes;
    RecordAssembler assembler;
    std::string line;
    ParsedRecord parsed;
    std::optional<store::Error> stopped; // a failure after which the stream cannot go on
};

store::Result<bool> ExchangeReader::Impl::assemble(int& firstLine) {
    std::string_view lineEnd;
    auto outcome = lines.next(line, lineEnd);
    if (outcome == LineSource::Outcome::End) return false;
    firstLine = lines.lineNumber();
    if (outcome == LineSource::Outcome::TooLong) return tooLong(firstLine);
    if (outcome == LineSource::Outcome::ReadFailed) return readFailed();

    bool complete = assembler.begin(line);
    while (!complete) {
        const std::string joinedBy(lineEnd);
        outcome = lines.next(line, lineEnd);
        if (outcome == LineSource::Outcome::End) break; // an open value ends with the file
        if (outcome == LineSource::Outcome::ReadFailed) return readFailed();
        if (outcome == LineSource::Outcome::TooLong ||
            assembler.text().size() + joinedBy.size() + line.size() > maxRecordBytes)
            return tooLong(firstLine);
        complete = assembler.append(joinedBy, line);
    }
    return true;
}

store::Result<bool> ExchangeReader::Impl::next(ExchangeRecord& record) {
    if (stopped) return *stopped;
    for (;;) {
        int firstLine = 0;
        auto got = assemble(firstLine);
        if (!got) {
            stopped = got.error();
            return got.error();
        }
        if (!*got) return false;
        const std::string& text = assembler.text();
        if (isBlankRecord(text)) continue;

        parseRecord(text, rules, parsed);
        if (parsed.surplus) return lineError(firstLine, "的数据项多于表的字段数");
        record.firstLine = firstLine;
        record.fields.swap(parsed.fields);
        return true;
    }
}

ExchangeReader::ExchangeReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ExchangeReader::ExchangeReader(ExchangeReader&&) noexcept = default;
ExchangeReader& ExchangeReader::operator=(ExchangeReader&&) noexcept = default;
ExchangeReader::~ExchangeReader() = default;

store::Result<ExchangeReader> ExchangeReader::open(const std::filesystem::path& path,
                                                   int fieldCount, ReadOptions options) {
    const std::string name = path.filename().string();
    errno = 0;
    auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!in->is_open())
        return store::fail("无法打开文件 " + name + "：" +
                           store::systemErrorText(errno != 0 ? errno : ENOENT));
    return ExchangeReader(std::make_unique<Impl>(std::move(in), name, fieldCount, options));
}

ExchangeReader ExchangeReader::fromBytes(std::string bytes, std::string fileName, int fieldCount,
                                         ReadOptions options) {
    auto in = std::make_unique<std::istringstream>(std::move(bytes), std::ios::binary);
    return ExchangeReader(
        std::make_unique<Impl>(std::move(in), std::move(fileName), fieldCount, options));
}

store::Result<std::optional<ExchangeRecord>> ExchangeReader::next() {
    ExchangeRecord record;
    auto got = impl_->next(record);
    if (!got) return got.error();
    if (!*got) return std::optional<ExchangeRecord>{};
    return std::optional<ExchangeRecord>(std::move(record));
}

store::Result<bool> ExchangeReader::next(ExchangeRecord& record) {
    return impl_->next(record);
}

store::Result<std::vector<ExchangeRecord>> readAllRecords(ExchangeReader& reader) {
    std::vector<ExchangeRecord> records;
    for (;;) {
        auto record = reader.next();
        if (!record) return record.error();
        if (!*record) return records;
        records.push_back(std::move(**record));
    }
}

} // namespace xb::exchange
