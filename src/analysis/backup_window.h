// The window 备份与恢复: the backups of the data directory, newest first, with the time, the
// change each was taken before and the records it holds per year. A backup can be put back in
// place of the present tables (恢复, after a backup of the present state) or copied elsewhere
// (另存到…, a USB stick); 立即备份 takes one now.
#pragma once

#include "store/backup.h"
#include "store/record_store.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableWidget;

namespace xb::analysis {

class BackupWindow : public QDialog {
    Q_OBJECT
  public:
    explicit BackupWindow(store::RecordStore& store, QWidget* parent = nullptr);

    // Lists the backups and shows the window modally; true when a backup was restored, so the
    // caller reads the tables again.
    bool showBackups();
    // Lists the backups without showing the window.
    void prepare();

  public slots:
    void btnBackupClick();
    void btnRestoreClick();
    void btnSaveToClick();

  private:
    const store::BackupInfo* chosen() const;

    store::RecordStore& store_;
    std::vector<store::BackupInfo> backups_;
    bool restored_ = false;
    QLabel* lblFolder = nullptr;
    QTableWidget* tblBackups = nullptr;
};

} // namespace xb::analysis
