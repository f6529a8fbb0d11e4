#include "cli_import.h"

#include "exchange/archiver.h"
#include "exchange/import_merge.h"
#include "exchange/import_package.h"
#include "exchange/import_reading.h"
#include "exchange/import_staging.h"
#include "exchange/import_twin_check.h"

#include <iostream>
#include <ostream>

namespace xb::app::cli {
namespace {

// Staged achievements that already stand in the store are dropped or kept, as the caller chose.
store::Result<int> settleDuplicates(store::Database& db, const std::string& onDuplicate,
                                    Streams io) {
    auto staged = exchange::loadStagedAchievements(db);
    if (!staged) return staged.error();
    int skipped = 0;
    const auto ask = [&](const exchange::StagedAchievement& s, const std::string& twin) {
        if (onDuplicate == "keep") return exchange::TwinChoice::Keep;
        if (onDuplicate == "ask") {
            io.err << "导入的项目“" << s.name << "”与已有成果 " << twin << " 重复，是否跳过？(y/n) "
                   << std::flush;
            std::string answer;
            std::getline(std::cin, answer);
            if (!answer.empty() && answer[0] != 'y' && answer[0] != 'Y')
                return exchange::TwinChoice::Keep;
        }
        return exchange::TwinChoice::Drop;
    };
    auto checked = exchange::checkStagedTwins(db, *staged, 0, ask, [&](size_t) { ++skipped; });
    if (!checked) return checked.error();
    return skipped;
}

} // namespace

int importPackage(store::RecordStore& store, const std::vector<std::string>& arguments,
                  bool overwrite, const std::string& onDuplicate, Streams io) {
    if (arguments.size() != 1) {
        io.err << "错误：请给出一个导入包 CGSBQY.ARJ\n";
        return 2;
    }
    if (!onDuplicate.empty() && onDuplicate != "skip" && onDuplicate != "keep" &&
        onDuplicate != "ask") {
        io.err << "错误：--on-duplicate 只能是 skip、keep 或 ask\n";
        return 2;
    }
    const QString path = QString::fromStdString(arguments[0]);
    if (!exchange::isImportPackagePath(path)) {
        io.err << "错误：请选择正确导入包,名字是CGSBQY.ARJ!\n";
        return 1;
    }
    store::Database& db = store.db();
    auto unpacked = exchange::UnpackedPackage::unpack(exchange::Archiver(), path);
    if (!unpacked) {
        io.err << "错误：" << unpacked.message() << "\n";
        return 1;
    }
    exchange::ReadingOptions options;
    options.progress = [&](const QString& step, int records) {
        io.err << "\r正在读入 " << step.toStdString() << "：" << records << " 条" << std::flush;
    };
    auto read = exchange::readPackage(db, (*unpacked)->folder(), options);
    io.err << "\n";
    if (!read) {
        io.err << "错误：" << read.message() << "\n";
        return 1;
    }
    if (*read == 0) {
        // Nothing to store is not a successful import: the package holds no achievement.
        io.err << "导入的文件为空表！\n";
        if (store::Status emptied = exchange::emptyStagingTables(db); !emptied)
            io.err << "错误：暂存表未能清空：" << emptied.message() << "\n";
        return 1;
    }
    int skipped = 0;
    if (!overwrite) {
        auto settled = settleDuplicates(db, onDuplicate, io);
        if (!settled) {
            io.err << "错误：" << settled.message() << "\n";
            if (store::Status emptied = exchange::emptyStagingTables(db); !emptied)
                io.err << "错误：暂存表未能清空：" << emptied.message() << "\n";
            return 1;
        }
        skipped = *settled;
    }
    const auto progress = [&](int done, int total) {
        io.err << "\r正在存入 " << done << "/" << total << std::flush;
    };
    const exchange::MergeOutcome outcome = overwrite
                                               ? exchange::overwriteImport(db, progress)
                                               : exchange::storeStagedAchievements(db, progress);
    io.err << "\n";
    for (const std::string& problem : outcome.problems)
        io.err << "错误：" << problem << "\n";
    io.out << "新存入\t" << outcome.added << "\n覆盖\t" << outcome.overwritten << "\n跳过\t"
           << skipped + outcome.skipped << "\n";
    return outcome.problems.empty() ? 0 : 1;
}

} // namespace xb::app::cli
