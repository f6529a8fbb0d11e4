#include "import_staged_model.h"

namespace xb::exchange {
namespace {

enum Column { NameColumn, UnitColumn, NumberColumn, ColumnCount };

const char* const Titles[ColumnCount] = {"成果名称", "完成单位", "年份"};

} // namespace

void ImportStagedModel::setStaged(std::vector<StagedAchievement> staged) {
    beginResetModel();
    staged_ = std::move(staged);
    endResetModel();
}

void ImportStagedModel::removeStaged(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    staged_.erase(staged_.begin() + row);
    endRemoveRows();
}

void ImportStagedModel::replaceStaged(int row, StagedAchievement achievement) {
    if (row < 0 || row >= rowCount()) return;
    staged_[static_cast<size_t>(row)] = std::move(achievement);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int ImportStagedModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(staged_.size());
}

int ImportStagedModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImportStagedModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const StagedAchievement& staged = staged_[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case NameColumn:
        return QString::fromStdString(staged.name);
    case UnitColumn:
        return QString::fromStdString(staged.unit);
    case NumberColumn:
        return QString::fromStdString(staged.number);
    default:
        return {};
    }
}

QVariant ImportStagedModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromUtf8(Titles[section]);
}

} // namespace xb::exchange
