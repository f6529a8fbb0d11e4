#include "subject_leader_dialog.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "ui/field_labels.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xb::parties {
namespace {

using ui::fieldLabel;
using ui::maroonLabel;

// Sex and research field codes are read from the first two characters of the entry.
constexpr int kStoredCodeWidth = 2;

QLineEdit* lineEdit(const char* name, int bytes, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    ui::limitToGbkBytes(edit, bytes);
    return edit;
}

QString caption(bool newMode) {
    return (newMode ? QStringLiteral("新增－－【") : QStringLiteral("修改－－【")) +
           QStringLiteral("学科带头人名单】");
}

} // namespace

TFinto11::TFinto11(store::Database& db, QWidget* parent)
    : QDialog(parent), db_(db), name_(lineEdit("edtry_180", 20, this)), sex_(new QComboBox(this)),
      year_(lineEdit("Edt_both_1", 4, this)), month_(lineEdit("edt_both_2", 2, this)),
      field_(new QComboBox(this)), description_(lineEdit("edtry_186", 160, this)),
      fieldMarker_(new forms::ChangeMarker(this)) {
    setObjectName(QStringLiteral("TFinto11"));
    setWindowTitle(caption(true));
    sex_->setObjectName(QStringLiteral("cbry_181"));
    field_->setObjectName(QStringLiteral("cbry_124_1"));
    fieldMarker_->watch(field_);
    year_->setMaximumWidth(70);
    month_->setMaximumWidth(50);

    auto* birth = new QHBoxLayout;
    birth->addWidget(year_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("年"), this));
    birth->addWidget(month_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("月"), this));
    birth->addWidget(ui::maroonLabel(QStringLiteral("格式(YYYY.MM)"), this));
    birth->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(ui::maroonLabel(QStringLiteral("姓名"), this), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("性别"), this), 1, 0);
    grid->addWidget(sex_, 1, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("出生年月"), this), 2, 0);
    grid->addLayout(birth, 2, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("研究领域"), this), 3, 0);
    grid->addWidget(field_, 3, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("简要说明"), this), 4, 0);
    grid->addWidget(description_, 4, 1);
    grid->setColumnStretch(1, 1);

    auto* save = new QPushButton(QStringLiteral("储存"), this);
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    save->setObjectName(QStringLiteral("btnSave01"));
    quit->setObjectName(QStringLiteral("quit01"));
    save->setAutoDefault(false);
    quit->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &TFinto11::btnSave01Click);
    connect(quit, &QPushButton::clicked, this, &TFinto11::quit01Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());
}

void TFinto11::fillLists() {
    forms::ChangeMarker::Filling quiet(*fieldMarker_);
    if (store::Status s = forms::fillFromDictionary(sex_, db_, QStringLiteral("item_181"), false);
        !s)
        ui::prompter().showError(s.error());
    if (store::Status s =
            forms::fillFromDictionary(field_, db_, QStringLiteral("item_124_1"), false);
        !s)
        ui::prompter().showError(s.error());
}

bool TFinto11::showNew(const QString& unitCode) {
    unitCode_ = unitCode;
    position_ = -1;
    newMode_ = true;
    saved_ = false;
    from_ = SubjectLeader();
    fillLists();
    name_->clear();
    description_->clear();
    year_->clear();
    month_->clear();
    setWindowTitle(caption(true));
    ui::showModal(*this);
    return saved_;
}

bool TFinto11::showModify(const QString& unitCode, int position, const SubjectLeader& leader) {
    unitCode_ = unitCode;
    position_ = position;
    newMode_ = false;
    saved_ = false;
    from_ = leader;
    fillLists();
    {
        forms::ChangeMarker::Filling quiet(*fieldMarker_);
        name_->setText(leader.name);
        forms::selectStoredCode(sex_, leader.sex);
        forms::selectStoredCode(field_, leader.field);
        description_->setText(leader.description);
        year_->setText(leader.birth.left(4));
        month_->setText(leader.birth.mid(5, 2));
    }
    setWindowTitle(caption(false));
    ui::showModal(*this);
    return saved_;
}

void TFinto11::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fieldMarker_->clear();
    name_->setFocus();
}

LeaderEntry TFinto11::entry() const {
    LeaderEntry entry;
    entry.name = name_->text();
    if (sex_->currentIndex() >= 0) entry.sex = forms::chosenCode(sex_, kStoredCodeWidth);
    entry.year = year_->text();
    entry.month = month_->text();
    entry.field = forms::chosenCode(field_, kStoredCodeWidth);
    entry.description = description_->text();
    return entry;
}

bool TFinto11::save() {
    const LeaderEntry current = entry();
    const int thisYear = QDateTime::currentDateTimeUtc().date().year();
    if (const auto failure = checkLeaderEntry(current, thisYear)) {
        ui::prompter().warn(failure->message);
        if (QWidget* control = findChild<QWidget*>(failure->control)) control->setFocus();
        return false;
    }
    const store::Status written = newMode_
                                      ? addSubjectLeader(db_, unitCode_, current)
                                      : changeSubjectLeader(db_, unitCode_, position_, current);
    if (!written) {
        ui::prompter().showError(written.error());
        return false;
    }
    saved_ = true;
    ui::prompter().warn(QStringLiteral("储存成功！"));
    if (newMode_) {
        name_->clear();
        description_->clear();
    }
    return true;
}

void TFinto11::btnSave01Click() {
    if (save()) QDialog::done(QDialog::Accepted);
}

void TFinto11::quit01Click() {
    const LeaderEntry current = entry();
    const bool blank = current.name.isEmpty() && current.description.isEmpty();
    if (!blank && leaderEntryDiffers(from_, current, fieldMarker_->isSet())) {
        if (ui::prompter().confirm(QStringLiteral("请注意！"),
                                   QStringLiteral("记录已更改，是否保存后退出？")))
            save();
    }
    QDialog::done(saved_ ? QDialog::Accepted : QDialog::Rejected);
}

} // namespace xb::parties
