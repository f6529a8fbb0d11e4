#include "app/data_location.h"

#include "data_directory.h"
#include "store/writer_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>

#ifndef XB_INSTALLATION_RELATIVE
#define XB_INSTALLATION_RELATIVE "../share/xunbao/installation"
#endif

namespace xb::app {

DataLocation chooseDataLocation(const QString& chosen, const QString& programFolder,
                                const QString& perUserDirectory) {
    if (!chosen.isEmpty()) return {QDir::cleanPath(QDir(chosen).absolutePath()), {}};
    const QString beside = QDir::cleanPath(programFolder + QStringLiteral("/data"));
    const QFileInfo info(beside);
    if (info.isDir() && info.isWritable()) return {beside, {}};
    DataLocation location{QDir::cleanPath(perUserDirectory), {}};
    if (info.exists())
        location.notice = QStringLiteral("程序旁的数据目录 %1 不可写，改用 %2")
                              .arg(QDir::toNativeSeparators(beside),
                                   QDir::toNativeSeparators(location.directory));
    return location;
}

DataLocation dataLocation(const QStringList& arguments) {
    QString chosen;
    for (qsizetype i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == QStringLiteral("--data")) chosen = arguments[i + 1];
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return chooseDataLocation(chosen, QCoreApplication::applicationDirPath(),
                              perUser + QStringLiteral("/data"));
}

QString installationDirectory() {
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {program.filePath(QStringLiteral("installation")),
          QDir::cleanPath(program.filePath(QStringLiteral(XB_INSTALLATION_RELATIVE)))})
        if (QFileInfo(candidate + QStringLiteral("/rows")).isDir()) return candidate;
    return {};
}

store::Status completeDataDirectory(const QString& directory, const QString& installation) {
    const std::string data = directory.toStdString();
    std::error_code ec;
    std::filesystem::create_directories(data, ec);
    if (ec)
        return store::Error{"无法创建数据目录 " +
                            QDir::toNativeSeparators(directory).toStdString() + "：" +
                            ec.message()};
    auto lock = store::WriterLock::take(data, "应用程序 Xunbao");
    if (!lock) return {};
    auto created =
        install::buildDataDirectory(data, install::sourcesIn(installation.toStdString()));
    if (!created) return created.error();
    return {};
}

} // namespace xb::app
