// The one contract between the main window and the pages of the form's sections. The main window
// hands over its current record; the page fills itself from it, is shown modally and reports
// whether the section is done: the main window then sets the section's done mark and runs its
// refresh in one place.
#pragma once

#include "store/cursor.h"

namespace xb::forms {

class SectionPage {
  public:
    virtual ~SectionPage() = default;

    // Shows the page for the record the cursor stands on. `categoryPosition` is the main
    // window's category selector (0 applied technology, 1 soft science, 2 basic theory). True
    // when the section is done: a single-record page saved, a list page was left as done.
    virtual bool open(store::Cursor& record, int categoryPosition) = 0;
};

} // namespace xb::forms
