// The cooperating organizations of an achievement record (header "合作完成单位情况"): 新增,
// 修改, 删除, 退出 and 帮助 over a read-only grid in number order. The list may stay empty;
// leaving it with 退出 marks the section done. The page owns its entry dialog (TFinto5).
#pragma once

#include "forms/list_page.h"
#include "store/database.h"

namespace xb::ui {
class HelpWindow;
}

namespace xb::parties {

class TFinto5;

class TFpage5 : public forms::ListPage {
    Q_OBJECT

  public:
    explicit TFpage5(store::Database& db, QWidget* parent = nullptr);

    TFinto5& entryDialog() const { return *dialog_; }
    ui::HelpWindow& helpWindow() const { return *help_; }

  public slots:
    void Button2Click() { addClicked(); }      // 新增
    void btnSave01Click() { changeClicked(); } // 修改
    void Button1Click() { removeClicked(); }   // 删除
    void quit01Click() { quitClicked(); }      // 退出
    void Button3Click() { help(); }            // 帮助

  protected:
    void selectRowsOf(const store::Cursor& record) override;
    void prepareRows() override;
    bool addRow() override;
    bool changeRow(int row) override;
    std::string numberField() const override { return "item_176"; }
    void help() override;

  private:
    store::Database& db_;
    store::Params key_;
    TFinto5* dialog_;
    ui::HelpWindow* help_;
};

} // namespace xb::parties
