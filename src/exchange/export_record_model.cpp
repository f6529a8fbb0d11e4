#include "export_record_model.h"

namespace xb::exchange {

ExportRecordModel::ExportRecordModel(QObject* parent) : QAbstractTableModel(parent) {}

void ExportRecordModel::setRecords(std::vector<ExportRecord> records) {
    beginResetModel();
    records_ = std::move(records);
    year_.clear();
    rebuildShown();
    endResetModel();
}

void ExportRecordModel::setYearFilter(const QString& year) {
    beginResetModel();
    year_ = year;
    rebuildShown();
    endResetModel();
}

void ExportRecordModel::rebuildShown() {
    shown_.clear();
    const std::string year = year_.toStdString();
    for (std::size_t i = 0; i < records_.size(); ++i)
        if (year.empty() || records_[i].number.starts_with(year)) shown_.push_back(i);
}

const ExportRecord& ExportRecordModel::recordAt(int row) const {
    return records_[shown_.at(static_cast<std::size_t>(row))];
}

int ExportRecordModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ExportRecordModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ExportRecordModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const ExportRecord& record = recordAt(index.row());
    return QString::fromStdString(index.column() == 0 ? record.name : record.organization);
}

QVariant ExportRecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section == 0 ? QStringLiteral("成果名称") : QStringLiteral("完成单位");
}

} // namespace xb::exchange
