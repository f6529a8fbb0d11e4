// The evaluation committee of the current achievement (header "评价委员会名单"): a read-only grid
// of the members ordered chairman, vice-chairmen, members, with 新增, 修改, 删除, 退出 and 帮助.
// Member numbers are never renumbered. 退出 marks the section done, also for an empty list; the
// window's close box leaves the mark as it was. The page owns its entry dialog (TFinto7).
#pragma once

#include "forms/list_page.h"
#include "parties/committee_rules.h"

namespace xb::ui {
class HelpWindow;
}

namespace xb::parties {

class TFinto7;

class TFpage7 : public forms::ListPage {
    Q_OBJECT

  public:
    explicit TFpage7(store::Database& db, QWidget* parent = nullptr);

    TFinto7& entryDialog() const { return *dialog_; }
    ui::HelpWindow& helpWindow() const { return *help_; }

  public slots:
    void Button2Click() { addClicked(); }      // 新增
    void btnSave01Click() { changeClicked(); } // 修改
    void Button1Click() { removeClicked(); }   // 删除
    void quit01Click() { quitClicked(); }      // 退出
    void Button3Click() { help(); }            // 帮助

  protected:
    void selectRowsOf(const store::Cursor& record) override;
    bool addRow() override;
    bool changeRow(int row) override;
    forms::AfterDelete afterDelete() const override { return forms::AfterDelete::FirstRow; }
    void help() override;

  private:
    // The stored duties of the listed members.
    QStringList listedDuties();

    CommitteeKey key_;
    TFinto7* dialog_;
    ui::HelpWindow* help_;
};

} // namespace xb::parties
