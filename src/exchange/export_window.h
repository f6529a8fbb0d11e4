// The export window (数据导出): the user picks achievement records of any year, all of them or
// those of one year, and a target folder; 导出 writes them with their child rows, the
// own-organization profile and its subject leaders into the exchange package cgsbqy.arj there.
//
// Opening the window clears the export flag of every record; an export sets it on the records it
// wrote. The main window opens it with ui::showModal(window) and rebuilds its record list when
// that returns.
#pragma once

#include "archiver.h"
#include "store/record_store.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

namespace xb::exchange {

class ExportRecordModel;

class TFormout : public QDialog {
    Q_OBJECT

  public:
    explicit TFormout(store::RecordStore& store, QWidget* parent = nullptr);

    // The records the export would write now, as physical rows of kjcg in the view's order.
    std::vector<uint32_t> selectedRecords() const;

  public slots:
    // Runs each time the window is shown.
    void FormShow();
    void rbAllClick();
    void rbAllDblClick();
    void rbYearClick();
    void cbYearChange(int index);
    void btnFolderClick();
    void btnExportClick();
    void btnQuitClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void resetScope();
    void showYear(const QString& year);
    void selectAllShown();
    void updateCount();
    void setExportEnabled();

    store::RecordStore& store_;
    Archiver archiver_;
    ExportRecordModel* model_;
    QString folder_; // the folder chosen last, offered again at the next opening

    QTableView* grid_ = nullptr;
    QRadioButton* all_ = nullptr;
    QRadioButton* year_ = nullptr;
    QComboBox* years_ = nullptr;
    QLabel* count_ = nullptr;
    QLineEdit* target_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

} // namespace xb::exchange
