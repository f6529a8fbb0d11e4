// A code box of the profile: a text box with a drop-down arrow. The arrow (or Alt+Down, or F4)
// asks for the classification picker instead of a list; typing into the box is allowed.
#pragma once

#include <QLineEdit>

class QToolButton;

namespace xb::forms {

class ClassificationBox : public QLineEdit {
    Q_OBJECT

  public:
    explicit ClassificationBox(QWidget* parent = nullptr);

    QToolButton* dropDownButton() const { return button_; }

  signals:
    void dropDownRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* button_;
};

} // namespace xb::forms
