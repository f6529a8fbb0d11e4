// The one road by which every page and dialog of the application is shown modally.
//
// Windows call showModal(dialog) where they would call dialog.exec(). The running program gets
// exec(): a nested event loop until the dialog closes. A test installs a ScriptedModal
// (scripted_modal.h) instead, which shows the dialog without any nested loop, hands it to an
// action the test queued, and returns when the action is done; so a test drives a page by
// clicking its controls, in order, with no timer and no second thread.
#pragma once

class QDialog;

namespace xb::ui {

// Shows `dialog` modally and returns its result: QDialog::Accepted, QDialog::Rejected or the
// code given to done(). The dialog is not owned; it is hidden, not deleted, when this returns.
int showModal(QDialog& dialog);

// How showModal() runs a dialog.
class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    virtual int run(QDialog& dialog) = 0;
};

// Installs `runner` (not owned; nullptr goes back to exec()) and returns the one installed
// before, so that a caller can put it back.
ModalRunner* setModalRunner(ModalRunner* runner);

} // namespace xb::ui
