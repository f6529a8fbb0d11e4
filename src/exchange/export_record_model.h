// The record view of the export window: the achievement records in two columns, 成果名称 and
// 完成单位, all of them or those of one year.
#pragma once

#include "export_records.h"

#include <QAbstractTableModel>

#include <vector>

namespace xb::exchange {

class ExportRecordModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit ExportRecordModel(QObject* parent = nullptr);

    // Replaces the records and shows all of them.
    void setRecords(std::vector<ExportRecord> records);
    const std::vector<ExportRecord>& records() const { return records_; }

    // Shows only the records filed under `year`; an empty year shows all.
    void setYearFilter(const QString& year);
    const QString& yearFilter() const { return year_; }

    // The record shown in `row`.
    const ExportRecord& recordAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    void rebuildShown();

    std::vector<ExportRecord> records_;
    std::vector<std::size_t> shown_; // indexes into records_, in stored order
    QString year_;
};

} // namespace xb::exchange
