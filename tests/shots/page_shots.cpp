// Pictures of the program's pages as a user sees them, for looking at layouts:
//     xvfb-run -a page_shots OUT_DIR [CATEGORY] BUTTON[/INNER]...
// builds a data directory with one record of the category (1, 2 or 3) in a temporary folder,
// opens the real main window with its pages, clicks each named main window button and saves
// every dialog that opens as OUT_DIR/<object name>.png (and the main window as TMainForm.png),
// each further tab of its tab widgets as OUT_DIR/<object name>_<tab widget>_<index>.png.
// A path element "Edt_301=TEXT" types TEXT into that text box of the page before the next click.
// An argument "sql:STATEMENT" runs the statement on the data first (to show a page in a given
// state); a button "btn_page02/Button1" also clicks Button1 in the page btn_page02 opens.
// The word "message" instead of a button shows a message box under a long caption and saves the
// whole screen, the window manager's title bar included, as OUT_DIR/message.png.
#include "app/pages.h"
#include "records/main_window.h"
#include "sample_store.h"
#include "ui/dialog_prompter.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
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
    const auto opened = openSampleStore(data);
    if (!opened) return 1;
    xb::store::RecordStore& store = *opened;
    xb::store::Database& db = store.db();
    auto inserted = db.execute("insert into unit (item_9) values ('中国农业科学院茶叶研究所')");
    if (inserted)
        inserted = db.execute(
            "insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9) values ('2024000001', "
            "'.', :category, '茶树良种快速繁育技术研究与示范推广', '中国农业科学院茶叶研究所')",
            {{"category", category}});
    // A few completers and cooperating organizations, so that their lists show rows.
    const char* const samples[] = {
        "insert into cgwcr (item_4, item_dqdm, item_187, item_no, item_180, item_181, item_182, "
        "item_183, item_184, item_185, item_186, item_188) values ('2024000001', '.', 1, 1, "
        "'王建国', '0', '1962.05', 'b', '2', '中国农业科学院茶叶研究所', '主持项目，提出技术路线', "
        "'1')",
        "insert into cgwcr (item_4, item_dqdm, item_187, item_no, item_180, item_181, item_182, "
        "item_183, item_184, item_185, item_186, item_188) values ('2024000001', '.', 2, 2, "
        "'李秀英', '1', '1975.11', '2', '3', '中国农业科学院茶叶研究所', '扦插繁育试验', '0')",
        "insert into cgwcdw (item_4, item_dqdm, item_176, item_170, item_171, item_172, item_173, "
        "item_174) values ('2024000001', '.', 1, '浙江大学茶学系', '浙江省杭州市西湖区余杭塘路"
        "866号', '310058', '张明', '0571-88982345')",
    };
    for (const char* sample : samples)
        if (inserted) inserted = db.execute(sample);
    // Two committee members, so that the committee list shows rows.
    for (const char* member :
         {"1, '主任委员', '陈宗懋', '0', '1', '中国农业科学院茶叶研究所', '茶学', '茶树植物保护', "
          "'c'",
          "2, '委员', '欧阳晓萍', '1', '3', '浙江大学农业与生物技术学院', '植物遗传育种', "
          "'茶树育种', '2'"})
        if (inserted)
            inserted = db.execute("insert into jdwyhmd (item_4, item_dqdm, item_190, item_191, "
                                  "item_192, item_193, item_194, item_195, item_196, item_197, "
                                  "item_198) values ('2024000001', '.', " +
                                  std::string(member) + ")");
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
    main.show();
    QApplication::processEvents();
    // After the start-up, which selects the first category.
    main.setCategoryPosition(std::stoi(category) - 1);
    main.ComboBox1Change();
    main.grab().save(out + "/TMainForm.png");
    const auto save = [&](QDialog& dialog) {
        QApplication::processEvents();
        dialog.grab().save(out + "/" + dialog.objectName() + ".png");
        std::cout << "saved " << (out + "/" + dialog.objectName() + ".png").toStdString() << "\n";
        // The further tabs of the dialog's tab widgets, one picture each.
        for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
            for (int t = 1; t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                QApplication::processEvents();
                const QString file = out + "/" + dialog.objectName() + "_" + tabs->objectName() +
                                     "_" + QString::number(t) + ".png";
                dialog.grab().save(file);
                std::cout << "saved " << file.toStdString() << "\n";
            }
            tabs->setCurrentIndex(0);
        }
    };
    // Queues the shot of the dialog a click opens; the inner buttons of the path are clicked in it.
    std::function<void(QWidget&, QStringList)> clickPath = [&](QWidget& in, QStringList path) {
        const QString name = path.takeFirst();
        // "Edt_301=text" types into a text box of the page, as a user would before saving.
        if (const qsizetype equals = name.indexOf(u'='); equals > 0) {
            if (auto* box = in.findChild<QLineEdit*>(name.left(equals)))
                box->setText(name.mid(equals + 1));
            else
                std::cerr << "no text box " << name.left(equals).toStdString() << "\n";
            if (!path.isEmpty()) clickPath(in, path);
            return;
        }
        modal.queue([&, path](QDialog& page) {
            save(page);
            if (!path.isEmpty()) clickPath(page, path);
        });
        if (auto* button = in.findChild<QAbstractButton*>(name))
            button->click();
        else
            std::cerr << "no button " << name.toStdString() << "\n";
    };
    for (int i = first; i < argc; ++i) {
        if (std::string(argv[i]) == "message") {
            const auto box = xb::ui::buildMessageBox(
                {QStringLiteral("成果名称：茶树良种快速繁育技术研究与示范推广"),
                 QStringLiteral("储存成功！"), xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok});
            box->show();
            for (int wait = 0; wait < 20; ++wait) { // the window manager decorates it meanwhile
                QApplication::processEvents();
                QThread::msleep(50);
            }
            QApplication::primaryScreen()->grabWindow(0).save(out + "/message.png");
        } else if (std::string(argv[i]).rfind("sql:", 0) != 0) {
            clickPath(main, QString::fromLocal8Bit(argv[i]).split(u'/'));
        }
    }
    return 0;
}
