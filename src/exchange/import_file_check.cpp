#include "import_file_check.h"

#include "line_source.h"
#include "record_assembler.h"
#include "record_parser.h"

#include <fstream>

namespace xb::exchange {
namespace {

// As the reader bounds a record: longer ones are reported by the reader itself.
constexpr std::size_t MaxRecordBytes = std::size_t{64} << 20;

} // namespace

store::Status checkFileComplete(const std::filesystem::path& path, const std::string& fileName) {
    auto in = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!in->is_open()) return {};
    LineSource lines(std::move(in), MaxRecordBytes);
    RecordAssembler assembler;
    std::string line;
    std::string_view lineEnd;
    std::string previousEnd;
    bool open = false;
    int recordLine = 0;
    bool lastTerminated = true;
    bool lastBlank = true;
    for (;;) {
        if (lines.next(line, lineEnd) != LineSource::Outcome::Line) break;
        if (!open) {
            recordLine = lines.lineNumber();
            open = !assembler.begin(line);
        } else {
            if (assembler.text().size() + line.size() > MaxRecordBytes) return {};
            open = !assembler.append(previousEnd, line);
        }
        previousEnd = lineEnd;
        lastTerminated = !lineEnd.empty();
        lastBlank = isBlankRecord(line);
    }
    if (open)
        return store::fail("文件 " + fileName + " 第 " + std::to_string(recordLine) +
                           " 行起的记录在文件结尾处中断，文件不完整");
    if (!lastTerminated && !lastBlank)
        return store::fail("文件 " + fileName + " 的最后一行不完整，文件可能被截断");
    return {};
}

} // namespace xb::exchange
