#include "cli_analysis.h"

#include "analysis/history_lines.h"
#include "analysis/sheets.h"
#include "store/value.h"

#include <QFileInfo>

#include <algorithm>
#include <ostream>
#include <set>
#include <sstream>

namespace xb::app::cli {
namespace {

std::vector<std::string> splitList(const std::vector<std::string>& values) {
    std::vector<std::string> out;
    for (const std::string& v : values) {
        std::stringstream in(v);
        for (std::string item; std::getline(in, item, ',');)
            if (!item.empty()) out.push_back(item);
    }
    return out;
}

bool readFilter(const std::vector<std::string>& years, const std::vector<std::string>& categories,
                analysis::FactsFilter& filter, std::ostream& err) {
    for (const std::string& y : splitList(years)) {
        if (y.size() != 4 || !std::all_of(y.begin(), y.end(), ::isdigit)) {
            err << "错误：年份应为四位数字：" << y << "\n";
            return false;
        }
        filter.years.insert(y);
    }
    for (const std::string& c : splitList(categories)) {
        if (c != "1" && c != "2" && c != "3") {
            err << "错误：--category 只能是 1、2 或 3\n";
            return false;
        }
        filter.categories.insert(c);
    }
    return true;
}

int write(const std::vector<analysis::Sheet>& sheets, const SheetOutput& output, Streams io) {
    std::string format = output.format;
    if (format.empty())
        format = QFileInfo(QString::fromStdString(output.out)).suffix().toLower().toStdString();
    if (format.empty() || (output.out.empty() && output.format.empty())) format = "tsv";
    const auto kind = analysis::sheetFormat(format);
    if (!kind) {
        io.err << "错误：--format 只能是 tsv、csv 或 xlsx\n";
        return 2;
    }
    if (output.out.empty()) {
        if (*kind == analysis::SheetFormat::Xlsx) {
            io.err << "错误：xlsx 格式须用 --out 指定文件\n";
            return 2;
        }
        std::string text = analysis::sheetsText(sheets, *kind);
        if (*kind == analysis::SheetFormat::Csv) text.erase(0, 3); // no byte-order mark on a pipe
        io.out << text;
        return 0;
    }
    if (QFileInfo::exists(QString::fromStdString(output.out)) && !output.force) {
        io.err << "错误：文件 " << output.out << " 已经存在；如需覆盖，请加 --force\n";
        return 1;
    }
    if (store::Status s = analysis::writeSheets(sheets, *kind, output.out, true); !s) {
        io.err << "错误：" << s.message() << "\n";
        return 1;
    }
    io.err << "已写入 " << output.out << "\n";
    return 0;
}

analysis::Progress progressOn(std::ostream& err, const char* what) {
    return [&err, what](int done, int total) {
        if (total >= 5000) err << "\r" << what << " " << done << "/" << total << std::flush;
        if (total >= 5000 && done == total) err << "\n";
        return true;
    };
}

} // namespace

int statistics(store::Database& db, const std::vector<std::string>& years,
               const std::vector<std::string>& categories, const std::string& by,
               const SheetOutput& output, Streams io) {
    analysis::FactsFilter filter;
    if (!readFilter(years, categories, filter, io.err)) return 2;
    std::vector<analysis::Dimension> dims;
    for (const std::string& key : splitList({by.empty() ? "year" : by})) {
        const auto d = analysis::dimensionByKey(key);
        if (!d) {
            io.err << "错误：不能按 " << key << " 统计；可用：";
            for (const analysis::DimensionInfo& info : analysis::dimensions())
                io.err << info.key << "（" << info.caption << "） ";
            io.err << "\n";
            return 2;
        }
        dims.push_back(*d);
    }
    if (dims.size() > 2 || (dims.size() == 2 && dims[0] == dims[1])) {
        io.err << "错误：--by 只能给出一个或两个不同的分组\n";
        return 2;
    }
    auto facts = analysis::readFacts(db, filter, progressOn(io.err, "正在读取成果"));
    if (!facts) {
        io.err << "错误：" << facts.message() << "\n";
        return 1;
    }
    analysis::GroupLabels labels(db);
    const auto table = analysis::computeStatistics(*facts, dims, labels);
    io.err << "共统计 " << table.total.count << " 项成果\n";
    return write({analysis::statisticsSheet(table, analysis::statisticsTitle(dims))}, output, io);
}

int recordSheet(store::Database& db, const std::vector<std::string>& years,
                const std::vector<std::string>& categories, const SheetOutput& output, Streams io) {
    analysis::FactsFilter filter;
    if (!readFilter(years, categories, filter, io.err)) return 2;
    auto facts = analysis::readFacts(db, filter, progressOn(io.err, "正在读取成果"));
    if (!facts) {
        io.err << "错误：" << facts.message() << "\n";
        return 1;
    }
    analysis::GroupLabels labels(db);
    return write({analysis::recordSheet(*facts, labels)}, output, io);
}

int duplicates(store::Database& db, const std::string& threshold, const SheetOutput& output,
               Streams io) {
    analysis::DuplicateSettings settings;
    if (!threshold.empty()) {
        const auto t = store::parseNumber(threshold);
        if (!t || *t <= 0 || *t > 1) {
            io.err << "错误：--threshold 应为 0 到 1 之间的数，如 0.8\n";
            return 2;
        }
        settings.threshold = *t;
        settings.teamThreshold = std::min(settings.teamThreshold, *t);
    }
    auto facts = analysis::readFacts(db, {}, progressOn(io.err, "正在读取成果"));
    if (!facts) {
        io.err << "错误：" << facts.message() << "\n";
        return 1;
    }
    const auto pairs = analysis::findDuplicates(*facts, settings, progressOn(io.err, "正在比较"));
    io.err << "共比较 " << facts->size() << " 项成果，找到 " << pairs.size()
           << " 对可能重复的成果\n";
    return write({analysis::duplicatesSheet(*facts, pairs)}, output, io);
}

namespace {

// A value on one line of its own column: memos keep their text, not their line breaks.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

} // namespace

int history(store::Database& db, const std::string& number, Streams io) {
    auto lines = analysis::historyLines(db, number);
    if (!lines) {
        io.err << "错误：" << lines.message() << "\n";
        return 1;
    }
    if (lines->empty())
        io.err << (number.empty() ? std::string("没有修改记录")
                                  : "成果 " + number + " 没有修改记录")
               << "\n";
    for (const analysis::HistoryLine& l : *lines)
        io.out << l.time << "\t" << l.number << "\t" << l.operation << "\t" << l.section << "\t"
               << l.item << "\t" << oneLine(l.before) << "\t" << oneLine(l.after) << "\n";
    return 0;
}

} // namespace xb::app::cli
