// The executable: one copy per machine, dates in the form yyyy-MM-dd, then the windows.

#include "app/application_title.h"
#include "app/data_location.h"
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
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The desktop knows the program as Xunbao (its window class and per-user data folder); the
    // application title names the single-instance lock.
    QApplication::setApplicationName(QStringLiteral("Xunbao"));
    QGuiApplication::setDesktopFileName(QStringLiteral("xunbao"));
    // The installed icon in title and task bars (a copy of the build output has none).
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("xunbao")));

    xb::app::SingleInstanceGuard guard(xb::app::applicationTitle());
    // Another copy is running: leave it alone and end without a word. A lock that cannot be
    // made at all (no writable temporary folder) does not keep the user from working.
    if (guard.acquire() == xb::app::SingleInstanceGuard::Outcome::HeldByAnother) return 0;

    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();

    // The data directory gets what it lacks of the installation (all of it on a first start).
    const xb::app::DataLocation data = xb::app::dataLocation(QApplication::arguments());
    if (!data.notice.isEmpty()) xb::ui::prompter().warn(data.notice);
    if (const QString sources = xb::app::installationDirectory(); !sources.isEmpty())
        if (auto completed = xb::app::completeDataDirectory(data.directory, sources); !completed)
            xb::ui::prompter().showError(completed.error());

    xb::app::WelcomeWindow welcome(xb::app::welcomePicturePath(data.directory));

    // The record store is opened before any window and held for the whole run.
    xb::store::RecordStore store(data.directory.toStdString(), xb::store::StoreUse::Write,
                                 "应用程序 Xunbao");
    if (!xb::app::openRecordStore(store)) return 0;

    xb::records::TMainForm main(store, &welcome);
    main.setWindowTitle(main.windowTitle() + QStringLiteral(" － ") +
                        QDir::toNativeSeparators(data.directory));
    xb::app::installPages(main, store);
    main.show();
    return app.exec();
}
