#include "profile_page.h"

#include "forms/change_marker.h"
#include "forms/classification_box.h"
#include "forms/clickable_text_area.h"
#include "forms/field_rules.h"
#include "forms/lookup_widgets.h"
#include "pages/form_tree.h"
#include "parties/enterprise_fields.h"
#include "parties/profile_checks.h"
#include "parties/profile_code_lists.h"
#include "parties/profile_text_dialogs.h"
#include "parties/subject_leaders_page.h"
#include "ui/field_labels.h"
#include "ui/modal.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace xb::parties {
namespace {

using ui::fieldLabel;
using ui::maroonLabel;

constexpr int kResearchFields = 0;
constexpr int kResearchDisciplines = 1;
constexpr int kAdvantageFields = 2;
constexpr int kAdvantageDisciplines = 3;

// Entry codes of the page's pick lists are at most three characters wide.
constexpr int kEntryCodeWidth = 3;

void showIfFailed(const store::Status& status) {
    if (!status) ui::prompter().showError(status.error());
}

} // namespace

TFpage4a::TFpage4a(store::RecordStore& store, QWidget* parent)
    : RecordPage(QStringLiteral("TFpage4a"), QString(), "unit",
                 {QStringLiteral("btnSave01"), QStringLiteral("quit01"), {}}, {}, parent),
      store_(store), tabs_(new QTabWidget(body())), codeMarker_(new forms::ChangeMarker(this)) {
    memo1_ = new forms::ClickableTextArea(this);
    memo2_ = new forms::ClickableTextArea(this);
    memo3_ = new forms::ClickableTextArea(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo2_->setObjectName(QStringLiteral("Memo2"));
    memo3_->setObjectName(QStringLiteral("Memo3"));
    createCodeLists();

    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->addTab(buildBasicTab(), QStringLiteral("基本情况"));
    tabs_->addTab(buildCodeListTab(kResearchFields, kResearchDisciplines,
                                   QStringLiteral("简要说明及补充"), memo1_),
                  QStringLiteral("研发方向"));
    tabs_->addTab(buildCodeListTab(kAdvantageFields, kAdvantageDisciplines,
                                   QStringLiteral("研发优势简要说明"), memo2_),
                  QStringLiteral("研发优势"));
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);

    auto* leaders = new QPushButton(QStringLiteral("学科带头人情况"), this);
    leaders->setObjectName(QStringLiteral("BitBtndtr"));
    connect(leaders, &QPushButton::clicked, this, &TFpage4a::BitBtndtrClick);
    addButton(leaders);

    bindFields();
    connect(cb_62_, &QComboBox::currentIndexChanged, this, [this] {
        if (!marker().isFilling()) cb_62Change();
    });
    connect(memo1_, &forms::ClickableTextArea::clicked, this, &TFpage4a::Memo1Click);
    connect(memo2_, &forms::ClickableTextArea::clicked, this, &TFpage4a::Memo2Click);
    connect(memo3_, &forms::ClickableTextArea::clicked, this, &TFpage4a::Memo3Click);

    picker_ = new pages::TFormTree(store_.db(), this);
    studyDialog_ = new TFormstudy(store_.db(), memo1_, this);
    advantageDialog_ = new Tformadvantage(store_.db(), memo2_, this);
    introductionDialog_ = new Tformunitintrod(memo3_, this);
    leadersPage_ = new TFpage11(store_.db(), this);
}

void TFpage4a::bindFields() {
    forms::FieldBinder& b = binder();
    // The name is stored trimmed and compared as typed.
    b.custom(
        "item_9", [this](const QString& v) { edt_9_->setText(v); },
        [this] { return edt_9_->text().trimmed(); },
        [this](const QString& v) { return v != edt_9_->text(); });
    marker().watch(edt_9_);
    for (QLineEdit* box :
         {edt_420_, edt_37_, edt_38_, edt_39_, edt_40_, edt_60_, edt_41_, edt_41_2_, edt_61_})
        b.text(box, box->property("field").toByteArray().constData());
    // The organization code box takes no more than the code's ten characters.
    ui::limitToGbkBytes(edt_420_, 10);
    b.code(cb_62_, "item_62", kEntryCodeWidth);
    b.code(cb_41_3_, "item_41_3", kEntryCodeWidth);
    b.flag(cb_163_, "item_163");
    b.code(cb_64_, "item_64", kEntryCodeWidth);
    for (int index = 0; index < codeLists_.size(); ++index) {
        b.custom(
            codeLists_[index].field,
            [this, index](const QString& stored) {
                const CodeList& list = codeLists_[index];
                auto texts = codeBoxTexts(store_.db(), list.table, stored);
                if (!texts) ui::prompter().showError(texts.error());
                for (int i = 0; i < kCodeBoxes; ++i)
                    list.boxes[i]->setText(texts ? texts->at(i) : QString());
            },
            [this, index] {
                QStringList texts;
                for (const forms::ClassificationBox* box : codeLists_[index].boxes)
                    texts << box->text();
                return codeListFromBoxes(texts);
            },
            [](const QString&) { return false; }); // the code marker stands for the boxes
    }
    const char* const listLabels[] = {"研究领域", "研究所属学科", "优势领域", "优势学科"};
    for (int index = 0; index < codeLists_.size(); ++index)
        b.setLabel(codeLists_[index].field, QString::fromUtf8(listLabels[index]));
    // The first two texts are stored at once by their dialogs; the introduction only by 储存.
    const auto noComparison = [](const QString&) { return false; };
    b.custom(
        "studydirec", [this](const QString& v) { memo1_->setPlainText(v); },
        [this] { return forms::tabsToBlanks(memo1_->toPlainText()); }, noComparison);
    b.custom(
        "advantage", [this](const QString& v) { memo2_->setPlainText(v); },
        [this] { return forms::tabsToBlanks(memo2_->toPlainText()); }, noComparison);
    b.memo(memo3_, "unitintrod");
}

TFpage4a::~TFpage4a() = default;

QLineEdit* TFpage4a::addLineEdit(const char* name, const char* field) {
    auto* edit = ui::namedWidget<QLineEdit>(name, this);
    edit->setProperty("field", QByteArray(field));
    return edit;
}

QWidget* TFpage4a::buildBasicTab() {
    auto* tab = new QWidget;
    edt_9_ = addLineEdit("edt_9", "item_9");
    ui::limitToGbkBytes(edt_9_, 140);
    edt_420_ = addLineEdit("edt_420", "item_420");
    edt_37_ = addLineEdit("Edt_37", "item_37");
    edt_38_ = addLineEdit("Edt_38", "item_38");
    edt_39_ = addLineEdit("Edt_39", "item_39");
    edt_40_ = addLineEdit("Edt_40", "item_40");
    edt_60_ = addLineEdit("Edt_60", "item_60");
    edt_41_ = addLineEdit("Edt_41", "item_41");
    edt_41_2_ = addLineEdit("Edt_41_2", "item_41_2");
    edt_61_ = addLineEdit("Edt_61", "item_61");
    cb_62_ = new QComboBox(this);
    cb_62_->setObjectName(QStringLiteral("cb_62"));
    cb_41_3_ = new QComboBox(this);
    cb_41_3_->setObjectName(QStringLiteral("CB_41_3"));
    cb_64_ = new QComboBox(this);
    cb_64_->setObjectName(QStringLiteral("cb_64"));
    cb_163_ = new QCheckBox(QStringLiteral("其中,科研机构转制型企业"), this);
    cb_163_->setObjectName(QStringLiteral("cb_163"));

    auto* orgCode = new QHBoxLayout;
    orgCode->addWidget(edt_420_);
    orgCode->addWidget(ui::fieldLabel(QStringLiteral("(格式为XXXXXXXX-X)"), tab));

    auto* grid = new QGridLayout(tab);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    int row = 0;
    grid->addWidget(ui::maroonLabel(QStringLiteral("单位名称"), tab), row, 0);
    grid->addWidget(edt_9_, row++, 1, 1, 3);
    grid->addWidget(ui::fieldLabel(QStringLiteral("组织机构代码"), tab), row, 0);
    grid->addLayout(orgCode, row++, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("通讯地址"), tab), row, 0);
    grid->addWidget(edt_37_, row++, 1, 1, 3);
    grid->addWidget(ui::maroonLabel(QStringLiteral("邮政编码"), tab), row, 0);
    grid->addWidget(edt_38_, row, 1);
    grid->addWidget(ui::fieldLabel(QStringLiteral("单位网址"), tab), row, 2);
    grid->addWidget(edt_60_, row++, 3);
    grid->addWidget(ui::maroonLabel(QStringLiteral("单位电话（含区号）"), tab), row, 0);
    grid->addWidget(edt_39_, row, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("单位传真（含区号）"), tab), row, 2);
    grid->addWidget(edt_40_, row++, 3);
    grid->addWidget(ui::maroonLabel(QStringLiteral("单位属性"), tab), row, 0);
    grid->addWidget(cb_62_, row, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("单位所在省市"), tab), row, 2);
    grid->addWidget(cb_64_, row++, 3);
    grid->addWidget(ui::fieldLabel(QStringLiteral("企业所有制属性"), tab), row, 0);
    grid->addWidget(cb_41_3_, row, 1);
    grid->addWidget(cb_163_, row++, 2, 1, 2);
    grid->addWidget(ui::maroonLabel(QStringLiteral("联系部门"), tab), row, 0);
    grid->addWidget(edt_41_, row, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("联系部门电话"), tab), row, 2);
    grid->addWidget(edt_41_2_, row++, 3);
    grid->addWidget(ui::fieldLabel(QStringLiteral("联系部门电子信箱"), tab), row, 0);
    grid->addWidget(edt_61_, row++, 1, 1, 3);
    auto* introLabel = ui::maroonLabel(QStringLiteral("单位简介"), tab);
    introLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(introLabel, row, 0);
    memo3_->setParent(tab);
    grid->addWidget(memo3_, row, 1, 1, 3);
    grid->setRowStretch(row, 1);
    return tab;
}

forms::ClassificationBox* TFpage4a::addCodeBox(const QString& name, const QString& table) {
    auto* box = new forms::ClassificationBox(this);
    box->setObjectName(name);
    box->setToolTip(table == QStringLiteral("gxjs") ? QStringLiteral("点击右侧箭头选择高新技术领域")
                                                    : QStringLiteral("点击右侧箭头选择学科分类"));
    connect(box, &forms::ClassificationBox::dropDownRequested, this,
            [this, box] { codeBoxDropDown(box); });
    codeMarker_->watch(box);
    return box;
}

void TFpage4a::createCodeLists() {
    // Box names: a list's prefix followed by the box number 1 to 10.
    const std::tuple<const char*, const char*, const char*> lists[] = {
        {"edt_124_2_", "gxjs", "item_124_2"}, // 研究领域
        {"edt_15_1_", "xkfl", "item_15_1"},   // 研究所属学科
        {"edt_124_1_", "gxjs", "item_124_1"}, // 优势领域
        {"edt_15_", "xkfl", "item_15"},       // 优势学科
    };
    for (const auto& [prefix, table, field] : lists) {
        CodeList list{QString::fromLatin1(table), field, {}};
        for (int i = 1; i <= kCodeBoxes; ++i)
            list.boxes << addCodeBox(QString::fromLatin1(prefix) + QString::number(i), list.table);
        codeLists_ << list;
    }
}

QWidget* TFpage4a::buildCodeListTab(int first, int second, const QString& textCaption,
                                    forms::ClickableTextArea* text) {
    static const QString captions[] = {QStringLiteral("研究领域"), QStringLiteral("研究所属学科"),
                                       QStringLiteral("优势领域"), QStringLiteral("优势学科")};
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    for (int index : {first, second}) {
        auto* group = new QGroupBox(captions[index], tab);
        auto* grid = new QGridLayout(group);
        grid->setVerticalSpacing(4);
        const QList<forms::ClassificationBox*>& boxes = codeLists_[index].boxes;
        // Boxes 1 to 5 down the left column, 6 to 10 down the right one.
        for (int i = 0; i < boxes.size(); ++i) {
            const int column = i / 5 * 2;
            boxes[i]->setParent(group);
            grid->addWidget(ui::fieldLabel(QString::number(i + 1), group), i % 5, column);
            grid->addWidget(boxes[i], i % 5, column + 1);
        }
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
        layout->addWidget(group);
    }
    layout->addWidget(ui::fieldLabel(textCaption, tab));
    text->setParent(tab);
    layout->addWidget(text, 1);
    return tab;
}

void TFpage4a::fillFromProfile() {
    auto row = store_.db().table("unit");
    if (!row) {
        ui::prompter().showError(row.error());
        return;
    }
    profileRow_ = std::move(*row);
    profileRow_->first();
    load(*profileRow_);
    codeMarker_->clear();
}

int TFpage4a::showProfile() {
    fillFromProfile();
    if (!profileRow_) return QDialog::Rejected;
    ui::showModal(*this);
    return result();
}

QString TFpage4a::caption(const store::Cursor&) const {
    return QStringLiteral("单位情况");
}

void TFpage4a::prepareFill(const store::Cursor&) {
    store::Database& db = store_.db();
    showIfFailed(forms::fillFromDictionary(cb_62_, db, QStringLiteral("item_62"), false));
    showIfFailed(forms::fillFromDictionary(cb_41_3_, db, QStringLiteral("item_41_3"), false));
    showIfFailed(forms::fillFromCodeTable(cb_64_, db, QStringLiteral("province"),
                                          QStringLiteral("Province_i"),
                                          QStringLiteral("Province_n"), false));
    cb_163_->setChecked(false);
}

void TFpage4a::afterFill(const store::Cursor&) {
    const bool enterprise = forms::chosenCode(cb_62_, kEntryCodeWidth) == QStringLiteral("3");
    cb_163_->setEnabled(enterprise);
    cb_41_3_->setEnabled(enterprise);
    if (!enterprise) cb_163_->setChecked(false);
    codeMarker_->clear();
}

UnitProfile TFpage4a::shownProfile() const {
    const forms::FieldBinder& b = const_cast<TFpage4a*>(this)->binder();
    UnitProfile shown;
    shown.name = edt_9_->text();
    shown.orgCode = edt_420_->text();
    shown.address = edt_37_->text();
    shown.postcode = edt_38_->text();
    shown.phone = edt_39_->text();
    shown.fax = edt_40_->text();
    shown.website = edt_60_->text();
    shown.department = edt_41_->text();
    shown.departmentPhone = edt_41_2_->text();
    shown.email = edt_61_->text();
    shown.attribute = b.shown("item_62");
    shown.ownership = b.shown("item_41_3");
    shown.converted = b.shown("item_163");
    shown.province = b.shown("item_64");
    shown.researchFields = b.shown("item_124_2");
    shown.researchDisciplines = b.shown("item_15_1");
    shown.advantageFields = b.shown("item_124_1");
    shown.advantageDisciplines = b.shown("item_15");
    shown.studyDirection = memo1_->toPlainText();
    shown.advantage = memo2_->toPlainText();
    shown.introduction = memo3_->toPlainText();
    return shown;
}

bool TFpage4a::changeMarkerSet() const {
    return codeMarker_->isSet();
}

std::optional<forms::CheckFailure> TFpage4a::check() {
    return checkProfile(shownProfile());
}

store::Status TFpage4a::beginEdit(store::Cursor& record) {
    // The text dialogs may have created the row since the page was filled.
    if (store::Status s = record.refresh(); !s) return s;
    record.first();
    return record.isEmpty() ? record.append() : record.edit();
}

store::Status TFpage4a::writeMore(store::Cursor& record) {
    const std::pair<const char*, store::Value> fixed[] = {
        {"unitcode", store::Value(kOwnUnitCode.toStdString())},
        {"unitlevel", store::Value("1")},
        {"endlevel", store::Value(1)},
        {"chiefexper", store::Value("   9999999999")},
    };
    for (const auto& [field, value] : fixed)
        if (store::Status s = record.setValue(field, value); !s) return s;
    if (store::Status s = writeEnterpriseRule(record, binder().shown("item_62")); !s) return s;
    codeMarker_->clear();
    return {};
}

bool TFpage4a::differsMore(const store::Cursor&) const {
    return codeMarker_->isSet();
}

void TFpage4a::BitBtndtrClick() {
    // The profile is stored as it stands, unchecked, so that the leaders have their organization.
    if (store::Status s = writeRow(); !s) ui::prompter().showError(s.error());
    auto profile = loadProfile(store_.db());
    if (!profile) ui::prompter().showError(profile.error());
    leadersPage_->showLeaders(profile ? profile->unitCode : QString());
}

void TFpage4a::cb_62Change() {
    attributeChanged(store_.db(), cb_62_, cb_41_3_, cb_163_);
}

void TFpage4a::Memo1Click() {
    studyDialog_->editText();
}
void TFpage4a::Memo2Click() {
    advantageDialog_->editText();
}
void TFpage4a::Memo3Click() {
    introductionDialog_->editText();
}

void TFpage4a::codeBoxDropDown(forms::ClassificationBox* box) {
    for (const CodeList& list : codeLists_) {
        if (list.boxes.contains(box)) {
            picker_->pick(box, list.table);
            return;
        }
    }
}

} // namespace xb::parties
