#include "profile_page.h"

#include "forms/change_marker.h"
#include "forms/classification_box.h"
#include "forms/clickable_text_area.h"
#include "forms/lookup_widgets.h"
#include "pages/form_tree.h"
#include "parties/profile_checks.h"
#include "parties/profile_code_lists.h"
#include "parties/profile_text_dialogs.h"
#include "parties/subject_leaders_page.h"
#include "ui/field_labels.h"
#include "ui/modal.h"
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
    : QDialog(parent), store_(store), tabs_(new QTabWidget(this)),
      marker_(new forms::ChangeMarker(this)) {
    setObjectName(QStringLiteral("TFpage4a"));
    setWindowTitle(QStringLiteral("单位情况"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(800, 600);

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

    auto* leaders = new QPushButton(QStringLiteral("学科带头人情况"), this);
    auto* save = new QPushButton(QStringLiteral("储存"), this);
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    leaders->setObjectName(QStringLiteral("BitBtndtr"));
    save->setObjectName(QStringLiteral("btnSave01"));
    quit->setObjectName(QStringLiteral("quit01"));
    for (QPushButton* button : {leaders, save, quit}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(button->sizeHint().width() + 24);
    }
    connect(leaders, &QPushButton::clicked, this, &TFpage4a::BitBtndtrClick);
    connect(save, &QPushButton::clicked, this, &TFpage4a::btnSave01Click);
    connect(quit, &QPushButton::clicked, this, &TFpage4a::quit01Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(leaders);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    connect(cb_62_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) cb_62Change();
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

TFpage4a::~TFpage4a() = default;

QLineEdit* TFpage4a::addLineEdit(const char* name, int bytes) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    ui::limitToGbkBytes(edit, bytes);
    return edit;
}

QWidget* TFpage4a::buildBasicTab() {
    auto* tab = new QWidget;
    // The name is stored in a field of 140 bytes; the others carry their own limits.
    edt_9_ = addLineEdit("edt_9", 140);
    edt_420_ = addLineEdit("edt_420", 10);
    edt_37_ = addLineEdit("Edt_37", 100);
    edt_38_ = addLineEdit("Edt_38", 6);
    edt_39_ = addLineEdit("Edt_39", 30);
    edt_40_ = addLineEdit("Edt_40", 30);
    edt_60_ = addLineEdit("Edt_60", 100);
    edt_41_ = addLineEdit("Edt_41", 20);
    edt_41_2_ = addLineEdit("Edt_41_2", 30);
    edt_61_ = addLineEdit("Edt_61", 80);
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
    marker_->watch(box);
    return box;
}

void TFpage4a::createCodeLists() {
    // Box names: a list's prefix followed by the box number 1 to 10.
    const std::pair<const char*, const char*> lists[] = {
        {"edt_124_2_", "gxjs"}, // 研究领域, item_124_2
        {"edt_15_1_", "xkfl"},  // 研究所属学科, item_15_1
        {"edt_124_1_", "gxjs"}, // 优势领域, item_124_1
        {"edt_15_", "xkfl"},    // 优势学科, item_15
    };
    for (const auto& [prefix, table] : lists) {
        CodeList list{QString::fromLatin1(table), {}};
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
    filling_ = true;
    forms::ChangeMarker::Filling quiet(*marker_);
    store::Database& db = store_.db();
    auto loaded = loadProfile(db);
    if (!loaded) ui::prompter().showError(loaded.error());
    const UnitProfile profile = loaded ? *loaded : UnitProfile();

    edt_9_->setText(profile.name);
    edt_420_->setText(profile.orgCode);
    edt_37_->setText(profile.address);
    edt_38_->setText(profile.postcode);
    edt_39_->setText(profile.phone);
    edt_40_->setText(profile.fax);
    edt_60_->setText(profile.website);
    edt_41_->setText(profile.department);
    edt_61_->setText(profile.email);
    edt_41_2_->setText(profile.departmentPhone);
    memo1_->setPlainText(profile.studyDirection);
    memo2_->setPlainText(profile.advantage);
    memo3_->setPlainText(profile.introduction);

    showIfFailed(forms::fillFromDictionary(cb_62_, db, QStringLiteral("item_62"), false));
    forms::selectStoredCode(cb_62_, profile.attribute);
    const bool enterprise = profile.attribute.trimmed() == QStringLiteral("3");
    cb_163_->setChecked(enterprise && profile.converted.trimmed() == QStringLiteral("1"));
    cb_163_->setEnabled(enterprise);
    cb_41_3_->setEnabled(enterprise);
    showIfFailed(forms::fillFromDictionary(cb_41_3_, db, QStringLiteral("item_41_3"), false));
    forms::selectStoredCode(cb_41_3_, profile.ownership);
    showIfFailed(forms::fillFromCodeTable(cb_64_, db, QStringLiteral("province"),
                                          QStringLiteral("Province_i"),
                                          QStringLiteral("Province_n"), false));
    forms::selectStoredCode(cb_64_, profile.province);

    const QString stored[] = {profile.researchFields, profile.researchDisciplines,
                              profile.advantageFields, profile.advantageDisciplines};
    for (int list = 0; list < codeLists_.size(); ++list) {
        auto texts = codeBoxTexts(db, codeLists_[list].table, stored[list]);
        if (!texts) ui::prompter().showError(texts.error());
        for (int i = 0; i < kCodeBoxes; ++i)
            codeLists_[list].boxes[i]->setText(texts ? texts->at(i) : QString());
    }

    tabs_->setCurrentIndex(0);
    marker_->clear();
    filling_ = false;
}

int TFpage4a::showProfile() {
    fillFromProfile();
    return ui::showModal(*this);
}

UnitProfile TFpage4a::shownProfile() const {
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
    shown.attribute = forms::chosenCode(cb_62_, kEntryCodeWidth);
    shown.ownership = forms::chosenCode(cb_41_3_, kEntryCodeWidth);
    shown.converted = cb_163_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    shown.province = forms::chosenCode(cb_64_, kEntryCodeWidth);
    QString* lists[] = {&shown.researchFields, &shown.researchDisciplines, &shown.advantageFields,
                        &shown.advantageDisciplines};
    for (int list = 0; list < codeLists_.size(); ++list) {
        QStringList texts;
        for (const forms::ClassificationBox* box : codeLists_[list].boxes)
            texts << box->text();
        *lists[list] = codeListFromBoxes(texts);
    }
    shown.studyDirection = memo1_->toPlainText();
    shown.advantage = memo2_->toPlainText();
    shown.introduction = memo3_->toPlainText();
    return shown;
}

bool TFpage4a::changeMarkerSet() const {
    return marker_->isSet();
}

void TFpage4a::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFpage4a::FormShow() {
    setFixedSize(800, 600);
    marker_->clear();
}

void TFpage4a::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TFpage4a::focusControl(const QString& name) {
    QWidget* control = findChild<QWidget*>(name);
    if (!control) return;
    for (int i = 0; i < tabs_->count(); ++i)
        if (tabs_->widget(i)->isAncestorOf(control)) tabs_->setCurrentIndex(i);
    control->setFocus();
}

bool TFpage4a::save() {
    const UnitProfile shown = shownProfile();
    if (const auto failure = checkProfile(shown)) {
        ui::prompter().warn(failure->message);
        focusControl(failure->control);
        return false;
    }
    if (store::Status s = storeProfile(store_.db(), shown); !s) {
        ui::prompter().showError(s.error());
        return false;
    }
    // The code boxes now match the stored lists.
    marker_->clear();
    ui::prompter().warn(QStringLiteral("储存成功！"));
    return true;
}

void TFpage4a::btnSave01Click() {
    save();
}

void TFpage4a::quit01Click() {
    const UnitProfile shown = shownProfile();
    if (const auto failure = checkProfile(shown)) {
        ui::prompter().warn(failure->message);
        focusControl(failure->control);
        return;
    }
    auto stored = loadProfile(store_.db());
    if (!stored || profileDiffers(*stored, shown, marker_->isSet())) {
        if (ui::prompter().confirm(QStringLiteral("请注意！"),
                                   QStringLiteral("记录已经更改,是否保存？")))
            save();
    }
    marker_->clear();
    accept();
}

void TFpage4a::BitBtndtrClick() {
    store::Database& db = store_.db();
    if (store::Status s = storeProfile(db, shownProfile()); !s)
        ui::prompter().showError(s.error());
    else
        marker_->clear();
    auto profile = loadProfile(db);
    if (!profile) ui::prompter().showError(profile.error());
    leadersPage_->showLeaders(profile ? profile->unitCode : QString());
}

void TFpage4a::cb_62Change() {
    showIfFailed(
        forms::fillFromDictionary(cb_41_3_, store_.db(), QStringLiteral("item_41_3"), false));
    const bool enterprise = cb_62_->currentText().contains(QStringLiteral("企业"));
    if (!enterprise) {
        cb_163_->setChecked(false);
        cb_41_3_->clear();
    }
    cb_163_->setEnabled(enterprise);
    cb_41_3_->setEnabled(enterprise);
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
