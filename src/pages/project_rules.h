// The rules of the project and evaluation page, without widgets: its checks, and the sub-plan list
// that belongs to a project source.
#pragma once

#include "forms/check_failure.h"

#include <optional>

namespace xb::pages {

// What the page shows, as the checks see it.
struct ProjectEntry {
    bool applied = true;          // applied technology: the evaluation form comes from cb_21
    bool evaluationChosen = true; // the shown evaluation form list has a chosen entry
    QString sources;              // the code list of the project sources
    std::optional<QString> sourcesRefused; // the at-most-two message, when the list breaks it
    bool nationalPlan = false;             // 国家计划 is checked
    QString projectNumber;                 // Edt_127
    QString projectName;                   // Edt_127_1
    QString localTotal;                    // 地方投入, computed
    QString total;                         // 总计, computed
    QString year;                          // the evaluation date boxes
    QString month;
    QString day;
};

// The first failing check in the page's order: the evaluation form, the project source (present,
// at most two codes), the number and name of a national-plan project, the length of the two sums,
// then the evaluation date (year 1949 to `currentYear`, month, day, a valid calendar date).
std::optional<forms::CheckFailure> checkProject(const ProjectEntry& entry, int currentYear);

// The source code whose sub-plans a stored source list names: the two characters before its last
// character ("03;" gives "03").
QString subPlanSource(const QString& storedSources);

// The caption of the sub-plan list of a source: "“地方计划”的下属分类".
QString subPlanCaption(const QString& sourceCaption);

} // namespace xb::pages
