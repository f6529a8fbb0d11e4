// Hierarchical classifications (xkfl, ztflh, gxjs) as trees. Their rows are stored in tree
// order: level (whole number as text, 1 at the top), code and label in the first three columns.
#pragma once

#include "store/database.h"

#include <QList>
#include <QString>
#include <vector>

namespace xb::pages {

inline const QString kTreeRootText = QStringLiteral("详细分类");

struct ClassificationRow {
    int level = 0;
    QString code;
    QString label;
};

// A tree held as a flat list of nodes; node 0 is the root "详细分类" at level 0.
struct ClassificationTree {
    struct Node {
        QString text; // code, two blanks, label ("详细分类" for the root)
        int level = 0;
        int parent = -1;
        std::vector<int> children;
    };
    std::vector<Node> nodes;

    const Node& root() const { return nodes.front(); }
    // The first node whose text begins with the code and the two-blank separator; -1 if none.
    int find(const QString& code) const;
};

// Builds the tree from rows in stored order. A row of level 0 or less is left out; any other
// row becomes the last child of the most recent node of the level above it (the root for level
// 1). In rows that skip a level, a row hangs under the deepest node of the current branch above
// its level, so that it stays in the branch where it is stored.
ClassificationTree buildClassificationTree(const QList<ClassificationRow>& rows);

// The rows of a classification table in stored order, code and label trimmed; a level that is
// not a whole number reads as 0.
store::Result<QList<ClassificationRow>> readClassificationRows(store::Database& db,
                                                               const QString& table);

} // namespace xb::pages
