// The executable: one copy per machine, dates in the form yyyy-MM-dd, then the windows.

#include "app/app_paths.h"
#include "app/application_title.h"
#include "app/date_text.h"
#include "app/pages.h"
#include "app/single_instance.h"
#include "app/store_opening.h"
#include "app/welcome_window.h"
#include "records/main_window.h"
#include "store/record_store.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/qt_translations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(xb::app::applicationTitle());

    xb::app::SingleInstanceGuard guard(xb::app::applicationTitle());
    // Another copy is running: leave it alone and end without a word. A lock that cannot be
    // made at all (no writable temporary folder) does not keep the user from working.
    if (guard.acquire() == xb::app::SingleInstanceGuard::Outcome::HeldByAnother) return 0;

    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();

    xb::app::WelcomeWindow welcome(xb::app::welcomePicturePath());

    // The record store is opened before any window and held for the whole run.
    xb::store::RecordStore store(xb::app::dataDirectory().toStdString(), xb::store::StoreUse::Write,
                                 "应用程序 Xunbao");
    if (!xb::app::openRecordStore(store)) return 0;

    xb::records::TMainForm main(store, &welcome);
    xb::app::installPages(main, store);
    main.show();
    return app.exec();
}
