#include "store/label_views.h"
#include "store/lookups.h"
#include "store/people_labels.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using namespace xb::store;

namespace {

class LookupsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        createTables(dir, {"zdxx", "province", "zlqk", "jdwyhmd", "xkfl"});
        code("item_2", "1", "国际领先");
        code("item_2", "10", "其他");
        code("item_2", "3", "**旧版水平");
        code("item_2", "", "无代码");
        code("item_191", "1", "主任委员");
        code("item_191", "3", "委员");
        code("patent_st", "1", "受理");
        code("patent_ty", "2", "实用新型");
        addRow(db, "xkfl", {{"JB", "1"}, {"XXDM", "110"}, {"XXMC", "数学"}});
    }
    void code(const char* dict, const char* c, const char* label) {
        addRow(db, "zdxx", {{"zddm", dict}, {"xxdm", c}, {"xxmc", label}});
    }
    TempDir dir;
    Database db{dir.path().string()};
};

} // namespace

TEST_F(LookupsTest, DictionaryEntriesLeaveOutEmptyAndVersion1Rows) {
    EXPECT_EQ(*dictionaryEntries(db, "item_2", false),
              (std::vector<std::string>{"1  国际领先", "10  其他"}));
    EXPECT_EQ(*dictionaryEntries(db, "item_2", true, true),
              (std::vector<std::string>{"1  国际领先", "10  其他", "3  **旧版水平", " "}));
    EXPECT_EQ(*dictionaryEntries(db, "nosuch", true), (std::vector<std::string>{" "}));
}

TEST_F(LookupsTest, StoredCodeSelectsTheWholeCodeNeverTheBlankEntry) {
    const std::vector<std::string> entries{"1  国际领先", "10  其他", " "};
    EXPECT_EQ(entryIndexForCode(entries, "1"), 0);
    EXPECT_EQ(entryIndexForCode(entries, "10"), 1);
    EXPECT_EQ(entryIndexForCode(entries, ""), -1);
    EXPECT_EQ(entryIndexForCode(entries, "2"), -1);
    EXPECT_EQ(entryIndexForCode({"1  甲", "1  乙"}, "1"), 1);
    EXPECT_EQ(entryCode("10  其他", 2), "10");
    EXPECT_EQ(entryCode("1  国际领先", 2), "1");
    EXPECT_EQ(entryCode(" ", 3), "");
    EXPECT_EQ(entryCode("中文", 1), "中");
}

TEST_F(LookupsTest, ClassificationAndLabels) {
    EXPECT_EQ(*classificationText(db, "xkfl", " 110 "), "110  数学");
    EXPECT_EQ(*classificationText(db, "xkfl", "999"), "");
    EXPECT_EQ(*labelOf(db, "item_2", "10"), "其他");
    EXPECT_EQ(*labelOf(db, "item_2", "9"), "");
    EXPECT_EQ(*codeOfLabel(db, "item_191", "委员"), "3");
    EXPECT_FALSE(classificationText(db, "ztflh", "A").ok()); // the table is missing
}

TEST_F(LookupsTest, TextHelpers) {
    EXPECT_EQ(splitKeywords("甲;乙;丙;"), (std::array<std::string, 3>{"甲", "乙", "丙"}));
    EXPECT_EQ(splitKeywords("甲"), (std::array<std::string, 3>{"甲", "", ""}));
    EXPECT_EQ(splitKeywords("甲;乙;丙;丁"), (std::array<std::string, 3>{"甲", "乙", "丙"}));
    EXPECT_EQ(splitKeywords(""), (std::array<std::string, 3>{"", "", ""}));
    EXPECT_EQ(replaceTabs("a\tb\t"), "a b ");
    EXPECT_EQ(quoteForSql("O'Brien's"), "O''Brien''s");
    EXPECT_EQ(trimmed("\xE3\x80\x80 名称 \xE3\x80\x80"), "名称");
}

TEST_F(LookupsTest, LabelledViewsCarryLabelsBesideCodes) {
    addRow(db, "zlqk",
           {{"ITEM_4", "2024000001"},
            {"ITEM_DQDM", "."},
            {"ITEM_NO", 1},
            {"PATENT_NAM", "装置"},
            {"PATENT_ST", "1"},
            {"PATENT_TY", "2"}});
    addRow(db, "jdwyhmd", {{"ITEM_4", "2024000001"}, {"ITEM_DQDM", "."}, {"ITEM_191", "委员"}});
    auto patents = labelledView(db, LabelView::Patents, "select * from zlqk where item_4=:item_4",
                                {{"item_4", "2024000001"}});
    ASSERT_TRUE(patents.ok()) << patents.message();
    EXPECT_EQ((*patents)->fieldCount(), 9);
    EXPECT_EQ((*patents)->text("V_st"), "受理");
    EXPECT_EQ((*patents)->text("V_ty"), "实用新型");
    auto committee = labelledView(db, LabelView::Committee, "select * from jdwyhmd");
    ASSERT_TRUE(committee.ok());
    EXPECT_EQ((*committee)->text("V_191"), "3");
}

// The people code labels: lists put two blanks before the label and keep an unknown code as
// stored; output shows the label alone and nothing for an unknown code.
TEST(PeopleLabels, ListAndOutputRenderings) {
    using xb::store::PeopleCode;
    using xb::store::peopleListText;
    using xb::store::peopleOutputText;
    EXPECT_EQ(peopleListText(PeopleCode::Sex, "0"), "  男");
    EXPECT_EQ(peopleListText(PeopleCode::Title, "b"), "  中科院院士");
    EXPECT_EQ(peopleListText(PeopleCode::Title, "7"), "7");
    EXPECT_EQ(peopleListText(PeopleCode::Education, "1"), "1"); // there is no education code 1
    EXPECT_EQ(peopleOutputText(PeopleCode::Title, "c"), "工程院院士");
    EXPECT_EQ(peopleOutputText(PeopleCode::Education, "1"), "");
    EXPECT_EQ(peopleOutputText(PeopleCode::StudyAbroad, "0"), "否");
    EXPECT_EQ(peopleOutputText(PeopleCode::Sex, ""), "");
    // Codes are per kind: "a" is a title, not a sex.
    EXPECT_EQ(peopleOutputText(PeopleCode::Sex, "a"), "");
}
