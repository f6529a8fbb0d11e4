#include "completer_entry.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "parties/completers.h"
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

std::optional<QString> chosen(const QComboBox* list, QString (*code)(const QString&)) {
    if (list->currentIndex() < 0) return std::nullopt;
    return code(list->currentText());
}

} // namespace

TFinto8::TFinto8(store::Database& db, QWidget* parent)
    : EntryDialog(QStringLiteral("TFinto8"), QStringLiteral("成果完成人员名单"), "cgwcr", parent),
      db_(db), order_(ui::namedWidget<QLineEdit>("edtry_187", body())),
      name_(ui::namedWidget<QLineEdit>("edtry_180", body())),
      sex_(ui::namedWidget<QComboBox>("cbry_181", body())),
      year_(ui::namedWidget<QLineEdit>("edt_182_y", body())),
      month_(ui::namedWidget<QLineEdit>("edt_182_m", body())),
      title_(ui::namedWidget<QComboBox>("cbry_183", body())),
      education_(ui::namedWidget<QComboBox>("cbry_184", body())),
      studyAbroad_(ui::namedWidget<QComboBox>("cbry_188", body())),
      workUnit_(ui::namedWidget<QLineEdit>("edtry_185", body())),
      contribution_(ui::namedWidget<QLineEdit>("edtry_186", body())) {
    forms::FieldBinder& b = binder();
    b.custom(
        "item_187", [this](const QString& stored) { order_->setText(stored); },
        [this] { return order_->text().trimmed(); },
        [this](const QString& stored) { return stored != order_->text().trimmed(); });
    b.text(name_, "item_180");
    bindCode(sex_, "item_181");
    ui::limitToGbkBytes(year_, 4);
    ui::limitToGbkBytes(month_, 2);
    b.custom(
        "item_182",
        [this](const QString& stored) {
            year_->setText(stored.left(4));
            month_->setText(stored.mid(5, 2));
        },
        [this] { return completerBirthText(year_->text(), month_->text()); },
        [this](const QString& stored) { return stored != year_->text() + u'.' + month_->text(); });
    // Academician titles are stored without the leading "1" of their entries.
    b.custom(
        "item_183",
        [this](const QString& stored) {
            title_->setCurrentIndex(-1);
            forms::selectStoredCode(title_, titleEntryCode(stored));
        },
        [this] { return chosen(title_, storedTitleCode).value_or(QString()); },
        [this](const QString& stored) {
            return stored.trimmed() != chosen(title_, storedTitleCode).value_or(QString());
        });
    bindCode(education_, "item_184");
    // Without a stored answer the second entry (not returned) stands.
    b.custom(
        "item_188",
        [this](const QString& stored) {
            studyAbroad_->setCurrentIndex(-1);
            if (stored.trimmed().isEmpty())
                studyAbroad_->setCurrentIndex(studyAbroad_->count() > 1 ? 1 : -1);
            else
                forms::selectStoredCode(studyAbroad_, stored);
        },
        [this] { return chosen(studyAbroad_, storedPeopleCode).value_or(QString()); },
        [this](const QString& stored) {
            return stored.trimmed() != chosen(studyAbroad_, storedPeopleCode).value_or(QString());
        });
    b.text(workUnit_, "item_185");
    b.text(contribution_, "item_186");

    year_->setMaximumWidth(70);
    month_->setMaximumWidth(50);
    order_->setMaximumWidth(70);
    auto* birth = new QHBoxLayout;
    birth->addWidget(year_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("年"), body()));
    birth->addWidget(month_);
    birth->addWidget(ui::fieldLabel(QStringLiteral("月"), body()));
    birth->addStretch();

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    const auto add = [&](QLabel* label, QWidget* control, QLayout* layout = nullptr) {
        grid->addWidget(label, row, 0);
        if (control) grid->addWidget(control, row, 1);
        if (layout) grid->addLayout(layout, row, 1);
        ++row;
    };
    add(ui::maroonLabel(QStringLiteral("序号"), body()), order_);
    add(ui::maroonLabel(QStringLiteral("姓名"), body()), name_);
    add(ui::maroonLabel(QStringLiteral("性别"), body()), sex_);
    add(ui::maroonLabel(QStringLiteral("出生年月"), body()), nullptr, birth);
    add(ui::maroonLabel(QStringLiteral("技术职称"), body()), title_);
    add(ui::maroonLabel(QStringLiteral("文化程度"), body()), education_);
    add(ui::fieldLabel(QStringLiteral("是否留学归国"), body()), studyAbroad_);
    add(ui::fieldLabel(QStringLiteral("工作单位"), body()), workUnit_);
    add(ui::fieldLabel(QStringLiteral("对成果创造性贡献"), body()), contribution_);
    grid->setColumnStretch(1, 1);
    for (QComboBox* list : {sex_, title_, education_, studyAbroad_})
        list->setMinimumWidth(200);
    resize(600, sizeHint().height());
}

void TFinto8::bindCode(QComboBox* list, const char* field) {
    binder().custom(
        field,
        [list](const QString& stored) {
            list->setCurrentIndex(-1);
            forms::selectStoredCode(list, stored);
        },
        [list] { return chosen(list, storedPeopleCode).value_or(QString()); },
        [list](const QString& stored) {
            return stored.trimmed() != chosen(list, storedPeopleCode).value_or(QString());
        });
}

void TFinto8::prepareFill() {
    const std::pair<QComboBox*, const char*> lists[] = {{sex_, "item_181"},
                                                        {title_, "item_183"},
                                                        {education_, "item_184"},
                                                        {studyAbroad_, "item_188"}};
    for (const auto& [list, dictionary] : lists) {
        if (store::Status s =
                forms::fillFromDictionary(list, db_, QString::fromLatin1(dictionary), false);
            !s)
            ui::prompter().showError(s.error());
    }
}

void TFinto8::prepareNew() {
    order_->setText(QString::number(listed_ + 1));
    workUnit_->setText(firstUnit_);
}

bool TFinto8::showNew(const store::Params& key, const QString& firstUnit, int listed) {
    key_ = key;
    firstUnit_ = firstUnit;
    listed_ = listed;
    record_ = 0;
    // A new completer's number is given by the list; the cursor starts at the name.
    order_->setReadOnly(true);
    order_->setFocusPolicy(Qt::NoFocus);
    return showEntry(forms::EntryMode::New, nullptr);
}

bool TFinto8::showModify(const store::Params& key, const store::Cursor& row) {
    key_ = key;
    record_ = row.recNo();
    order_->setReadOnly(false);
    order_->setFocusPolicy(Qt::StrongFocus);
    return showEntry(forms::EntryMode::Modify, &row);
}

CompleterEntry TFinto8::entry() const {
    CompleterEntry entry;
    entry.order = order_->text();
    entry.name = name_->text();
    entry.sex = chosen(sex_, storedPeopleCode);
    entry.year = year_->text();
    entry.month = month_->text();
    entry.title = chosen(title_, storedTitleCode);
    entry.education = chosen(education_, storedPeopleCode);
    entry.studyAbroad = chosen(studyAbroad_, storedPeopleCode).value_or(QString());
    entry.workUnit = workUnit_->text();
    entry.contribution = contribution_->text();
    return entry;
}

bool TFinto8::isEmpty() const {
    return name_->text().trimmed().isEmpty() && workUnit_->text().trimmed().isEmpty() &&
           contribution_->text().trimmed().isEmpty();
}

bool TFinto8::quitsSilently() const {
    return name_->text().isEmpty() && contribution_->text().isEmpty();
}

std::optional<forms::CheckFailure> TFinto8::check() {
    CompleterEntry checked = entry();
    auto failure = checkCompleterEntry(checked, QDateTime::currentDateTimeUtc().date().year());
    if (checked.month != month_->text()) month_->setText(checked.month);
    return failure;
}

store::Status TFinto8::store() {
    const forms::RowWriter write = [this](store::Cursor& row) { return binder().write(row); };
    if (mode() == forms::EntryMode::New) {
        auto added = addCompleter(db_, key_, write);
        return added ? store::Status() : store::Status(added.error());
    }
    return changeCompleter(db_, key_, record_, order_->text(), write);
}

} // namespace xb::parties
