// A Word document (.docx) opened from a template, its bookmarks filled with text and saved as a
// new file. Text goes in at the end of a bookmark, so texts given one after another to the
// same bookmark follow each other; a new run takes the formatting of the text beside the
// bookmark, and a CR (or LF, or CR LF) in a text starts a new paragraph.
#pragma once

#include "store/result.h"

#include <memory>
#include <string>
#include <vector>

namespace pugi {
class xml_document;
}

namespace xb::output {

class DocxDocument {
  public:
    ~DocxDocument();
    DocxDocument(DocxDocument&&) noexcept;
    DocxDocument& operator=(DocxDocument&&) noexcept;

    // Reads the document of the .docx at `path`; fails when it is no readable Word document.
    static store::Result<DocxDocument> open(const std::string& path);

    // The names of the bookmarks in document order, duplicates included.
    std::vector<std::string> bookmarkNames() const;
    bool hasBookmark(const std::string& name) const;
    // Inserts the text at the end of the bookmark; false when there is no such bookmark.
    bool insertAfter(const std::string& bookmark, const std::string& text);

    // Writes the template's package with the changed document to `path` (created or replaced).
    store::Status saveAs(const std::string& path) const;

  private:
    DocxDocument(std::string templatePath, std::unique_ptr<pugi::xml_document> xml);

    std::string templatePath_;
    std::unique_ptr<pugi::xml_document> xml_;
};

} // namespace xb::output
