// The executable: one copy per machine, dates in the form yyyy-MM-dd, then the windows.

#include "app/application_title.h"
#include "app/date_text.h"
#include "app/modal.h"
#include "app/single_instance.h"
#include "app/welcome_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's own dialogs (file choosers) speak Chinese when Qt's translations are installed; without
// them they stay in English, which is no reason to stop.
void installQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(xb::app::applicationTitle());

    xb::app::SingleInstanceGuard guard(xb::app::applicationTitle());
    // Another copy is running: leave it alone and end without a word. A lock that cannot be
    // made at all (no writable temporary folder) does not keep the user from working.
    if (guard.acquire() == xb::app::SingleInstanceGuard::Outcome::HeldByAnother) return 0;

    xb::app::useApplicationLocale();
    installQtTranslations(app);

    xb::app::WelcomeWindow welcome(xb::app::welcomePicturePath());

    // ------------------------------------------------------------------------------------
    // MAIN WINDOW GOES HERE. Open the record store of xb::app::dataDirectory() (showing a
    // failure through prompter()), create TMainForm and every other window once, show the main
    // window and return app.exec(). The main window's first show runs
    // xb::app::showModal(welcome) and the rest of its start-up, and its exit closes `welcome`.
    // Until then the program shows the welcome window and ends.
    // ------------------------------------------------------------------------------------
    xb::app::showModal(welcome);
    return 0;
}
