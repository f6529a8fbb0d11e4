#include "sheets.h"

namespace xb::analysis {
namespace {

const char* categoryLabel(const std::string& code) {
    return code == "1" ? "应用技术" : code == "2" ? "软科学" : code == "3" ? "基础理论" : "";
}

void addTotals(std::vector<Column>& columns) {
    columns.push_back({"成果数", CellKind::Integer, 8});
    for (const AmountField& a : kAmountFields)
        columns.push_back({std::string(a.caption) + "（万元）", CellKind::Number, 12});
    columns.push_back({"授权专利数", CellKind::Integer, 9});
    columns.push_back({"受理专利数", CellKind::Integer, 9});
    columns.push_back({"完成人数", CellKind::Integer, 8});
    columns.push_back({"完整的成果数", CellKind::Integer, 10});
    columns.push_back({"完整率", CellKind::Percent, 8});
}

void addTotals(std::vector<Cell>& row, const Totals& t) {
    row.push_back(static_cast<double>(t.count));
    for (double a : t.amounts)
        row.push_back(a);
    row.push_back(static_cast<double>(t.patentsGranted));
    row.push_back(static_cast<double>(t.patentsAccepted));
    row.push_back(static_cast<double>(t.completers));
    row.push_back(static_cast<double>(t.complete));
    row.push_back(t.completeShare());
}

} // namespace

std::string statisticsTitle(const std::vector<Dimension>& by) {
    std::string title = "按";
    for (size_t i = 0; i < by.size(); ++i)
        title += (i ? "、" : "") + std::string(dimensionInfo(by[i]).caption);
    return title + "统计";
}

Sheet statisticsSheet(const StatisticsTable& table, const std::string& name) {
    Sheet sheet;
    sheet.name = name;
    for (Dimension d : table.by) {
        const DimensionInfo& info = dimensionInfo(d);
        sheet.columns.push_back({info.caption, CellKind::Text, d == Dimension::Year ? 8. : 22.});
        if (info.coded)
            sheet.columns.push_back({std::string(info.caption) + "代码", CellKind::Text, 8});
    }
    addTotals(sheet.columns);
    for (const StatisticsRow& r : table.rows) {
        std::vector<Cell> row;
        for (size_t i = 0; i < table.by.size(); ++i) {
            row.push_back(r.labels[i]);
            if (dimensionInfo(table.by[i]).coded) row.push_back(r.codes[i]);
        }
        addTotals(row, r.totals);
        sheet.rows.push_back(std::move(row));
    }
    std::vector<Cell> total{std::string("合计")};
    for (size_t i = 1; i < sheet.columns.size() && sheet.columns[i].kind == CellKind::Text; ++i)
        total.push_back(std::string());
    addTotals(total, table.total);
    sheet.rows.push_back(std::move(total));
    return sheet;
}

Sheet recordSheet(const std::vector<RecordFacts>& facts, GroupLabels& labels) {
    Sheet sheet;
    sheet.name = "成果列表";
    sheet.columns = {
        {"成果管理编号", CellKind::Text, 13}, {"成果类型", CellKind::Text, 9},
        {"成果类型代码", CellKind::Text, 6},  {"批准登记号", CellKind::Text, 14},
        {"批准登记日期", CellKind::Date, 12}, {"成果名称", CellKind::Text, 40},
        {"第一完成单位", CellKind::Text, 28}, {"第一完成人", CellKind::Text, 10},
        {"成果水平", CellKind::Text, 10},     {"成果水平代码", CellKind::Text, 6},
        {"成果体现形式", CellKind::Text, 10}, {"学科分类", CellKind::Text, 14},
        {"学科分类号", CellKind::Text, 9},    {"应用状态", CellKind::Text, 12},
        {"应用状态代码", CellKind::Text, 6},  {"经费实际投入额（万元）", CellKind::Number, 12},
        {"授权专利数", CellKind::Integer, 8}, {"受理专利数", CellKind::Integer, 8},
        {"完成人数", CellKind::Integer, 8},   {"是否完整", CellKind::Text, 24}};
    output::OutputLabels& out = labels.outputLabels();
    for (const RecordFacts& f : facts) {
        std::vector<Cell> row{f.number,
                              std::string(categoryLabel(f.category)),
                              f.category,
                              f.registrationNumber,
                              f.registered ? Cell(*f.registered) : Cell(),
                              f.name,
                              f.organization,
                              f.firstCompleter,
                              out.label("item_2", f.level),
                              f.level,
                              out.label(f.category == "1" ? "item_123" : "item_210", f.form),
                              out.disciplineName(f.discipline),
                              f.discipline,
                              out.label("item_32", f.application),
                              f.application,
                              f.amounts[0],
                              static_cast<double>(f.patentsGranted),
                              static_cast<double>(f.patentsAccepted),
                              static_cast<double>(f.completers),
                              f.complete ? std::string("完整") : "不完整：" + f.missing};
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

Sheet duplicatesSheet(const std::vector<RecordFacts>& facts,
                      const std::vector<DuplicatePair>& pairs) {
    Sheet sheet;
    sheet.name = "可能重复的成果";
    sheet.columns = {{"相似度", CellKind::Percent, 8}, {"依据", CellKind::Text, 16}};
    for (const char* side : {"甲", "乙"})
        for (const Column& c : std::initializer_list<Column>{{"成果管理编号", CellKind::Text, 13},
                                                             {"年份", CellKind::Text, 6},
                                                             {"成果类型", CellKind::Text, 9},
                                                             {"成果名称", CellKind::Text, 36},
                                                             {"第一完成单位", CellKind::Text, 24},
                                                             {"第一完成人", CellKind::Text, 10},
                                                             {"是否完整", CellKind::Text, 10}})
            sheet.columns.push_back({std::string(side) + c.header, c.kind, c.width});
    for (const DuplicatePair& p : pairs) {
        std::vector<Cell> row{p.similarity,
                              std::string(p.sameTeam ? "同一单位和第一完成人" : "名称相似")};
        for (size_t index : {p.first, p.second}) {
            const RecordFacts& f = facts[index];
            row.insert(row.end(), {f.number, f.year, std::string(categoryLabel(f.category)), f.name,
                                   f.organization, f.firstCompleter,
                                   std::string(f.complete ? "完整" : "不完整")});
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

} // namespace xb::analysis
