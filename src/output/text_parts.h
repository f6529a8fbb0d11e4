// The pieces of stored texts that the printed form and the Word documents show in boxes of their
// own: keywords, the research period, the parts of a date, and columns wrapped to a byte width.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace xb::output {

// Keywords of `item_14` for the Word documents: the texts up to the first, second and third ";"
// (the rest when one is missing), untrimmed.
std::array<std::string, 3> wordKeywords(const std::string& text);
// Keywords for the printed pages: the first two trimmed, the third all the text that remains.
std::array<std::string, 3> printedKeywords(const std::string& text);

// The research period "YYYY.MM   至YYYY.MM" as "YYYY年MM月" start and end (Word documents).
std::array<std::string, 2> wordPeriod(const std::string& period);
// The period in the boxes of the printed cover: start year, start month, end year, end month.
std::array<std::string, 4> coverPeriod(const std::string& period);

// Year, month and day of a date text "yyyy-MM-dd" cut at "-" (printed cover).
std::array<std::string, 3> coverDateParts(const std::string& date);
// Year, month and day of a date text taken by position (approval page: the date as "yyyymmdd",
// appraisal certificate: the "YYYY.MM.DD" text). An empty text gives three empty parts.
std::array<std::string, 3> approvalDateParts(const std::string& date);
std::array<std::string, 3> certificateDateParts(const std::string& date);

// The text cut into lines of at most `width` GBK bytes, never inside a double-byte character;
// each line is followed by CR. A width below 2 is taken as 2 so that every character fits.
std::string wrapLines(const std::string& text, int width);

} // namespace xb::output
