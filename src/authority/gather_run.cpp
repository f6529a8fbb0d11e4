#include "gather_run.h"

#include "authority/gather_report.h"
#include "authority/gatherer.h"

#include <chrono>
#include <cstdio>
#include <future>
#include <optional>
#include <ostream>

namespace xb::authority {
namespace {

const char* outcomeText(PackageOutcome outcome) {
    switch (outcome) {
    case PackageOutcome::Gathered:
        return "已汇总";
    case PackageOutcome::AlreadyGathered:
        return "已跳过";
    case PackageOutcome::Refused:
        break;
    }
    return "被拒绝";
}

std::string rateText(double perSecond) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", perSecond);
    return text;
}

} // namespace

int runGather(const GatherRequest& request, std::ostream& out, std::ostream& err) {
    if (request.conninfo.empty()) {
        err << "错误：请用 --db 指定数据库（如 postgresql://主机/数据库）\n";
        return 2;
    }
    if (request.inputs.empty() && request.reportPath.empty()) {
        err << "错误：请指定要汇总的压缩包或文件夹，或用 --report 指定报表文件\n";
        return 2;
    }
    auto packages = packagesIn(request.inputs);
    if (!packages) {
        err << "错误：" << packages.message() << "\n";
        return 1;
    }
    if (packages->empty() && !request.inputs.empty())
        err << "注意：所指定的文件夹中没有 .arj 文件\n";
    auto gatherer = Gatherer::open(request.conninfo, request.rowsFolder);
    if (!gatherer) {
        err << "错误：" << gatherer.message() << "\n";
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    const size_t total = packages->size();
    size_t done = 0, gathered = 0, skipped = 0, refused = 0;
    long long records = 0, replaced = 0;
    // The next package is unpacked while one loads: the archiver and the server work at once.
    Gatherer& g = **gatherer;
    std::optional<PreparedPackage> next;
    if (total) next = g.prepare((*packages)[0]);
    for (size_t i = 0; i < total; ++i) {
        if (!g.usable()) {
            err << "\n错误：与数据库服务器的连接已断开，其余 " << total - done
                << " 个压缩包没有汇总\n";
            refused += total - done;
            break;
        }
        PreparedPackage current = std::move(*next);
        next.reset();
        auto loading = std::async(std::launch::async, [&g, &current] { return g.load(current); });
        if (i + 1 < total) next = g.prepare((*packages)[i + 1]);
        const PackageReport report = loading.get();
        const std::string& path = report.path;
        ++done;
        out << outcomeText(report.outcome) << '\t' << path << '\t' << report.organization;
        switch (report.outcome) {
        case PackageOutcome::Gathered:
            ++gathered;
            records += report.achievements;
            replaced += report.replaced;
            out << "\t成果 " << report.achievements << " 项，下属数据 " << report.childRows
                << " 行";
            if (report.replaced > 0)
                out << "；取代本单位先前报送的同编号成果 " << report.replaced << " 项";
            break;
        case PackageOutcome::AlreadyGathered:
            ++skipped;
            out << '\t' << report.message;
            break;
        case PackageOutcome::Refused:
            ++refused;
            out << '\t' << report.message;
            break;
        }
        out << '\n' << std::flush;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        err << "\r已处理压缩包 " << done << "/" << total << "，成果 " << records << " 项，每秒 "
            << rateText(seconds > 0 ? static_cast<double>(records) / seconds : 0) << " 项"
            << std::flush;
    }
    if (total) err << "\n";
    if (total)
        out << "共 " << total << " 个压缩包：汇总 " << gathered << " 个，跳过 " << skipped
            << " 个，拒绝 " << refused << " 个；汇总成果 " << records << " 项，取代先前报送的 "
            << replaced << " 项\n";
    if (!request.reportPath.empty()) {
        auto tables = readReportTables((*gatherer)->connection());
        store::Status written =
            tables ? writeReport(*tables, request.reportPath) : store::Status(tables.error());
        if (!written) {
            err << "错误：" << written.message() << "\n";
            return 1;
        }
        out << "报表已写入 " << request.reportPath << "\n";
    }
    return refused ? 1 : 0;
}

} // namespace xb::authority
