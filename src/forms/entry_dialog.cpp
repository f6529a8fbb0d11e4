#include "forms/entry_dialog.h"

#include "forms/change_marker.h"
#include "forms/child_rows.h"
#include "ui/first_field.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QPushButton>

namespace xb::forms {

EntryDialog::EntryDialog(const QString& objectName, const QString& section,
                         const std::string& table, QWidget* parent)
    : QDialog(parent), marker_(new ChangeMarker(this)), binder_(table, *marker_), section_(section),
      body_(new QWidget(this)), frame_(*this, QString(), body_, false),
      save_(frame_.addButton(QStringLiteral("储存"), QStringLiteral("btnSave01"),
                             [this] { this->save(); })),
      quit_(
          frame_.addButton(QStringLiteral("退出"), QStringLiteral("quit01"), [this] { quit(); })) {
    setObjectName(objectName);
}

void EntryDialog::setButtonNames(const QString& save, const QString& quit) {
    save_->setObjectName(save);
    quit_->setObjectName(quit);
}

bool EntryDialog::showStoredRow(store::Database& db, const std::string& table, uint32_t record) {
    auto rows = db.table(table);
    if (!rows) {
        ui::prompter().showError(rows.error());
        return false;
    }
    store::Cursor& cursor = **rows;
    if (!moveToRecord(cursor, record)) return false;
    return showEntry(EntryMode::Modify, &cursor);
}

bool EntryDialog::showEntry(EntryMode mode, const store::Cursor* row) {
    mode_ = mode;
    saved_ = false;
    setWindowTitle(
        (mode == EntryMode::New ? QStringLiteral("新增－－【") : QStringLiteral("修改－－【")) +
        section_ + QStringLiteral("】"));
    {
        ChangeMarker::Filling quiet(*marker_);
        prepareFill();
        stored_ =
            mode == EntryMode::Modify && row ? binder_.snapshot(*row) : FieldBinder::StoredValues();
        binder_.fill(stored_);
        if (mode == EntryMode::New) prepareNew();
    }
    marker_->clear();
    ui::showModal(*this);
    return saved_;
}

bool EntryDialog::differs() const {
    return binder_.differs(stored_) || differsMore();
}

bool EntryDialog::save() {
    if (isEmpty() && savesSilentlyWhenEmpty()) {
        done(saved_ ? QDialog::Accepted : QDialog::Rejected);
        return false;
    }
    if (const auto failure = check()) {
        reportCheckFailure(*this, *failure);
        return false;
    }
    binder_.showStoredForms();
    if (store::Status s = store(); !s) {
        ui::prompter().showError(s.error());
        return false;
    }
    saved_ = true;
    ui::prompter().warn(QStringLiteral("储存成功！"));
    done(QDialog::Accepted);
    return true;
}

void EntryDialog::quit() {
    if (!quitsSilently() && differs()) {
        if (ui::prompter().confirm(QStringLiteral("请注意！"), leaveQuestion()) && !save() &&
            isVisible())
            return; // a failed check keeps what was typed
    }
    if (isVisible()) done(saved_ ? QDialog::Accepted : QDialog::Rejected);
}

void EntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::focusFirstField(body_);
}

} // namespace xb::forms
