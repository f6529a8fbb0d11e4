// The patents of an achievement: rows of `zlqk` tied to the achievement record by its key
// (`item_4`, `item_dqdm`), listed in stored order and numbered 1 to n in `ITEM_NO`; and what the
// intellectual property page derives from them.
#pragma once

#include "forms/check_failure.h"
#include "store/database.h"

#include <QString>
#include <optional>

namespace xb::pages {

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

// One patent as the entry dialog holds it: the chosen codes ("" when none is chosen) and the
// two texts.
struct PatentEntry {
    QString status;
    QString type;
    QString number;
    QString name;
};

// The first failing check of an entry, in the dialog's order: 专利状况, 专利类型, 专利号,
// 专利名称. A text of blanks is as empty as no text.
std::optional<forms::CheckFailure> checkPatentEntry(const PatentEntry& entry);

// Appends a patent to the record with the next number, then brings the numbers in order.
store::Status addPatent(store::Database& db, const store::Params& key, const PatentEntry& entry);
// Rewrites the patent stored in physical record `record`; its number and key stay.
store::Status changePatent(store::Database& db, uint32_t record, const PatentEntry& entry);
// Numbers the record's patents 1 to n in stored order; yields the summary of the same pass.
store::Result<PatentSummary> renumberPatents(store::Database& db, const store::Params& key);
// Deletes every patent of the record.
store::Status deletePatents(store::Database& db, const store::Params& key);

} // namespace xb::pages
