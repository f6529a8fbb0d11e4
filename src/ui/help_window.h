// The help window of a page: caption "帮助信息", the page's help text read-only, and one button
// that closes it. Each page owns one, named after it (THelpPjzs, THelpWcdw, ...); the texts of
// all of them are kept together in help_texts.txt.
#pragma once

#include <QDialog>

namespace xb::ui {

class HelpWindow : public QDialog {
    Q_OBJECT

  public:
    // The text and the button caption are those kept under `objectName`.
    HelpWindow(const QString& objectName, QWidget* parent = nullptr);

    // Shows the window modally through the modal seam.
    void showHelp();
};

} // namespace xb::ui
