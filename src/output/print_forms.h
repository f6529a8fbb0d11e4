// The pages of the two printed registration forms: the custom panel's page buttons with the
// numbers the preview prints, and the direct-print panel's buttons with the renumbered pages.
#pragma once

#include "output/print_record.h"

#include <string>
#include <vector>

namespace xb::output {

enum class FormPage {
    Cover,
    CoverNotes,
    FillingNotes,
    WritingNotes,
    Overview,        // 一、成果概况, 二、立项情况
    EvaluationNotes, // instructions of 三、评价情况
    Evaluation,      // 三、评价情况 and what follows it
    OrganizationNotes,
    Organizations, // 六、成果完成单位情况 (applied)
    Approval,
    Summary,
    Completers,
    Committee,
    ProductAnnex,  // 附件三：国家高新技术产品目录
    CodeAnnex,     // 附件四, 附件五 (applied)
    GoalAnnex,     // 附件三：社会经济目标 (basic)
    IndustryAnnex, // 附件四：国民经济行业分类 (basic)
};

struct PageEntry {
    FormPage page;
    std::string caption; // the button's caption
    std::string number;  // the printed page number; empty on the cover pages
    bool body = false;   // a page with the record's data (its button is marked "*")
};

// The page buttons of the custom panel, in the order of the form.
const std::vector<PageEntry>& customPages(PrintedForm form);
// The buttons of the direct-print panel: only the pages with data, renumbered.
const std::vector<PageEntry>& directPages(PrintedForm form);

// "（应用技术类成果）" or "（基础理论、软科学类成果）".
std::string formSubtitle(PrintedForm form);
// "CG-002" (applied) or "CG-001".
std::string formNumber(PrintedForm form);
// The custom panel's caption: "应用技术成果" or "“基础理论、软科学类”成果".
std::string formPanelCaption(PrintedForm form);

} // namespace xb::output
