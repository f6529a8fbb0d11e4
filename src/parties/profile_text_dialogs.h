// The dialogs in which the three multi-line texts of the profile page are edited: a caption, a
// large text area, 保存 and 退出. Each opens with the text of its page text area; 保存 copies
// the text back into it (the first two also store it in `unit` at once) and leaves the dialog
// open; 退出 closes it.
#pragma once

#include "store/database.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace xb::parties {

class ProfileTextDialog : public QDialog {
    Q_OBJECT

  public:
    // Shows the dialog modally with the text of the page text area.
    int editText();

    QPlainTextEdit* editor() const { return editor_; }

  public slots:
    void btnSaveClick();
    void btnQuitClick();

  protected:
    ProfileTextDialog(const QString& className, const QString& caption, QPlainTextEdit* pageText,
                      QWidget* parent);
    // Stores the text where the dialog keeps it; false when storing failed (already reported).
    virtual bool store(const QString& text) = 0;

  private:
    QPlainTextEdit* pageText_;
    QPlainTextEdit* editor_;
};

// 简要说明及补充: stored in `studydirec` at once.
class TFormstudy : public ProfileTextDialog {
    Q_OBJECT

  public:
    TFormstudy(store::Database& db, QPlainTextEdit* pageText, QWidget* parent = nullptr);

  protected:
    bool store(const QString& text) override;

  private:
    store::Database& db_;
};

// 研发优势简要说明: stored in `advantage` at once.
class Tformadvantage : public ProfileTextDialog {
    Q_OBJECT

  public:
    Tformadvantage(store::Database& db, QPlainTextEdit* pageText, QWidget* parent = nullptr);

  protected:
    bool store(const QString& text) override;

  private:
    store::Database& db_;
};

// 单位简介: only copied into the page; the page's 储存 stores it.
class Tformunitintrod : public ProfileTextDialog {
    Q_OBJECT

  public:
    explicit Tformunitintrod(QPlainTextEdit* pageText, QWidget* parent = nullptr);

  protected:
    bool store(const QString&) override { return true; }
};

} // namespace xb::parties
