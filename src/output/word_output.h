// Producing one Word document: the record's values filled into the template's bookmarks in
// order, the document written whole (a temporary file renamed into place) and never over an
// existing file.
#pragma once

#include "output/docx_document.h"
#include "output/fill_values.h"

#include <string>

namespace xb::output {

struct FilledDocument {
    DocxDocument document;
    // The first bookmark of the order the template lacks; filling stopped there ("" if none).
    std::string missingBookmark;
};

// Opens the template and fills the values in order, stopping at the first missing bookmark.
store::Result<FilledDocument> fillTemplate(const std::string& templatePath,
                                           const std::vector<BookmarkValue>& values);

// Writes the document to `path`; fails without touching an existing file of that name.
store::Status saveNewFile(const DocxDocument& document, const std::string& path);

// Writes the document into `folder` (created when missing) as `<base>.docx`, or `<base>(2).docx`
// and so on when that name is taken; yields the path written.
store::Result<std::string> saveInFolder(const DocxDocument& document, const std::string& folder,
                                        const std::string& base);

// The template of a form in a data directory, and the base name of its filled documents.
std::string templatePath(const std::string& dataDirectory, WordForm form);
std::string documentBaseName(WordForm form, const std::string& recordNumber);

} // namespace xb::output
