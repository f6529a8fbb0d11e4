#include "forms/record_page.h"

#include "forms/change_marker.h"
#include "ui/first_field.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTabWidget>

namespace xb::forms {

RecordPage::RecordPage(const QString& objectName, const QString& banner, const std::string& table,
                       RecordPageButtons buttons, QuitRules quitRules, QWidget* parent)
    : QDialog(parent), marker_(new ChangeMarker(this)), binder_(table, *marker_),
      quitRules_(quitRules), body_(new QWidget(this)), frame_(*this, banner, body_, true) {
    setObjectName(objectName);
    if (!buttons.help.isEmpty()) {
        help_ = new QPushButton(QStringLiteral("帮助"), this);
        help_->setObjectName(buttons.help);
        frame_.addLeftButton(help_, [this] { help(); });
    }
    frame_.addButton(QStringLiteral("储存"), buttons.save, [this] { this->save(); });
    frame_.addButton(QStringLiteral("退出"), buttons.quit, [this] { quit(); });
}

void RecordPage::load(store::Cursor& record, int categoryPosition) {
    row_ = &record;
    categoryPosition_ = categoryPosition;
    saved_ = false;
    fill();
    setWindowTitle(caption(record));
}

bool RecordPage::open(store::Cursor& record, int categoryPosition) {
    load(record, categoryPosition);
    if (fillError_) {
        ui::prompter().warn(QStringLiteral("读入数据时出错:") +
                            QString::fromStdString(fillError_->message));
        row_ = nullptr;
        return false;
    }
    ui::showModal(*this);
    row_ = nullptr;
    return saved_;
}

QString RecordPage::caption(const store::Cursor& record) const {
    return QStringLiteral("成果名称：") + QString::fromStdString(record.text("item_3"));
}

void RecordPage::fillFailed(const store::Error& error) {
    if (!fillError_) fillError_ = error;
}

void RecordPage::fill() {
    fillError_.reset();
    ChangeMarker::Filling quiet(*marker_);
    prepareFill(*row_);
    binder_.fill(*row_);
    afterFill(*row_);
    for (QTabWidget* tabs : findChildren<QTabWidget*>())
        tabs->setCurrentIndex(0);
    marker_->clear();
}

store::Status RecordPage::beginEdit(store::Cursor& record) {
    return record.edit();
}

bool RecordPage::save() {
    if (!row_) return false;
    if (const auto failure = check()) {
        reportCheckFailure(*this, *failure);
        return false;
    }
    // Nothing is cut silently: a value longer than its field is refused with the field named.
    if (const auto label = binder_.overflowingField()) {
        ui::prompter().warn(QStringLiteral("\"") + *label +
                            QStringLiteral("\"的内容超出了可储存的长度，请删减后再储存！"));
        return false;
    }
    beforeWrite();
    if (store::Status s = writeRow(); !s) {
        ui::prompter().showError(s.error());
        return false;
    }
    saved_ = true;
    afterPost();
    marker_->clear();
    ui::prompter().warn(QStringLiteral("储存成功！"));
    return true;
}

store::Status RecordPage::writeRow() {
    if (!row_) return store::fail("没有可储存的记录");
    binder_.showStoredForms();
    store::Status s = beginEdit(*row_);
    if (s) s = binder_.write(*row_);
    if (s) s = writeMore(*row_);
    if (s) s = row_->post();
    if (!s && row_->editing()) row_->cancel();
    return s;
}

void RecordPage::addButton(QPushButton* button) {
    frame_.addLeftButton(button);
}

void RecordPage::quit() {
    if (!row_) return;
    if (quitRules_.runsChecks) {
        if (const auto failure = check()) {
            reportCheckFailure(*this, *failure);
            return;
        }
    }
    if (binder_.differs(*row_) || differsMore(*row_)) {
        if (ui::prompter().confirm(QStringLiteral("请注意！"),
                                   QStringLiteral("记录已经更改,是否保存？")) &&
            !save() && quitRules_.staysOpenOnFailedSave)
            return;
    }
    frame_.close(QDialog::Accepted);
}

void RecordPage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    frame_.shown();
    // Every opening starts at the first field, never on 退出.
    ui::focusFirstField(body_);
}

void RecordPage::closeEvent(QCloseEvent* event) {
    // Only 退出 closes the page.
    if (!frame_.closing()) event->ignore();
}

} // namespace xb::forms
