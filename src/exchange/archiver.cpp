#include "archiver.h"
#include "exchange/file_errors.h"

#include "arj_headers.h"
#include "arj_output.h"
#include "folder_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace xb::exchange {
namespace {

const QString ProgramName = QStringLiteral("arj");
constexpr int StartTimeoutMs = 30 * 1000;
constexpr int KillTimeoutMs = 5 * 1000;

store::Error failure(const QString& message) {
    return store::fail(message.toStdString());
}

store::Error missingFolder(const QString& folder) {
    return failure(QStringLiteral("文件夹“%1”不存在。").arg(QDir::toNativeSeparators(folder)));
}

QString minutesText(std::chrono::milliseconds timeout) {
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(timeout).count();
    if (minutes >= 1) return QStringLiteral("%1 分钟").arg(minutes);
    return QStringLiteral("%1 秒").arg(
        std::chrono::duration_cast<std::chrono::seconds>(timeout).count());
}

} // namespace

Archiver::Archiver() : Archiver(findProgram()) {}

Archiver::Archiver(QString program, std::chrono::milliseconds timeout)
    : program_(std::move(program)), timeout_(timeout) {}

QString Archiver::findProgram() {
    if (QCoreApplication::instance()) {
        const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(ProgramName));
        if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(ProgramName);
}

store::Result<Archiver::Outcome> Archiver::run(const QString& folder,
                                               const QStringList& arguments) const {
    const QFileInfo program(program_);
    if (program_.isEmpty() || !program.isFile() || !program.isExecutable())
        return failure(QStringLiteral("找不到压缩程序 arj，请把它放在本程序所在的文件夹中，"
                                      "或安装到系统中。"));
    if (!QFileInfo(folder).isDir()) return missingFolder(folder);

    QProcess process;
    process.setProgram(program_);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // With no input arj cannot be held by a question: one it cannot answer ends the run.
    process.setStandardInputFile(QProcess::nullDevice());
    // ARJ_SW adds default switches of the user's own; these calls must behave the same everywhere.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("ARJ_SW"));
    process.setProcessEnvironment(environment);

    process.start();
    if (!process.waitForStarted(StartTimeoutMs))
        return failure(QStringLiteral("无法启动压缩程序 arj：%1")
                           .arg(chineseErrorText(process.errorString())));
    if (!process.waitForFinished(static_cast<int>(timeout_.count()))) {
        process.kill();
        process.waitForFinished(KillTimeoutMs);
        return failure(
            QStringLiteral("压缩程序 arj 在 %1内没有结束，已被终止。").arg(minutesText(timeout_)));
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return failure(QStringLiteral("压缩程序 arj 异常终止。"));
    return Outcome{process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

namespace {

store::Error exitFailure(const QString& archive, int exitCode, const QString& output) {
    QString message =
        QStringLiteral("压缩程序 arj 处理 %1 时出错：%2").arg(archive, arjExitStatusText(exitCode));
    const QString details = arjDiagnostics(output);
    if (!details.isEmpty()) message += QStringLiteral("（%1）").arg(details);
    return failure(message + QStringLiteral("。"));
}

} // namespace

store::Result<QString> Archiver::existingArchive(const QString& folder,
                                                 const QString& archive) const {
    const QString name = findFileIgnoringCase(folder, archive);
    if (name.isEmpty())
        return failure(QStringLiteral("找不到压缩包 %1。")
                           .arg(QDir::toNativeSeparators(QDir(folder).filePath(archive))));
    return name;
}

store::Status Archiver::add(const QString& folder, const QString& archive,
                            const QStringList& files) const {
    if (!QFileInfo(folder).isDir()) return missingFolder(folder);
    QStringList arguments{QStringLiteral("a")};
    // Names are matched as on the systems the packages come from, without regard to case.
    const QString existing = findFileIgnoringCase(folder, archive);
    const QString target = existing.isEmpty() ? archive : existing;
    arguments << target;
    for (const QString& file : files) {
        const QString name = findFileIgnoringCase(folder, file);
        if (name.isEmpty())
            return failure(QStringLiteral("找不到要压缩的文件 %1。")
                               .arg(QDir::toNativeSeparators(QDir(folder).filePath(file))));
        arguments << name;
    }

    const QString archivePath = QDir(folder).filePath(target);
    // A package that a failed run began must not pass for a finished one.
    auto discardPartial = [&] {
        if (existing.isEmpty()) QFile::remove(archivePath);
    };
    auto outcome = run(folder, arguments);
    if (!outcome) {
        discardPartial();
        return outcome.error();
    }
    if (outcome->exitCode != 0) {
        discardPartial();
        return exitFailure(target, outcome->exitCode, outcome->output);
    }
    if (!QFileInfo(archivePath).isFile())
        return failure(QStringLiteral("压缩程序 arj 没有生成压缩包 %1。").arg(target));
    return {};
}

QString unsafeMemberReason(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("文件名为空");
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return QStringLiteral("文件名含有控制字符");
    if (name.contains(u'/') || name.contains(u'\\')) return QStringLiteral("文件名含有路径");
    if (name.size() >= 2 && name.at(1) == u':') return QStringLiteral("文件名含有驱动器");
    if (name == u"." || name == u"..") return QStringLiteral("文件名含有“..”");
    return {};
}

store::Status Archiver::extract(const QString& folder, const QString& archive,
                                const QStringList& expectedFiles) const {
    auto name = existingArchive(folder, archive);
    if (!name) return name.error();
    // Names with folders make arj write outside the folder or loop for ever.
    auto members = list(folder, *name);
    if (!members) return members.error();
    for (const QString& member : *members)
        if (const QString reason = unsafeMemberReason(member); !reason.isEmpty())
            return failure(
                QStringLiteral("压缩包 %1 中的文件“%2”%3，不能解压，压缩包的内容不正确。")
                    .arg(*name, member, reason));
    // "-y": arj asks before it replaces a file of the same name, and with no input it takes the
    // unanswered question for a failure. Callers remove older copies they care about first.
    auto outcome = run(folder, {QStringLiteral("e"), *name, QStringLiteral("-y")});
    if (!outcome) return outcome.error();
    if (outcome->exitCode != 0) return exitFailure(*name, outcome->exitCode, outcome->output);
    for (const QString& expected : expectedFiles)
        if (findFileIgnoringCase(folder, expected).isEmpty())
            return failure(QStringLiteral("压缩包 %1 中没有文件 %2，压缩包的内容不正确。")
                               .arg(*name, expected));
    return {};
}

store::Result<QStringList> Archiver::list(const QString& folder, const QString& archive) const {
    auto name = existingArchive(folder, archive);
    if (!name) return name.error();
    QFile file(QDir(folder).filePath(*name));
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("无法读取压缩包 %1：%2")
                           .arg(*name, chineseErrorText(file.errorString())));
    auto names = arjMemberNames(file.readAll());
    if (!names)
        return failure(QStringLiteral("压缩包 %1 不能解压：%2。")
                           .arg(*name, QString::fromStdString(names.message())));
    return *names;
}

const QStringList& exchangePackageFiles() {
    static const QStringList files{QStringLiteral("KJCG.TXT"),  QStringLiteral("CGWCDW.TXT"),
                                   QStringLiteral("CGWCR.TXT"), QStringLiteral("JDWYHMD.TXT"),
                                   QStringLiteral("ZLQK.TXT"),  QStringLiteral("UNIT.TXT"),
                                   QStringLiteral("EXPERT.TXT")};
    return files;
}

const QStringList& renamedPackageFiles() {
    static const QStringList files = exchangePackageFiles().mid(0, 5);
    return files;
}

store::Status packExchangePackage(const Archiver& archiver, const QString& folder) {
    return archiver.add(folder, QStringLiteral("cgsbqy.arj"), exchangePackageFiles());
}

store::Status unpackExchangePackage(const Archiver& archiver, const QString& folder) {
    return archiver.extract(folder, QStringLiteral("CGSBQY.ARJ"));
}

store::Status unpackOldPackage(const Archiver& archiver, const QString& folder,
                               const QString& packageFileName, const QStringList& expectedFiles) {
    return archiver.extract(folder, packageFileName, expectedFiles);
}

store::Status repackRenamedPackage(const Archiver& archiver, const QString& folder) {
    return archiver.add(folder, QStringLiteral("cgsbqy.arj"), renamedPackageFiles());
}

QString dictionaryPackageName(DictionaryPackage package) {
    switch (package) {
    case DictionaryPackage::ProjectSources:
        return QStringLiteral("DFJHXX.ARJ");
    case DictionaryPackage::LibraryClassification:
        return QStringLiteral("ZTFLB.ARJ");
    case DictionaryPackage::DisciplineClassification:
        return QStringLiteral("XKFLB.ARJ");
    case DictionaryPackage::Ministries:
        return QStringLiteral("LSBWB.ARJ");
    }
    return {};
}

QString dictionaryTextFileName(DictionaryPackage package) {
    switch (package) {
    case DictionaryPackage::ProjectSources:
        return QStringLiteral("DFJHXX.TXT");
    case DictionaryPackage::LibraryClassification:
        return QStringLiteral("ZTFL.TXT");
    case DictionaryPackage::DisciplineClassification:
        return QStringLiteral("XKFL.TXT");
    case DictionaryPackage::Ministries:
        return QStringLiteral("LSBW.TXT");
    }
    return {};
}

store::Status unpackDictionaryPackage(const Archiver& archiver, const QString& folder,
                                      DictionaryPackage package) {
    return archiver.extract(folder, dictionaryPackageName(package),
                            {dictionaryTextFileName(package)});
}

} // namespace xb::exchange
