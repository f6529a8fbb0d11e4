#include "pages/classification_tree.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::pages;

namespace {

QString childTexts(const ClassificationTree& tree, int node) {
    QStringList texts;
    for (int child : tree.nodes[static_cast<size_t>(node)].children)
        texts << tree.nodes[static_cast<size_t>(child)].text;
    return texts.join(u'|');
}

ClassificationRow row(int level, const char* code, const char* label) {
    return {level, QString::fromUtf8(code), QString::fromUtf8(label)};
}

} // namespace

// Each row hangs under the most recent node of the level above it.
TEST(ClassificationTree, RowsInTreeOrderBuildTheTree) {
    const ClassificationTree tree =
        buildClassificationTree({row(1, "A", "甲"), row(2, "A1", "甲一"), row(3, "A11", "甲一一"),
                                 row(2, "A2", "甲二"), row(1, "B", "乙")});
    EXPECT_EQ(tree.root().text, QStringLiteral("详细分类"));
    EXPECT_EQ(childTexts(tree, 0), QStringLiteral("A  甲|B  乙"));
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("A"))),
              QStringLiteral("A1  甲一|A2  甲二"));
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("A1"))), QStringLiteral("A11  甲一一"));
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("B"))), QString());
    EXPECT_EQ(tree.nodes.size(), 6u);
}

// Rows of level 0 or less are left out. A row that skips a level hangs under the deepest node of
// its own branch: never lost, and never in the branch of an earlier sibling.
TEST(ClassificationTree, IrregularLevels) {
    const ClassificationTree tree =
        buildClassificationTree({row(2, "X1", "孤"), row(0, "Z", "零"), row(-1, "N", "负"),
                                 row(1, "A", "甲"), row(3, "A11", "甲一一"), row(2, "A1", "甲一"),
                                 row(1, "B", "乙"), row(3, "B11", "乙一一")});
    EXPECT_EQ(childTexts(tree, 0), QStringLiteral("X1  孤|A  甲|B  乙"));
    EXPECT_EQ(tree.find(QStringLiteral("Z")), -1);
    EXPECT_EQ(tree.find(QStringLiteral("N")), -1);
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("A"))),
              QStringLiteral("A11  甲一一|A1  甲一"));
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("A1"))), QString());
    EXPECT_EQ(childTexts(tree, tree.find(QStringLiteral("B"))), QStringLiteral("B11  乙一一"));
}

// The shipped classification tables read in stored order with their levels, and every shipped
// row lands in the tree.
TEST(ClassificationTree, ShippedTablesBuildCompleteTrees) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    xb::store::Database& db = data.db();
    for (const char* table : {"gxjs", "xkfl", "ztflh"}) {
        auto rows = readClassificationRows(db, QString::fromLatin1(table));
        ASSERT_TRUE(rows.ok()) << table;
        ASSERT_FALSE(rows->isEmpty()) << table;
        EXPECT_EQ(rows->first().level, 1) << table;
        const ClassificationTree tree = buildClassificationTree(*rows);
        EXPECT_EQ(tree.nodes.size(), static_cast<size_t>(rows->size()) + 1) << table;
    }
    auto gxjs = readClassificationRows(db, QStringLiteral("gxjs"));
    const ClassificationTree tree = buildClassificationTree(*gxjs);
    const int electronics = tree.find(QStringLiteral("01"));
    ASSERT_GE(electronics, 0);
    EXPECT_EQ(tree.nodes[static_cast<size_t>(electronics)].text, QStringLiteral("01  电子信息"));
    EXPECT_TRUE(
        childTexts(tree, electronics).startsWith(QStringLiteral("0101  计算机及网络技术|")));

    EXPECT_FALSE(readClassificationRows(db, QStringLiteral("missing")).ok());
}
