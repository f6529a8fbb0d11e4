// The real main window over a fresh data directory, shown offscreen, with every message box and
// modal page scripted.
#pragma once

#include "app/pages.h"
#include "records/main_window.h"
#include "support/record_fixture.h"
#include "support/window_driver.h"
#include "ui/scripted_modal.h"
#include "ui/scripted_prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class WindowFixture : public RecordFixture {
  protected:
    void SetUp() override {
        RecordFixture::SetUp();
        if (HasFatalFailure()) return;
        if (withUnit) {
            ASSERT_TRUE(db().execute("insert into unit (item_9) values ('本单位')").ok());
        }
    }
    void TearDown() override {
        if (main) {
            main->setAttribute(Qt::WA_DeleteOnClose, false);
            main->hide();
        }
        main.reset();
    }
    // Shows the main window and runs its start-up.
    // `withPages` attaches the program's pages as the program does.
    void start(bool withPages = false) {
        main = std::make_unique<xb::records::TMainForm>(*store);
        if (withPages) xb::app::installPages(*main, *store);
        main->show();
        QApplication::processEvents();
    }
    template <class T = QPushButton> T* find(const char* name, QWidget* in = nullptr) {
        T* w = (in ? in : static_cast<QWidget*>(main.get()))->template findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name, QWidget* in = nullptr) {
        auto* b = find<QAbstractButton>(name, in);
        if (b) b->click();
    }
    // Queues the new-record dialog: fills it and clicks 存储.
    void queueNewRecord(const QString& name, const QString& unit = "第一单位",
                        const QString& year = {}) {
        modal.queue([=, this](QDialog& d) {
            if (!year.isEmpty()) find<QLineEdit>("cbYear", &d)->setText(year);
            find<QLineEdit>("edt_3", &d)->setText(name);
            find<QLineEdit>("edt_9", &d)->setText(unit);
            click("Button1", &d);
        });
    }
    // Plays the user on the page a section button opens: `action` fills and clicks its
    // controls; the page is then left as the action left it (closed by the runner if still open).
    void openSection(const char* button, xb::ui::ModalAction action) {
        modal.queue(std::move(action));
        click(button);
    }
    // Whether the last dialog shown was still open when its action ended.
    bool lastLeftOpen() const {
        return !modal.requests().isEmpty() && modal.requests().last().leftOpen;
    }
    std::string mark(const char* button) {
        return find(button)->property("mark").toString().toStdString();
    }
    int listCount() { return main->recordList() ? main->recordList()->count() : 0; }
    std::string current(const char* fieldName) { return main->recordList()->text(fieldName); }

    bool withUnit = true;
    xb::ui::ScriptedPrompter prompter;
    xb::ui::ScriptedModal modal;
    std::unique_ptr<xb::records::TMainForm> main;
};
