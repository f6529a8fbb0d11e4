// xunbao-cli: the store, exchange and checks of Xunbao for scripts.
#include "app/app_paths.h"
#include "app/cli_commands.h"
#include "app/date_text.h"
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return xb::app::cli::run(args, xb::app::dataDirectory().toStdString(), {std::cout, std::cerr});
}
