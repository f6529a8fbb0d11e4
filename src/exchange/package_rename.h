// Package renaming: an exchange package of the older form CGSBxxx.ARJ (xxx the unit code) holds
// KJCGxxx.TXT, CGDWxxx.TXT, CGWCRxxx.TXT, JDMDxxx.TXT and ZLQKxxx.TXT; it is repacked as
// cgsbqy.arj with the files under the names the import reads.
#pragma once

#include "archiver.h"
#include "store/result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace xb::exchange {

// The message for an old package that lacks one of its five files.
inline const QString MissingPackageFilesText = QStringLiteral("包内文件不正确，可能有缺失!");

// The unit code of an old package: its file name, less folder and extension, must be "CGSB"
// followed by one to three characters, and the name must end in ".ARJ" (letter case ignored).
std::optional<QString> oldPackageUnitCode(const QString& path);

// The five files of an old package with this unit code, in the order of renamedPackageFiles().
QStringList oldPackageFiles(const QString& unitCode);

// Unpacks the old package at `packagePath` in a private folder, renames its five files and packs
// them as cgsbqy.arj, which then replaces any cgsbqy.arj in the old package's folder. Yields the
// new package's path. A package lacking one of its files gives MissingPackageFilesText; the
// folder of the old package is left as it was on every failure.
store::Result<QString> renamePackage(const Archiver& archiver, const QString& packagePath);

} // namespace xb::exchange
