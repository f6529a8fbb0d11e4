#include "import_package.h"
#include "exchange/file_errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace xb::exchange {

bool isImportPackagePath(const QString& path) {
    return path.trimmed().endsWith(ImportPackageName, Qt::CaseInsensitive);
}

store::Result<std::unique_ptr<UnpackedPackage>>
UnpackedPackage::unpack(const Archiver& archiver, const QString& packagePath) {
    const QString source = packagePath.trimmed();
    if (!QFileInfo(source).isFile())
        return store::fail(
            QStringLiteral("找不到文件 %1。").arg(QDir::toNativeSeparators(source)).toStdString());
    std::unique_ptr<UnpackedPackage> package(new UnpackedPackage);
    if (!package->folder_.isValid())
        return store::fail(QStringLiteral("无法建立临时文件夹：%1")
                               .arg(chineseErrorText(package->folder_.errorString()))
                               .toStdString());
    package->removal_.emplace(package->folder().toStdString());
    const QString copy = QDir(package->folder()).filePath(ImportPackageName);
    QFile file(source);
    if (!file.copy(copy))
        return store::fail(
            QStringLiteral("无法读取文件 %1：%2")
                .arg(QDir::toNativeSeparators(source), chineseErrorText(file.errorString()))
                .toStdString());
    if (store::Status s = unpackExchangePackage(archiver, package->folder()); !s) return s.error();
    QFile::remove(copy);
    return package;
}

} // namespace xb::exchange
