// Engine figures on an achievement table of 10,000 and 100,000 rows with memos and child rows:
// append rate, full scan reading every field, a like filter over item_4, max(item_4) of a year,
// and pack; beside each, the time `cat` takes to read the same files (the raw bound).
//   store_bench [ROWS...]
// The pack alone, again and again on copies of an existing table, each run set beside a copy of
// the table's files with a sync (the bound the pack is judged against):
//   store_bench --pack TABLE.DBF [RUNS]
#include "bench_clock.h"
#include "store/database.h"
#include "store/layouts.h"
#include "store/pack.h"
#include "store/table_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace xb::store;
namespace fs = std::filesystem;

namespace {

void report(const char* what, double s, double raw, const char* unit = "") {
    std::printf("  %-38s %9.3f s   (cat %.3f s, %.1fx)%s\n", what, s, raw, raw > 0 ? s / raw : 0.0,
                unit);
}

void run(int rows) {
    const fs::path dir = fs::temp_directory_path() / ("xunbao-bench-" + std::to_string(rows));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"kjcg", "cgwcr"})
        (void)TableFile::create((dir / layoutOf(name).fileName).string(), layoutOf(name).fields);
    Database db(dir.string());
    std::printf("kjcg with %d rows (and %d completers):\n", rows, rows * 3);

    auto t = std::chrono::steady_clock::now();
    {
        auto kjcg = std::move(*db.table("kjcg"));
        auto cgwcr = std::move(*db.table("cgwcr"));
        const std::string intro(600, 'x');
        for (int i = 0; i < rows; ++i) {
            const std::string number =
                std::to_string(2000 + i % 20) + std::to_string(1000000 + i).substr(1);
            (void)kjcg->append();
            (void)kjcg->setValue("ITEM_4", number);
            (void)kjcg->setValue("ITEM_DQDM", ".");
            (void)kjcg->setValue("ITEM_CGLB", std::to_string(1 + i % 3));
            (void)kjcg->setValue("ITEM_3",
                                 "一种用于科技成果登记的测试成果第" + std::to_string(i) + "项");
            (void)kjcg->setValue("ITEM_9", "中国科学院某某研究所");
            (void)kjcg->setValue("ITEM_13", "成果公报内容：" + intro);
            (void)kjcg->setValue("ITEM_13_1", "成果简介\r\n第二段");
            (void)kjcg->setValue("ITEM_45", i % 17);
            if (!kjcg->post()) {
                std::cerr << "append failed\n";
                return;
            }
            for (int k = 1; k <= 3; ++k) {
                (void)cgwcr->append();
                (void)cgwcr->setValue("ITEM_4", number);
                (void)cgwcr->setValue("ITEM_DQDM", ".");
                (void)cgwcr->setValue("ITEM_187", k);
                (void)cgwcr->setValue("ITEM_180", "张三" + std::to_string(k));
                (void)cgwcr->post();
            }
        }
    }
    const double append = seconds(t);
    const std::vector<fs::path> files{dir / "kjcg.dbf", dir / "kjcg.dbt"};
    std::printf("  %-38s %9.3f s   (%.0f achievements/s with 3 completers each)\n", "append",
                append, rows / append);

    db.closeTable("kjcg");
    db.closeTable("cgwcr");
    t = std::chrono::steady_clock::now();
    {
        auto kjcg = std::move(*db.table("kjcg"));
        size_t bytes = 0;
        for (kjcg->first(); !kjcg->eof(); kjcg->next())
            for (int f = 0; f < kjcg->fieldCount(); ++f)
                bytes += kjcg->value(f).toText().size();
        if (bytes == 0) std::cerr << "scan read nothing\n";
    }
    report("full scan, every field (cursor)", seconds(t), catTime(files));

    t = std::chrono::steady_clock::now();
    auto like = db.query("select * from kjcg where item_3 like '%第1%' and item_4 like '%0'");
    report("like filter (no index)", seconds(t), catTime({dir / "kjcg.dbf"}));
    t = std::chrono::steady_clock::now();
    auto year = db.query("select * from kjcg where item_cglb='1' and item_4 like '2019%'");
    report("record list of a year (first, builds index)", seconds(t), catTime({dir / "kjcg.dbf"}));
    t = std::chrono::steady_clock::now();
    year = db.query("select * from kjcg where item_cglb='1' and item_4 like '2018%'");
    report("record list of another year", seconds(t), catTime({dir / "kjcg.dbf"}));
    t = std::chrono::steady_clock::now();
    auto max = db.query("select max(item_4) from kjcg where item_4 like'2019%'");
    const double maxTime = seconds(t);
    std::printf("  %-38s %9.6f s   (answer %s, through the item_4 index)\n",
                "max(item_4) of a year", maxTime,
                max ? (*max)->value(0).toText().c_str() : "error");
    t = std::chrono::steady_clock::now();
    auto children = db.query("select * from cgwcr where item_4=:item_4 order by item_187",
                             {{"item_4", "2019000019"}});
    report("completers of one record (first)", seconds(t), catTime({dir / "cgwcr.dbf"}));

    // Delete a tenth of the rows, then pack.
    (void)db.execute("delete from kjcg where item_4 like '2000%' or item_4 like '2001%'");
    like = Result<std::unique_ptr<Cursor>>(Error{});
    year = Result<std::unique_ptr<Cursor>>(Error{});
    max = Result<std::unique_ptr<Cursor>>(Error{});
    db.closeTable("kjcg");
    const double rawBefore = catTime(files);
    t = std::chrono::steady_clock::now();
    Status packed = db.pack("kjcg");
    report(packed ? "pack (a tenth deleted)" : "pack FAILED", seconds(t), rawBefore);
    fs::remove_all(dir);
}

int packRuns(const fs::path& table, int runs) {
    fs::path memo = table;
    memo.replace_extension(table.extension() == ".DBF" ? ".DBT" : ".dbt");
    std::vector<fs::path> files{table};
    if (fs::exists(memo)) files.push_back(memo);
    const fs::path scratch = table.parent_path() / "pack-runs";
    std::vector<double> ratios;
    for (int run = 1; run <= runs; ++run) {
        fs::remove_all(scratch);
        fs::create_directories(scratch);
        for (const fs::path& file : files)
            fs::copy_file(file, scratch / file.filename());
        ::sync();
        const double bound = copyAndSyncTime(files, scratch / "copy");
        ::sync();
        const auto t = std::chrono::steady_clock::now();
        const Status packed = packTable((scratch / table.filename()).string());
        const double pack = seconds(t);
        if (!packed) {
            std::cerr << "pack failed: " << packed.message() << "\n";
            return 1;
        }
        ratios.push_back(pack / bound);
        std::printf("  run %2d: pack %.3f s, copy + sync %.3f s, %.2fx\n", run, pack, bound,
                    pack / bound);
    }
    fs::remove_all(scratch);
    std::sort(ratios.begin(), ratios.end());
    std::printf("ratio: best %.2fx, median %.2fx, worst %.2fx\n", ratios.front(),
                ratios[ratios.size() / 2], ratios.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--pack")
        return packRuns(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    std::vector<int> sizes{10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes.push_back(std::atoi(argv[i]));
    }
    for (int rows : sizes)
        run(rows);
}
