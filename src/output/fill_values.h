// What goes into a Word document: for one achievement record and one document, the bookmarks in
// the order they are filled, each with its text. A bookmark may come more than once only if
// the document's order names it more than once; row tables give numbered bookmarks
// ("item_180_1", "item_180_2", ...) up to their row limits.
#pragma once

#include "output/word_forms.h"
#include "store/database.h"

#include <string>
#include <vector>

namespace xb::output {

struct BookmarkValue {
    std::string bookmark;
    std::string text; // "\r" starts a new paragraph

    bool operator==(const BookmarkValue&) const = default;
};

// The values of the record `number` (region `region`) for `form`, in filling order. Fails when
// the record does not exist or a table cannot be read.
store::Result<std::vector<BookmarkValue>> fillValues(store::Database& db, const std::string& number,
                                                     const std::string& region, WordForm form);

// The bookmarks a template of `form` must carry: every name the filling order can use, each
// once, with the row tables at their full row counts.
std::vector<std::string> templateBookmarks(WordForm form);

// The text followed by one paragraph break when it takes fewer than `bytes` GBK bytes.
std::string withParagraphBreak(const std::string& text, int bytes);

} // namespace xb::output
