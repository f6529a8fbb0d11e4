#include "parties/committee_entry.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "ui/field_labels.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace xb::parties {
namespace {

// Sex and title codes are read from the first two characters of the chosen entry.
constexpr int kStoredCodeWidth = 2;

void fillOrReport(QComboBox* list, store::Database& db, const char* dictionary, bool optional) {
    if (store::Status s =
            forms::fillFromDictionary(list, db, QString::fromLatin1(dictionary), optional);
        !s)
        ui::prompter().showError(s.error());
}

} // namespace

TFinto7::TFinto7(store::Database& db, QWidget* parent)
    : EntryDialog(QStringLiteral("TFinto7"), QStringLiteral("评价委员会名单"), "jdwyhmd", parent),
      db_(db), duty_(ui::namedWidget<QComboBox>("cbwy_191", body())),
      name_(ui::namedWidget<QLineEdit>("Edtwy_192", body())),
      sex_(ui::namedWidget<QComboBox>("cbwy_193", body())),
      title_(ui::namedWidget<QComboBox>("cbwy_198", body())),
      unit_(ui::namedWidget<QLineEdit>("edtwy_195", body())),
      studied_(ui::namedWidget<QLineEdit>("edtwy_196", body())),
      practised_(ui::namedWidget<QLineEdit>("edtwy_197", body())) {
    forms::FieldBinder& b = binder();
    marker().watch(duty_);
    b.custom(
        "item_191",
        [this](const QString& stored) {
            duty_->setCurrentIndex(static_cast<int>(committeeDuties().indexOf(stored.trimmed())));
        },
        [this] { return duty_->currentIndex() >= 0 ? duty_->currentText() : QString(); },
        [this](const QString& stored) {
            const QString shown = duty_->currentIndex() >= 0 ? duty_->currentText() : QString();
            return stored.trimmed() != shown.trimmed();
        });
    b.text(name_, "item_192", forms::Comparison::Trimmed);
    b.code(sex_, "item_193", kStoredCodeWidth);
    // A member saved with the blank title entry opens with that entry chosen again.
    b.custom(
        "item_198",
        [this](const QString& stored) {
            title_->setCurrentIndex(-1);
            if (stored.trimmed().isEmpty() && mode() == forms::EntryMode::Modify)
                title_->setCurrentIndex(title_->count() - 1);
            else
                forms::selectStoredCode(title_, stored);
        },
        [this] { return forms::chosenCode(title_, kStoredCodeWidth); },
        [this](const QString& stored) {
            return stored.trimmed() != forms::chosenCode(title_, kStoredCodeWidth);
        });
    marker().watch(title_);
    b.text(unit_, "item_195");
    b.text(studied_, "item_196");
    b.text(practised_, "item_197");
    connect(duty_, &QComboBox::currentIndexChanged, this, &TFinto7::dutyChosen);

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->addWidget(ui::maroonLabel(QStringLiteral("评价委员会职务"), body()), 0, 0);
    grid->addWidget(duty_, 0, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("所学专业"), body()), 0, 2);
    grid->addWidget(studied_, 0, 3);
    grid->addWidget(ui::maroonLabel(QStringLiteral("姓名"), body()), 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("从事专业"), body()), 1, 2);
    grid->addWidget(practised_, 1, 3);
    grid->addWidget(ui::maroonLabel(QStringLiteral("性别"), body()), 2, 0);
    grid->addWidget(sex_, 2, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("职称"), body()), 2, 2);
    grid->addWidget(title_, 2, 3);
    grid->addWidget(ui::fieldLabel(QStringLiteral("工作单位"), body()), 3, 0);
    grid->addWidget(unit_, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    resize(640, sizeHint().height());
}

void TFinto7::prepareFill() {
    duty_->clear();
    duty_->addItems(committeeDuties());
    duty_->setCurrentIndex(-1);
    fillOrReport(sex_, db_, "item_181", false);
    fillOrReport(title_, db_, "item_198", true);
}

bool TFinto7::showNew(const CommitteeKey& key, const QStringList& listedDuties) {
    key_ = key;
    record_ = 0;
    listedDuties_ = listedDuties;
    return showEntry(forms::EntryMode::New, nullptr);
}

bool TFinto7::showModify(const CommitteeKey& key, uint32_t record,
                         const QStringList& listedDuties) {
    key_ = key;
    record_ = record;
    listedDuties_ = listedDuties;
    return showStoredRow(db_, "jdwyhmd", record_);
}

void TFinto7::dutyChosen(int index) {
    // Only the user's choice counts: filling the dialog with a stored chairman says nothing.
    if (marker().isFilling() || index < 0 || duty_->itemText(index) != kChairman) return;
    const int conflicts = chairmanConflicts(listedDuties_);
    if (conflicts == 0) return;
    for (int i = 0; i < conflicts; ++i)
        ui::prompter().plain(QStringLiteral("只能有一个主任委员"));
    duty_->setCurrentIndex(static_cast<int>(committeeDuties().indexOf(kMember)));
}

MemberEntry TFinto7::entry() const {
    MemberEntry entry;
    if (duty_->currentIndex() >= 0) entry.duty = duty_->currentText();
    entry.name = name_->text();
    if (sex_->currentIndex() >= 0) entry.sex = forms::chosenCode(sex_, kStoredCodeWidth);
    if (title_->currentIndex() >= 0) entry.title = forms::chosenCode(title_, kStoredCodeWidth);
    entry.unit = unit_->text();
    entry.studied = studied_->text();
    entry.practised = practised_->text();
    return entry;
}

bool TFinto7::isEmpty() const {
    return name_->text().isEmpty() && unit_->text().isEmpty() && studied_->text().isEmpty() &&
           practised_->text().isEmpty();
}

std::optional<forms::CheckFailure> TFinto7::check() {
    return checkMemberEntry(entry());
}

store::Status TFinto7::store() {
    const forms::RowWriter write = [this](store::Cursor& row) { return binder().write(row); };
    store::Status stored = {};
    if (mode() == forms::EntryMode::New) {
        auto added = addMember(db_, key_, write);
        if (!added) return added.error();
        record_ = *added;
    } else {
        stored = changeMember(db_, record_, key_, write);
    }
    if (!stored) return stored;
    return rankMembers(db_, key_);
}

} // namespace xb::parties
