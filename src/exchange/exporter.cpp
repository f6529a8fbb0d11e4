#include "exporter.h"
#include "exchange/file_errors.h"

#include "export_files.h"
#include "export_flags.h"
#include "folder_files.h"
#include "store/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>

namespace xb::exchange {
namespace {

store::Error failure(const QString& message) {
    return store::fail(message.toStdString());
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Puts the finished package in place of an older one. Older copies whose names differ only in
// letter case go too: the receiving side reads any of them as the package.
store::Status installPackage(const QString& built, const QString& folder) {
    const QString target = QDir(folder).filePath(PackageFileName);
    std::error_code error;
    std::filesystem::rename(fileSystemPath(built), fileSystemPath(target), error);
    if (error)
        return failure(
            QStringLiteral("无法把压缩包保存为 %1：%2")
                .arg(shown(target), QString::fromStdString(store::systemErrorText(error.value()))));
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        if (name != PackageFileName && name.compare(PackageFileName, Qt::CaseInsensitive) == 0)
            QFile::remove(QDir(folder).filePath(name));
    return {};
}

} // namespace

QString targetFolderPrefix(const QString& folderText) {
    QString prefix = QDir::toNativeSeparators(folderText.trimmed());
    if (!prefix.endsWith(QDir::separator())) prefix += QDir::separator();
    return prefix;
}

QString existingPackagePath(const QString& folder) {
    const QString name = findFileIgnoringCase(folder, PackageFileName);
    return name.isEmpty() ? QString() : QDir(folder).filePath(name);
}

store::Result<QString> exportPackage(store::Database& db, const Archiver& archiver,
                                     const QString& folder, const std::vector<uint32_t>& records,
                                     const ExportProgress& progress) {
    if (records.empty()) return failure(QStringLiteral("没有选择要导出的成果记录。"));
    if (!QFileInfo(folder).isDir())
        return failure(QStringLiteral("文件夹“%1”不存在。").arg(shown(folder)));

    const int total = static_cast<int>(records.size()) + ExportFileSteps + 2;
    int done = 0;
    auto step = [&] {
        ++done;
        if (progress) progress(done, total);
    };

    // Beside the target, so that the finished package moves into place by a rename.
    QTemporaryDir work(QDir(folder).filePath(QStringLiteral(".cgsbqy-XXXXXX")));
    if (!work.isValid())
        return failure(QStringLiteral("无法在文件夹“%1”中写入文件：%2")
                           .arg(shown(folder), chineseErrorText(work.errorString())));

    if (auto s = writeExportFiles(db, fileSystemPath(work.path()), records, step); !s)
        return s.error();
    if (auto s = packExchangePackage(archiver, work.path()); !s) return s.error();
    step();
    if (auto s = installPackage(QDir(work.path()).filePath(PackageFileName), folder); !s)
        return s.error();

    const QString package = QDir(folder).filePath(PackageFileName);
    if (auto s = markExported(db, records); !s)
        return failure(QStringLiteral("已生成压缩包 %1，但写入导出标记时出错：%2")
                           .arg(shown(package), QString::fromStdString(s.message())));
    step();
    return package;
}

} // namespace xb::exchange
