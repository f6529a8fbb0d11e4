// The frame the record pages, list pages and entry dialogs share: the banner over the body, the
// button row below it with room around every caption, the fixed page size, and closing only
// through the page's own buttons (the window manager's close box and Escape are the page's to
// answer). A button of the frame runs the page's handler named after it (`quit01Click` for
// quit01) when the page's class declares one, the base's standard handler otherwise. A failed
// check is reported the same way by all of them.
#pragma once

#include "forms/check_failure.h"

#include <QString>
#include <functional>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace xb::forms {

class PageFrame {
  public:
    // Lays out `page`: the banner (none when empty), `body` taking the room left, the button
    // row. A fixed page keeps the size of the form's pages and no close box.
    PageFrame(QDialog& page, const QString& banner, QWidget* body, bool fixedPage);

    // A button at the right end of the row, after those added before; `standard` is what it
    // does on a page without a handler of its name.
    QPushButton* addButton(const QString& caption, const QString& objectName,
                           std::function<void()> standard);
    // A button put at the left end of the row (before those put there earlier): with a
    // `standard` handler like addButton, without one the page's own to connect.
    void addLeftButton(QPushButton* button, std::function<void()> standard = {});

    // Ends the page with `result`; only this ends it.
    void close(int result);
    // Whether a close now is the page's own, through close().
    bool closing() const { return closing_; }
    // Keeps the form's page size when the page is shown again.
    void shown();

  private:
    void connectHandler(QPushButton* button, std::function<void()> standard);

    QDialog& page_;
    QString banner_;
    QHBoxLayout* row_;
    bool fixed_;
    bool closing_ = false;
};

// Reports the failure of a check on `page`: its message in the warning box (or the plain box),
// then the focus on the control it names, showing the tab that holds it. A failure naming no
// control leaves the focus where it is.
void reportCheckFailure(QWidget& page, const CheckFailure& failure);

} // namespace xb::forms
