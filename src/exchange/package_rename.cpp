#include "package_rename.h"
#include "exchange/file_errors.h"

#include "folder_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace xb::exchange {
namespace {

const QString NewPackageName = QStringLiteral("cgsbqy.arj");

store::Error failure(const QString& text) {
    return store::fail(text.toStdString());
}

// Puts the finished package in place of an older one in the same folder: copied beside it under
// a passing name first, so that an older package is only removed once the new one is complete.
store::Status replacePackage(const QString& built, const QString& folder) {
    const QDir target(folder);
    const QString passing = target.filePath(QStringLiteral(".cgsbqy.arj.part"));
    QFile::remove(passing);
    if (!QFile::copy(built, passing))
        return failure(QStringLiteral("无法在文件夹 %1 中写入 %2。")
                           .arg(QDir::toNativeSeparators(folder), NewPackageName));
    const QString older = findFileIgnoringCase(folder, NewPackageName);
    if (!older.isEmpty() && !QFile::remove(target.filePath(older))) {
        QFile::remove(passing);
        return failure(QStringLiteral("无法替换文件 %1。")
                           .arg(QDir::toNativeSeparators(target.filePath(older))));
    }
    if (!QFile::rename(passing, target.filePath(NewPackageName)))
        return failure(QStringLiteral("无法在文件夹 %1 中写入 %2。")
                           .arg(QDir::toNativeSeparators(folder), NewPackageName));
    return {};
}

} // namespace

std::optional<QString> oldPackageUnitCode(const QString& path) {
    const QString name = QFileInfo(path.trimmed()).fileName();
    if (!name.endsWith(QStringLiteral(".ARJ"), Qt::CaseInsensitive)) return std::nullopt;
    const QString base = name.left(name.size() - 4);
    if (!base.startsWith(QStringLiteral("CGSB"), Qt::CaseInsensitive)) return std::nullopt;
    const QString unitCode = base.mid(4);
    if (unitCode.isEmpty() || unitCode.size() > 3) return std::nullopt;
    return unitCode;
}

QStringList oldPackageFiles(const QString& unitCode) {
    QStringList files;
    for (const char* stem : {"KJCG", "CGDW", "CGWCR", "JDMD", "ZLQK"})
        files << QString::fromLatin1(stem) + unitCode + QStringLiteral(".TXT");
    return files;
}

store::Result<QString> renamePackage(const Archiver& archiver, const QString& packagePath) {
    const QFileInfo package(packagePath.trimmed());
    const auto unitCode = oldPackageUnitCode(package.filePath());
    if (!unitCode)
        return failure(QStringLiteral("%1 不是旧格式的数据包。").arg(package.fileName()));
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return failure(
            QStringLiteral("无法建立临时文件夹：%1").arg(chineseErrorText(scratch.errorString())));
    const QDir work(scratch.path());
    if (!QFile::copy(package.filePath(), work.filePath(package.fileName())))
        return failure(
            QStringLiteral("无法读取文件 %1。").arg(QDir::toNativeSeparators(package.filePath())));
    if (store::Status s = archiver.extract(scratch.path(), package.fileName()); !s)
        return s.error();

    const QStringList oldNames = oldPackageFiles(*unitCode);
    const QStringList& newNames = renamedPackageFiles();
    QStringList found;
    for (const QString& oldName : oldNames) {
        const QString name = findFileIgnoringCase(scratch.path(), oldName);
        if (name.isEmpty()) return failure(MissingPackageFilesText);
        found << name;
    }
    for (qsizetype i = 0; i < found.size(); ++i) {
        if (found[i] == newNames[i]) continue;
        const QString to = work.filePath(newNames[i]);
        QFile::remove(to);
        if (!QFile::rename(work.filePath(found[i]), to))
            return failure(QStringLiteral("无法改名文件 %1。").arg(found[i]));
    }
    if (store::Status s = repackRenamedPackage(archiver, scratch.path()); !s) return s.error();
    if (store::Status s = replacePackage(work.filePath(NewPackageName), package.absolutePath()); !s)
        return s.error();
    return QDir(package.absolutePath()).filePath(NewPackageName);
}

} // namespace xb::exchange
