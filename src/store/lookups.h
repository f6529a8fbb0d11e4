// Code dictionaries and the small text helpers every page uses. A dictionary entry is shown as
// the code, two blanks and the label; the blank entry " " means "no code".
#pragma once

#include "database.h"

#include <array>
#include <string>
#include <vector>

namespace xb::store {

inline constexpr const char* kBlankEntry = " ";
inline constexpr const char* kEntrySeparator = "  ";

// Entries of one `zdxx` dictionary in row order: rows with an empty code or label are left out,
// and so are version-1.0 rows (label beginning with "**") unless `withVersion1` is set. The blank
// entry is appended when `optional` is set.
Result<std::vector<std::string>> dictionaryEntries(Database& db, const std::string& dictionary,
                                                   bool optional, bool withVersion1 = false);
// Entries of a code table (provinces, ministries, plans) from two of its fields.
Result<std::vector<std::string>> codeTableEntries(Database& db, const std::string& table,
                                                  const std::string& codeField,
                                                  const std::string& labelField, bool optional);
// The same for the rows whose `keyField` equals `key` (the plans below one project source).
Result<std::vector<std::string>> codeTableEntries(Database& db, const std::string& table,
                                                  const std::string& codeField,
                                                  const std::string& labelField, bool optional,
                                                  const std::string& keyField,
                                                  const std::string& key);
// The non-null values of one field, in row order.
Result<std::vector<std::string>> columnValues(Database& db, const std::string& table,
                                              const std::string& field);

// The index of the entry whose code (text before the first two-blank separator, trimmed)
// equals `code`: the last such entry; -1 when none does. The blank entry is never chosen.
int entryIndexForCode(const std::vector<std::string>& entries, const std::string& code);
// The code of a chosen entry: its first `width` characters, trimmed of blanks.
std::string entryCode(const std::string& entry, int width);
// The part of an entry or classification box before the first two-blank separator, trimmed.
std::string codeBeforeSeparator(const std::string& text);

// "code  label" of the classification row whose `xxdm` equals the trimmed code, or "".
Result<std::string> classificationText(Database& db, const std::string& table,
                                       const std::string& code);
// The label of a dictionary code, or "" when the dictionary has no such code.
Result<std::string> labelOf(Database& db, const std::string& dictionary, const std::string& code);
// The code whose label is `label` in a dictionary, or "" (the committee role lookup).
Result<std::string> codeOfLabel(Database& db, const std::string& dictionary,
                                const std::string& label);

// Up to three keywords cut at ";": a text without ";" is the first keyword.
std::array<std::string, 3> splitKeywords(const std::string& text);
// Every tab replaced by one blank, as multi-line texts are stored.
std::string replaceTabs(std::string text);
// Every single quote doubled, for names placed inside SQL literals.
std::string quoteForSql(const std::string& text);
// The text trimmed of blanks (ASCII and full-width).
std::string trimmed(const std::string& text);

} // namespace xb::store
