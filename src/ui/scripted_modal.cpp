#include "ui/scripted_modal.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>

namespace xb::ui {

ScriptedModal::ScriptedModal() : previous_(setModalRunner(this)) {}

ScriptedModal::~ScriptedModal() {
    setModalRunner(previous_);
}

void ScriptedModal::queue(ModalAction action) {
    actions_.enqueue(std::move(action));
}

int ScriptedModal::run(QDialog& dialog) {
    PlayedDialog played(dialog);
    // Recorded before the action runs, so that dialogs it opens are listed after this one.
    const qsizetype index = requests_.size();
    requests_.append({dialog.objectName(), QString::fromLatin1(dialog.metaObject()->className()),
                      dialog.windowTitle()});

    ModalAction action = actions_.isEmpty() ? ModalAction() : actions_.dequeue();
    if (action) {
        requests_[index].scripted = true;
        action(dialog);
    }
    const int result = played.finish(&requests_[index].leftOpen);
    requests_[index].result = result;
    return result;
}

PlayedDialog::PlayedDialog(QDialog& dialog) : alive_(&dialog), modality_(dialog.windowModality()) {
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setResult(0);
    connection_ =
        QObject::connect(&dialog, &QDialog::finished, [this](int code) { result_ = code; });
    dialog.show();
    dialog.activateWindow();
    QCoreApplication::processEvents();
}

int PlayedDialog::finish(bool* leftOpen) {
    if (alive_ && alive_->isVisible()) {
        if (leftOpen) *leftOpen = true;
        alive_->done(QDialog::Rejected);
    }
    if (alive_) {
        QObject::disconnect(connection_);
        result_ = alive_->result();
        alive_->setWindowModality(modality_);
    }
    return result_;
}

} // namespace xb::ui
