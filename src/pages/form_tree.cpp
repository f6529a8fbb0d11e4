#include "form_tree.h"

#include "pages/classification_tree.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace xb::pages {
namespace {

// Marks the root item, whose choice empties the box.
constexpr int kLevelRole = Qt::UserRole + 1;

void addChildren(QTreeWidgetItem* item, const ClassificationTree& tree,
                 const ClassificationTree::Node& node, const QIcon& branch, const QIcon& leaf) {
    for (int index : node.children) {
        const ClassificationTree::Node& child = tree.nodes[static_cast<size_t>(index)];
        auto* childItem = new QTreeWidgetItem(item, {child.text});
        childItem->setData(0, kLevelRole, child.level);
        childItem->setIcon(0, child.children.empty() ? leaf : branch);
        addChildren(childItem, tree, child, branch, leaf);
    }
}

} // namespace

TFormTree::TFormTree(store::Database& db, QWidget* parent)
    : QDialog(parent), db_(db), tree_(new QTreeWidget(this)),
      confirm_(new QPushButton(QStringLiteral("确认"), this)),
      cancel_(new QPushButton(QStringLiteral("取消"), this)) {
    setObjectName(QStringLiteral("TFormTree"));
    setWindowTitle(QStringLiteral("分类选择"));
    resize(520, 600);

    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    confirm_->setObjectName(QStringLiteral("Button1"));
    cancel_->setObjectName(QStringLiteral("Button2"));
    confirm_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addLayout(buttons);

    connect(confirm_, &QPushButton::clicked, this, &TFormTree::Button1Click);
    connect(cancel_, &QPushButton::clicked, this, &TFormTree::Button2Click);
}

void TFormTree::request(QLineEdit* target, const QString& table) {
    target_ = target;
    table_ = table;
}

int TFormTree::pick(QLineEdit* target, const QString& table) {
    request(target, table);
    return ui::showModal(*this);
}

void TFormTree::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormTree::FormShow() {
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, {kTreeRootText});
    root->setData(0, kLevelRole, 0);
    root->setIcon(0, style()->standardIcon(QStyle::SP_DirHomeIcon));
    if (!table_.isEmpty()) {
        auto rows = readClassificationRows(db_, table_);
        if (!rows) {
            ui::prompter().showError(rows.error());
        } else {
            const ClassificationTree tree = buildClassificationTree(*rows);
            addChildren(root, tree, tree.root(), style()->standardIcon(QStyle::SP_DirIcon),
                        style()->standardIcon(QStyle::SP_FileIcon));
        }
    }
    root->setExpanded(true);
    tree_->setCurrentItem(root);
    tree_->setFocus();
}

void TFormTree::Button1Click() {
    const QTreeWidgetItem* chosen = tree_->currentItem();
    if (target_ && chosen) {
        if (chosen->data(0, kLevelRole).toInt() == 0)
            target_->clear();
        else
            target_->setText(chosen->text(0));
    }
    accept();
}

void TFormTree::Button2Click() {
    reject();
}

void TFormTree::done(int result) {
    clearRequest();
    QDialog::done(result);
}

void TFormTree::clearRequest() {
    tree_->clear();
    target_.clear();
    table_.clear();
}

} // namespace xb::pages
