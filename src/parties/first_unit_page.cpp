#include "parties/first_unit_page.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "parties/enterprise_fields.h"
#include "ui/field_labels.h"
#include "ui/help_window.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace xb::parties {

namespace {

// Entry codes of the page's pick lists are at most three characters wide.
constexpr int kEntryCodeWidth = 3;

// The fields the page takes from the own organization's profile when the record's organization
// is the own one; the contact, the ministry and the transfer contact stay the record's.
const char* const kProfileFields[] = {"item_9",   "item_420",  "item_37", "item_38",   "item_39",
                                      "item_40",  "item_60",   "item_61", "item_41_2", "item_62",
                                      "item_163", "item_41_3", "item_64"};

void showIfFailed(const store::Status& status) {
    if (!status) ui::prompter().showError(status.error());
}

} // namespace

TFpage4::TFpage4(store::Database& db, QWidget* parent)
    : RecordPage(QStringLiteral("TFpage4"), QStringLiteral("第一完成单位情况"), "kjcg",
                 {QStringLiteral("btnSave01"), QStringLiteral("quit01"), QStringLiteral("Button3")},
                 {}, parent),
      db_(db), help_(new ui::HelpWindow(QStringLiteral("THelpWcdw"), this)) {
    edt_9_ = addText("Edt_9", "item_9");
    edt_420_ = addText("Edt_420", "item_420");
    edt_37_ = addText("Edt_37", "item_37");
    edt_38_ = addText("Edt_38", "item_38");
    edt_39_ = addText("Edt_39", "item_39");
    edt_40_ = addText("Edt_40", "item_40");
    edt_60_ = addText("Edt_60", "item_60");
    cb_62_ = addList("cb_62", "item_62");
    cb_41_3_ = addList("CB_41_3", "item_41_3");
    cb_163_ = new QCheckBox(QStringLiteral("其中，科研机构转制型企业"), body());
    cb_163_->setObjectName(QStringLiteral("cb_163"));
    binder().flag(cb_163_, "item_163");
    cb_64_ = addList("cb_64", "item_64");
    cb_63_ = addList("cb_63", "item_63");
    edt_41_ = addText("Edt_41", "item_41");
    edt_41_2_ = addText("Edt_41_2", "item_41_2");
    edt_61_ = addText("Edt_61", "item_61");
    linkMan_ = addText("TLinkMan", "TLinkMan");
    linkManTel_ = addText("TLinkManTel", "TLinkManTe");
    linkManEmail_ = addText("TLinkManEmail", "TLinkManEm");

    auto* orgCode = new QHBoxLayout;
    edt_420_->setMaximumWidth(240);
    orgCode->addWidget(edt_420_);
    orgCode->addWidget(ui::fieldLabel(QStringLiteral("格式为(XXXXXXXX-X)"), body()));
    orgCode->addStretch();

    using ui::fieldLabel;
    using ui::maroonLabel;
    QWidget* b = body();
    auto* grid = new QGridLayout(b);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    int row = 0;
    grid->addWidget(maroonLabel(QStringLiteral("单位名称"), b), row, 0);
    grid->addWidget(edt_9_, row++, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("组织机构代码"), b), row, 0);
    grid->addLayout(orgCode, row++, 1, 1, 3);
    grid->addWidget(maroonLabel(QStringLiteral("通讯地址"), b), row, 0);
    grid->addWidget(edt_37_, row++, 1, 1, 3);
    grid->addWidget(maroonLabel(QStringLiteral("邮政编码"), b), row, 0);
    grid->addWidget(edt_38_, row, 1);
    grid->addWidget(fieldLabel(QStringLiteral("单位网址"), b), row, 2);
    grid->addWidget(edt_60_, row++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("电话（含区号）"), b), row, 0);
    grid->addWidget(edt_39_, row, 1);
    grid->addWidget(fieldLabel(QStringLiteral("传真（含区号）"), b), row, 2);
    grid->addWidget(edt_40_, row++, 3);
    grid->addWidget(maroonLabel(QStringLiteral("单位属性"), b), row, 0);
    grid->addWidget(cb_62_, row, 1);
    grid->addWidget(maroonLabel(QStringLiteral("企业所有制属性"), b), row, 2);
    grid->addWidget(cb_41_3_, row++, 3);
    grid->addWidget(cb_163_, row++, 1, 1, 3);
    grid->addWidget(maroonLabel(QStringLiteral("单位所在省市"), b), row, 0);
    grid->addWidget(cb_64_, row, 1);
    grid->addWidget(fieldLabel(QStringLiteral("隶属关系"), b), row, 2);
    grid->addWidget(cb_63_, row++, 3);
    grid->addWidget(maroonLabel(QStringLiteral("联系人"), b), row, 0);
    grid->addWidget(edt_41_, row, 1);
    grid->addWidget(maroonLabel(QStringLiteral("联系人电话"), b), row, 2);
    grid->addWidget(edt_41_2_, row++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("电子信箱"), b), row, 0);
    grid->addWidget(edt_61_, row++, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("成果转让联系人"), b), row, 0);
    grid->addWidget(linkMan_, row, 1);
    grid->addWidget(fieldLabel(QStringLiteral("成果转让联系人电话"), b), row, 2);
    grid->addWidget(linkManTel_, row++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("成果转让联系人电子信箱"), b), row, 0);
    grid->addWidget(linkManEmail_, row++, 1, 1, 3);
    grid->setRowStretch(row, 1);

    connect(cb_62_, &QComboBox::currentIndexChanged, this, [this] {
        if (!marker().isFilling()) cb_62Change();
    });
}

QLineEdit* TFpage4::addText(const char* name, const char* field) {
    auto* box = ui::namedWidget<QLineEdit>(name, body());
    binder().text(box, field);
    return box;
}

QComboBox* TFpage4::addList(const char* name, const char* field) {
    auto* list = ui::namedPickList(name, 12, body());
    binder().code(list, field, kEntryCodeWidth);
    return list;
}

void TFpage4::prepareFill(const store::Cursor&) {
    cb_163_->setChecked(false);
    showIfFailed(forms::fillFromDictionary(cb_62_, db_, QStringLiteral("item_62"), false));
    showIfFailed(forms::fillFromDictionary(cb_41_3_, db_, QStringLiteral("item_41_3"), false));
    showIfFailed(forms::fillFromCodeTable(cb_64_, db_, QStringLiteral("province"),
                                          QStringLiteral("Province_i"),
                                          QStringLiteral("Province_n"), false));
    showIfFailed(forms::fillFromCodeTable(cb_63_, db_, QStringLiteral("lsbw"),
                                          QStringLiteral("Bwdm"), QStringLiteral("Bwmc"), true));
}

void TFpage4::afterFill(const store::Cursor& record) {
    auto profile = db_.query("select * from unit");
    if (!profile) ui::prompter().showError(profile.error());
    if (profile && !(*profile)->isEmpty() && (*profile)->text("item_9") == record.text("item_9")) {
        // The record's organization is the own one: show the profile's current data.
        forms::FieldBinder& fields = binder();
        for (const char* field : kProfileFields) {
            const QString value = QString::fromStdString((*profile)->text(field));
            fields.fillOne(field, value);
        }
    }
    const bool enterprise = forms::chosenCode(cb_62_, kEntryCodeWidth) == QStringLiteral("3");
    cb_163_->setEnabled(enterprise);
    cb_41_3_->setEnabled(enterprise);
    if (!enterprise) cb_163_->setChecked(false);
}

void TFpage4::cb_62Change() {
    attributeChanged(db_, cb_62_, cb_41_3_, cb_163_);
}

FirstUnitEntry TFpage4::entry() const {
    FirstUnitEntry e;
    e.name = edt_9_->text();
    e.orgCode = edt_420_->text();
    e.address = edt_37_->text();
    e.postcode = edt_38_->text();
    e.attributeChosen = cb_62_->currentIndex() >= 0;
    e.attributeText = cb_62_->currentText();
    e.ownershipText = cb_41_3_->currentText();
    e.provinceChosen = cb_64_->currentIndex() >= 0;
    e.contact = edt_41_->text();
    e.contactPhone = edt_41_2_->text();
    return e;
}

std::optional<forms::CheckFailure> TFpage4::check() {
    return checkFirstUnit(entry());
}

store::Status TFpage4::writeMore(store::Cursor& record) {
    return writeEnterpriseRule(record, binder().shown("item_62"));
}

void TFpage4::help() {
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::parties
