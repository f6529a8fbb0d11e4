// The completers list of an achievement record (header "成果完成人员名单"): 新增, 修改, 删除,
// 退出 and 帮助 over a read-only grid of nine columns, the coded ones shown through the people
// code labels. The page owns its entry dialog (TFinto8) and cannot be left while the list is
// empty: every record needs at least one completer.
#pragma once

#include "forms/list_page.h"
#include "store/database.h"

namespace xb::ui {
class HelpWindow;
}

namespace xb::parties {

class TFinto8;

class TFpage8 : public forms::ListPage {
    Q_OBJECT

  public:
    explicit TFpage8(store::Database& db, QWidget* parent = nullptr);

    TFinto8& entryDialog() const { return *dialog_; }
    ui::HelpWindow& helpWindow() const { return *help_; }

  public slots:
    void Button2Click() { addClicked(); }    // 新增
    void Button3Click() { changeClicked(); } // 修改
    void Button1Click() { removeClicked(); } // 删除
    void quit01Click() { quitClicked(); }    // 退出
    void Button4Click() { help(); }          // 帮助

  protected:
    void selectRowsOf(const store::Cursor& record) override;
    void prepareRows() override;
    bool addRow() override;
    bool changeRow(int row) override;
    std::string numberField() const override { return "item_187"; }
    bool mayLeave() override;
    void help() override;

  private:
    store::Database& db_;
    store::Params key_;
    TFinto8* dialog_;
    ui::HelpWindow* help_;
};

} // namespace xb::parties
