// The four columns of the main window's record grid, read from the record list once per refresh
// so that drawing the grid never moves the list's cursor.
#pragma once

#include "store/cursor.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace xb::records {

class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Reads every row of `list` (its position is restored afterwards); null empties the grid.
    void reload(store::Cursor* list);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<QStringList> rows_;
};

} // namespace xb::records
