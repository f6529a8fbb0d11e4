// What the printed registration form reads of one achievement record: its fields, its patents by
// state, and the working lists of cooperating organizations, completers and committee members
// as the list pages print them.
#pragma once

#include "output/record_rows.h"
#include "store/database.h"

#include <string>
#include <vector>

namespace xb::output {

// The two printed forms: applied technology (category "1") and basic theory / soft science.
enum class PrintedForm { Applied, Basic };

PrintedForm printedFormOf(const std::string& category);

struct PrintRecord {
    FieldText field;
    std::vector<FieldText> granted;       // zlqk rows with patent_st "2", table order
    std::vector<FieldText> accepted;      // patent_st "1"
    std::vector<FieldText> organizations; // by item_176
    std::vector<FieldText> completers;    // by item_187
    std::vector<FieldText> committee;     // by item_194
};

// Reads the record `number` of `region` and its child rows; fails when there is no such record.
store::Result<PrintRecord> loadPrintRecord(store::Database& db, const std::string& number,
                                           const std::string& region);

using TextRows = std::vector<std::vector<std::string>>;

// Cooperating organizations: 序号, 单位名称, 通讯地址, 邮政编码, 联系人, 联系人电话, trimmed, name
// and address wrapped (24 bytes applied, 20 basic). The applied form always has 8 rows (the
// first 8, then empty ones); the basic form at most 8 and no empty rows.
TextRows organizationRows(const PrintRecord& record, PrintedForm form);

// Completers: 序号, 姓名, 性别, 出生年月, 技术职称, 文化程度, 是否留学归国, 工作单位,
// 对成果创造性贡献, the codes as their labels, followed by one empty row.
TextRows completerRows(const PrintRecord& record, PrintedForm form);

// Committee: 职务, 姓名, 性别, 工作单位, 所学专业, 从事专业, 技术职称, padded with empty rows to
// committeeRowCount().
TextRows committeeRows(const PrintRecord& record, PrintedForm form);
// The rows printed for `members` members: enough to fill the last page of the list.
int committeeRowCount(int members, PrintedForm form);

} // namespace xb::output
