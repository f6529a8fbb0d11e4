#include "import_package.h"
#include "exchange/file_errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace xb::exchange {

bool isImportPackagePath(const QString& path) {
    return path.trimmed().endsWith(ImportPackageName, Qt::CaseInsensitive);
}

namespace {

const QString kFolderPrefix = QStringLiteral("xunbao-unpack-");

bool processIsGone(qint64 pid) {
#ifdef Q_OS_UNIX
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#else
    (void)pid;
    return false; // not known here: the folder stays for the system to clear
#endif
}

} // namespace

UnpackedPackage::UnpackedPackage()
    : folder_(QDir(QDir::tempPath())
                  .filePath(kFolderPrefix + QString::number(QCoreApplication::applicationPid()) +
                            QStringLiteral("-XXXXXX"))) {}

void UnpackedPackage::removeLeftFolders() {
    const QDir temp(QDir::tempPath());
    for (const QString& name :
         temp.entryList({kFolderPrefix + QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid =
            name.mid(kFolderPrefix.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&number);
        if (number && processIsGone(pid)) QDir(temp.filePath(name)).removeRecursively();
    }
}

store::Result<std::unique_ptr<UnpackedPackage>>
UnpackedPackage::unpack(const Archiver& archiver, const QString& packagePath) {
    const QString source = packagePath.trimmed();
    if (!QFileInfo(source).isFile())
        return store::fail(
            QStringLiteral("找不到文件 %1。").arg(QDir::toNativeSeparators(source)).toStdString());
    removeLeftFolders();
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
