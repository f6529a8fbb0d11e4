#include "output/print_forms.h"

namespace xb::output {

const std::vector<PageEntry>& customPages(PrintedForm form) {
    using P = FormPage;
    static const std::vector<PageEntry> applied{
        {P::Cover, "封面1", "", true},      {P::CoverNotes, "封面2", ""},
        {P::FillingNotes, "1", "1"},        {P::WritingNotes, "2", "2"},
        {P::Overview, "3", "3", true},      {P::EvaluationNotes, "4", "4"},
        {P::Evaluation, "5", "5", true},    {P::OrganizationNotes, "6", "6"},
        {P::Organizations, "7", "7", true}, {P::Approval, "8", "8", true},
        {P::Summary, "9", "9", true},       {P::Completers, "10", "10", true},
        {P::Committee, "11", "11", true},   {P::ProductAnnex, "12", "12"},
        {P::CodeAnnex, "13", "13"},
    };
    static const std::vector<PageEntry> basic{
        {P::Cover, "封面1", "", true},   {P::CoverNotes, "封面2", ""},
        {P::FillingNotes, "1", "1"},     {P::WritingNotes, "2", "2"},
        {P::Overview, "3", "3", true},   {P::EvaluationNotes, "4", "4"},
        {P::Evaluation, "5", "5", true}, {P::Approval, "6", "6", true},
        {P::Summary, "7", "7", true},    {P::Completers, "8", "8", true},
        {P::Committee, "9", "9", true},  {P::GoalAnnex, "10", "10"},
        {P::IndustryAnnex, "11", "11"},
    };
    return form == PrintedForm::Applied ? applied : basic;
}

const std::vector<PageEntry>& directPages(PrintedForm form) {
    using P = FormPage;
    static const std::vector<PageEntry> applied{
        {P::Cover, "封面", "", true},
        {P::Overview, "成果概况，立项情况", "1", true},
        {P::Evaluation, "评价情况，知识产权状况，成果应用情况", "2", true},
        {P::Organizations, "成果完成单位情况", "3", true},
        {P::Approval, "批准登记单位意见", "4", true},
        {P::Summary, "成果简介", "5", true},
        {P::Completers, "成果完成人员名单", "6", true},
        {P::Committee, "评价委员会名单", "7", true},
    };
    static const std::vector<PageEntry> basic{
        {P::Cover, "封面", "", true},
        {P::Overview, "成果概况，立项情况", "1", true},
        {P::Evaluation, "评价情况，成果完成单位情况", "2", true},
        {P::Approval, "批准登记单位意见", "3", true},
        {P::Summary, "成果简介", "4", true},
        {P::Completers, "成果完成人员名单", "5", true},
        {P::Committee, "评价委员会名单", "6", true},
    };
    return form == PrintedForm::Applied ? applied : basic;
}

std::string formSubtitle(PrintedForm form) {
    return form == PrintedForm::Applied ? "（应用技术类成果）" : "（基础理论、软科学类成果）";
}

std::string formNumber(PrintedForm form) {
    return form == PrintedForm::Applied ? "CG-002" : "CG-001";
}

std::string formPanelCaption(PrintedForm form) {
    return form == PrintedForm::Applied ? "应用技术成果" : "“基础理论、软科学类”成果";
}

} // namespace xb::output
