// A read-only multi-line text on a page that opens its editing dialog when clicked.
#pragma once

#include "ui/memo_box.h"

namespace xb::forms {

class ClickableTextArea : public ui::MemoBox {
    Q_OBJECT

  public:
    explicit ClickableTextArea(QWidget* parent = nullptr);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace xb::forms
