#include "record_list_model.h"

namespace xb::records {
namespace {
// 序号, 批准登记号, 成果名称, 成果完成单位
const char* const kFields[] = {"NO", "ITEM_120", "ITEM_3", "ITEM_9"};
const char* const kTitles[] = {"序号", "批准登记号", "成果名称", "成果完成单位"};
} // namespace

void RecordListModel::reload(store::Cursor* list) {
    beginResetModel();
    rows_.clear();
    if (list) {
        const int position = list->position();
        rows_.reserve(static_cast<size_t>(list->count()));
        for (int i = 0; i < list->count(); ++i) {
            list->moveTo(i);
            QStringList row;
            for (const char* field : kFields)
                row << QString::fromStdString(list->text(field));
            rows_.push_back(row);
        }
        if (position >= 0) list->moveTo(position);
    }
    endResetModel();
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return rows_[static_cast<size_t>(index.row())].at(index.column());
    return {};
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < 4)
        return QString(kTitles[section]);
    return {};
}

} // namespace xb::records
