// The pages of the form that carry the record's items: 成果概况 and 立项情况, 评价情况 with
// what follows it, and the completing organizations.
#include "output/check_marks.h"
#include "output/form_builder.h"
#include "output/text_parts.h"
#include "store/lookups.h"

#include <algorithm>

namespace xb::output {

void FormBuilder::overview() {
    const bool applied = form_ == PrintedForm::Applied;
    formNumberLine();
    section("一、成果概况");
    item("1．成果名称", {value("item_3")});
    const auto keywords = printedKeywords(r_.field("item_14"));
    const double third = kValueWidth / 3;
    w_.row({textCell(kLabelWidth, "2．关键词"), textCell(third, "① " + keywords[0], "keyword.1"),
            textCell(third, "② " + keywords[1], "keyword.2"),
            textCell(third, "③ " + keywords[2], "keyword.3")},
           kItemHeight);
    int n = 3;
    const auto numbered = [&](const std::string& label) {
        return std::to_string(n++) + "．" + label;
    };
    if (applied) {
        item(numbered("成果体现形式"), marks("item_123"));
        item(numbered("成果属性"), marks("item_125_1"));
        item(numbered("成果所处阶段"), marks("item_16"));
        item(numbered("成果水平"), marks("item_2"));
        item(numbered("转让范围"), marks("item_33"));
        item(numbered("研究形式"), marks("item_201"));
    } else {
        item(numbered("成果体现形式"), marks("item_210"));
        item(numbered("成果水平"), marks("item_2"));
        item(numbered("研究形式"), marks("item_201"));
    }
    const double half = kValueWidth / 2;
    w_.row({textCell(kLabelWidth, numbered("学科分类")),
            textCell(half, "① " + labels_.disciplineName(f("item_15")), "discipline.1"),
            textCell(half, "② " + labels_.disciplineName(f("item_15_1")), "discipline.2")},
           kItemHeight);
    w_.row({textCell(kLabelWidth, numbered("中图分类")),
            textCell(half, "① " + labels_.libraryClass(f("item_12")), "library.1"),
            textCell(half, "② " + labels_.libraryClass(f("item_12_1")), "library.2")},
           kItemHeight);
    if (applied)
        item(numbered("所属高新技术领域（单选）"), marks("item_124_1"));
    else
        item(numbered("社会经济目标（单选）"), marks("item_200"));
    item(numbered("成果应用行业（单选）"), marks("item_125"));

    section("二、立项情况");
    std::vector<Run> source{text("国家科技计划（")};
    for (Run& run : marks("item_140"))
        source.push_back(run);
    source.push_back(text("）"));
    for (Run& run : marks("item_126", true))
        source.push_back(run);
    item("1．课题来源（单选）", source);
    item("2．课题立项名称", {value("item_127_1")});
    item("3．课题立项编号", {value("item_127")});
    section("4．经费实际投入额（万元）");
    pairs({{"总计", amount("item_149")},
           {"国家投入", amount("item_141")},
           {"部门投入", amount("item_148")},
           {"地方投入 合计", amount("item_142")},
           {"其中：省级", amount("item_142_1")},
           {"地级", amount("item_142_2")},
           {"县级", amount("item_142_3")},
           {"基金投入", amount("item_143")},
           {"自有资金", amount("item_144")},
           {"银行贷款", amount("item_243")},
           {"国外资金", amount("item_244")},
           {"其他", amount("item_145")}},
          4);
}

void FormBuilder::evaluation() {
    const bool applied = form_ == PrintedForm::Applied;
    formNumberLine();
    section("三、评价情况");
    item("1．评价方式", marks("item_21"));
    item("2．评价单位", {value("item_130")});
    pair("3．评价日期", value("item_34"), "4．评价报告编号", value("item_22"));
    if (!applied) {
        w_.skip(4);
        firstOrganization(false);
        organizationTable();
        return;
    }

    section("四、知识产权状况");
    std::vector<Run> kinds = marks("item_51");
    kinds.push_back(text("专利类型："));
    kinds.back().newLine = true;
    for (Run& run : marks("patent_ty"))
        kinds.push_back(run);
    item("1．知识产权形式", kinds);
    item("2．专利状况", marks("item_51_1"));
    pair("3．已受理专利项数", value("item_51_2"), "4．已授权专利项数", value("item_51_3"));
    const auto patents = [&](const std::string& label, const std::vector<FieldText>& rows,
                             const std::string& name) {
        section(label);
        // A patent name of 80 bytes takes one line.
        w_.row({textCell(12, "序号", "", Align::Center), textCell(43, "专利号", "", Align::Center),
                textCell(kPageWidth - 55, "专利名称", "", Align::Center)},
               6);
        for (size_t i = 0; i < 6; ++i) {
            const bool has = i < rows.size();
            const std::string no = has ? store::trimmed(rows[i]("patent_no")) : "";
            const std::string title = has ? store::trimmed(rows[i]("patent_nam")) : "";
            w_.row({textCell(12, std::to_string(i + 1), "", Align::Center),
                    textCell(43, no, name + ".no"),
                    textCell(kPageWidth - 55, title, name + ".name")},
                   5.2);
            w_.page().rows.push_back({no, title});
        }
    };
    patents("5．已授权专利情况", r_.granted, "granted");
    patents("6．已受理专利情况", r_.accepted, "accepted");
    pair("6．软件著作权登记号", value("item_53"), "7．软件著作权名称", value("item_52"));

    section("五、成果应用情况");
    item("1．应用状态", marks("item_32"));
    item("2．已转让企业数（个）", {value("item_45")});
    pair("3．技术转让收入（万元）", amount("item_150"), "其中，知识产权技术转让收入（万元）",
         amount("item_162"));
    section("4．自行转化效益（万元）");
    pairs({{"净利润", amount("item_151_1")},
           {"实交税金", amount("item_152_1")},
           {"出口创汇", amount("item_153")},
           {"节约资金", amount("item_154")}},
          4);
    pair("5．预计达产投资", text(labels_.label("item_46", f("item_46")), "ITEM_46"),
         "6．预计达产利税（万元）", text(labels_.label("item_47", f("item_47")), "ITEM_47"));
    item("7．推广形式", marks("item_161"));
    // Each reason of non-use with its detailed reasons on a line of its own.
    std::vector<Run> reasons;
    const std::vector<Run> details = marks("item_160");
    size_t d = 0;
    for (Run reason : marks("item_32_1")) {
        reason.newLine = true;
        reasons.push_back(reason);
        reasons.push_back(text("（"));
        const std::string group = reason.mark.substr(reason.mark.size() - 1);
        for (; d < details.size() && details[d].mark.substr(details[d].mark.size() - 2, 1) == group;
             ++d)
            reasons.push_back(details[d]);
        reasons.push_back(text("）"));
    }
    item("8．未应用或停用原因（单选）", reasons);
}

void FormBuilder::firstOrganization(bool withMarks) {
    const std::string number = withMarks ? "六" : "四";
    section(number + "、成果完成单位情况（此栏涉及到的知识产权问题由填报单位负责）");
    item("第一完成单位名称", {value("item_9")});
    pair("组织机构代码", value("item_420"), "通讯地址", value("item_37"));
    pair("邮政编码", value("item_38"), "电话", value("item_39"));
    pair("传真", value("item_40"), "网址", value("item_60"));
    if (withMarks) {
        std::vector<Run> kinds = marks("item_62");
        kinds.push_back(text("企业（"));
        kinds.back().newLine = true;
        for (Run& run : marks("item_41_3"))
            kinds.push_back(run);
        kinds.push_back(text("）"));
        kinds.push_back(text("科研机构转制型企业："));
        kinds.back().newLine = true;
        for (Run& run : marks("item_163"))
            kinds.push_back(run);
        item("单位属性", kinds);
    } else {
        item("单位属性", {text(labels_.enterpriseOwnership(f("item_62"), f("item_41_3")) +
                                   convertedInstitute(f("item_163")),
                               "ITEM_62")});
    }
    pair("所在省市", text(labels_.provinceName(f("item_64")), "ITEM_64"), "隶属关系",
         text(labels_.ministryName(f("item_63")), "ITEM_63"));
    pair("联系人", value("item_41"), "联系人电话", value("item_41_2"));
    pair("电子信箱", value("item_61"), "成果转让联系人", value("TLinkMan"));
    pair("成果转让联系人电话", value("TLinkManTe"), "成果转让联系人电子信箱", value("TLinkManEm"));
}

void FormBuilder::organizationTable() {
    section("成果合作/协作完成单位情况");
    const std::vector<double> widths{12, 48, 48, 20, 24, 38};
    std::vector<Cell> header;
    for (const char* title : {"序号", "单位名称", "通讯地址", "邮政编码", "联系人", "联系人电话"}) {
        Cell cell = textCell(widths[header.size()], title, "", Align::Center);
        cell.runs[0].bold = true;
        header.push_back(cell);
    }
    w_.row(header, 7);
    for (const std::vector<std::string>& row : organizationRows(r_, form_)) {
        std::vector<Cell> cells;
        for (size_t c = 0; c < widths.size(); ++c)
            cells.push_back(
                textCell(widths[c], row[c], "", c == 1 || c == 2 ? Align::Left : Align::Center));
        // A table that runs over starts its next sheet with its header again.
        if (std::max(w_.rowHeight(cells), 11.0) > w_.room() + 0.01) {
            w_.newPage();
            w_.row(header, 7);
        }
        w_.row(cells, 11);
        w_.page().rows.push_back(row);
    }
}

void FormBuilder::organizations() {
    formNumberLine();
    w_.line("（续表）", 10);
    w_.skip(1);
    firstOrganization(true);
    w_.skip(4);
    organizationTable();
}

} // namespace xb::output
