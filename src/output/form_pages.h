// The pages of the printed registration form for one record: each page of the form built from
// the record's values, marks and lists, with its printed page number. A page whose contents run
// over (long lists, a long summary) becomes several pages numbered "N--1", "N--2", ...
#pragma once

#include "output/output_labels.h"
#include "output/print_forms.h"
#include "output/print_page.h"
#include "output/print_record.h"

#include <vector>

namespace xb::output {

// The page `entry` of `form`, numbered by the entry (its own number in the preview, the
// renumbered one on the direct-print panel).
std::vector<Page> buildPages(const PrintRecord& record, OutputLabels& labels, PrintedForm form,
                             const PageEntry& entry);
// Every page of a panel's list, in order.
std::vector<Page> buildPages(const PrintRecord& record, OutputLabels& labels, PrintedForm form,
                             const std::vector<PageEntry>& entries);

} // namespace xb::output
