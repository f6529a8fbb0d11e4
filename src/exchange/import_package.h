// A received exchange package unpacked for reading. The package is unpacked in a private folder
// rather than beside it: a package on a read-only medium can be read, files of the same names
// that the user keeps beside the package are left alone, and no text file of an earlier package
// can pass for one of this package.
#pragma once

#include "archiver.h"
#include "folder_on_termination.h"
#include "store/result.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace xb::exchange {

// The file name the import asks for.
inline const QString ImportPackageName = QStringLiteral("CGSBQY.ARJ");

// Whether the chosen path, trimmed of blanks, ends in "CGSBQY.ARJ" (letter case ignored).
bool isImportPackagePath(const QString& path);

class UnpackedPackage {
  public:
    // Copies the package at `packagePath` into a new private folder and extracts it there with
    // the archiver, waiting for its end. Errors carry the archiver's or the system's text.
    static store::Result<std::unique_ptr<UnpackedPackage>> unpack(const Archiver& archiver,
                                                                  const QString& packagePath);

    // The folder holding the extracted text files; removed with this object, and also when the
    // process is terminated meanwhile.
    QString folder() const { return folder_.path(); }

    // Removes the unpack folders that processes killed outright left behind (no handler runs
    // then): a folder names its process, and only folders of processes that are gone go.
    static void removeLeftFolders();

  private:
    UnpackedPackage();
    QTemporaryDir folder_;
    std::optional<RemoveOnTermination> removal_;
};

} // namespace xb::exchange
