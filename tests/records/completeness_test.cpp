#include "records/completeness.h"
#include "support/record_fixture.h"

using namespace xb::records;

namespace {

class Completeness : public RecordFixture {
  protected:
    SectionMarks marksOf(const std::string& number, bool applied) {
        auto row = std::move(*db().query("select * from kjcg where item_4=:n", {{"n", number}}));
        SectionMarks marks;
        EXPECT_TRUE(computeMarks(db(), *row, applied, marks).ok());
        return marks;
    }
};

} // namespace

TEST_F(Completeness, AnEmptyListMarksEverythingDone) {
    auto empty = std::move(*db().query("select * from kjcg"));
    SectionMarks marks;
    marks.set(Section::Overview, false);
    ASSERT_TRUE(computeMarks(db(), *empty, true, marks).ok());
    EXPECT_EQ(marks, SectionMarks());
    EXPECT_TRUE(isComplete(marks, ""));
    EXPECT_FALSE(closeRefusal(marks, "").has_value());
}

TEST_F(Completeness, ANewRecordMissesTheRequiredSections) {
    addRecord("2024000001", "1", "新");
    const SectionMarks marks = marksOf("2024000001", true);
    for (Section s : {Section::Overview, Section::Property, Section::Project, Section::FirstUnit,
                      Section::Completers})
        EXPECT_FALSE(marks.done(s)) << static_cast<int>(s);
    for (Section s : {Section::Partners, Section::Committee, Section::Certificate})
        EXPECT_TRUE(marks.done(s));
    EXPECT_FALSE(isComplete(marks, "1"));
    EXPECT_EQ(*closeRefusal(marks, "1"), "成果概况没有填完,请继续填写完成该项目！");
}

TEST_F(Completeness, AllRulesFilledButNoCompleterBlocksOnTheCompleters) {
    addRecord("2024000001", "1", "全");
    fillRequired("2024000001");
    SectionMarks marks = marksOf("2024000001", true);
    EXPECT_FALSE(marks.done(Section::Completers));
    EXPECT_EQ(*closeRefusal(marks, "1"), "成果完成人员名单没有填完,请继续填写完成该项目！");
    addChild("cgwcr", "2024000001", {{"ITEM_180", "张三"}});
    marks = marksOf("2024000001", true);
    EXPECT_TRUE(isComplete(marks, "1"));
    EXPECT_FALSE(closeRefusal(marks, "1").has_value());
}

TEST_F(Completeness, SoftScienceIgnoresTheIntellectualPropertySection) {
    SectionMarks marks;
    marks.set(Section::Property, false);
    EXPECT_TRUE(isComplete(marks, "2"));
    EXPECT_TRUE(isComplete(marks, "3"));
    EXPECT_FALSE(isComplete(marks, "1"));
    EXPECT_FALSE(closeRefusal(marks, "2").has_value());
    EXPECT_EQ(*closeRefusal(marks, "1"), "知识产权，成果应用情况没有填完,请继续填写完成该项目！");
    marks.set(Section::Project, false);
    marks.set(Section::FirstUnit, false);
    EXPECT_EQ(*closeRefusal(marks, "2"), "课题立项，评价没有填完,请继续填写完成该项目！");
}

TEST_F(Completeness, ARuleNamingAMissingFieldFailsWithTheEngineText) {
    addRecord("2024000001", "1", "规则");
    ASSERT_TRUE(
        db().execute("insert into checkup (lb, id, button) values ('a', 'ITEM_NOPE', '01')").ok());
    auto row = std::move(*db().query("select * from kjcg"));
    SectionMarks marks;
    auto s = computeMarks(db(), *row, true, marks);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("ITEM_NOPE"), std::string::npos);
}
