// The figures a user feels, on a store of 50,000 records (with 100,000 child rows and a completer
// pool of 20,000 names) and a package of 10,000 achievements with 100,000 child rows, written by
// the exchange writer and packed by arj:
//   - `xunbao-cli list` and `xunbao-cli check` of every record, and the peak memory of `list`;
//   - the record list of the newest year as the main window reads it (years, the list statement,
//     the four grid columns of every row) on a freshly opened store, and what the real main
//     window still does once the welcome window has closed;
//   - import: read into the staging tables, duplicate check, store;
//   - pack of kjcg with a tenth of its rows deleted.
// The closing table sets each figure beside the one measured before the engine was made plain
// (the same program at commit 9fa529e, on the machine the project is built on).
//   import_bench [ACHIEVEMENTS [STORED [FOLDER]]]
#include "bench_clock.h"
#include "data_directory.h"
#include "exchange/archiver.h"
#include "exchange/exchange_values.h"
#include "exchange/exchange_writer.h"
#include "exchange/import_duplicates.h"
#include "exchange/import_merge.h"
#include "exchange/import_package.h"
#include "exchange/import_reading.h"
#include "exchange/import_staging.h"
#include "records/main_window.h"
#include "records/record_keeping.h"
#include "store/backup.h"
#include "store/history.h"
#include "store/layouts.h"
#include "store/record_store.h"
#include "store/table_file.h"
#include "sync_timing.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xb;
namespace fs = std::filesystem;

namespace {

constexpr int ChildrenPerAchievement = 10;

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "import_bench: %s\n", what.c_str());
    std::exit(1);
}

template <class T> T check(store::Result<T> result, const char* what) {
    if (!result) die(std::string(what) + ": " + result.message());
    return std::move(*result);
}

void check(const store::Status& status, const char* what) {
    if (!status) die(std::string(what) + ": " + status.message());
}

std::string number(int year, int sequence) {
    return std::to_string(year) + std::to_string(1000000 + sequence).substr(1);
}

// A row of `table` with realistic texts: names, organizations, memos of a few hundred bytes.
std::vector<store::Value> row(const std::string& table, const std::string& key, int i) {
    const store::FieldList& fields = store::layoutOf(table).fields;
    std::vector<store::Value> values(fields.size());
    auto set = [&](const char* name, store::Value value) {
        for (size_t k = 0; k < fields.size(); ++k)
            if (fields[k].name == name) values[k] = std::move(value);
    };
    set("ITEM_4", key);
    set("ITEM_DQDM", ".");
    if (table == "kjcg") {
        set("ITEM_3", "一种用于农业节水灌溉的智能控制系统第" + std::to_string(i) + "项");
        set("ITEM_9", "中国农业科学院某某研究所");
        set("ITEM_CGLB", std::to_string(1 + i % 3));
        set("ITEM_121", store::Date{2010, 1 + i % 12, 1 + i % 28});
        set("ITEM_13", "本成果针对灌区用水效率低的问题，研制了智能控制系统。\r\n"
                       "主要技术指标达到国内领先水平，已在多个省份推广应用。\t\"示范\"");
        set("ITEM_13_1", std::string(300, 'x'));
        set("ITEM_14", "节水;灌溉;智能控制");
        set("ITEM_37", "北京市海淀区中关村南大街12号");
        set("ITEM_45", 3.5);
        set("ITEM_149", 1250.75);
    } else if (table == "cgwcr") {
        set("ITEM_187", i % 3 + 1);
        set("ITEM_180", "完成人" + std::to_string(i % 20000));
        set("ITEM_181", "1");
        set("ITEM_182", "1965.03");
        set("ITEM_185", "中国农业科学院某某研究所");
        set("ITEM_186", "负责系统总体设计与试验示范");
        set("ITEM_188", "0");
    } else if (table == "cgwcdw") {
        set("ITEM_176", i % 3 + 1);
        set("ITEM_170", "某某省水利科学研究院");
        set("ITEM_171", "某某市某某路8号");
    } else if (table == "jdwyhmd") {
        set("ITEM_190", i % 2 + 1);
        set("ITEM_191", "委员");
        set("ITEM_192", "专家" + std::to_string(i));
        set("ITEM_195", "某某大学");
    } else if (table == "zlqk") {
        set("ITEM_NO", i % 2 + 1);
        set("PATENT_NO", "ZL2010" + std::to_string(100000 + i));
        set("PATENT_NAM", "一种灌溉控制装置");
        set("PATENT_TY", "1");
    }
    return values;
}

// Children of one achievement: 3 completers, 3 organizations, 2 committee members, 2 patents.
const std::vector<std::pair<const char*, int>>& childMix() {
    static const std::vector<std::pair<const char*, int>> mix{
        {"cgwcr", 3}, {"cgwcdw", 3}, {"jdwyhmd", 2}, {"zlqk", 2}};
    return mix;
}

void fillStore(store::Database& db, int stored) {
    auto kjcg = check(db.openTable("kjcg"), "kjcg");
    auto cgwcr = check(db.openTable("cgwcr"), "cgwcr");
    auto cgwcdw = check(db.openTable("cgwcdw"), "cgwcdw");
    auto pool = check(db.openTable("cgwcrNew"), "cgwcrNew");
    for (int i = 0; i < stored; ++i) {
        const std::string key = number(2000 + i % 10, i / 10 + 1);
        check(kjcg->append(row("kjcg", key, i)), "stored record");
        check(cgwcr->append(row("cgwcr", key, i)), "stored completer");
        check(cgwcdw->append(row("cgwcdw", key, i)), "stored organization");
    }
    for (int i = 0; i < 20000; ++i)
        check(pool->append(row("cgwcr", "1999000001", i)), "pool");
}

void writeFile(const fs::path& folder, exchange::ColumnRule rule,
               const std::vector<std::pair<std::string, int>>& keys) {
    const std::string table = exchange::sourceTableName(rule);
    const store::FieldList& fields = store::layoutOf(table).fields;
    auto writer = check(
        exchange::ExchangeFileWriter::create(folder / exchange::exchangeFileName(rule)), "create");
    for (const auto& [key, i] : keys)
        check(writer.writeLine(exchange::exchangeLine(rule, fields,
                                                      exchange::exchangeTexts(row(table, key, i)))),
              "write");
    check(writer.close(), "close");
}

// The package's text files; yields their total size.
std::uintmax_t writePackageFiles(const fs::path& folder, int achievements) {
    using exchange::ColumnRule;
    std::vector<std::pair<std::string, int>> records;
    std::map<std::string, std::vector<std::pair<std::string, int>>> children;
    int child = 0;
    for (int i = 0; i < achievements; ++i) {
        const std::string key = number(2005 + i % 10, i / 10 + 1);
        // One in a hundred has the name and organization of a stored record.
        records.push_back({key, i % 100 == 0 ? i : 1000000 + i});
        for (const auto& [table, n] : childMix())
            for (int k = 0; k < n; ++k)
                children[table].push_back({key, child++});
    }
    writeFile(folder, ColumnRule::Kjcg, records);
    writeFile(folder, ColumnRule::Cgwcdw, children["cgwcdw"]);
    writeFile(folder, ColumnRule::Cgwcr, children["cgwcr"]);
    writeFile(folder, ColumnRule::Jdwyhmd, children["jdwyhmd"]);
    writeFile(folder, ColumnRule::Zlqk, children["zlqk"]);
    writeFile(folder, ColumnRule::Unit, {});
    writeFile(folder, ColumnRule::Expert, {});
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        bytes += entry.file_size();
    return bytes;
}

// The best of three runs: the machine is shared, and the least disturbed run tells most.
template <class F> double bestOfThree(F run) {
    double best = run();
    for (int i = 0; i < 2; ++i)
        best = std::min(best, run());
    return best;
}

// Runs a command of xunbao-cli over the data directory, its output thrown away.
double cliTime(const fs::path& data, const char* command) {
    const std::string line = std::string("'") + XB_CLI_PATH + "' --data '" + data.string() + "' " +
                             command + " > /dev/null 2>&1";
    const auto t = std::chrono::steady_clock::now();
    const int status = std::system(line.c_str());
    // check ends with 1 when records are incomplete, as generated records are.
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        die(std::string("xunbao-cli ") + command + " failed");
    return seconds(t);
}

// The most memory any program this one started has held, in megabytes.
double childPeakMegabytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024.0;
}

// What the main window does once the welcome window closes: open the store, fill the year list,
// run the list statement of the newest year in the first category and read the grid's columns.
double welcomeListTime(const fs::path& data) {
    const auto t = std::chrono::steady_clock::now();
    store::RecordStore opened(data.string());
    check(opened.open(), "open");
    const double opening = seconds(t);
    const auto listed = std::chrono::steady_clock::now();
    auto years = check(records::yearEntries(opened.db()), "years");
    if (years.empty()) die("no years");
    auto list = check(opened.db().query("select * from kjcg where item_cglb='1' and item_4 like "
                                        ":year",
                                        {{"year", years.front().substr(0, 4) + "%"}}),
                      "record list");
    size_t bytes = 0;
    for (int i = 0; i < list->count(); ++i) {
        list->moveTo(i);
        for (const char* field : {"NO", "ITEM_120", "ITEM_3", "ITEM_9"})
            bytes += list->text(field).size();
    }
    if (list->count() == 0) die("empty record list");
    const double listing = seconds(listed);
    std::printf("  %-34s %8.3f s   (opening the store before it: %.3f s; %d rows)\n",
                "record list of the newest year", listing, opening, list->count());
    return listing;
}

// The main window started over the store with a welcome window that closes after a second and
// a half, as the real one does after five: the time from its closing until the start-up is
// done and the window waits for the user.
double afterWelcomeTime(const fs::path& data) {
    store::RecordStore opened(data.string());
    check(opened.open(), "open");
    QDialog welcome;
    records::TMainForm window(opened, &welcome);
    QElapsedTimer clock;
    bool closed = false;
    QObject::connect(&welcome, &QDialog::finished, [&] {
        closed = true;
        clock.start();
    });
    QTimer::singleShot(1500, &welcome, &QDialog::accept);
    window.show();
    while (!closed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // Everything the start-up queued after the welcome window is done once the queue is empty.
    QCoreApplication::processEvents();
    const double after = clock.nsecsElapsed() / 1e9;
    const int rows = window.recordList() ? window.recordList()->count() : 0;
    window.hide();
    std::printf("  %-34s %8.3f s   (%d rows listed)\n", "start-up left after the welcome", after,
                rows);
    if (rows == 0) die("the main window listed no records");
    return after;
}

struct Row {
    const char* work;
    double ours;
    double before; // at 9fa529e
    const char* unit;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int achievements = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int stored = argc > 2 ? std::atoi(argv[2]) : 50000;
    // A third argument keeps everything in that folder, for looking into afterwards.
    QTemporaryDir root;
    if (!root.isValid()) die("no temporary folder");
    const fs::path base = argc > 3 ? fs::path(argv[3]) : fs::path(root.path().toStdString());
    if (argc > 3 && fs::exists(base)) die(base.string() + " exists already");
    const fs::path data = base / "data", package = base / "package", copy = base / "copy";
    fs::create_directories(data);
    fs::create_directories(package);
    std::vector<Row> rows;

    check(install::buildDataDirectory(data.string(), install::repositorySources(XB_SOURCE_DIR)),
          "data directory");
    auto t = std::chrono::steady_clock::now();
    {
        store::RecordStore recordStore(data.string());
        check(recordStore.open(), "open");
        fillStore(recordStore.db(), stored);
        std::printf("store: %d records, %d child rows, 20000 pool names (%.1f s to build)\n\n",
                    stored, stored * 2, seconds(t));
    }
    // The first programs started: the peak of the children is the list's own.
    rows.push_back({"xunbao-cli list, every record",
                    bestOfThree([&] { return cliTime(data, "list"); }), 0.58, "s"});
    rows.push_back({"peak memory of xunbao-cli list", childPeakMegabytes(), 49, "MB"});
    rows.push_back({"xunbao-cli check, every record",
                    bestOfThree([&] { return cliTime(data, "check"); }), 0, "s"});
    rows.push_back({"record list of the newest year, read",
                    bestOfThree([&] { return welcomeListTime(data); }), 0.17, "s"});
    rows.push_back({"main window ready after the welcome window",
                    bestOfThree([&] { return afterWelcomeTime(data); }), 0.05, "s"});

    // From here on the time spent waiting for the disk is counted.
    bench::SyncTiming timing;
    store::FileSystemOverride timed(timing);
    store::RecordStore recordStore(data.string());
    check(recordStore.open(), "open");
    store::Database& db = recordStore.db();
    const std::uintmax_t bytes = writePackageFiles(package, achievements);
    const QString packageFolder = QString::fromStdString(package.string());
    check(exchange::packExchangePackage(exchange::Archiver(), packageFolder), "pack");
    fs::rename(package / "cgsbqy.arj", package / "CGSBQY.ARJ");
    std::printf("\npackage: %d achievements, %d child rows, %.1f MB of text, %.1f MB packed\n",
                achievements, achievements * ChildrenPerAchievement, bytes / 1e6,
                fs::file_size(package / "CGSBQY.ARJ") / 1e6);

    t = std::chrono::steady_clock::now();
    auto unpacked =
        check(exchange::UnpackedPackage::unpack(
                  exchange::Archiver(), QString::fromStdString((package / "CGSBQY.ARJ").string())),
              "unpack");
    std::printf("  %-34s %8.3f s\n", "unpack (arj)", seconds(t));

    timing.reset();
    t = std::chrono::steady_clock::now();
    const int staged = check(exchange::readPackage(db, unpacked->folder()), "read");
    const double reading = seconds(t);
    std::printf("  %-34s %8.3f s\n", "read into the staging tables", reading);
    if (staged != achievements) die("staged " + std::to_string(staged));

    t = std::chrono::steady_clock::now();
    auto list = check(exchange::loadStagedAchievements(db), "staged list");
    int twins = 0;
    for (const auto& achievement : list)
        if (check(exchange::findStoredTwin(db, achievement.name, achievement.unit), "twin"))
            ++twins;
    const double checking = seconds(t);
    std::printf("  %-34s %8.3f s\n", "duplicate check", checking);

    t = std::chrono::steady_clock::now();
    const exchange::MergeOutcome outcome = exchange::storeStagedAchievements(db);
    const double storing = seconds(t);
    std::printf("  %-34s %8.3f s\n", "store (numbering, copy, pool)", storing);
    if (!outcome.problems.empty()) die(outcome.problems.front());
    if (outcome.added != achievements) die("stored " + std::to_string(outcome.added));
    rows.push_back({"import (read + check + store)", reading + checking + storing, 0.70, "s"});
    const bench::SyncCost importSyncs = timing.cost();
    rows.push_back({"of which waiting for the disk", importSyncs.seconds, 0, "s"});
    // The store begins with a backup of the tables; the same backup once more, timed alone.
    t = std::chrono::steady_clock::now();
    check(store::backupBefore(data.string(), "计时"), "backup");
    rows.push_back({"of which the backup before storing", seconds(t), 0, "s"});
    std::printf("  %d syncs during the import\n", importSyncs.syncs);

    // What a page's 保存 costs: one record rewritten with three changed fields and their lines
    // in the history (which holds a line per imported record by now), on the disk before it is
    // reported.
    {
        auto saved = check(db.table("kjcg"), "kjcg");
        if (!saved->locate("ITEM_4", number(2005, 100))) die("no record to save");
        timing.reset();
        t = std::chrono::steady_clock::now();
        store::HistoryScope history("储存", "成果概况");
        check(saved->edit(), "edit");
        check(saved->setValue("ITEM_3", "改过的名称"), "name");
        check(saved->setValue("ITEM_120", "2005-登-0100"), "registration");
        check(saved->setValue("ITEM_13", std::string(600, 'x')), "memo");
        check(saved->post(), "save");
        const auto historyStart = std::chrono::steady_clock::now();
        check(history.commit(), "history");
        const double historyTime = seconds(historyStart);
        rows.push_back({"one record saved, with its history", seconds(t), 0, "s"});
        rows.push_back({"of which waiting for the disk", timing.cost().seconds, 0, "s"});
        rows.push_back({"of which writing the history", historyTime, 0, "s"});
        std::printf("  %d syncs for one saved record\n", timing.cost().syncs);
    }
    // 删除: the backup of the tables first, then the record with its parts.
    t = std::chrono::steady_clock::now();
    check(records::deleteRecord(db, number(2005, 101), "."), "delete");
    rows.push_back({"one record deleted, with its backup", seconds(t), 0, "s"});
    const long long total =
        check(db.query("select count(*) from kjcg"), "count")->value(0).toInteger();
    std::printf("\n  %d stored twins found; %d records stored; the store now holds %lld records\n",
                twins, outcome.added, total);

    // A tenth of the records deleted, then kjcg packed.
    check(db.execute("delete from kjcg where item_4 like '2000%'"), "delete");
    db.closeTable("kjcg");
    ::sync(); // nothing else waiting to be written
    timing.reset();
    t = std::chrono::steady_clock::now();
    check(db.pack("kjcg"), "pack");
    rows.push_back({"pack of kjcg, a tenth deleted", seconds(t), 0.56, "s"});
    rows.push_back({"of which waiting for the disk", timing.cost().seconds, 0, "s"});

    std::printf("\n| Work | Now | Before | Now / before |\n|---|---|---|---|\n");
    for (const Row& row : rows) {
        if (row.before > 0)
            std::printf("| %s | %.3f %s | %.3f %s | %.2f |\n", row.work, row.ours, row.unit,
                        row.before, row.unit, row.ours / row.before);
        else
            std::printf("| %s | %.3f %s | - | - |\n", row.work, row.ours, row.unit);
    }
    return 0;
}
