// Pictures of the program's pages as a user sees them, for looking at layouts:
//     xvfb-run -a page_shots OUT_DIR [CATEGORY] BUTTON...
// builds a data directory with one record of the category (1, 2 or 3) in a temporary folder,
// opens the real main window with its pages, clicks each named main window button and saves
// every dialog that opens as OUT_DIR/<object name>.png (and the main window as TMainForm.png).
// An argument "sql:STATEMENT" runs the statement on the data first (to show a page in a given
// state); a button "btn_page02/Button1" also clicks Button1 in the page btn_page02 opens.
#include "app/pages.h"
#include "data_directory.h"
#include "records/main_window.h"
#include "store/record_store.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <iostream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: page_shots OUT_DIR [CATEGORY] BUTTON...\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    int first = 2;
    std::string category = "1";
    if (argc > 2 && std::string(argv[2]).size() == 1) category = argv[first++];

    QTemporaryDir dir;
    const std::string data = (dir.path() + "/data").toStdString();
    if (auto built =
            xb::install::buildDataDirectory(data, xb::install::repositorySources(XB_SOURCE_DIR));
        !built) {
        std::cerr << built.message() << "\n";
        return 1;
    }
    xb::store::RecordStore store(data);
    if (auto opened = store.open(); !opened) {
        std::cerr << opened.message() << "\n";
        return 1;
    }
    xb::store::Database& db = store.db();
    auto inserted = db.execute("insert into unit (item_9) values ('中国农业科学院茶叶研究所')");
    if (inserted)
        inserted = db.execute(
            "insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9) values ('2024000001', "
            "'.', :category, '茶树良种快速繁育技术研究与示范推广', '中国农业科学院茶叶研究所')",
            {{"category", category}});
    for (int i = first; inserted && i < argc; ++i)
        if (std::string(argv[i]).rfind("sql:", 0) == 0) inserted = db.execute(argv[i] + 4);
    if (!inserted) {
        std::cerr << inserted.message() << "\n";
        return 1;
    }

    xb::ui::ScriptedPrompter prompter;
    xb::ui::ScriptedModal modal;
    xb::records::TMainForm main(store);
    xb::app::installPages(main, store);
    main.setCategoryPosition(std::stoi(category) - 1);
    main.show();
    QApplication::processEvents();
    main.ComboBox1Change();
    main.grab().save(out + "/TMainForm.png");
    // Queues the shot of the dialog a click opens; the inner buttons of the path are clicked in it.
    std::function<void(QWidget&, QStringList)> clickPath = [&](QWidget& in, QStringList path) {
        const QString name = path.takeFirst();
        modal.queue([&, path](QDialog& page) {
            QApplication::processEvents();
            page.grab().save(out + "/" + page.objectName() + ".png");
            std::cout << "saved " << (out + "/" + page.objectName() + ".png").toStdString() << "\n";
            if (!path.isEmpty()) clickPath(page, path);
        });
        if (auto* button = in.findChild<QAbstractButton*>(name))
            button->click();
        else
            std::cerr << "no button " << name.toStdString() << "\n";
    };
    for (int i = first; i < argc; ++i)
        if (std::string(argv[i]).rfind("sql:", 0) != 0)
            clickPath(main, QString::fromLocal8Bit(argv[i]).split(u'/'));
    return 0;
}
