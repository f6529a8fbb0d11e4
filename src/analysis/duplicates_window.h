// The window 查重: pairs of records of all years that are probably one achievement entered twice,
// each shown side by side with year, number, category and completeness; either record can be
// opened in the main window, which closes this window with that record chosen.
#pragma once

#include "analysis/duplicates.h"
#include "store/record_store.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace xb::analysis {

class DuplicatesWindow : public QDialog {
    Q_OBJECT
  public:
    explicit DuplicatesWindow(store::RecordStore& store, QWidget* parent = nullptr);

    // Reads the records, looks for pairs and shows the window modally. Accepted when a record
    // was chosen to be opened: chosenNumber() and chosenCategory() say which.
    int showDuplicates();
    // Reads the records and looks for pairs, without showing the window.
    void prepare();

    const std::vector<DuplicatePair>& pairs() const { return pairs_; }
    const QString& chosenNumber() const { return chosenNumber_; }
    const QString& chosenCategory() const { return chosenCategory_; }

  public slots:
    void btnSearchClick();
    void btnOpenFirstClick();
    void btnOpenSecondClick();
    void btnXlsxClick();

  private:
    void buildControls();
    void showPair();
    const DuplicatePair* currentPair() const;
    void open(bool first);

    store::RecordStore& store_;
    std::vector<RecordFacts> facts_;
    std::vector<DuplicatePair> pairs_;
    QString chosenNumber_, chosenCategory_;

    QDoubleSpinBox* spnThreshold = nullptr;
    QLabel* lblCount = nullptr;
    QTableView* tblPairs = nullptr;
    QStandardItemModel* model_ = nullptr;
    QLabel* lblFirst = nullptr;
    QLabel* lblSecond = nullptr;
    QPushButton* btnOpenFirst = nullptr;
    QPushButton* btnOpenSecond = nullptr;
    QProgressBar* pbWork = nullptr;
};

} // namespace xb::analysis
