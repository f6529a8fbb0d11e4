#include "folder_files.h"

#include <QDir>
#include <QFileInfo>

namespace xb::exchange {

QString findFileIgnoringCase(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile()) return name;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files)
        if (file.compare(name, Qt::CaseInsensitive) == 0) return file;
    return {};
}

} // namespace xb::exchange
