// An import meets the faults of a real disk. The disk fills up at each write of it in turn: one
// message says so, nothing stored before is lost, and once there is room the same import stores
// everything. The power goes at each sync of it in turn, with every write since the last sync
// lost, or a random part of them: after the next start every record is whole or absent, every
// record reported stored is there, no child row is without its record, no number is used twice,
// and another reader reads every table.
#include "exchange/import_merge.h"
#include "exchange/import_reading.h"
#include "import_fixture.h"
#include "support/shell_run.h"
#include "support/test_file_system.h"

#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace xb::exchange::testing {
namespace {

namespace fs = std::filesystem;

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Completers and organizations of achievement i of the package.
int completersOf(int i) {
    return i % 3 + 1;
}
int unitsOf(int i) {
    return i % 2;
}

class ImportFaults : public ImportFixture {
  protected:
    // A package of `achievements` (more than one storing group), and the data directory as it
    // is before any import, kept to start each trial from.
    void prepare(int achievements) {
        achievements_ = achievements;
        addRecord("2001000001", "早先的成果一");
        addRecord("2001000002", "早先的成果二", "第二单位", {{"ITEM_13", "早先的简介"}});
        std::vector<std::string> records, completers, units;
        for (int i = 1; i <= achievements; ++i) {
            const std::string number = std::to_string(2010000000 + i);
            records.push_back(kjcgLine({{"ITEM_4", number},
                                        {"ITEM_DQDM", "."},
                                        {"ITEM_3", "导入的成果" + std::to_string(i)},
                                        {"ITEM_9", "某研究所"},
                                        {"ITEM_CGLB", "1"},
                                        {"ITEM_13", "简介" + std::string(200, 'x')}}));
            for (int k = 0; k < completersOf(i); ++k)
                completers.push_back(
                    childLine("cgwcr", {{"ITEM_4", number},
                                        {"ITEM_DQDM", "."},
                                        {"ITEM_180", "完成人" + std::to_string(i * 3 + k)}}));
            for (int k = 0; k < unitsOf(i); ++k)
                units.push_back(childLine(
                    "cgwcdw", {{"ITEM_4", number}, {"ITEM_DQDM", "."}, {"ITEM_170", "合作单位"}}));
        }
        writePackageFile("KJCG.TXT", linesOf(records));
        writePackageFile("CGWCR.TXT", linesOf(completers));
        writePackageFile("CGWCDW.TXT", linesOf(units));
        for (const char* empty : {"JDWYHMD.TXT", "ZLQK.TXT", "UNIT.TXT"})
            writePackageFile(empty, "");
        store.reset();
        pristine = QDir(root.path()).filePath("pristine").toStdString();
        fs::copy(dataPath(), pristine, fs::copy_options::recursive);
    }

    // The data directory as it was before any import, opened (through the layer in place).
    void restore() {
        store.reset();
        fs::remove_all(dataPath());
        fs::copy(pristine, dataPath(), fs::copy_options::recursive);
        reopen();
    }
    void reopen() {
        store = std::make_unique<store::RecordStore>(dataPath());
        ASSERT_TRUE(store->open().ok());
    }

    // Reads and stores the package; yields every message it gave, one a line. `reported` learns
    // how many achievements were reported stored as the import went.
    std::string importPackage(MergeOutcome& outcome, bool overwrite = false,
                              int* reported = nullptr) {
        auto read = readPackage(db(), packageFolder());
        if (!read) return read.message() + "\n";
        const MergeProgress progress = [&](int done, int) {
            if (reported) *reported = done;
        };
        outcome =
            overwrite ? overwriteImport(db(), progress) : storeStagedAchievements(db(), progress);
        std::string messages;
        for (const std::string& problem : outcome.problems)
            messages += problem + "\n";
        return messages;
    }

    // Every imported record has its children; no child row is without its record; no number
    // (and, with `namesOnce`, no imported name) stands twice; the records stored before are as
    // they were. Yields the number of imported records.
    int expectWholeRecords(const std::string& context, bool namesOnce = true) {
        std::map<std::string, int> completers, units;
        for (const std::string& number : column("select * from cgwcr", "ITEM_4"))
            ++completers[number];
        for (const std::string& number : column("select * from cgwcdw", "ITEM_4"))
            ++units[number];
        std::set<std::string> numbers, names;
        int imported = 0;
        auto c = db().query("select * from kjcg");
        for ((*c)->first(); !(*c)->eof(); (*c)->next()) {
            const std::string number = (*c)->text("ITEM_4"), name = (*c)->text("ITEM_3");
            EXPECT_TRUE(numbers.insert(number).second) << context << ": number twice " << number;
            if (number.starts_with("2001")) continue;
            ++imported;
            EXPECT_TRUE(names.insert(name).second || !namesOnce)
                << context << ": name twice " << name;
            const int i = std::stoi(name.substr(std::string("导入的成果").size()));
            EXPECT_EQ(completers[number], completersOf(i)) << context << " " << number;
            EXPECT_EQ(units[number], unitsOf(i)) << context << " " << number;
        }
        for (const auto* children : {&completers, &units})
            for (const auto& [number, n] : *children)
                EXPECT_TRUE(numbers.count(number)) << context << ": orphan of " << number;
        EXPECT_EQ(column("select * from kjcg where item_4 like '2001%'", "ITEM_3"),
                  (std::vector<std::string>{"早先的成果一", "早先的成果二"}))
            << context;
        EXPECT_EQ(column("select * from kjcg where item_4='2001000002'", "ITEM_13"),
                  std::vector<std::string>{"早先的简介"})
            << context;
        return imported;
    }

    // Another dBASE reader reads every table the import writes.
    void expectReadableByAnotherReader(const std::string& context) {
        std::string tables;
        for (const char* t : {"kjcg", "cgwcr", "cgwcdw", "cgwcrNew", "kjcgtemp", "cgwcrtemp"})
            tables += " '" + db().tablePath(t) + "'";
        const ShellRun run = runShell(
            "/usr/bin/python3 -c 'import dbf,sys\nfor p in sys.argv[1:]:\n t=dbf.Table(p)\n "
            "t.open(dbf.READ_ONLY)\n [r for r in t]\n t.close()'" +
            tables + " 2>&1");
        EXPECT_EQ(run.status, 0) << context << ": " << run.out;
    }

    int achievements_ = 0;
    std::string pristine;
};

TEST_F(ImportFaults, AFullDiskIsReportedOnceLosesNothingAndTheImportWorksOnceThereIsRoom) {
    prepare(300);
    int cuts = 0;
    for (int room = 0;; ++room) {
        const std::string context = "room for " + std::to_string(room) + " writes";
        std::string messages;
        MergeOutcome outcome;
        bool full = false;
        {
            test::TestFileSystem layer;
            store::FileSystemOverride files(layer);
            restore();
            const int opening = layer.growingWrites();
            layer.fillDiskAfter(room);
            messages = importPackage(outcome);
            full = layer.growingWrites() - opening == room && !messages.empty();
            store.reset();
        }
        if (!full) {
            ASSERT_TRUE(messages.empty()) << context << ": " << messages;
            ASSERT_EQ(outcome.added, achievements_);
            break;
        }
        ++cuts;
        EXPECT_EQ(occurrences(messages, "磁盘空间不足"), 1u) << context << ": " << messages;
        // The backup comes first: one that cannot be written stops the import untouched.
        if (messages.find("无法建立备份") != std::string::npos)
            for (const char* file : {"kjcg.dbf", "kjcg.dbt", "cgwcr.dbf"})
                EXPECT_EQ(readBytes(QString::fromStdString(dataPath() + "/" + file)),
                          readBytes(QString::fromStdString(pristine + "/" + file)))
                    << context << ": " << file;
        EXPECT_EQ(occurrences(messages, "\n"), 1u) << context << ": " << messages;

        // Opened again, as the next start does, then the same import with room on the disk.
        reopen();
        expectWholeRecords(context);
        const int before = count("kjcg");
        MergeOutcome again;
        EXPECT_EQ(importPackage(again), "") << context;
        EXPECT_EQ(again.added, achievements_) << context;
        EXPECT_EQ(count("kjcg"), before + achievements_) << context;
        expectWholeRecords(context + ", again", false);
    }
    EXPECT_GT(cuts, 10);
}

TEST_F(ImportFaults, APowerCutAtAnySyncLeavesEveryRecordWholeOrAbsent) {
    prepare(300); // two groups: a cut between them too
    std::mt19937 rng(20261210);
    std::printf("power-cut seed 20261210\n");
    for (const bool overwrite : {false, true}) {
        if (overwrite) {
            // The package stored once already: the overwrite replaces each record.
            restore();
            MergeOutcome first;
            ASSERT_EQ(importPackage(first), "");
            store.reset();
            fs::remove_all(pristine);
            fs::copy(dataPath(), pristine, fs::copy_options::recursive);
        }
        int syncs = 0, states = 0;
        for (int round = 0; round < 2; ++round) {
            for (int cut = 1;; ++cut) {
                const std::string context = std::string(overwrite ? "overwrite" : "import") +
                                            (round ? ", some writes kept" : ", all writes lost") +
                                            ", cut at sync " + std::to_string(cut);
                int reported = 0;
                bool died = false;
                {
                    test::TestFileSystem layer;
                    store::FileSystemOverride files(layer);
                    restore();
                    layer.dieAtSync(layer.syncs() + cut);
                    MergeOutcome outcome;
                    (void)importPackage(outcome, overwrite, &reported);
                    died = layer.died();
                    if (!died) syncs = cut - 1;
                    store.reset();
                    layer.cutPower(round ? &rng : nullptr);
                }
                if (!died) break;
                // Every sync point with all unsynced writes lost; with some kept, every third.
                if (round && cut % 3) continue;
                ++states;
                reopen();
                const int imported = expectWholeRecords(context);
                EXPECT_GE(imported, overwrite ? achievements_ : reported) << context;
                if (overwrite) EXPECT_EQ(imported, achievements_) << context;
                if (cut % 7 == 1) expectReadableByAnotherReader(context);
                if (HasFailure()) return;
            }
        }
        std::printf("%s: %d sync points, %d states after a power cut checked\n",
                    overwrite ? "overwrite import" : "import", syncs, states);
        EXPECT_GT(syncs, 20);
    }
}

TEST_F(ImportFaults, AReadOnlyTableIsNamedOnceAndNothingIsStored) {
    prepare(10);
    test::TestFileSystem layer;
    layer.fault = [](test::Call call, const std::string& path) {
        return call == test::Call::OpenToWrite && path.ends_with("cgwcr.dbf") ? EACCES : 0;
    };
    store::FileSystemOverride files(layer);
    restore();
    const std::string readOnly = "表文件 cgwcr.dbf 是只读文件，只能读取，不能修改";
    EXPECT_EQ(store->openingWarnings(), std::vector<std::string>{readOnly});
    const auto before = liveSnapshot();
    MergeOutcome outcome;
    EXPECT_EQ(importPackage(outcome), readOnly + "\n");
    EXPECT_EQ(liveSnapshot(), before);
    EXPECT_EQ(count("kjcgtemp"), 0);
    store.reset(); // before the layer goes
}

} // namespace
} // namespace xb::exchange::testing
