// The evaluation certificate page (banner "鉴 定 证 书 内 容"): certificate number and date and
// four long texts of the certificate, all fields of the achievement record. Nothing on it is
// required; only the date is checked. 退出 asks about unsaved changes without checking first,
// and stays open when the save it leads to fails.
#pragma once

#include "forms/record_page.h"

class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace xb::ui {
class HelpWindow;
}

namespace xb::pages {

class TFpage9 : public forms::RecordPage {
    Q_OBJECT

  public:
    explicit TFpage9(QWidget* parent = nullptr);

    ui::HelpWindow& helpWindow() const { return *help_; }

  protected:
    std::optional<forms::CheckFailure> check() override;
    void help() override;

  private:
    QPlainTextEdit* addMemoTab(const char* name, const QString& caption);
    // The caret goes to the start of a tab's text when the tab is shown or first clicked into.
    void showTextStart(QPlainTextEdit* memo);

    QLineEdit* edt_301_;
    QLineEdit* edt_302_y_;
    QLineEdit* edt_302_m_;
    QLineEdit* edt_302_d_;
    QTabWidget* tabs_;
    ui::HelpWindow* help_;
};

} // namespace xb::pages
