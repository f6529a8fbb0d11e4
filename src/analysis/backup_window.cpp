#include "analysis/backup_window.h"

#include "store/restore.h"
#include "ui/busy_cursor.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace xb::analysis {
namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

BackupWindow::BackupWindow(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("BackupWindow"));
    setWindowTitle(QStringLiteral("备份与恢复"));
    resize(760, 460);
    auto* layout = new QVBoxLayout(this);
    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setWordWrap(true);
    layout->addWidget(lblFolder);
    tblBackups = new QTableWidget(0, 3, this);
    tblBackups->setObjectName(QStringLiteral("tblBackups"));
    tblBackups->setHorizontalHeaderLabels(
        {QStringLiteral("时间"), QStringLiteral("备份于"), QStringLiteral("各年度成果数")});
    tblBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    tblBackups->verticalHeader()->setVisible(false);
    tblBackups->horizontalHeader()->setStretchLastSection(true);
    tblBackups->setColumnWidth(0, 160);
    tblBackups->setColumnWidth(1, 110);
    layout->addWidget(tblBackups, 1);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* caption, const char* name, void (BackupWindow::*handler)()) {
        QPushButton* b =
            ui::roomyButton(QString::fromUtf8(caption), QString::fromLatin1(name), this);
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    add("立即备份", "btnBackup", &BackupWindow::btnBackupClick);
    add("恢复", "btnRestore", &BackupWindow::btnRestoreClick);
    add("另存到…", "btnSaveTo", &BackupWindow::btnSaveToClick);
    buttons->addStretch();
    QPushButton* close = ui::roomyButton(QStringLiteral("关闭"), QStringLiteral("btnClose"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void BackupWindow::prepare() {
    backups_ = store::listBackups(store_.dataDirectory());
    lblFolder->setText(
        QStringLiteral(
            "导入、导出、年度调整、更新代码表、启动时压缩和删除成果之前，程序都会自动备份；"
            "保留最近 30 份及最近 7 天的全部备份。备份在 %1 中。")
            .arg(QDir::toNativeSeparators(text(store::backupsFolder(store_.dataDirectory())))));
    tblBackups->setRowCount(static_cast<int>(backups_.size()));
    for (int row = 0; row < static_cast<int>(backups_.size()); ++row) {
        const store::BackupInfo& b = backups_[static_cast<size_t>(row)];
        const QString cells[] = {text(b.time), text(b.operation),
                                 text(store::recordsPerYearText(b))};
        for (int column = 0; column < 3; ++column)
            tblBackups->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    if (!backups_.empty()) tblBackups->selectRow(0);
}

bool BackupWindow::showBackups() {
    restored_ = false;
    prepare();
    ui::showModal(*this);
    return restored_;
}

const store::BackupInfo* BackupWindow::chosen() const {
    const int row = tblBackups->currentRow();
    if (row < 0 || row >= static_cast<int>(backups_.size())) {
        ui::prompter().warn(QStringLiteral("请先在列表中选择一份备份！"));
        return nullptr;
    }
    return &backups_[static_cast<size_t>(row)];
}

void BackupWindow::btnBackupClick() {
    store::Result<store::BackupInfo> backup = [&] {
        ui::BusyCursor busy; // while the files are copied
        return store::backupBefore(store_.dataDirectory(), "手动备份");
    }();
    if (!backup) {
        ui::prompter().showError(backup.error());
        return;
    }
    prepare();
    ui::prompter().inform(
        QStringLiteral("备份完成"),
        QStringLiteral("已备份现在的数据（%1）。").arg(text(store::recordsPerYearText(*backup))));
}

void BackupWindow::btnRestoreClick() {
    const store::BackupInfo* b = chosen();
    if (!b) return;
    if (!ui::prompter().confirm(
            QStringLiteral("恢复备份"),
            QStringLiteral("用 %1 %2之前的备份（%3）取代现在的全部成果数据吗？\n"
                           "现在的数据会先备份一份，恢复后仍可再恢复回来。")
                .arg(text(b->time), text(b->operation), text(store::recordsPerYearText(*b))),
            ui::MessageIcon::Warning))
        return;
    const std::string folder = b->folder;
    store::Result<store::BackupInfo> before = [&] {
        ui::BusyCursor busy;    // while the files are copied
        store_.db().closeAll(); // the files are replaced: every table is opened afresh
        return store::restoreBackup(store_.dataDirectory(), folder);
    }();
    restored_ = restored_ || before.ok();
    prepare();
    if (!before) {
        ui::prompter().showError(before.error());
        return;
    }
    ui::prompter().inform(
        QStringLiteral("恢复完成"),
        QStringLiteral("已恢复备份。恢复前的数据已备份，时间 %1。").arg(text(before->time)));
}

void BackupWindow::btnSaveToClick() {
    const store::BackupInfo* b = chosen();
    if (!b) return;
    const QString folder =
        ui::prompter().chooseFolder({QStringLiteral("把备份另存到"), QDir::homePath()});
    if (folder.isEmpty()) return;
    const std::string from = b->folder;
    store::Result<std::string> copy = [&] {
        ui::BusyCursor busy; // while the files are copied
        return store::copyBackup(from, folder.toStdString());
    }();
    if (!copy) {
        ui::prompter().showError(copy.error());
        return;
    }
    ui::prompter().inform(
        QStringLiteral("另存完成"),
        QStringLiteral("备份已另存到 %1").arg(QDir::toNativeSeparators(text(*copy))));
}

} // namespace xb::analysis
