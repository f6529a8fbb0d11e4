// The subject leaders of the own organization: the list page (header "学科带头人情况") with
// 新增, 修改, 删除 and 退出 over a read-only grid, opened from the profile page. The page owns
// its entry dialog (TFinto11). It has no close box and is left by 退出.
#pragma once

#include "parties/subject_leaders.h"
#include "store/database.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace xb::parties {

class TFinto11;

class TFpage11 : public QDialog {
    Q_OBJECT

  public:
    explicit TFpage11(store::Database& db, QWidget* parent = nullptr);

    // Lists the subject leaders of the organization and shows the page modally.
    int showLeaders(const QString& unitCode);

    QTableWidget* grid() const { return grid_; }
    TFinto11& entryDialog() const { return *dialog_; }
    const QList<SubjectLeader>& leaders() const { return leaders_; }

  public slots:
    void Button2Click(); // 新增
    void Button3Click(); // 修改
    void Button1Click(); // 删除
    void quit01Click();  // 退出

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

  private:
    // Reads the list again and selects the row at `select` (clamped to the list).
    void reload(int select);
    int selectedRow() const;

    store::Database& db_;
    QString unitCode_;
    QList<SubjectLeader> leaders_;
    QTableWidget* grid_;
    QPushButton* add_;
    QPushButton* change_;
    QPushButton* remove_;
    TFinto11* dialog_;
};

} // namespace xb::parties
