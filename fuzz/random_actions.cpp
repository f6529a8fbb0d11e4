// The application as its executable composes it - welcome window, record store, main window and
// every other window, the real event loop, real modal loops and real message boxes - played by a
// seeded stream of random clicks and keys, on a data directory of its own in a temporary folder.
// File and folder choices answer with paths inside that folder (or cancel), and printing goes to
// the in-memory test printer, so the stream writes nowhere else. Run it under a sanitizer build
// and a display (fuzz/random_actions.sh does both): it ends normally after the actions, and a
// fault ends it early with the sanitizer's report.
//
//   xunbao_random_actions [--actions N] [--seed S]

#include "app/application_title.h"
#include "app/date_text.h"
#include "app/pages.h"
#include "app/store_opening.h"
#include "app/welcome_window.h"
#include "data_directory.h"
#include "records/main_window.h"
#include "store/record_store.h"
#include "support/random_input.h"
#include "ui/dialog_prompter.h"
#include "ui/qt_translations.h"
#include "ui/scripted_printer.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHashSeed>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <random>

int main(int argc, char* argv[]) {
    // Hashes iterate in one order in every run, so that a seed plays the same stream again.
    QHashSeed::setDeterministicGlobalSeed();
    QApplication app(argc, argv);
    QApplication::setApplicationName(xb::app::applicationTitle());
    qint64 actions = 10000;
    quint64 seed = std::random_device{}();
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--actions") actions = args[i + 1].toLongLong();
        if (args[i] == "--seed") seed = args[i + 1].toULongLong();
    }
    std::printf("random actions: seed %llu, %lld actions\n", static_cast<unsigned long long>(seed),
                static_cast<long long>(actions));
    std::fflush(stdout);

    QTemporaryDir root;
    const QString data = QDir(root.path()).filePath("data");
    const QString out = QDir(root.path()).filePath("out");
    QDir().mkpath(out);
    auto built = xb::install::buildDataDirectory(data.toStdString(),
                                                 xb::install::repositorySources(XB_SOURCE_DIR));
    if (!built.ok()) {
        std::fprintf(stderr, "%s\n", built.message().c_str());
        return 2;
    }
    {
        // The organization's profile and two records, so that the pages have something to open.
        xb::store::RecordStore seeding(data.toStdString());
        const char* rows[] = {
            "insert into unit (item_9) values ('本单位')",
            "insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9) values "
            "('2024000001', '.', '1', '水稻新品种选育', '本单位')",
            "insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9) values "
            "('2024000002', '.', '2', '区域发展战略', '本单位')"};
        std::string fault;
        if (xb::store::Status opened = seeding.open(); !opened) fault = opened.message();
        for (const char* row : rows)
            if (auto added = seeding.db().execute(row); fault.empty() && !added.ok())
                fault = added.message();
        if (!fault.empty()) {
            std::fprintf(stderr, "%s\n", fault.c_str());
            return 2;
        }
    }
    // Bad input the choices may come upon: no such file, and bytes that are no package.
    QFile junk(QDir(out).filePath("CGSBQY.ARJ"));
    if (junk.open(QIODevice::WriteOnly)) junk.write("not an archive\n");
    junk.close();

    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();

    xbtest::RandomInput input(seed);
    input.setProcessesEvents(false);
    xb::ui::DialogPrompter boxes;
    xbtest::RandomPrompter prompter(
        input,
        {QDir(out).filePath("cgsbqy.arj"), QDir(out).filePath("CGSBQY.ARJ"),
         QDir(out).filePath("missing.arj"), QDir(data).filePath("kjcg.dbf")},
        {out, root.path()}, &boxes);
    xb::ui::ScriptedPrinter printer;

    xb::app::WelcomeWindow welcome(xb::app::welcomePicturePath(data));
    xb::store::RecordStore store(data.toStdString(), xb::store::StoreUse::Write, "应用程序 Xunbao");
    if (!xb::app::openRecordStore(store)) return 2;
    xb::records::TMainForm main(store, &welcome);
    xb::app::installPages(main, store);
    main.show();

    // Each step acts on the window the user would be facing: an open list or menu, else the
    // modal window, else the main window. A step arms the next one before it acts, because its
    // action may open a modal loop, and the following actions are played inside that loop.
    constexpr int kPatience = 400;
    int awayFor = 0;
    std::function<void()> step = [&] {
        if (input.actions() >= actions) {
            QApplication::exit(0);
            return;
        }
        QTimer::singleShot(0, step);
        QWidget* window = QApplication::activePopupWidget();
        if (!window) window = QApplication::activeModalWidget();
        if (!window) window = &main;
        if (!window->isVisible()) window->show();
        // A page that keeps refusing to close (its checks fail on what the stream typed) is
        // left as the test seam leaves it, window by window back to the main window, so that
        // the stream reaches the other windows too.
        awayFor = window == &main ? 0 : awayFor + 1;
        if (awayFor > kPatience) {
            // A window may refuse again (a question that brings it back): the stream goes on in
            // it for a while before the next try.
            awayFor = kPatience / 2;
            if (auto* dialog = qobject_cast<QDialog*>(window)) {
                dialog->done(QDialog::Rejected);
                return;
            }
        }
        if (input.actions() > 0 && input.actions() % 1000 == 0) {
            std::printf("random actions: %lld played\n", static_cast<long long>(input.actions()));
            std::fflush(stdout);
        }
        input.act(*window);
    };
    // Closing the main window ends a real run; here the next action shows it again, as the next
    // start of the program would.
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, step);
    const int status = app.exec();

    std::printf("random actions: %lld actions done, seed %llu\n",
                static_cast<long long>(input.actions()), static_cast<unsigned long long>(seed));
    for (auto it = input.actionsPerWindow().begin(); it != input.actionsPerWindow().end(); ++it)
        std::printf("  %-24s %lld\n", qPrintable(it.key()), static_cast<long long>(it.value()));

    // The tables the stream wrote must still open and read to their last row.
    main.hide();
    const QStringList faults = xbtest::unreadableTables(data.toStdString());
    for (const QString& fault : faults)
        std::printf("unreadable table: %s\n", qPrintable(fault));
    return faults.isEmpty() ? status : 1;
}
