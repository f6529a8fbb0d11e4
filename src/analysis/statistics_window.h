// The window 统计分析: the records of the chosen years and categories counted by one or two
// groupings, as a sortable table and a bar chart, printed or saved as PDF, and exported with the
// record list to Excel or CSV. The records are read once each time the window is shown.
#pragma once

#include "analysis/record_facts.h"
#include "analysis/statistics.h"
#include "store/record_store.h"

#include <QDialog>

class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QPagedPaintDevice;

namespace xb::analysis {

class StatisticsWindow : public QDialog {
    Q_OBJECT
  public:
    explicit StatisticsWindow(store::RecordStore& store, QWidget* parent = nullptr);

    // Reads the records, offers their years and shows the window modally. `shownYear` (a prefix
    // of record numbers) and `shownCategory` ("1" to "3") are what the main window lists.
    void showStatistics(const QString& shownYear, const QString& shownCategory);
    // Reads the records and counts them as the controls say, without showing the window.
    void prepare(const QString& shownYear, const QString& shownCategory);

    const StatisticsTable& table() const { return table_; }

  public slots:
    void btnCountClick();
    void btnPrintClick();
    void btnPdfClick();
    void btnXlsxClick();
    void btnCsvClick();
    void btnListXlsxClick();
    void btnListCsvClick();

  private:
    void buildControls();
    FactsFilter chosenFilter() const;
    std::vector<Dimension> chosenGrouping() const;
    void showTable();
    void showChart();
    bool paintReport(QPagedPaintDevice& device);
    std::vector<RecordFacts> listedRecords() const;
    QString title() const;

    store::RecordStore& store_;
    std::vector<RecordFacts> facts_;
    StatisticsTable table_;
    QString shownYear_, shownCategory_;

    QListWidget* lstYears = nullptr;
    QCheckBox* chkCategory[3] = {};
    QComboBox* cbBy1 = nullptr;
    QComboBox* cbBy2 = nullptr;
    QPushButton* btnCount = nullptr;
    QTableView* tblStatistics = nullptr;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QChartView* chtStatistics = nullptr;
    QLabel* lblTotal = nullptr;
    QProgressBar* pbWork = nullptr;
    QComboBox* cbListScope = nullptr;
};

} // namespace xb::analysis
