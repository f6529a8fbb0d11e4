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
    const Qt::WindowModality modality = dialog.windowModality();
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setResult(0);

    // The result is caught from finished() as well, because an action may close a dialog that
    // deletes itself on close; the QPointer tells whether it is still there.
    int result = 0;
    QPointer<QDialog> alive(&dialog);
    const auto connection =
        QObject::connect(&dialog, &QDialog::finished, [&result](int code) { result = code; });

    dialog.show();
    dialog.activateWindow();
    QCoreApplication::processEvents();

    // Recorded before the action runs, so that dialogs it opens are listed after this one.
    const qsizetype index = requests_.size();
    requests_.append({dialog.objectName(), QString::fromLatin1(dialog.metaObject()->className()),
                      dialog.windowTitle()});

    ModalAction action = actions_.isEmpty() ? ModalAction() : actions_.dequeue();
    if (action) {
        requests_[index].scripted = true;
        action(dialog);
    }
    if (alive && alive->isVisible()) {
        requests_[index].leftOpen = true;
        alive->done(QDialog::Rejected);
    }
    if (alive) {
        QObject::disconnect(connection);
        result = alive->result();
        alive->setWindowModality(modality);
    }
    requests_[index].result = result;
    return result;
}

} // namespace xb::ui
