#include "table_replacement.h"
#include "exchange/file_errors.h"

#include "store/system_error.h"

#include <QDir>
#include <QFile>

namespace xb::exchange {

TableReplacement::TableReplacement(store::Database& db, std::string table,
                                   std::filesystem::path target,
                                   std::unique_ptr<QTemporaryDir> work)
    : db_(&db), table_(std::move(table)), target_(std::move(target)), work_(std::move(work)) {
    newFile_ =
        std::filesystem::path(QFile::encodeName(work_->path()).toStdString()) / target_.filename();
}

store::Result<TableReplacement> TableReplacement::begin(store::Database& db,
                                                        const std::string& table) {
    const std::filesystem::path target = db.tablePath(table);
    const QString directory = QFile::decodeName(db.directory().c_str());
    auto work =
        std::make_unique<QTemporaryDir>(QDir(directory).filePath(QStringLiteral(".update-XXXXXX")));
    if (!work->isValid())
        return store::fail("无法在数据目录中建立临时文件夹：" +
                           chineseErrorText(work->errorString()).toStdString());
    return TableReplacement(db, table, target, std::move(work));
}

store::Status TableReplacement::commit() {
    db_->closeTable(table_);
    std::error_code error;
    std::filesystem::rename(newFile_, target_, error);
    if (error)
        return store::fail("无法替换表文件 " + target_.filename().string() + "：" +
                           store::systemErrorText(error.value()));
    auto reopened = db_->openTable(table_);
    if (!reopened) return reopened.error();
    return {};
}

} // namespace xb::exchange
