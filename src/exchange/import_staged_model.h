// The import grid: the staged achievements with their name, first completing organization and
// record number. It holds a copy of what was read from kjcgtemp, so drawing never touches the
// tables.
#pragma once

#include "import_staging.h"

#include <QAbstractTableModel>

#include <vector>

namespace xb::exchange {

class ImportStagedModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setStaged(std::vector<StagedAchievement> staged);
    const std::vector<StagedAchievement>& staged() const { return staged_; }
    void removeStaged(int row);
    void replaceStaged(int row, StagedAchievement achievement);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<StagedAchievement> staged_;
};

} // namespace xb::exchange
