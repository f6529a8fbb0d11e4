// Opens the record store for the application, which writes its data directory for as long as it
// runs. While another program (an import from the command line) writes there, the user is told
// who, and may wait for it to end.
#pragma once

#include "store/record_store.h"

namespace xb::app {

// False when the user chose not to wait: the program ends. Other errors are shown and the
// program goes on with the tables opened so far.
bool openRecordStore(store::RecordStore& store);

} // namespace xb::app
