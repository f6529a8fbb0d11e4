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

// The main items of a record, as the new-record dialog takes them.
struct MainItems {
    std::string year;     // four digits
    std::string category; // "1" applied technology, "2" soft science, "3" basic theory
    std::string name;     // item_3
    std::string unit;     // item_9, the first completing organization
    std::string secrecy;  // item_120
};

// How many records carry this achievement name.
store::Result<int> recordsNamed(store::Database& db, const std::string& name);

// Appends a record under the next number of its year, with `position` in `NO`; yields its
// number. Nothing is stored when a value or the post is refused.
store::Result<std::string> createRecord(store::Database& db, const MainItems& items, int position);

// Changes the main items of record `number`. Another year gives it the next number of that year
// and its child rows follow; when the change is refused they go back. Yields the record's number
// afterwards.
store::Result<std::string> changeMainItems(store::Database& db, const std::string& number,
                                           const MainItems& items);

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
