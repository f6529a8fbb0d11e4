// The builder of the form's pages, shared by the files that lay out its kinds of pages.
#pragma once

#include "output/form_options.h"
#include "output/output_labels.h"
#include "output/page_writer.h"
#include "output/print_forms.h"
#include "output/print_record.h"

#include <string>
#include <vector>

namespace xb::output {

class FormBuilder {
  public:
    FormBuilder(const PrintRecord& record, OutputLabels& labels, PrintedForm form)
        : r_(record), labels_(labels), form_(form), w_(kCellSize) {}

    std::vector<Page> build(FormPage page);

  private:
    static constexpr double kCellSize = 9;
    // The least height of an item row: one line of body text and a little air, so that a data
    // page with its long values filled still fits its sheet.
    static constexpr double kItemHeight = 6.5;
    static constexpr double kLabelWidth = 42;
    static constexpr double kValueWidth = kPageWidth - kLabelWidth;

    // The record's field, trimmed.
    std::string f(const std::string& field) const;
    Run value(const std::string& field) const;
    // An amount field with two decimals ("1860.50").
    Run amount(const std::string& field) const;
    Run text(const std::string& text, const std::string& name = "") const;
    // The mark runs of a field's options, marked by the field's text.
    std::vector<Run> marks(const std::string& field, bool firstOnNewLine = false) const;

    void formNumberLine();
    void section(const std::string& title);
    void item(const std::string& label, std::vector<Run> runs);
    // Two label/value pairs side by side.
    void pair(const std::string& label1, Run value1, const std::string& label2, Run value2);
    // Label/value pairs across the page, `perRow` pairs to a row.
    void pairs(const std::vector<std::pair<std::string, Run>>& items, int perRow);
    void wordingSection(const std::string& name);
    // The height a fixed wording takes; and the wording kept whole on one sheet.
    double wordingHeight(const std::string& name);
    void wordingTogether(const std::string& name);
    void table(const std::vector<double>& widths, const std::vector<std::string>& cells,
               bool header);

    void cover();
    void wordingPage(const std::string& name);
    void overview();
    void evaluation();
    void firstOrganization(bool withMarks);
    void organizationTable();
    void organizations();
    void approval();
    void summary();
    void completers();
    void committee();
    // A list over pages: `perPage` rows on each page but the last, which holds `lastPage` rows
    // and the notes of `notes`.
    void list(const std::string& title, const std::string& subtitle,
              const std::vector<std::string>& headers, const std::vector<double>& widths,
              const TextRows& rows, int perPage, int lastPage, double rowHeight,
              const std::string& notes);

    const PrintRecord& r_;
    OutputLabels& labels_;
    PrintedForm form_;
    PageWriter w_;
};

} // namespace xb::output
