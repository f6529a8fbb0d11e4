// What the patents of an achievement add up to: rows of `zlqk` tied to the achievement record by
// its key (`item_4`, `item_dqdm`), counted by state and type.
#pragma once

#include "store/database.h"

#include <QString>

namespace xb::forms {

// The statement that lists a record's patents in stored order; its values come from
// patentParams().
inline constexpr const char* kPatentsOfRecord =
    "select * from zlqk where item_4=:item_4 and item_dqdm=:item_dqdm";
store::Params patentParams(const std::string& number, const std::string& region);
// The key of the achievement record the cursor stands on.
store::Params patentParams(const store::Cursor& record);

// The codes of `patent_st` the page counts.
inline const QString kAcceptedPatent = QStringLiteral("1");
inline const QString kGrantedPatent = QStringLiteral("2");

// What the patents of a record add up to.
struct PatentSummary {
    int rows = 0;                         // patents counted
    int accepted = 0;                     // rows with PATENT_ST "1"
    int granted = 0;                      // rows with PATENT_ST "2"
    bool type[3] = {false, false, false}; // a row of PATENT_TY "1", "2", "3" exists

    // Counts one patent by its stored codes (blanks aside).
    void add(const QString& status, const QString& type);
    // "1;" "2;" "3;" for the types present, in that order ("1;3;"); "" for none.
    QString typeList() const;
    // "3" when any patent is granted, else "2" when any is accepted, else "1".
    QString statusSummary() const;
};

// Reads the patents of a record and sums them up.
store::Result<PatentSummary> summarizePatents(store::Database& db, const store::Params& key);

} // namespace xb::forms
