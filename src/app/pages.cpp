#include "pages.h"

#include "analysis/backup_window.h"
#include "analysis/duplicates_window.h"
#include "analysis/history_window.h"
#include "analysis/statistics_window.h"

#include "exchange/code_manage_window.h"
#include "exchange/export_window.h"
#include "exchange/import_window.h"
#include "output/print_form.h"
#include "pages/certificate_page.h"
#include "pages/form_tree.h"
#include "pages/overview_page.h"
#include "pages/project_page.h"
#include "pages/property_page.h"
#include "parties/committee_page.h"
#include "parties/completers_page.h"
#include "parties/cooperating_units_page.h"
#include "parties/first_unit_page.h"
#include "parties/profile_page.h"
#include "records/main_window.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QLineEdit>

namespace xb::app {

void installPages(records::TMainForm& main, store::RecordStore& store) {
    // Every window is created once, owned by the main window, and reused.
    auto* profile = new parties::TFpage4a(store, &main);
    auto* picker = new pages::TFormTree(store.db(), &main);
    auto* exportWindow = new exchange::TFormout(store, &main);
    auto* codeManage = new exchange::TFcodeManage(store, &main);
    auto* importWindow = new exchange::TFormin(store, &main);

    records::MainWindowPages pages;
    pages.profile = [&main, profile] {
        profile->showProfile();
        main.applyProfileEnabling();
    };
    pages.exportWindow = [&main, exportWindow] {
        ui::showModal(*exportWindow);
        main.refreshAll();
    };
    pages.importWindow = [&main, importWindow] {
        ui::showModal(*importWindow);
        main.refreshAll(true);
    };
    pages.codeManage = [codeManage] { ui::showModal(*codeManage); };
    auto* statistics = new analysis::StatisticsWindow(store, &main);
    pages.statistics = [&main, statistics] {
        statistics->showStatistics(main.yearText(), QString::number(main.categoryPosition() + 1));
    };
    auto* duplicates = new analysis::DuplicatesWindow(store, &main);
    pages.duplicates = [&main, duplicates] {
        if (duplicates->showDuplicates() != QDialog::Accepted) return;
        if (!main.showRecord(duplicates->chosenNumber(), duplicates->chosenCategory()))
            ui::prompter().warn(
                QStringLiteral("主窗口中找不到成果 %1").arg(duplicates->chosenNumber()));
    };
    auto* history = new analysis::HistoryWindow(store.db(), &main);
    pages.history = [&main, history] {
        const store::Cursor* record = main.recordList();
        history->showHistory(QString::fromStdString(record->text("item_4")),
                             QString::fromStdString(record->text("item_3")));
    };
    auto* backups = new analysis::BackupWindow(store, &main);
    pages.backups = [&main, backups] {
        if (backups->showBackups()) main.refreshAll(true);
    };
    pages.sections[records::Section::Overview] = new pages::TFpage1(store, *picker, &main);
    auto* printWindow = new output::TPrintForm(store, &main);
    pages.printWindow = [&main, printWindow] {
        const store::Cursor* record = main.recordList();
        printWindow->showRecord(record->text("item_4"), record->text("item_dqdm"),
                                record->text("item_cglb"));
    };
    pages.sections[records::Section::FirstUnit] = new parties::TFpage4(store.db(), &main);
    pages.sections[records::Section::Certificate] = new pages::TFpage9(&main);
    pages.sections[records::Section::Partners] = new parties::TFpage5(store.db(), &main);
    pages.sections[records::Section::Completers] = new parties::TFpage8(store.db(), &main);
    pages.sections[records::Section::Committee] = new parties::TFpage7(store.db(), &main);
    pages.sections[records::Section::Project] = new pages::TFpage3(store.db(), &main);
    auto* property = new pages::TFpage2(store.db(), &main);
    property->setPatentListLeft([&main] { main.evaluateEnabledState(); });
    pages.sections[records::Section::Property] = property;
    main.queryBuilder()->setClassificationPicker(
        [picker](const QString& table, QLineEdit* box) { picker->pick(box, table); });
    main.setPages(std::move(pages));
}

} // namespace xb::app
