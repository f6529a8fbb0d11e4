// Where the program finds its data directory and the installation sources it is made from.
// A copy of the build output keeps its data in data/ beside the executable (portable); an
// installed program, whose folder the user may not write, keeps it in the user's own folder.
#pragma once

#include "store/result.h"

#include <QString>
#include <QStringList>

namespace xb::app {

struct DataLocation {
    QString directory; // the data directory in use, without a trailing separator
    QString notice;    // why data/ beside the executable is not used although it is there
};

// The rule, given the folders: `chosen` (--data) when not empty; else data/ in `programFolder`
// when it is a folder the program may write; else `perUserDirectory`, with a notice when a
// data/ beside the executable was passed over.
DataLocation chooseDataLocation(const QString& chosen, const QString& programFolder,
                                const QString& perUserDirectory);

// The data directory of this run: `--data DIR` among `arguments`, the running executable's
// folder and QStandardPaths::AppDataLocation + "/data" (~/.local/share/Xunbao/data).
DataLocation dataLocation(const QStringList& arguments);

// The installation sources (rows/, templates/, welcome.jpg): installation/ beside the executable
// in the build output, else the installed ones (<prefix>/share/xunbao/installation, found from
// the executable's folder); empty when there are none.
QString installationDirectory();

// Adds to `directory` what it lacks of the installation sources in `installation`, as
// `xunbao-cli init` does, creating the directory when needed; nothing present is changed. While
// another program writes the directory nothing is added (the store opening tells the user who).
store::Status completeDataDirectory(const QString& directory, const QString& installation);

} // namespace xb::app
