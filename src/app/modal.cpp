#include "app/modal.h"

#include <QDialog>
#include <utility>

namespace xb::app {

namespace {

ModalRunner* installed = nullptr;

} // namespace

int showModal(QDialog& dialog) {
    return installed ? installed->run(dialog) : dialog.exec();
}

ModalRunner* setModalRunner(ModalRunner* runner) {
    return std::exchange(installed, runner);
}

} // namespace xb::app
