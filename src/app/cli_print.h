// The print command of xunbao-cli: the whole registration form of a record as a PDF file, as
// the print window saves it.
#pragma once

#include "app/cli_commands.h"
#include "store/record_store.h"

#include <string>

namespace xb::app::cli {

// Writes every page of the registration form `form` ("applied", "basic", or "" for the form
// of the record's category) of the record `number` to `out`, which must not exist yet. Needs
// a QGuiApplication.
int printForm(store::RecordStore& store, const std::string& number, const std::string& form,
              const std::string& out, Streams io);

} // namespace xb::app::cli
