// xunbao-cli: the store, exchange and checks of Xunbao for scripts.
#include "app/cli_commands.h"
#include "app/cli_print.h"
#include "app/data_location.h"
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
    // The application's name chooses the per-user data folder: the same for both programs.
    QCoreApplication::setApplicationName(QStringLiteral("Xunbao"));
    xb::app::useApplicationLocale();
    xb::ui::installQtChineseTranslation();
    const auto gather = [](const std::string& db, const std::vector<std::string>& inputs,
                           const std::string& report, xb::app::cli::Streams io) {
        return xb::authority::runGather(
            {db, inputs, report, (xb::app::installationDirectory() + "/rows").toStdString()},
            io.out, io.err);
    };
    const xb::app::DataLocation data = xb::app::dataLocation(app->arguments());
    if (!data.notice.isEmpty()) std::cerr << "提示：" << data.notice.toStdString() << "\n";
    return xb::app::cli::run(args, data.directory.toStdString(), {std::cout, std::cerr},
                             xb::app::cli::printForm, gather);
}
