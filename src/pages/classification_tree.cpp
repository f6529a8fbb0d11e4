#include "classification_tree.h"

#include "store/lookups.h"

#include <iterator>
#include <map>

namespace xb::pages {

int ClassificationTree::find(const QString& code) const {
    const QString prefix = code + QStringLiteral("  ");
    for (size_t i = 1; i < nodes.size(); ++i)
        if (nodes[i].text.startsWith(prefix)) return static_cast<int>(i);
    return -1;
}

ClassificationTree buildClassificationTree(const QList<ClassificationRow>& rows) {
    ClassificationTree tree;
    tree.nodes.push_back({kTreeRootText, 0, -1, {}});
    // The most recent node of each level; the root stands for level 0.
    std::map<int, int> recent{{0, 0}};
    for (const ClassificationRow& row : rows) {
        if (row.level <= 0) continue;
        // The deepest level above the row that has a node: level - 1 in well-formed data.
        const int parent = std::prev(recent.lower_bound(row.level))->second;
        const int index = static_cast<int>(tree.nodes.size());
        tree.nodes.push_back({row.code + QStringLiteral("  ") + row.label, row.level, parent, {}});
        tree.nodes[static_cast<size_t>(parent)].children.push_back(index);
        recent[row.level] = index;
        // Deeper nodes belong to an earlier branch; a later deeper row must not climb into it.
        recent.erase(recent.upper_bound(row.level), recent.end());
    }
    return tree;
}

store::Result<QList<ClassificationRow>> readClassificationRows(store::Database& db,
                                                               const QString& table) {
    auto cursor = db.table(table.toStdString());
    if (!cursor) return cursor.error();
    store::Cursor& rows = **cursor;
    if (rows.fieldCount() < 3)
        return store::fail("表 " + table.toStdString() + " 不是分类表：少于三列");
    QList<ClassificationRow> out;
    for (rows.first(); !rows.eof(); rows.next()) {
        bool ok = false;
        const int level = QString::fromStdString(store::trimmed(rows.value(0).toText())).toInt(&ok);
        out.append({ok ? level : 0, QString::fromStdString(store::trimmed(rows.value(1).toText())),
                    QString::fromStdString(store::trimmed(rows.value(2).toText()))});
    }
    return out;
}

} // namespace xb::pages
