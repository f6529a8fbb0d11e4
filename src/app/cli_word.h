// The word command of xunbao-cli: one Word document of a record, as the print window makes it.
#pragma once

#include "app/cli_commands.h"
#include "store/record_store.h"

#include <string>

namespace xb::app::cli {

// Writes the document `form` (applied, basic, application, certificate) of the record `number`
// to `out`, which must not exist yet.
int wordDocument(store::RecordStore& store, const std::string& number, const std::string& form,
                 const std::string& out, Streams io);

} // namespace xb::app::cli
