#include "subject_leader_dialog.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "ui/field_labels.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace xb::parties {
namespace {

// Sex and research field codes are read from the first two characters of the entry.
constexpr int kStoredCodeWidth = 2;

} // namespace

TFinto11::TFinto11(store::Database& db, QWidget* parent)
    : EntryDialog(QStringLiteral("TFinto11"), QStringLiteral("学科带头人名单"), "unitexpert",
                  parent),
      db_(db), name_(ui::namedWidget<QLineEdit>("edtry_180", body())), sex_(new QComboBox(body())),
      year_(ui::namedWidget<QLineEdit>("Edt_both_1", body())),
      month_(ui::namedWidget<QLineEdit>("edt_both_2", body())), field_(new QComboBox(body())),
      description_(ui::namedWidget<QLineEdit>("edtry_186", body())),
      fieldMarker_(new forms::ChangeMarker(this)) {
    sex_->setObjectName(QStringLiteral("cbry_181"));
    field_->setObjectName(QStringLiteral("cbry_124_1"));
    fieldMarker_->watch(field_);
    year_->setMaximumWidth(70);
    month_->setMaximumWidth(50);

    forms::FieldBinder& b = binder();
    b.text(name_, "item_180");
    b.code(sex_, "item_181", kStoredCodeWidth);
    ui::limitToGbkBytes(year_, 4);
    ui::limitToGbkBytes(month_, 2);
    marker().watch(year_);
    marker().watch(month_);
    b.custom(
        "item_182",
        [this](const QString& stored) {
            year_->setText(stored.left(4));
            month_->setText(stored.mid(5, 2));
        },
        [this] { return birthText(year_->text(), month_->text()); },
        [this](const QString& stored) {
            const bool blank =
                year_->text().trimmed().isEmpty() && month_->text().trimmed().isEmpty();
            return !(stored.isEmpty() && blank) &&
                   stored != birthText(year_->text(), month_->text());
        });
    // The research field counts as changed when the user picked another entry.
    b.custom(
        "item_124_1",
        [this](const QString& stored) {
            forms::ChangeMarker::Filling quiet(*fieldMarker_);
            field_->setCurrentIndex(-1);
            forms::selectStoredCode(field_, stored);
        },
        [this] { return forms::chosenCode(field_, kStoredCodeWidth); },
        [this](const QString&) { return fieldMarker_->isSet(); });
    b.text(description_, "item_186");

    auto* birth = new QHBoxLayout;
    birth->addWidget(year_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("年"), body()));
    birth->addWidget(month_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("月"), body()));
    birth->addWidget(ui::maroonLabel(QStringLiteral("格式(YYYY.MM)"), body()));
    birth->addStretch();

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(ui::maroonLabel(QStringLiteral("姓名"), body()), 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("性别"), body()), 1, 0);
    grid->addWidget(sex_, 1, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("出生年月"), body()), 2, 0);
    grid->addLayout(birth, 2, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("研究领域"), body()), 3, 0);
    grid->addWidget(field_, 3, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("简要说明"), body()), 4, 0);
    grid->addWidget(description_, 4, 1);
    grid->setColumnStretch(1, 1);
    resize(560, sizeHint().height());
}

void TFinto11::prepareFill() {
    forms::ChangeMarker::Filling quiet(*fieldMarker_);
    if (store::Status s = forms::fillFromDictionary(sex_, db_, QStringLiteral("item_181"), false);
        !s)
        ui::prompter().showError(s.error());
    if (store::Status s =
            forms::fillFromDictionary(field_, db_, QStringLiteral("item_124_1"), false);
        !s)
        ui::prompter().showError(s.error());
    fieldMarker_->clear();
}

bool TFinto11::showNew(const QString& unitCode) {
    unitCode_ = unitCode;
    record_ = 0;
    return showEntry(forms::EntryMode::New, nullptr);
}

bool TFinto11::showModify(const SubjectLeader& leader) {
    record_ = leader.record;
    return showStoredRow(db_, "unitexpert", record_);
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

bool TFinto11::isEmpty() const {
    return name_->text().isEmpty() && description_->text().isEmpty();
}

std::optional<forms::CheckFailure> TFinto11::check() {
    return checkLeaderEntry(entry(), QDateTime::currentDateTimeUtc().date().year());
}

store::Status TFinto11::store() {
    const forms::RowWriter write = [this](store::Cursor& row) { return binder().write(row); };
    return isNewMode() ? addSubjectLeader(db_, unitCode_, write)
                       : changeSubjectLeader(db_, record_, write);
}

} // namespace xb::parties
