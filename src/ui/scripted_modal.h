// Modal dialogs for tests. While a ScriptedModal lives it is the installed ModalRunner, so every
// showModal() comes here; the runner installed before comes back when it is destroyed.
//
// For each showModal(dialog), in this order:
// 1. The dialog is made application-modal and shown, and pending events are processed, so its
//    show handlers have run as they would under exec().
// 2. The request is recorded (object name, class, caption as shown).
// 3. The oldest queued action, if any, is taken and called with the dialog. It plays the user:
//    it fills and clicks controls and normally ends by closing the dialog (a button that calls
//    accept(), reject(), done() or close()). Dialogs the action opens in turn through
//    showModal() take the next queued actions, so actions are queued in the order the dialogs
//    will open.
// 4. If the dialog is still visible (nothing was queued, or the action left it open, as a page
//    refusing to close does), it is closed with done(QDialog::Rejected), as if dismissed, and the
//    request notes that it was left open.
// 5. The dialog's modality is put back and its result returned.
#pragma once

#include "ui/modal.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <functional>

namespace xb::ui {

using ModalAction = std::function<void(QDialog&)>;

// A dialog shown as exec() would show it, without a loop of its own, for a test runner to play
// (steps 1, 4 and 5 above). The result is caught from finished() as well, because playing may
// close a dialog that deletes itself on close.
class PlayedDialog {
  public:
    explicit PlayedDialog(QDialog& dialog);
    PlayedDialog(const PlayedDialog&) = delete;
    PlayedDialog& operator=(const PlayedDialog&) = delete;

    // False once playing has deleted the dialog.
    bool alive() const { return !alive_.isNull(); }
    // Closes the dialog as rejected if it is still visible (`leftOpen` says so), puts its
    // modality back and returns its result.
    int finish(bool* leftOpen = nullptr);

  private:
    QPointer<QDialog> alive_;
    Qt::WindowModality modality_;
    int result_ = 0;
    QMetaObject::Connection connection_;
};

struct ModalRequest {
    QString objectName;
    QString className;     // from the meta object, e.g. "xb::app::WelcomeWindow"
    QString caption;       // the window title once shown
    bool scripted = false; // a queued action ran on it
    bool leftOpen = false; // still visible afterwards, so closed as rejected by the runner
    int result = 0;        // what showModal() returned
};

class ScriptedModal : public ModalRunner {
  public:
    ScriptedModal();
    ~ScriptedModal() override;
    ScriptedModal(const ScriptedModal&) = delete;
    ScriptedModal& operator=(const ScriptedModal&) = delete;

    // Queues what the user does in the next dialog shown. An empty action leaves it to be
    // dismissed (step 4).
    void queue(ModalAction action);

    // Every dialog shown so far, in the order showModal() was called.
    const QList<ModalRequest>& requests() const { return requests_; }
    // Actions not taken yet: a test checks this is zero to prove every expected dialog came.
    qsizetype pendingActions() const { return actions_.size(); }

    int run(QDialog& dialog) override;

  private:
    ModalRunner* previous_;
    QQueue<ModalAction> actions_;
    QList<ModalRequest> requests_;
};

} // namespace xb::ui
