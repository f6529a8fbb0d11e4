// The program's windows besides the main window, created once and attached to it.
#pragma once

namespace xb::records {
class TMainForm;
}
namespace xb::store {
class RecordStore;
}

namespace xb::app {

void installPages(records::TMainForm& main, store::RecordStore& store);

} // namespace xb::app
