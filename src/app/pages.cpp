#include "pages.h"

#include "records/main_window.h"

namespace xb::app {

void installPages(records::TMainForm& main, store::RecordStore& store) {
    (void)store;
    records::MainWindowPages pages;
    main.setPages(std::move(pages));
}

} // namespace xb::app
