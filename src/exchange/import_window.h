// The import window (数据导入): unpacks an exchange package CGSBQY.ARJ from another installation,
// reads its files into the staging tables, lets the user settle duplicates, and stores the
// staged achievements under new record numbers, either all as new records or replacing stored
// records of the same name and first completing organization. It also repacks old packages
// CGSBxxx.ARJ as cgsbqy.arj and opens the year reassignment of a staged achievement.
//
// The main window opens it with ui::showModal(window); when that returns, the stored records may
// have changed, so the main window rebuilds its year list and record list.
#pragma once

#include "archiver.h"
#include "import_package.h"
#include "store/record_store.h"

#include <QDialog>

#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace xb::exchange {

class ImportStagedModel;
class Tformformat;
struct StagedAchievement;

class TFormin : public QDialog {
    Q_OBJECT

  public:
    // What the buttons allow, from choosing a package to storing it. Nothing is enabled while a
    // package is read or stored.
    enum class State { Idle, Unpacked, Reading, Staged, Checked, Renaming, Storing };

    explicit TFormin(store::RecordStore& store, QWidget* parent = nullptr);
    ~TFormin() override;

    State state() const { return state_; }
    Tformformat& yearWindow() { return *yearWindow_; }

  public slots:
    // Runs each time the window is shown: empties the staging tables and starts over.
    void FormShow();
    void btnOpenClick();      // 请选择导入文件
    void btnImportClick();    // 导入
    void btnCheckClick();     // 排重
    void btnDeleteClick();    // 删除
    void btnSaveClick();      // 保存
    void btnOverwriteClick(); // 同名覆盖
    void btnYearClick();      // 修改成果年份
    void btnQuitClick();      // 退出
    void lnkRenameClick();    // 改名
    void btnRenameOkClick();  // 确定 of the rename panel

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    enum class Merge { Store, Overwrite };

    void buildControls();
    void setState(State state);
    void reloadStaged();
    void showStatistics();
    int currentRow() const;
    void selectRow(int row);
    void showReadingPanel(const QString& step);
    void showGauge(int total);
    void hideProgress();
    void keepWindowAlive();
    void merge(Merge how);
    QString fileFilter() const;

    store::RecordStore& store_;
    Archiver archiver_;
    std::unique_ptr<UnpackedPackage> package_;
    QString startFolder_;
    State state_ = State::Idle;
    ImportStagedModel* model_ = nullptr;
    Tformformat* yearWindow_ = nullptr;

    QLineEdit* edtPath = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnCheck = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnOverwrite = nullptr;
    QPushButton* btnYear = nullptr;
    QPushButton* btnQuit = nullptr;
    QPushButton* lnkRename = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblStatistics = nullptr;
    QFrame* pnlRename = nullptr;
    QLineEdit* edtRename = nullptr;
    QPushButton* btnRenameOk = nullptr;
    QFrame* pnlProgress = nullptr;
    QLabel* lblProgressStep = nullptr;
    QProgressBar* pbProgress = nullptr;
};

} // namespace xb::exchange
