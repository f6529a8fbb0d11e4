// An import on a disk that fills up at each write of it in turn, reading the package into the
// staging tables and storing it: one message says the disk is full, every record stored before
// is kept, every imported record is whole or absent, and once there is room again the same
// import stores everything.
#include "exchange/import_merge.h"
#include "exchange/import_reading.h"
#include "import_fixture.h"
#include "support/test_file_system.h"

#include <filesystem>
#include <map>

namespace xb::exchange::testing {
namespace {

namespace fs = std::filesystem;

constexpr int Achievements = 300; // more than one storing group

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class ImportOnAFullDisk : public ImportFixture {
  protected:
    void SetUp() override {
        ImportFixture::SetUp();
        addRecord("2001000001", "早先的成果一");
        addRecord("2001000002", "早先的成果二", "第二单位", {{"ITEM_13", "早先的简介"}});
        std::vector<std::string> records, completers, units;
        for (int i = 1; i <= Achievements; ++i) {
            const std::string number = std::to_string(2010000000 + i);
            records.push_back(kjcgLine({{"ITEM_4", number},
                                        {"ITEM_DQDM", "."},
                                        {"ITEM_3", "导入的成果" + std::to_string(i)},
                                        {"ITEM_9", "某研究所"},
                                        {"ITEM_CGLB", "1"},
                                        {"ITEM_13", "简介" + std::string(200, 'x')}}));
            for (int k = 0; k < 2; ++k)
                completers.push_back(
                    childLine("cgwcr", {{"ITEM_4", number},
                                        {"ITEM_DQDM", "."},
                                        {"ITEM_180", "完成人" + std::to_string(i * 2 + k)}}));
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

    // The data directory as it was before any import.
    void restore() {
        store.reset();
        fs::remove_all(dataPath());
        fs::copy(pristine, dataPath(), fs::copy_options::recursive);
        store = std::make_unique<store::RecordStore>(dataPath());
        ASSERT_TRUE(store->open().ok());
    }

    // Reads and stores the package; yields every message it gave, one a line.
    std::string importPackage(MergeOutcome& outcome) {
        auto read = readPackage(db(), packageFolder());
        if (!read) return read.message() + "\n";
        outcome = storeStagedAchievements(db());
        std::string messages;
        for (const std::string& problem : outcome.problems)
            messages += problem + "\n";
        return messages;
    }

    // Every imported record has its two completers and its organization; no child row is
    // without its record; the records stored before are as they were.
    void expectWholeRecords(const std::string& context) {
        std::map<std::string, int> children;
        for (const char* table : {"cgwcr", "cgwcdw"})
            for (const std::string& number :
                 column(std::string("select * from ") + table, "ITEM_4"))
                ++children[number];
        const auto numbers = column("select * from kjcg", "ITEM_4");
        for (const std::string& number : numbers) {
            if (number.starts_with("2001")) continue;
            EXPECT_EQ(children[number], 3) << context << " " << number;
            children.erase(number);
        }
        for (const auto& [number, n] : children)
            EXPECT_TRUE(number.starts_with("2001")) << context << " orphan " << number;
        EXPECT_EQ(column("select * from kjcg where item_4 like '2001%'", "ITEM_3"),
                  (std::vector<std::string>{"早先的成果一", "早先的成果二"}))
            << context;
        EXPECT_EQ(column("select * from kjcg where item_4='2001000002'", "ITEM_13"),
                  std::vector<std::string>{"早先的简介"});
    }

    std::string pristine;
};

TEST_F(ImportOnAFullDisk, SaysSoOnceLosesNothingAndStoresEverythingOnceThereIsRoom) {
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
            layer.fillDiskAfter(room);
            messages = importPackage(outcome);
            full = layer.growingWrites() == room && !messages.empty();
            store.reset();
        }
        if (!full) {
            ASSERT_TRUE(messages.empty()) << context << ": " << messages;
            ASSERT_EQ(outcome.added, Achievements);
            break;
        }
        ++cuts;
        EXPECT_EQ(occurrences(messages, "磁盘空间不足"), 1u) << context << ": " << messages;
        EXPECT_EQ(occurrences(messages, "\n"), 1u) << context << ": " << messages;

        // Opened again, as the next start does, then the same import with room on the disk.
        store = std::make_unique<store::RecordStore>(dataPath());
        ASSERT_TRUE(store->open().ok()) << context;
        expectWholeRecords(context);
        const int before = count("kjcg");
        MergeOutcome again;
        EXPECT_EQ(importPackage(again), "") << context;
        EXPECT_EQ(again.added, Achievements) << context;
        EXPECT_EQ(count("kjcg"), before + Achievements) << context;
        expectWholeRecords(context + ", again");
    }
    EXPECT_GT(cuts, 10);
}

} // namespace
} // namespace xb::exchange::testing
