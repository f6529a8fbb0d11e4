// xunbao-cli: the store, exchange and checks of Xunbao for scripts.
#include "app/app_paths.h"
#include "app/cli_commands.h"
#include "app/cli_print.h"
#include "app/date_text.h"
#include "authority/gather_run.h"
#include "ui/qt_translations.h"

#include <QGuiApplication>

#include <algorithm>
#include <iostream>
#include <memory>

int main(int argc, char* argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    // Only printing draws pages and needs fonts; it runs without a display.
    std::unique_ptr<QCoreApplication> app;
    if (std::find(args.begin(), args.end(), "print") != args.end()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();
    const auto gather = [](const std::string& db, const std::vector<std::string>& inputs,
                           const std::string& report, xb::app::cli::Streams io) {
        return xb::authority::runGather(
            {db, inputs, report, (xb::app::installationDirectory() + "/rows").toStdString()},
            io.out, io.err);
    };
    return xb::app::cli::run(args, xb::app::dataDirectory().toStdString(), {std::cout, std::cerr},
                             xb::app::cli::printForm, gather);
}
