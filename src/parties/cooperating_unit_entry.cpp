#include "cooperating_unit_entry.h"

#include "ui/field_labels.h"
#include "ui/named_widget.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace xb::parties {
namespace {

// The postcode box takes digits only: other typed or pasted characters are dropped.
void acceptDigitsOnly(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
        QString digits;
        int cursor = box->cursorPosition();
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isDigit() && text[i].unicode() < 128)
                digits += text[i];
            else if (i < cursor)
                --cursor;
        }
        if (digits == text) return;
        box->setText(digits);
        box->setCursorPosition(cursor);
    });
}

} // namespace

TFinto5::TFinto5(store::Database& db, QWidget* parent)
    : EntryDialog(QStringLiteral("TFinto5"), QStringLiteral("合作完成单位情况"), "cgwcdw", parent),
      db_(db), order_(ui::namedWidget<QLineEdit>("edt_176", body())),
      name_(ui::namedWidget<QLineEdit>("edtdw_170", body())),
      address_(ui::namedWidget<QLineEdit>("edtdw_171", body())),
      postcode_(ui::namedWidget<QLineEdit>("edtdw_172", body())),
      contact_(ui::namedWidget<QLineEdit>("edtdw_173", body())),
      telephone_(ui::namedWidget<QLineEdit>("edtdw_174", body())) {
    // The number is given by the list: never typed, so never the place the cursor starts in.
    order_->setReadOnly(true);
    order_->setFocusPolicy(Qt::NoFocus);
    order_->setMaximumWidth(70);
    postcode_->setMaximumWidth(90);
    acceptDigitsOnly(postcode_);

    forms::FieldBinder& b = binder();
    b.custom(
        "item_176", [this](const QString& stored) { order_->setText(stored); },
        [this] { return order_->text(); },
        [this](const QString& stored) { return stored != order_->text(); });
    b.text(name_, "item_170");
    b.text(address_, "item_171");
    b.text(postcode_, "item_172");
    b.text(contact_, "item_173");
    b.text(telephone_, "item_174");

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"序号", order_},        {"单位名称", name_},  {"通讯地址", address_},
        {"邮政编码", postcode_}, {"联系人", contact_}, {"联系人电话", telephone_}};
    int row = 0;
    for (const auto& [label, box] : rows) {
        grid->addWidget(ui::fieldLabel(QString::fromUtf8(label), body()), row, 0);
        grid->addWidget(box, row++, 1, Qt::AlignLeft);
    }
    for (QLineEdit* box : {name_, address_})
        box->setMinimumWidth(420);
    for (QLineEdit* box : {contact_, telephone_})
        box->setMinimumWidth(180);
    grid->setColumnStretch(1, 1);
    resize(600, sizeHint().height());
}

bool TFinto5::showNew(const store::Params& key, int listed) {
    key_ = key;
    listed_ = listed;
    record_ = 0;
    return showEntry(forms::EntryMode::New, nullptr);
}

bool TFinto5::showModify(const store::Params& key, const store::Cursor& row) {
    key_ = key;
    record_ = row.recNo();
    return showEntry(forms::EntryMode::Modify, &row);
}

void TFinto5::prepareNew() {
    order_->setText(QString::number(listed_ + 1));
}

bool TFinto5::isEmpty() const {
    return name_->text().trimmed().isEmpty() && address_->text().trimmed().isEmpty() &&
           postcode_->text().trimmed().isEmpty() && contact_->text().trimmed().isEmpty();
}

bool TFinto5::quitsSilently() const {
    return name_->text().isEmpty() && address_->text().isEmpty() && postcode_->text().isEmpty() &&
           contact_->text().isEmpty();
}

std::optional<forms::CheckFailure> TFinto5::check() {
    return checkCooperatingUnit(order_->text());
}

store::Status TFinto5::store() {
    const forms::RowWriter write = [this](store::Cursor& row) { return binder().write(row); };
    if (mode() == forms::EntryMode::New) {
        auto added = addCooperatingUnit(db_, key_, order_->text(), write);
        return added ? store::Status() : store::Status(added.error());
    }
    return changeCooperatingUnit(db_, key_, record_, order_->text(), write);
}

} // namespace xb::parties
