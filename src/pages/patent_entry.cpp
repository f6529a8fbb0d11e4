#include "pages/patent_entry.h"

#include "forms/lookup_widgets.h"
#include "ui/field_labels.h"
#include "ui/prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace xb::pages {

namespace {

// Status and type codes are read from the first two characters of the entry.
constexpr int kCodeWidth = 2;

} // namespace

TFinto6::TFinto6(store::Database& db, QWidget* parent)
    : EntryDialog(QStringLiteral("TFinto6"), QStringLiteral("专利情况"), "zlqk", parent), db_(db),
      status_(new QComboBox(body())), type_(new QComboBox(body())), number_(new QLineEdit(body())),
      name_(new QLineEdit(body())) {
    setButtonNames(QStringLiteral("Button1"), QStringLiteral("Button2"));
    status_->setObjectName(QStringLiteral("cb_st"));
    type_->setObjectName(QStringLiteral("cb_ty"));
    number_->setObjectName(QStringLiteral("edtzl_no"));
    name_->setObjectName(QStringLiteral("edtzl_name"));
    status_->setMinimumContentsLength(14);
    type_->setMinimumContentsLength(14);

    forms::FieldBinder& b = binder();
    b.code(status_, "PATENT_ST", kCodeWidth);
    b.code(type_, "PATENT_TY", kCodeWidth);
    b.text(number_, "PATENT_NO");
    b.text(name_, "PATENT_NAM");
    b.setLabel("PATENT_NO", QStringLiteral("专利号"));
    b.setLabel("PATENT_NAM", QStringLiteral("专利名称"));

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(ui::maroonLabel(QStringLiteral("专利状况"), body()), 0, 0);
    grid->addWidget(status_, 0, 1, Qt::AlignLeft);
    grid->addWidget(ui::maroonLabel(QStringLiteral("专利类型"), body()), 1, 0);
    grid->addWidget(type_, 1, 1, Qt::AlignLeft);
    grid->addWidget(ui::maroonLabel(QStringLiteral("专利号"), body()), 2, 0);
    grid->addWidget(number_, 2, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("专利名称"), body()), 3, 0);
    grid->addWidget(name_, 3, 1);
    grid->setColumnStretch(1, 1);
    resize(560, sizeHint().height());
}

void TFinto6::prepareFill() {
    const std::pair<QComboBox*, QString> lists[] = {{status_, QStringLiteral("patent_st")},
                                                    {type_, QStringLiteral("patent_ty")}};
    for (const auto& [list, dictionary] : lists)
        if (store::Status s = forms::fillFromDictionary(list, db_, dictionary, false); !s)
            ui::prompter().showError(s.error());
}

bool TFinto6::showNew(const store::Params& key) {
    key_ = key;
    record_ = 0;
    return showEntry(forms::EntryMode::New, nullptr);
}

bool TFinto6::showModify(uint32_t record) {
    record_ = record;
    return showStoredRow(db_, "zlqk", record_);
}

PatentEntry TFinto6::entry() const {
    return {forms::chosenCode(status_, kCodeWidth), forms::chosenCode(type_, kCodeWidth),
            number_->text(), name_->text()};
}

bool TFinto6::isEmpty() const {
    return number_->text().isEmpty() && name_->text().isEmpty();
}

std::optional<forms::CheckFailure> TFinto6::check() {
    return checkPatentEntry(entry());
}

store::Status TFinto6::store() {
    const forms::RowWriter write = [this](store::Cursor& row) { return binder().write(row); };
    return mode() == forms::EntryMode::New ? addPatent(db_, key_, write)
                                           : changePatent(db_, record_, write);
}

} // namespace xb::pages
