// The pages of the printed registration form built from records in a real data directory:
// marks, page numbers, list rows and their pagination, the approval date, labels, and that
// everything lies on the sheet.
#include "output/form_pages.h"
#include "output/output_fixture.h"
#include "output/page_writer.h"
#include "output/pdf_text_layer.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

using namespace xb::output;

class PrintPages : public OutputFixture {
  protected:
    PrintRecord load(const std::string& number) {
        auto record = loadPrintRecord(db(), number, ".");
        EXPECT_TRUE(record.ok()) << (record.ok() ? "" : record.message());
        return record.ok() ? *record : PrintRecord{};
    }
    // The pages of the entry captioned `caption` on the custom (or direct) panel.
    std::vector<Page> page(const std::string& number, PrintedForm form, const std::string& caption,
                           bool direct = false) {
        const auto& entries = direct ? directPages(form) : customPages(form);
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const PageEntry& e) { return e.caption == caption; });
        EXPECT_NE(it, entries.end()) << caption;
        OutputLabels labels(db());
        return buildPages(load(number), labels, form, *it);
    }
    static std::vector<std::string> numbers(const std::vector<Page>& pages) {
        std::vector<std::string> out;
        for (const Page& p : pages)
            out.push_back(p.number);
        return out;
    }
    static std::vector<std::vector<std::string>> rows(const std::vector<Page>& pages) {
        std::vector<std::vector<std::string>> out;
        for (const Page& p : pages)
            out.insert(out.end(), p.rows.begin(), p.rows.end());
        return out;
    }
    void addCommittee(const std::string& number, int members, const std::string& title = "2") {
        for (int i = 1; i <= members; ++i)
            addChild("jdwyhmd", number,
                     {{"ITEM_191", "委员"},
                      {"ITEM_192", "委员" + std::to_string(i)},
                      {"ITEM_193", "0"},
                      {"ITEM_194", std::string(i < 10 ? "0" : "") + std::to_string(i)},
                      {"ITEM_198", title}});
    }
};

std::vector<std::string> marksOf(const Page& page, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& name : markedNames(page))
        if (name.starts_with(prefix)) out.push_back(name);
    return out;
}

TEST_F(PrintPages, OptionsMarkOnlyTheBoxesOfTheStoredCodes) {
    addRecord(
        "2024000001", "1", "成果",
        {{"ITEM_124_1", "05"}, {"ITEM_51", "1;3;"}, {"ITEM_161", "1;2;4;5;"}, {"ITEM_2", "7"}});
    const auto overview = page("2024000001", PrintedForm::Applied, "3");
    ASSERT_EQ(overview.size(), 1u);
    const Page& p = overview.front();
    EXPECT_EQ(marksOf(p, "QL_ITEM_124_1_"), std::vector<std::string>{"QL_ITEM_124_1_05"});
    // Every option of the field has its box, the others stay empty.
    for (const char* code : {"01", "02", "03", "04", "06", "07", "08", "09", "10", "11"})
        EXPECT_FALSE(findMark(p, std::string("QL_ITEM_124_1_") + code)->marked) << code;
    // A code without a box marks nothing.
    EXPECT_TRUE(marksOf(p, "QL_ITEM_2_").empty());
    // A code list marks each of its codes, but only the first three.
    const Page evaluation = page("2024000001", PrintedForm::Applied, "5").front();
    EXPECT_EQ(marksOf(evaluation, "QL_ITEM_51_"),
              (std::vector<std::string>{"QL_ITEM_51_1", "QL_ITEM_51_3"}));
    EXPECT_EQ(marksOf(evaluation, "QL_ITEM_161_"),
              (std::vector<std::string>{"QL_ITEM_161_1", "QL_ITEM_161_2", "QL_ITEM_161_4"}));
}

TEST_F(PrintPages, PreviewAndDirectPrintNumberThePagesDifferently) {
    addCompleteRecord("2024000001", "1");
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Applied, "3")),
              std::vector<std::string>{"3"});
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Applied, "成果概况，立项情况", true)),
              std::vector<std::string>{"1"});
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Applied, "成果完成人员名单", true)),
              std::vector<std::string>{"6"});
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Basic, "成果完成人员名单", true)),
              std::vector<std::string>{"5"});
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Applied, "封面1")),
              std::vector<std::string>{""});
    // The whole forms: one sheet per page button while nothing runs over.
    OutputLabels labels(db());
    const PrintRecord record = load("2024000001");
    EXPECT_EQ(
        buildPages(record, labels, PrintedForm::Applied, customPages(PrintedForm::Applied)).size(),
        15u);
    EXPECT_EQ(
        buildPages(record, labels, PrintedForm::Basic, customPages(PrintedForm::Basic)).size(),
        13u);
    EXPECT_EQ(
        buildPages(record, labels, PrintedForm::Applied, directPages(PrintedForm::Applied)).size(),
        8u);
}

TEST_F(PrintPages, LongCompleterListsRunOverWithNumberedPages) {
    addCompleteRecord("2024000001", "1", 20);
    addCompleteRecord("2024000002", "1", 18);
    const auto twenty = page("2024000001", PrintedForm::Applied, "10");
    EXPECT_EQ(numbers(twenty), (std::vector<std::string>{"10--1", "10--2"}));
    const auto listed = rows(twenty);
    ASSERT_EQ(listed.size(), 21u); // every completer once, then the empty row
    EXPECT_EQ(listed[0][1], "完成人1");
    EXPECT_EQ(listed[19][1], "完成人20");
    EXPECT_EQ(listed[20], std::vector<std::string>(9));
    EXPECT_EQ(listed[0][2], "男"); // sex as its label
    EXPECT_EQ(numbers(page("2024000002", PrintedForm::Applied, "10")),
              std::vector<std::string>{"10"});
    // The basic form runs over one completer earlier; direct print renumbers each sheet.
    EXPECT_EQ(numbers(page("2024000002", PrintedForm::Basic, "8")),
              (std::vector<std::string>{"8--1", "8--2"}));
    EXPECT_EQ(numbers(page("2024000001", PrintedForm::Applied, "成果完成人员名单", true)),
              (std::vector<std::string>{"6--1", "6--2"}));
}

TEST_F(PrintPages, CommitteeListsFillTheirLastPage) {
    addRecord("2024000005", "1", "五人");
    addCommittee("2024000005", 5, "c");
    addRecord("2024000014", "1", "十四人");
    addCommittee("2024000014", 14);
    addRecord("2024000016", "2", "十六人");
    addCommittee("2024000016", 16);
    EXPECT_EQ(rows(page("2024000005", PrintedForm::Applied, "11")).size(), 13u);
    EXPECT_EQ(rows(page("2024000005", PrintedForm::Basic, "9")).size(), 15u);
    const auto fourteen = page("2024000014", PrintedForm::Applied, "11");
    EXPECT_EQ(rows(fourteen).size(), 34u);
    EXPECT_EQ(numbers(fourteen), (std::vector<std::string>{"11--1", "11--2"}));
    EXPECT_EQ(rows(page("2024000014", PrintedForm::Basic, "9")).size(), 15u);
    EXPECT_EQ(numbers(page("2024000014", PrintedForm::Basic, "9")), std::vector<std::string>{"9"});
    EXPECT_EQ(rows(page("2024000016", PrintedForm::Basic, "9")).size(), 37u);
    // Members in the order of their duty, titles as labels, the rest empty filler rows.
    const auto five = rows(page("2024000005", PrintedForm::Applied, "11"));
    EXPECT_EQ(five[0][1], "委员1");
    EXPECT_EQ(five[4][1], "委员5");
    EXPECT_EQ(five[0][6], "工程院院士");
    EXPECT_EQ(five[5], std::vector<std::string>(7));
}

TEST_F(PrintPages, CooperatingOrganizationsPrintAtMostEight) {
    addRecord("2024000001", "1", "成果");
    for (int i = 1; i <= 10; ++i)
        addChild("cgwcdw", "2024000001",
                 {{"ITEM_176", xb::store::Value(static_cast<double>(i))},
                  {"ITEM_170", "合作单位" + std::to_string(i)},
                  {"ITEM_171", "地址"}});
    const auto applied = rows(page("2024000001", PrintedForm::Applied, "7"));
    ASSERT_EQ(applied.size(), 8u);
    EXPECT_EQ(applied[7][1], "合作单位8\r");
    const auto basic = rows(page("2024000001", PrintedForm::Basic, "5"));
    EXPECT_EQ(basic.size(), 8u);

    // Few organizations: the applied form fills up with empty rows, the basic one does not;
    // names wrap at 24 and 20 bytes.
    addRecord("2024000002", "1", "成果");
    addChild("cgwcdw", "2024000002",
             {{"ITEM_176", xb::store::Value(1.0)},
              {"ITEM_170", "中国科学院上海微系统与信息技术研究所"}});
    const auto few = rows(page("2024000002", PrintedForm::Applied, "7"));
    ASSERT_EQ(few.size(), 8u);
    EXPECT_EQ(few[0][1], "中国科学院上海微系统与信\r息技术研究所\r");
    EXPECT_EQ(few[1], std::vector<std::string>(6));
    const auto fewBasic = rows(page("2024000002", PrintedForm::Basic, "5"));
    ASSERT_EQ(fewBasic.size(), 1u);
    EXPECT_EQ(fewBasic[0][1], "中国科学院上海微系统\r与信息技术研究所\r");

    // Rows print by their 序号, whatever order they were stored in.
    addRecord("2024000003", "1", "成果");
    for (int i : {3, 1, 2})
        addChild("cgwcdw", "2024000003",
                 {{"ITEM_176", xb::store::Value(static_cast<double>(i))},
                  {"ITEM_170", "单位" + std::to_string(i)}});
    const auto ordered = rows(page("2024000003", PrintedForm::Applied, "7"));
    EXPECT_EQ(ordered[0][1] + ordered[1][1] + ordered[2][1], "单位1\r单位2\r单位3\r");
    // The continued page carries the form number like the other data pages.
    EXPECT_NE(
        allText(page("2024000003", PrintedForm::Applied, "7").front()).find("表    号：CG-002"),
        std::string::npos);
}

TEST_F(PrintPages, ApprovalDateAndCoverValues) {
    addRecord("2024000001", "1", "无日期成果");
    const Page empty = page("2024000001", PrintedForm::Applied, "8").front();
    for (const char* part : {"approval.1", "approval.2", "approval.3"})
        EXPECT_EQ(textOf(empty, part), "") << part;
    EXPECT_NE(allText(empty).find("同意登记"), std::string::npos);
    EXPECT_NE(allText(empty).find("附件一"), std::string::npos);

    addCompleteRecord("2024000002", "2");
    const Page dated = page("2024000002", PrintedForm::Basic, "6").front();
    EXPECT_EQ(textOf(dated, "approval.1"), "2024");
    EXPECT_EQ(textOf(dated, "approval.2"), "05");
    EXPECT_EQ(textOf(dated, "approval.3"), "06");
    EXPECT_EQ(allText(dated).find("附件一"), std::string::npos);

    const Page cover = page("2024000002", PrintedForm::Basic, "封面1").front();
    EXPECT_EQ(textOf(cover, "ITEM_3"), "区域科技政策评估方法研究");
    EXPECT_EQ(textOf(cover, "start.1") + "/" + textOf(cover, "start.2") + "/" +
                  textOf(cover, "end.1") + "/" + textOf(cover, "end.2"),
              "2005/03/2006/12");
    EXPECT_EQ(textOf(cover, "registered.1") + textOf(cover, "registered.2") +
                  textOf(cover, "registered.3"),
              "20240506");
    EXPECT_NE(allText(cover).find("（基础理论、软科学类成果）"), std::string::npos);
    EXPECT_NE(allText(cover).find("表    号：CG-001"), std::string::npos);
    EXPECT_NE(allText(cover).find("《中华人民共和国统计法》第三条规定："), std::string::npos);
}

TEST_F(PrintPages, LabelsAndListsOnTheDataPages) {
    addCompleteRecord("2024000001", "1");
    const Page overview = page("2024000001", PrintedForm::Applied, "3").front();
    EXPECT_EQ(textOf(overview, "keyword.1"), "① 电机");
    EXPECT_EQ(textOf(overview, "keyword.3"), "③ 控制;变频");
    EXPECT_EQ(marksOf(overview, "QL_ITEM_140_"), std::vector<std::string>{"QL_ITEM_140_7"});
    EXPECT_NE(allText(overview).find("表    号：CG-002"), std::string::npos);
    // Amounts keep two decimals, as the form's instructions ask; an empty one stays empty.
    EXPECT_EQ(textOf(overview, "ITEM_149"), "150.50");
    EXPECT_EQ(textOf(overview, "ITEM_141"), "100.00");
    EXPECT_EQ(textOf(overview, "ITEM_145"), "");
    const auto evaluation = page("2024000001", PrintedForm::Applied, "5");
    ASSERT_EQ(evaluation.size(), 1u);
    // Granted patents first (6 rows), then accepted ones, each in table order.
    const auto patents = evaluation.front().rows;
    ASSERT_EQ(patents.size(), 12u);
    EXPECT_EQ(patents[0][0], "ZL200510002");
    EXPECT_EQ(patents[1][0], "ZL200510004");
    EXPECT_EQ(patents[2][0], "");
    EXPECT_EQ(patents[6][0], "ZL200510001");
    EXPECT_EQ(patents[7][0], "ZL200510003");
    EXPECT_EQ(marksOf(evaluation.front(), "QL_PATENT_TY_"),
              (std::vector<std::string>{"QL_PATENT_TY_1", "QL_PATENT_TY_2"}));
    const Page organizations = page("2024000001", PrintedForm::Applied, "7").front();
    EXPECT_EQ(marksOf(organizations, "QL_ITEM_163_"), std::vector<std::string>{"QL_ITEM_163_1"});
    EXPECT_EQ(marksOf(organizations, "QL_ITEM_41_3_"), std::vector<std::string>{"QL_ITEM_41_3_05"});
}

TEST_F(PrintPages, ALongSummaryFlowsOntoMorePagesWithNothingLost) {
    std::string summary;
    for (int i = 0; i < 60; ++i)
        summary +=
            "第" + std::to_string(i) + "段：本成果研制了高效节能电机控制系统，节能效果显著。\r\n";
    addRecord("2024000001", "1", "成果", {{"ITEM_13_1", summary}});
    const auto pages = page("2024000001", PrintedForm::Applied, "9");
    ASSERT_GE(pages.size(), 2u);
    // Only the lists number their sheets with "--".
    EXPECT_EQ(pages.front().number, "9");
    EXPECT_EQ(pages.back().number, "9");
    std::string printed;
    for (const Page& p : pages)
        for (const PageText& t : p.texts)
            if (t.name == "ITEM_13_1") printed += t.text;
    std::string expected = summary;
    std::erase(expected, '\r');
    std::erase(expected, '\n');
    EXPECT_EQ(printed, expected);
    EXPECT_NE(allText(pages.back()).find("填写内容要求："), std::string::npos);

    // A summary that fits keeps the notes on its sheet.
    addCompleteRecord("2024000002", "1");
    for (const auto& [form, caption] :
         {std::pair{PrintedForm::Applied, "9"}, std::pair{PrintedForm::Basic, "7"}}) {
        const auto single = page("2024000002", form, caption);
        ASSERT_EQ(single.size(), 1u) << caption;
        EXPECT_NE(allText(single.front()).find("2．简介文字应简明扼要"), std::string::npos);
    }
}

TEST_F(PrintPages, EveryPageOfBothFormsLiesOnTheSheet) {
    addCompleteRecord("2024000001", "1", 25);
    addCommittee("2024000001", 30);
    OutputLabels labels(db());
    const PrintRecord record = load("2024000001");
    for (PrintedForm form : {PrintedForm::Applied, PrintedForm::Basic}) {
        for (const PageEntry& entry : customPages(form)) {
            const auto pages = buildPages(record, labels, form, entry);
            ASSERT_FALSE(pages.empty()) << entry.caption;
            for (const Page& p : pages) {
                EXPECT_GT(p.texts.size(), 3u) << entry.caption;
                const auto inside = [&](const Area& a) {
                    return a.x >= -0.01 && a.y >= -0.01 && a.x + a.w <= kPageWidth + 1.01 &&
                           a.y + a.h <= kPageHeight + 0.01;
                };
                for (const PageText& t : p.texts)
                    EXPECT_TRUE(inside(t.area)) << entry.caption << " " << t.text;
                for (const Area& c : p.cells)
                    EXPECT_TRUE(inside(c)) << entry.caption;
            }
        }
    }
}

// Where a text's characters lie, by the estimate the layout uses.
Area inkOf(const PageText& t) {
    const double w = textWidth(t.text, t.size);
    const double h = t.size * 25.4 / 72;
    const double x = t.align == Align::Left     ? t.area.x
                     : t.align == Align::Center ? t.area.x + (t.area.w - w) / 2
                                                : t.area.x + t.area.w - w;
    return {x, t.area.y + (t.area.h - h) / 2, w, h};
}
bool overlap(const Area& a, const Area& b) {
    constexpr double e = 0.05;
    return a.x + e < b.x + b.w && b.x + e < a.x + a.w && a.y + e < b.y + b.h && b.y + e < a.y + a.h;
}
bool inside(const Area& a, const Area& outer) {
    constexpr double e = 0.05;
    return a.x >= outer.x - e && a.y >= outer.y - e && a.x + a.w <= outer.x + outer.w + e &&
           a.y + a.h <= outer.y + outer.h + e;
}
std::string joined(const std::vector<Page>& pages) {
    std::string out;
    for (const Page& p : pages)
        for (const PageText& t : p.texts)
            out += t.text;
    return out;
}
std::string unwrapped(std::string text) {
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

TEST_F(PrintPages, FormsFilledToTheirWidthsPrintEveryTextWholeInsideItsCell) {
    addFullRecord("2024000001", "1");
    addFullRecord("2024000002", "2");
    OutputLabels labels(db());
    for (const auto& [number, form] : {std::pair{"2024000001", PrintedForm::Applied},
                                       std::pair{"2024000002", PrintedForm::Basic}}) {
        const PrintRecord record = load(number);
        for (const PageEntry& entry : customPages(form)) {
            const auto pages = buildPages(record, labels, form, entry);
            for (size_t n = 0; n < pages.size(); ++n) {
                const Page& p = pages[n];
                const std::string where = entry.caption + " sheet " + std::to_string(n + 1) + ": ";
                std::vector<Area> inks;
                for (const PageText& t : p.texts) {
                    if (t.text.empty()) continue;
                    const Area ink = inkOf(t);
                    EXPECT_GE(t.size, 8) << where << t.text;
                    EXPECT_TRUE(inside(ink, {0, 0, kPageWidth, kPageHeight})) << where << t.text;
                    for (const Area& cell : p.cells)
                        if (cell.h > 0 && overlap(ink, cell))
                            EXPECT_TRUE(inside(ink, cell)) << where << t.text;
                    for (const PageMark& mark : p.marks)
                        EXPECT_FALSE(overlap(ink, mark.area)) << where << t.text;
                    for (const Area& other : inks)
                        EXPECT_FALSE(overlap(ink, other)) << where << t.text;
                    inks.push_back(ink);
                }
            }
        }
        // Texts complete: every long value is printed whole, in order.
        const auto text = [&](const std::string& caption) {
            const auto& entries = customPages(form);
            const auto it = std::find_if(entries.begin(), entries.end(),
                                         [&](const PageEntry& e) { return e.caption == caption; });
            return joined(buildPages(record, labels, form, *it));
        };
        const bool applied = form == PrintedForm::Applied;
        const std::string completers = text(applied ? "10" : "8");
        for (const FieldText& c : record.completers) {
            EXPECT_NE(completers.find(c("item_186")), std::string::npos) << c("item_186");
            EXPECT_NE(completers.find(c("item_185")), std::string::npos) << c("item_185");
        }
        const std::string committee = text(applied ? "11" : "9");
        for (const FieldText& m : record.committee)
            EXPECT_NE(committee.find(m("item_195")), std::string::npos) << m("item_195");
        const std::string organizations = text(applied ? "7" : "5");
        for (size_t i = 0; i < 8; ++i)
            EXPECT_NE(organizations.find(record.organizations[i]("item_171")), std::string::npos);
        EXPECT_NE(text(applied ? "9" : "7").find(unwrapped(record.field("item_13_1"))),
                  std::string::npos);
    }
}

TEST(PageWriter, CellsWrapTheirTextAndRowsGrowWithIt) {
    PageWriter writer(9);
    const std::string longText(120, 'a');
    const double one = writer.rowHeight({textCell(50, "短")});
    const double many = writer.rowHeight({textCell(50, longText)});
    EXPECT_GT(many, 3 * one / 2);
    writer.row({textCell(50, longText, "v")});
    std::string joined;
    for (const PageText& t : writer.page().texts) {
        EXPECT_LE(t.area.x + t.area.w, 51.01);
        joined += t.text;
    }
    EXPECT_EQ(joined, longText);
    // A row keeps the size of its texts and grows to hold them.
    PageWriter grown(9);
    grown.row({textCell(20, std::string(30, 'b'))}, 8);
    ASSERT_GT(grown.page().texts.size(), 1u);
    for (const PageText& t : grown.page().texts) {
        EXPECT_EQ(t.size, 9);
        EXPECT_LE(t.area.y + t.area.h, grown.y() + 0.01);
    }
    EXPECT_GT(grown.y(), 8);
}

// The lines of one cell `chars` body characters wide, joined by "/", a mark box as "□".
std::string brokenLines(std::vector<Run> runs, double chars) {
    PageWriter writer(9);
    writer.row({Cell{chars * 9 * 25.4 / 72 + 2.001, std::move(runs), Align::Left, true}});
    // Texts and boxes of one line share their middle.
    std::vector<std::tuple<long, double, std::string>> pieces;
    const auto middle = [](const Area& a) { return std::lround((a.y + a.h / 2) * 100); };
    for (const PageText& t : writer.page().texts)
        pieces.push_back({middle(t.area), t.area.x, t.text});
    for (const PageMark& m : writer.page().marks)
        pieces.push_back({middle(m.area), m.area.x, "□"});
    std::sort(pieces.begin(), pieces.end());
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0 && std::get<0>(pieces[i]) != std::get<0>(pieces[i - 1])) out += "/";
        out += std::get<2>(pieces[i]);
    }
    return out;
}

TEST(PageWriter, LinesBreakByTheRulesOfChineseTypesetting) {
    const struct {
        const char* text;
        double chars;
        const char* lines;
    } cases[] = {
        // A bracketed hint stays whole.
        {"11．所属高新技术领域（单选）", 12.6, "11．所属高新技术领域/（单选）"},
        {"8．未应用或停用原因（单选）", 12.6, "8．未应用或停用原因/（单选）"},
        {"1．课题来源（单选）", 12.6, "1．课题来源（单选）"},
        // No line starts with a closing mark: the character before it goes down with it.
        {"统计调查对象必须依照本法和国家有关规定、真实准确", 19,
         "统计调查对象必须依照本法和国家有关规/定、真实准确"},
        {"应当予以保密。第九条", 6, "应当予以保/密。第九条"},
        {"真实、准确、完整、及时", 5, "真实、准/确、完整、/及时"},
        // No line ends with an opening mark; a long bracketed text may break inside.
        {"研究所（国家重点实验室）", 4, "研究所/（国家重/点实验/室）"},
        // No character stands alone on the last line.
        {"电力电子与电机系统", 8, "电力电子与电机/系统"},
        {"电力电子与电机系", 8, "电力电子与电机系"},
        // Latin words and numbers stay whole where they fit.
        {"电话 027-87543210", 10, "电话 027-87543210"},
        {"电话 027-87543210", 9, "电话 /027-87543210"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brokenLines({textRun(c.text)}, c.chars), c.lines) << c.text;
    // An opening bracket before a mark box that goes onto the next line goes with it.
    xb::output::Run box;
    box.text = "高技术研究发展计划";
    box.mark = "QL_ITEM_140_1";
    EXPECT_EQ(brokenLines({textRun("国家科技计划（"), box}, 12),
              "国家科技计划/（□高技术研究发展计划");
}

} // namespace

TEST(PdfTextLayer, RadicalsInTheCharacterMapsBecomeTheirIdeographs) {
    const QByteArray pdf = "1 0 obj <2F08> stream\n"
                           "begincmap\n"
                           "2 beginbfrange\n"
                           "<2F08> <2F0A> [<2F08> <4E2D> <2EA0>]\n"
                           "<2F0B> <2F0B> <2F08>\n"
                           "endbfrange\n"
                           "1 beginbfchar\n"
                           "<2EA0> <2EA0>\n"
                           "endbfchar\n"
                           "endcmap\n"
                           "<2F08> after\n";
    const auto ideographs = [](char16_t radical) -> char16_t {
        return radical == 0x2F08 ? 0x4EBA : radical == 0x2EA0 ? 0x6C11 : 0;
    };
    const QByteArray fixed = withTrueCharacters(pdf, ideographs);
    EXPECT_EQ(fixed.size(), pdf.size());
    EXPECT_EQ(fixed, QByteArray("1 0 obj <2F08> stream\n"
                                "begincmap\n"
                                "2 beginbfrange\n"
                                "<2F08> <2F0A> [<4EBA> <4E2D> <6C11>]\n"
                                "<2F0B> <2F0B> <4EBA>\n"
                                "endbfrange\n"
                                "1 beginbfchar\n"
                                "<2EA0> <6C11>\n"
                                "endbfchar\n"
                                "endcmap\n"
                                "<2F08> after\n"));
}
