// A data directory with the built Word templates and complete achievement records to write
// into them, and the independent reader of the written documents.
#pragma once

#include "output/word_forms.h"
#include "support/record_fixture.h"

#include <QJsonObject>

#include <string>

class OutputFixture : public RecordFixture {
  protected:
    void SetUp() override;

    // A record of the category with every section filled: codes, lists, amounts, dates, the
    // first organization, two patents of each state, two cooperating organizations, two
    // committee members and `completers` completers ("完成人1", "完成人2", ...).
    void addCompleteRecord(const std::string& number, const std::string& category,
                           int completers = 3);
    void addCompleters(const std::string& number, int count);
    // A record filled to the widths of its fields: long names, addresses and contributions,
    // 25 completers, 14 committee members, 10 cooperating organizations stored out of order,
    // 8 patents and a summary of 4,000 characters.
    void addFullRecord(const std::string& number, const std::string& category);
    // The template of a form in the data directory.
    std::string templateOf(xb::output::WordForm form) const;
    // Reads a .docx with python-docx: bookmark name -> text inside it.
    QJsonObject readBookmarks(const std::string& docx) const;
    std::string scratch(const std::string& name) const { return dir.file(name); }
};

// Chinese text of exactly `bytes` GBK bytes (`bytes` even), varied by `seed`.
std::string chineseText(int bytes, int seed = 0);

// The folder of the built templates.
std::string builtTemplates();
