// The classification picker (caption "分类选择"): a modal tree of one classification table from
// which the user picks one entry for a classification box. Created once and reused; every
// request builds the tree anew from the table, so it always shows the current contents.
#pragma once

#include "store/database.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace xb::pages {

class TFormTree : public QDialog {
    Q_OBJECT

  public:
    explicit TFormTree(store::Database& db, QWidget* parent = nullptr);

    // Names the box that receives the pick and the table to pick from ("xkfl", "ztflh", "gxjs").
    void request(QLineEdit* target, const QString& table);
    // Requests and shows the picker modally. 确认 writes "code  label" into the box, or empties
    // it when the root is chosen; 取消 leaves it. Returns the dialog's result.
    int pick(QLineEdit* target, const QString& table);

    QTreeWidget* tree() const { return tree_; }

    // Every way of closing clears the tree and the request.
    void done(int result) override;

  public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void clearRequest();

    store::Database& db_;
    QTreeWidget* tree_;
    QPushButton* confirm_;
    QPushButton* cancel_;
    QPointer<QLineEdit> target_;
    QString table_;
};

} // namespace xb::pages
