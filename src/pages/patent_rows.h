// The patents of an achievement: rows of `zlqk` tied to the achievement record by its key
// (`item_4`, `item_dqdm`), listed in stored order and numbered 1 to n in `ITEM_NO`; and what the
// intellectual property page derives from them.
#pragma once

#include "forms/check_failure.h"
#include "forms/child_rows.h"
#include "forms/patent_summary.h"
#include "store/database.h"

#include <QString>
#include <optional>

namespace xb::pages {

// The summing up of a record's patents is shared with the main window's print preparation.
using forms::kAcceptedPatent;
using forms::kGrantedPatent;
using forms::kPatentsOfRecord;
using forms::patentParams;
using forms::PatentSummary;
using forms::summarizePatents;

// One patent as the entry dialog holds it, for its checks: the chosen codes ("" when none is
// chosen) and the two texts.
struct PatentEntry {
    QString status;
    QString type;
    QString number;
    QString name;
};

// The first failing check of an entry, in the dialog's order: 专利状况, 专利类型, 专利号,
// 专利名称. A text of blanks is as empty as no text.
std::optional<forms::CheckFailure> checkPatentEntry(const PatentEntry& entry);

// Appends a patent to the record with the next number, its fields written by `entry`, then
// brings the numbers in order.
store::Status addPatent(store::Database& db, const store::Params& key,
                        const forms::RowWriter& entry);
// Rewrites the patent stored in physical record `record`; its number and key stay.
store::Status changePatent(store::Database& db, uint32_t record, const forms::RowWriter& entry);
// Numbers the record's patents 1 to n in stored order; yields the summary of the same pass.
store::Result<PatentSummary> renumberPatents(store::Database& db, const store::Params& key);
// Deletes every patent of the record.
store::Status deletePatents(store::Database& db, const store::Params& key);

} // namespace xb::pages
