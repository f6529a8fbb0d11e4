// The new-record dialog: creates an achievement record with the next record number of its year,
// or changes the main items of the current record, moving its child rows to a new number when
// the year changes.
#pragma once

#include "records/record_keeping.h"

#include <QDialog>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace xb::records {

class TMainForm;

class TFormNew : public QDialog {
    Q_OBJECT
  public:
    explicit TFormNew(TMainForm& main);

    // 新增: an empty dialog in the mode "请填写新项目！".
    void openNew();
    // 修改主项: the current record's main items in the mode "修改主要项目！".
    void openChange();

  public slots:
    void FormShow();
    void Button1Click(); // 存储
    void Button2Click(); // 退出
    void ComboBox1Change();
    void cbYearChange(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape leaves as 退出 does: silently only when nothing was typed.
    void reject() override { Button2Click(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool saveCommon();
    void saveNew();
    void saveChange();
    // The dialog's main items; the secrecy as typed or trimmed.
    MainItems shownItems(bool trimSecrecy) const;
    // Adds the record's year to the main window's year list when it is missing.
    void showYear(const std::string& number);
    void bringMainWindowToDialog();
    bool yearLeaveCheck();
    void stepYear(int delta);

    TMainForm& main_;
    bool clean_ = true;
    std::string rememberedNumber_;
    std::string rememberedName_;

    QComboBox* ComboBox1 = nullptr;
    QLineEdit* cbYear = nullptr;
    QToolButton* yearUp_ = nullptr;
    QToolButton* yearDown_ = nullptr;
    QLineEdit* edt_120 = nullptr;
    QLineEdit* edt_3 = nullptr;
    QLineEdit* edt_9 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace xb::records
