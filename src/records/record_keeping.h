// Operations on achievement records that several windows share: numbering, re-keying child rows,
// category clearing, deleting a record with its children, list numbering, the year list and the
// preparation of a record for printing. All report engine errors as values.
#pragma once

#include "store/cursor.h"
#include "store/database.h"

#include <string>
#include <string_view>
#include <vector>

namespace xb::records {

// The child tables of an achievement record, in the order they are changed and deleted.
const std::vector<std::string>& childTables();

// Whether the text is a record number: ten digits, the year then the sequence number.
bool isRecordNumber(std::string_view text);
// The record number after `number` in its year; refused when the year's numbers are used up.
store::Result<std::string> followingRecordNumber(const std::string& number);

// The next record number of a year: the greatest number of the year plus one, or the year
// followed by "000001" for its first record. Refused when the year's numbers are used up.
store::Result<std::string> nextRecordNumber(store::Database& db, const std::string& year);

// Gives every child row of `oldNumber` the record key (`newNumber`, ".").
store::Status rekeyChildren(store::Database& db, const std::string& oldNumber,
                            const std::string& newNumber);

// In the edit buffer of `record`: the category code, and the fields of the former category
// emptied (the evaluation form only where the new category has no such code).
store::Status applyCategory(store::Cursor& record, const std::string& category);

// Deletes the record's child rows, then the record itself, selected by its record key.
store::Status deleteRecord(store::Database& db, const std::string& number,
                           const std::string& region);

// Writes each row's 1-based position into `NO`; rows that already hold it are not rewritten.
store::Status numberList(store::Cursor& list);

// The years of the stored records, newest first, each once.
store::Result<std::vector<std::string>> yearEntries(store::Database& db);

// `ITEM_51` made to end its code list with ";" (written and posted only when it changes).
store::Status normalizeIntellectualProperty(store::Cursor& record);
// When the record has patents and both `ITEM_51_1` and `patent_ty` are empty, both are derived
// from the patents and posted. Yields whether anything was written.
store::Result<bool> derivePatentSummary(store::Database& db, store::Cursor& record);

} // namespace xb::records
