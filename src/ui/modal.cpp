#include "ui/modal.h"

#include <QDialog>
#include <utility>

namespace xb::ui {

namespace {

ModalRunner* installed = nullptr;

} // namespace

int showModal(QDialog& dialog) {
    return installed ? installed->run(dialog) : dialog.exec();
}

ModalRunner* setModalRunner(ModalRunner* runner) {
    return std::exchange(installed, runner);
}

} // namespace xb::ui
