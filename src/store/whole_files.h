// Whole files and folders through the file layer, for backups, restores and packs.
#pragma once

#include <string>

namespace xb::store {

// The name of the file `name` in `folder`, whatever its letter case; empty when there is none.
std::string findFile(const std::string& folder, const std::string& name);
// Copies `from` into a new file `to`, byte for byte, and syncs it; yields the error number.
int copyFile(const std::string& from, const std::string& to);
// Reads the whole file `path` into `text`; yields the error number.
int readWholeFile(const std::string& path, std::string& text);
// Writes `text` as the new file `path` and syncs it; yields the error number.
int writeNewFile(const std::string& path, const std::string& text);
// Removes the folder and the files in it; a folder already gone is no error.
int removeFolder(const std::string& folder);

} // namespace xb::store
