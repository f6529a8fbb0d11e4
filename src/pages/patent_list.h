// The patent list (banner "专利情况"): the patents of one achievement in stored order, numbered 1
// to n, with 新增, 修改, 删除, 帮助 and 退出 over a read-only grid. It is opened only from the
// intellectual property page, which takes the counts back when the list is left.
#pragma once

#include "forms/list_page.h"
#include "store/database.h"

namespace xb::ui {
class HelpWindow;
}

namespace xb::pages {

class TFinto6;

class TFpage6 : public forms::ListPage {
    Q_OBJECT

  public:
    explicit TFpage6(store::Database& db, QWidget* parent = nullptr);

    TFinto6& entryDialog() const { return *dialog_; }

  public slots:
    void Button2Click() { addClicked(); }      // 新增
    void btnSave01Click() { changeClicked(); } // 修改
    void Button1Click() { removeClicked(); }   // 删除
    void Button3Click() { help(); }            // 帮助
    void quit01Click() { quitClicked(); }      // 退出

  protected:
    void selectRowsOf(const store::Cursor& record) override;
    void prepareRows() override;
    std::unique_ptr<store::Cursor> shownRows() override;
    bool addRow() override;
    bool changeRow(int row) override;
    std::string numberField() const override { return "ITEM_NO"; }
    void help() override;

  private:
    store::Database& db_;
    store::Params key_;
    TFinto6* dialog_;
    ui::HelpWindow* help_;
    ui::HelpWindow* helpOther_;
};

} // namespace xb::pages
