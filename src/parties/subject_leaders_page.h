// The subject leaders of the own organization: the list page (header "学科带头人情况") with
// 新增, 修改, 删除 and 退出 over a read-only grid, opened from the profile page. The page owns
// its entry dialog (TFinto11). It has no close box and is left by 退出.
#pragma once

#include "forms/list_page.h"
#include "parties/subject_leaders.h"

namespace xb::parties {

class TFinto11;

class TFpage11 : public forms::ListPage {
    Q_OBJECT

  public:
    explicit TFpage11(store::Database& db, QWidget* parent = nullptr);

    // Lists the subject leaders of the organization and shows the page modally.
    int showLeaders(const QString& unitCode);

    TFinto11& entryDialog() const { return *dialog_; }

  public slots:
    void Button2Click() { addClicked(); }    // 新增
    void Button3Click() { changeClicked(); } // 修改
    void Button1Click() { removeClicked(); } // 删除
    void quit01Click() { quitClicked(); }    // 退出

  protected:
    void selectRowsOf(const store::Cursor& record) override;
    std::unique_ptr<store::Cursor> shownRows() override;
    bool addRow() override;
    bool changeRow(int row) override;
    std::string numberField() const override { return "item_187"; }
    bool disablesChangeWhenEmpty() const override { return true; }

  private:
    store::Database& db_;
    QString unitCode_;
    TFinto11* dialog_;
};

} // namespace xb::parties
