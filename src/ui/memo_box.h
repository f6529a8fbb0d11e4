// The multi-line text box of every window. Every memo, text dialog and read-only text of the
// program is one of these, never a bare QPlainTextEdit or QTextEdit.
//
// Qt 6.4 ends the program when a paste meets a clipboard that lists no format at all, which is
// what the desktop's clipboard holds after a restart (Ctrl+V, middle click, drop: all reach
// insertFromMimeData). This box takes plain text only and hands Qt a copy of it, so a clipboard
// that is empty, holds no text or goes away while it is read pastes nothing and keeps the text.
// A paste of text is inserted as Qt inserts it; a page's own rules for the text (tabs, widths)
// apply to it as to typed text.
#pragma once

#include <QPlainTextEdit>

namespace xb::ui {

class MemoBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit MemoBox(QWidget* parent = nullptr);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace xb::ui
