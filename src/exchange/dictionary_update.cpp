#include "dictionary_update.h"
#include "exchange/file_errors.h"

#include "exchange_reader.h"
#include "exchange_values.h"
#include "folder_files.h"
#include "store/backup.h"
#include "store/layouts.h"
#include "store/table_file.h"
#include "table_replacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace xb::exchange {
namespace {

store::Error failure(const QString& message) {
    return store::fail(message.toStdString());
}

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

bool hasField(const store::FieldList& fields, const std::string& name) {
    for (const auto& field : fields)
        if (store::sameName(field.name, name)) return true;
    return false;
}

// The fields of the table the new rows go into: those of the dictionary as it stands, so that
// an update never changes a table's structure; the installation's layout when the table is
// missing or unusable.
store::FieldList targetFields(store::Database& db, Dictionary dictionary) {
    const std::string table = dictionaryTable(dictionary);
    if (db.hasTable(table)) {
        auto open = db.openTable(table);
        if (open && (*open)->damage().empty() &&
            checkDictionaryLayout((*open)->fields(), dictionary).ok())
            return (*open)->fields();
    }
    return store::layoutOf(table).fields;
}

// A new table at `path` holding the records of the exchange file `text`; yields their number.
store::Result<int> buildFromExchangeFile(const std::filesystem::path& path,
                                         const std::filesystem::path& text,
                                         const store::FieldList& fields) {
    if (auto s = store::TableFile::create(path.string(), fields); !s) return s.error();
    auto table = store::TableFile::open(path.string(), store::OpenMode::Exclusive);
    if (!table) return table.error();
    ReadOptions options;
    options.variant = ReadVariant::Dictionary;
    auto reader = ExchangeReader::open(text, static_cast<int>(fields.size()), options);
    if (!reader) return reader.error();
    int rows = 0;
    for (;;) {
        auto record = reader->next();
        if (!record) return record.error();
        if (!*record) break;
        auto values = valuesFromExchange((*record)->fields, fields, (*record)->firstLine);
        if (!values)
            return store::fail("文件 " + text.filename().string() + " " + values.message());
        auto appended = (*table)->append(*values);
        if (!appended) return appended.error();
        ++rows;
    }
    return rows;
}

// Copies the file's bytes; the copy is an ordinary writable file whatever the source's
// permissions (dictionary files often come from read-only media).
store::Status copyBytes(const QString& from, const std::filesystem::path& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("无法读取文件 %1：%2")
                           .arg(shown(from), chineseErrorText(source.errorString())));
    QFile target(QFile::decodeName(to.c_str()));
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failure(
            QStringLiteral("无法写入数据目录：%1").arg(chineseErrorText(target.errorString())));
    qint64 copied = 0;
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() && source.error() != QFileDevice::NoError)
            return failure(QStringLiteral("无法读取文件 %1：%2")
                               .arg(shown(from), chineseErrorText(source.errorString())));
        if (target.write(block) != block.size())
            return failure(
                QStringLiteral("无法写入数据目录：%1").arg(chineseErrorText(target.errorString())));
        copied += block.size();
    }
    if (!target.flush())
        return failure(
            QStringLiteral("无法写入数据目录：%1").arg(chineseErrorText(target.errorString())));
    target.close();
    if (copied != source.size() || QFileInfo(target.fileName()).size() != source.size())
        return failure(QStringLiteral("文件 %1 没有完整复制。").arg(shown(from)));
    return {};
}

// The copied file must open as a sound table with the dictionary's columns and every row must
// read, or the pages that list the dictionary would fail later on.
store::Status checkCopiedTable(const std::filesystem::path& path, Dictionary dictionary) {
    auto table = store::TableFile::open(path.string(), store::OpenMode::Exclusive);
    if (!table) return table.error();
    if (!(*table)->damage().empty()) return store::fail((*table)->damage());
    if (auto s = checkDictionaryLayout((*table)->fields(), dictionary); !s) return s;
    return (*table)->scan([](uint32_t, std::string_view) { return true; });
}

} // namespace

std::string dictionaryTable(Dictionary dictionary) {
    switch (dictionary) {
    case Dictionary::ProjectSources:
        return "DFJHZDXX";
    case Dictionary::LibraryClassification:
        return "ztflh";
    case Dictionary::DisciplineClassification:
        return "xkfl";
    case Dictionary::Ministries:
        return "lsbw";
    }
    return {};
}

QString dictionaryFileName(Dictionary dictionary) {
    switch (dictionary) {
    case Dictionary::ProjectSources:
        return QStringLiteral("DFJHZDXX.DBF");
    case Dictionary::LibraryClassification:
        return QStringLiteral("ZTFLH.DBF");
    case Dictionary::DisciplineClassification:
        return QStringLiteral("XKFL.DBF");
    case Dictionary::Ministries:
        return QStringLiteral("LSBW.DBF");
    }
    return {};
}

bool isDictionaryPackagePath(const QString& path, Dictionary dictionary) {
    return path.trimmed().toUpper().endsWith(dictionaryPackageName(dictionary));
}

bool isDictionaryFilePath(const QString& path, Dictionary dictionary) {
    return QFileInfo(path.trimmed()).fileName().toUpper() == dictionaryFileName(dictionary);
}

store::Status checkDictionaryLayout(const store::FieldList& fields, Dictionary dictionary) {
    if (dictionary == Dictionary::LibraryClassification ||
        dictionary == Dictionary::DisciplineClassification) {
        // Level, code and label are read by position; lookups filter on the code by name.
        if (fields.size() < 3 || !store::sameName(fields[1].name, "xxdm"))
            return store::fail("分类表应有级别、代码（xxdm）和名称三列");
        return {};
    }
    const std::vector<std::string> required =
        dictionary == Dictionary::ProjectSources
            ? std::vector<std::string>{"item_126", "item_41_", "xxmc"}
            : std::vector<std::string>{"Bwdm", "Bwmc"};
    for (const std::string& name : required)
        if (!hasField(fields, name)) return store::fail("表中缺少字段 " + name);
    return {};
}

store::Result<int> updateDictionaryFromPackage(store::Database& db, const Archiver& archiver,
                                               const QString& packagePath, Dictionary dictionary) {
    QTemporaryDir unpacked;
    if (!unpacked.isValid())
        return failure(
            QStringLiteral("无法建立临时文件夹：%1").arg(chineseErrorText(unpacked.errorString())));
    // The copy carries the canonical name, so the archiver unpacks the package that was chosen.
    QFile package(packagePath.trimmed());
    if (!package.copy(unpacked.filePath(dictionaryPackageName(dictionary))))
        return failure(
            QStringLiteral("无法读取压缩包 %1：%2")
                .arg(shown(packagePath.trimmed()), chineseErrorText(package.errorString())));
    if (auto s = unpackDictionaryPackage(archiver, unpacked.path(), dictionary); !s)
        return s.error();
    const QString textName =
        findFileIgnoringCase(unpacked.path(), dictionaryTextFileName(dictionary));
    const std::filesystem::path text(QFile::encodeName(unpacked.filePath(textName)).toStdString());

    const store::FieldList fields = targetFields(db, dictionary);
    if (auto backup = store::backupBefore(db.directory(), "更新代码表"); !backup)
        return backup.error();
    auto replacement = TableReplacement::begin(db, dictionaryTable(dictionary));
    if (!replacement) return replacement.error();
    auto rows = buildFromExchangeFile(replacement->newFile(), text, fields);
    if (!rows) return failure(QStringLiteral("%1，代码表未作改动。").arg(fromStd(rows.message())));
    if (*rows == 0)
        return failure(QStringLiteral("文件 %1 中没有代码，代码表未作改动。")
                           .arg(dictionaryTextFileName(dictionary)));
    if (auto s = replacement->commit(); !s) return s.error();
    return *rows;
}

store::Status updateDictionaryFromFile(store::Database& db, const QString& filePath,
                                       Dictionary dictionary) {
    const QString source = filePath.trimmed();
    if (!QFileInfo(source).isFile())
        return failure(QStringLiteral("文件 %1 不存在。").arg(shown(source)));
    if (auto backup = store::backupBefore(db.directory(), "更新代码表"); !backup)
        return backup.error();
    auto replacement = TableReplacement::begin(db, dictionaryTable(dictionary));
    if (!replacement) return replacement.error();
    if (auto s = copyBytes(source, replacement->newFile()); !s) return s;
    if (auto s = checkCopiedTable(replacement->newFile(), dictionary); !s)
        return failure(QStringLiteral("文件 %1 不能用作代码表（%2），代码表未作改动。")
                           .arg(shown(source), fromStd(s.message())));
    return replacement->commit();
}

} // namespace xb::exchange
