// Export of achievement records as the exchange package cgsbqy.arj, the file a research office
// hands in for registration.
//
// The seven text files are written and packed in a private folder inside the target folder, and
// the finished package then replaces any older one in a single rename. So the target folder
// never holds a half-written package or stray text files, a failure at any step leaves an older
// package as it was, and files of the same names that the user keeps there are not touched.
#pragma once

#include "archiver.h"
#include "store/database.h"
#include "store/result.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace xb::exchange {

// The name of the package in the target folder.
inline const QString PackageFileName = QStringLiteral("cgsbqy.arj");
// The longest target folder text the export accepts, in characters.
inline constexpr int MaxTargetFolderLength = 7000;

// The target folder as messages show it: the text trimmed of blanks, in the platform's form,
// with a trailing separator.
QString targetFolderPrefix(const QString& folderText);
// The package already in `folder`, under any letter case; empty when there is none.
QString existingPackagePath(const QString& folder);

// Called as the export goes on: `done` of `total` steps.
using ExportProgress = std::function<void(int done, int total)>;

// Writes the achievement records at `records` (physical rows of kjcg, in the order to export),
// their child rows, the own-organization profile and its subject leaders as exchange files,
// packs them with the archiver into `folder`/cgsbqy.arj (replacing an older package) and then
// sets the export flag of the exported records. Yields the package's path.
//
// An error leaves the tables unchanged and any older package in place. Only a failure to write
// the flags comes after the package is in place; its message says so.
store::Result<QString> exportPackage(store::Database& db, const Archiver& archiver,
                                     const QString& folder, const std::vector<uint32_t>& records,
                                     const ExportProgress& progress = {});

} // namespace xb::exchange
