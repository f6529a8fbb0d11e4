// The import command of xunbao-cli: what the import window does, without the window.
#pragma once

#include "app/cli_commands.h"
#include "store/record_store.h"

#include <string>
#include <vector>

namespace xb::app::cli {

// Imports the package named by `arguments[0]`. `onDuplicate` is "skip" (default), "keep" or
// "ask" (answers y/n read from standard input); `overwrite` replaces stored twins instead.
int importPackage(store::RecordStore& store, const std::vector<std::string>& arguments,
                  bool overwrite, const std::string& onDuplicate, Streams io);

} // namespace xb::app::cli
