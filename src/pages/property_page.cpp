#include "pages/property_page.h"

#include "forms/amount_box.h"
#include "forms/amount_rules.h"
#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "pages/option_panel.h"
#include "pages/patent_list.h"
#include "pages/property_rules.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace xb::pages {

namespace {

// The status code is as wide as its field; investment and profit codes are two characters.
constexpr int kStatusCodeWidth = 3;
constexpr int kRangeCodeWidth = 2;
constexpr int kOptionHeight = 22;

struct SubReason {
    const char* code;
    const char* caption;
};

// The detailed reasons, by the reason (first digit) they belong to.
const std::vector<std::vector<SubReason>>& subReasons() {
    static const std::vector<std::vector<SubReason>> reasons = {
        {{"11", "拨款未到位"},
         {"12", "贷款困难"},
         {"13", "无资金渠道"},
         {"14", "协议终止"},
         {"15", "其他"}},
        {{"21", "技术过时"},
         {"22", "成熟度不够"},
         {"23", "成套性差"},
         {"24", "引进技术冲击"},
         {"25", "其他"}},
        {{"31", "进口产品冲击"},
         {"32", "新产品替代"},
         {"33", "与市场要求不吻合"},
         {"34", "市场信息不灵"},
         {"35", "其他"}},
        {{"41", "管理不好"}, {"42", "经营不善"}, {"43", "其他"}},
        {{"51", "产业政策调整"},
         {"52", "技术政策调整"},
         {"53", "金融信贷政策"},
         {"54", "进出口政策"},
         {"55", "其他"}},
    };
    return reasons;
}

QWidget* lineOf(QWidget* parent, std::initializer_list<QWidget*> widgets) {
    auto* holder = new QWidget(parent);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    layout->addStretch();
    return holder;
}

} // namespace

TFpage2::TFpage2(store::Database& db, QWidget* parent)
    : RecordPage(QStringLiteral("TFpage2"), QStringLiteral("知识产权，成果应用情况"), "kjcg",
                 {QStringLiteral("btnSave01"), QStringLiteral("quit01"), QStringLiteral("Button3")},
                 {}, parent),
      db_(db), patentList_(new TFpage6(db, this)),
      help_(new ui::HelpWindow(QStringLiteral("THelpZscq"), this)) {
    QWidget* b = body();
    pl51_ = new QWidget(b);
    pl51_->setObjectName(QStringLiteral("pl51"));
    patents_ = addOption(pl51_, "cb_51_1", QStringLiteral("专利"));
    software_ = addOption(pl51_, "cb_51_3", QStringLiteral("软件著作权"));
    addOption(pl51_, "cb_51_9", QStringLiteral("其他"));
    forms_ = std::make_unique<OptionPanel>(pl51_, 1, kIntellectualPropertyItem);

    edt_51_2_ = new QLineEdit(b);
    edt_51_3_ = new QLineEdit(b);
    edt_51_2_->setObjectName(QStringLiteral("edt_51_2"));
    edt_51_3_->setObjectName(QStringLiteral("edt_51_3"));
    for (QLineEdit* count : {edt_51_2_, edt_51_3_}) {
        count->setReadOnly(true);
        count->setMaxLength(4);
        count->setFixedWidth(60);
        forms::acceptOnlyAmountKeys(count, forms::AmountKeys::Digits);
    }
    enterPatents_ = new QPushButton(QStringLiteral("进入填写专利"), b);
    enterPatents_->setObjectName(QStringLiteral("Button1"));
    enterPatents_->setAutoDefault(false);
    connect(enterPatents_, &QPushButton::clicked, this, &TFpage2::Button1Click);

    edt_53_ = new QLineEdit(b);
    edt_52_ = new QLineEdit(b);
    edt_53_->setObjectName(QStringLiteral("Edt_53"));
    edt_52_->setObjectName(QStringLiteral("Edt_52"));
    edt_53_->setFixedWidth(130);

    cb_32_ = new QComboBox(b);
    cb_32_->setObjectName(QStringLiteral("CB_32"));
    cb_32_->setMinimumContentsLength(12);
    // The enterprises count holds no more digits than its field.
    edt_45_ =
        addAmountBox("Edt_45", "item_45", std::min(16, forms::wholeDigitsHeld("kjcg", "item_45")));
    edt_150_ = addAmountBox("Edt_150", "item_150", 5);
    edt_162_ = addAmountBox("Edt_162", "item_162", 5);
    edt_151_1_ = addAmountBox("Edt_151_1", "item_151_1", 7);
    edt_152_1_ = addAmountBox("Edt_152_1", "item_152_1", 7);
    edt_153_ = addAmountBox("Edt_153", "item_153", 7);
    edt_154_ = addAmountBox("Edt_154", "item_154", 7);

    pl_161_ = new QWidget(b);
    pl_161_->setObjectName(QStringLiteral("pl_161"));
    const std::pair<const char*, const char*> promotion[] = {
        {"cb_161_1", "产权转让"}, {"cb_161_2", "资金入股"}, {"cb_161_3", "技术入股"},
        {"cb_161_4", "合作开发"}, {"cb_161_5", "技术服务"}, {"cb_161_9", "其他"}};
    for (const auto& [name, caption] : promotion)
        addOption(pl_161_, name, QString::fromUtf8(caption));
    promotion_ = std::make_unique<OptionPanel>(pl_161_, 1, QStringLiteral("推广形式"));

    cb_46_ = new QComboBox(b);
    cb_47_ = new QComboBox(b);
    cb_46_->setObjectName(QStringLiteral("cb_46"));
    cb_47_->setObjectName(QStringLiteral("cb_47"));

    pl_32_1_ = new QWidget(b);
    pl_32_1_->setObjectName(QStringLiteral("pl_32_1"));
    const char* reasonCaptions[] = {"资金问题", "技术问题", "市场问题", "管理问题", "政策因素"};
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "cb_32_1_" + QByteArray::number(i + 1);
        // Set only through the detailed reasons.
        addOption(pl_32_1_, name.constData(), QString::fromUtf8(reasonCaptions[i]))
            ->setEnabled(false);
    }
    reasons_ = std::make_unique<OptionPanel>(pl_32_1_, 1, QStringLiteral("未应用或停用原因"),
                                             PanelBehaviour::SingleChoice);

    pl_160_ = new QWidget(b);
    pl_160_->setObjectName(QStringLiteral("Pl_160"));
    for (const auto& group : subReasons()) {
        for (const SubReason& sub : group) {
            auto* radio = new QRadioButton(QString::fromUtf8(sub.caption), pl_160_);
            radio->setObjectName(QStringLiteral("rb_160_") + QLatin1String(sub.code));
            radio->setFixedHeight(kOptionHeight);
            const QString reason = QString(QLatin1Char(sub.code[0]));
            // Choosing a detailed reason, by the user or by filling, checks its reason.
            connect(radio, &QRadioButton::toggled, this, [this, reason](bool checked) {
                if (!checked) return;
                if (QAbstractButton* box = reasons_->optionFor(reason)) box->setChecked(true);
            });
        }
    }
    subReasons_ = std::make_unique<OptionPanel>(pl_160_, 2, QStringLiteral("未应用或停用原因细类"));

    forms::FieldBinder& fields = binder();
    bindPanel("item_51", *forms_, false);
    fields.code(cb_32_, "item_32", kStatusCodeWidth);
    bindPanel("item_161", *promotion_, false);
    fields.code(cb_46_, "item_46", kRangeCodeWidth);
    fields.code(cb_47_, "item_47", kRangeCodeWidth);
    bindPanel("item_32_1", *reasons_, true);
    bindPanel("item_160", *subReasons_, true);
    fields.text(edt_51_2_, "item_51_2", forms::Comparison::Number);
    fields.text(edt_51_3_, "item_51_3", forms::Comparison::Number);
    fields.text(edt_45_, "item_45", forms::Comparison::Number);
    fields.text(edt_150_, "item_150", forms::Comparison::Number);
    fields.text(edt_53_, "item_53");
    fields.text(edt_52_, "item_52");
    fields.text(edt_151_1_, "item_151_1", forms::Comparison::Number);
    fields.text(edt_152_1_, "item_152_1", forms::Comparison::Number);
    fields.text(edt_153_, "item_153", forms::Comparison::Number);
    fields.text(edt_154_, "item_154", forms::Comparison::Number);
    fields.text(edt_162_, "item_162", forms::Comparison::Number);
    fields.setLabel("item_53", QStringLiteral("软件著作权登记号"));
    fields.setLabel("item_52", QStringLiteral("软件著作权名称"));
    // The patent status summary and type list follow the patents while 专利 is checked.
    auto summary = [this] { return patentsChecked() ? summary_.statusSummary() : QString(); };
    auto types = [this] { return patentsChecked() ? summary_.typeList() : QString(); };
    fields.custom(
        "item_51_1", [](const QString&) {}, summary,
        [summary](const QString& stored) { return stored.trimmed() != summary(); });
    fields.custom(
        "patent_ty", [](const QString&) {}, types,
        [types](const QString& stored) { return stored.trimmed() != types(); });

    for (QCheckBox* box : {patents_, software_})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!marker().isFilling()) cb_51_1Click();
        });
    connect(cb_32_, &QComboBox::currentIndexChanged, this, [this] {
        if (!marker().isFilling()) cb_32Change();
    });
    buildLayout();
}

TFpage2::~TFpage2() = default;

QCheckBox* TFpage2::addOption(QWidget* panel, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, panel);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedHeight(kOptionHeight);
    return box;
}

QLineEdit* TFpage2::addAmountBox(const char* name, const char* field, int maxDigits) {
    auto* box = ui::namedWidget<QLineEdit>(name, body());
    box->setMaxLength(maxDigits);
    box->setFixedWidth(110);
    forms::acceptOnlyAmountKeys(box, forms::AmountKeys::Digits);
    // A pasted text that is not a number is replaced by 0; the enterprises count is only
    // filtered by keys.
    if (QLatin1String(field) != QLatin1String("item_45"))
        connect(box, &QLineEdit::textChanged, this, [this, box] {
            if (!marker().isFilling()) forms::resetUnlessAmount(box, QString(), ui::prompter());
        });
    return box;
}

void TFpage2::bindPanel(const char* field, const OptionPanel& panel, bool onlyWhenNotStable) {
    const OptionPanel* p = &panel;
    auto read = [this, p, onlyWhenNotStable] {
        // A stable application stores no reasons.
        if (onlyWhenNotStable && isStableApplication(cb_32_->currentText())) return QString();
        return p->reading().value;
    };
    binder().custom(
        field, [p](const QString& stored) { p->write(stored); }, read,
        [read](const QString& stored) { return stored.trimmed() != read(); });
}

void TFpage2::buildLayout() {
    using ui::fieldLabel;
    using ui::maroonLabel;
    QWidget* b = body();

    auto* formsLayout = new QHBoxLayout(pl51_);
    formsLayout->setContentsMargins(0, 0, 0, 0);
    for (QAbstractButton* option : forms_->options())
        formsLayout->addWidget(option);
    formsLayout->addStretch();

    patentGroup_ =
        lineOf(b, {fieldLabel(QStringLiteral("已受理专利项数"), b), edt_51_2_,
                   fieldLabel(QStringLiteral("授权专利项数"), b), edt_51_3_, enterPatents_});
    softwareGroup_ = lineOf(b, {fieldLabel(QStringLiteral("软件著作权登记号"), b), edt_53_,
                                fieldLabel(QStringLiteral("软件著作权名称"), b), edt_52_});
    static_cast<QHBoxLayout*>(softwareGroup_->layout())->setStretchFactor(edt_52_, 1);

    auto* promotionLayout = new QHBoxLayout(pl_161_);
    promotionLayout->setContentsMargins(0, 0, 0, 0);
    for (QAbstractButton* option : promotion_->options())
        promotionLayout->addWidget(option);
    promotionLayout->addStretch();

    auto* reasonLayout = new QVBoxLayout(pl_32_1_);
    reasonLayout->setContentsMargins(0, 0, 0, 0);
    reasonLayout->setSpacing(0);
    for (QAbstractButton* option : reasons_->options())
        reasonLayout->addWidget(option);
    auto* subLayout = new QGridLayout(pl_160_);
    subLayout->setContentsMargins(0, 0, 0, 0);
    subLayout->setVerticalSpacing(0);
    int r = 0;
    for (const auto& group : subReasons()) {
        int c = 0;
        for (const SubReason& sub : group)
            subLayout->addWidget(pl_160_->findChild<QRadioButton*>(QStringLiteral("rb_160_") +
                                                                   QLatin1String(sub.code)),
                                 r, c++);
        ++r;
    }
    auto* reasonsRow = new QHBoxLayout;
    reasonsRow->addWidget(pl_32_1_);
    reasonsRow->addSpacing(12);
    reasonsRow->addWidget(pl_160_);
    reasonsRow->addStretch();

    auto* grid = new QGridLayout(b);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    int line = 0;
    grid->addWidget(fieldLabel(QStringLiteral("知识产权形式"), b), line, 0);
    grid->addWidget(pl51_, line++, 1, 1, 3);
    grid->addWidget(patentGroup_, line++, 0, 1, 4);
    grid->addWidget(softwareGroup_, line++, 0, 1, 4);
    grid->addWidget(maroonLabel(QStringLiteral("应用状态"), b), line, 0);
    grid->addWidget(cb_32_, line, 1, Qt::AlignLeft);
    grid->addWidget(fieldLabel(QStringLiteral("已转让企业数（个）"), b), line, 2);
    grid->addWidget(edt_45_, line++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("技术转让收入 （万元）"), b), line, 0);
    grid->addWidget(edt_150_, line, 1);
    grid->addWidget(fieldLabel(QStringLiteral("其中，知识产权技术转让收入 （万元）"), b), line, 2);
    grid->addWidget(edt_162_, line++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("自行转化效益: 净利润  （万元）"), b), line, 0);
    grid->addWidget(edt_151_1_, line, 1);
    grid->addWidget(fieldLabel(QStringLiteral("实交税金（万元）"), b), line, 2);
    grid->addWidget(edt_152_1_, line++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("出口创汇（万元）"), b), line, 0);
    grid->addWidget(edt_153_, line, 1);
    grid->addWidget(fieldLabel(QStringLiteral("节约资金（万元）"), b), line, 2);
    grid->addWidget(edt_154_, line++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("（数据长度及格式 9999999）"), b), line++, 1, 1, 3);
    auto* promotionLabel = new QHBoxLayout;
    promotionLabel->addWidget(maroonLabel(QStringLiteral("推广形式"), b));
    promotionLabel->addWidget(fieldLabel(QStringLiteral("（可复选，最多2项）"), b));
    promotionLabel->addStretch();
    grid->addLayout(promotionLabel, line, 0);
    grid->addWidget(pl_161_, line++, 1, 1, 3);
    grid->addWidget(fieldLabel(QStringLiteral("预计达产投资（万元）"), b), line, 0);
    grid->addWidget(cb_46_, line, 1, Qt::AlignLeft);
    grid->addWidget(fieldLabel(QStringLiteral("预计达产利税（万元）"), b), line, 2);
    grid->addWidget(cb_47_, line++, 3, Qt::AlignLeft);
    auto* reasonLabel = new QHBoxLayout;
    reasonLabel->addWidget(fieldLabel(QStringLiteral("未应用或停用原因"), b));
    reasonLabel->addWidget(fieldLabel(QStringLiteral("(单选)"), b));
    reasonLabel->addStretch();
    grid->addLayout(reasonLabel, line, 0, Qt::AlignTop);
    grid->addLayout(reasonsRow, line++, 1, 1, 3);
    grid->setRowStretch(line, 1);
    grid->setColumnStretch(4, 1);
}

bool TFpage2::patentsChecked() const {
    return patents_->isChecked();
}

void TFpage2::showStored(QLineEdit* box, const char* field) {
    if (!row()) return;
    box->setText(QString::fromStdString(row()->text(field)));
}

void TFpage2::prepareFill(const store::Cursor&) {
    uncheckAll(body());
    for (const store::Status& filled :
         {forms::fillFromDictionary(cb_32_, db_, QStringLiteral("item_32"), false),
          forms::fillFromDictionary(cb_46_, db_, QStringLiteral("item_46"), true),
          forms::fillFromDictionary(cb_47_, db_, QStringLiteral("item_47"), true)})
        if (!filled) fillFailed(filled.error());
}

void TFpage2::afterFill(const store::Cursor&) {
    refreshProperty(true);
    const StatusEffect shown = statusShownEffect(cb_32_->currentText());
    // A box a former status change disabled is usable again on every opening.
    edt_162_->setEnabled(true);
    applyStatus(shown.clearsReasons, shown.emptiesAmounts,
                {edt_45_, edt_150_, edt_151_1_, edt_152_1_, edt_153_, edt_154_});
}

void TFpage2::refreshProperty(bool opening) {
    const bool patents = patentsChecked();
    const bool software = software_->isChecked();
    summary_ = {};
    if (patents && row()) {
        if (auto summary = summarizePatents(db_, patentParams(*row())); summary)
            summary_ = *summary;
        else if (opening)
            fillFailed(summary.error());
        else
            ui::prompter().showError(summary.error());
        edt_51_2_->setText(QString::number(summary_.accepted));
        edt_51_3_->setText(QString::number(summary_.granted));
    } else if (!opening) {
        edt_51_2_->clear();
        edt_51_3_->clear();
    }
    patentGroup_->setVisible(patents);
    const bool appears = software && softwareGroup_->isHidden();
    softwareGroup_->setVisible(software);
    if (opening) return;
    // The stored registration comes back when its group appears; a name being typed stays.
    if (appears) {
        showStored(edt_53_, "item_53");
        showStored(edt_52_, "item_52");
    }
    if (!software) {
        edt_53_->clear();
        edt_52_->clear();
    }
}

void TFpage2::cb_51_1Click() {
    refreshProperty(false);
}

void TFpage2::cb_32Change() {
    const StatusEffect chosen = statusChosenEffect(cb_32_->currentText());
    applyStatus(chosen.clearsReasons, chosen.emptiesAmounts,
                {edt_45_, edt_150_, edt_151_1_, edt_152_1_, edt_153_, edt_154_, edt_162_});
}

void TFpage2::applyStatus(bool clearsReasons, bool emptiesAmounts,
                          const QList<QLineEdit*>& amounts) {
    if (clearsReasons) {
        uncheckAll(pl_32_1_);
        uncheckAll(pl_160_);
    }
    for (QAbstractButton* radio : subReasons_->options())
        radio->setEnabled(!clearsReasons);
    for (QLineEdit* box : amounts) {
        if (emptiesAmounts) box->clear();
        box->setEnabled(!emptiesAmounts);
    }
}

std::optional<forms::CheckFailure> TFpage2::check() {
    PropertyEntry entry;
    entry.statusChosen = cb_32_->currentIndex() >= 0;
    entry.statusText = cb_32_->currentText();
    entry.reasons = reasons_->reading().value;
    entry.patents = patentsChecked();
    entry.accepted = edt_51_2_->text();
    entry.granted = edt_51_3_->text();
    return checkProperty(entry, [this] { return promotion_->read(); });
}

void TFpage2::beforeWrite() {
    deletePatents_ = false;
    if (patentsChecked() || !row()) return;
    auto patents = db_.query(kPatentsOfRecord, patentParams(*row()));
    if (!patents) {
        ui::prompter().showError(patents.error());
        return;
    }
    if ((*patents)->isEmpty()) return;
    const ui::Message question{QStringLiteral("提示信息"),
                               QStringLiteral("知识产权形式如果不选择专利,专利信息将被删除"),
                               ui::MessageIcon::Information, ui::Buttons::YesNo};
    deletePatents_ = ui::prompter().ask(question) == ui::Answer::Yes;
}

void TFpage2::afterPost() {
    if (!deletePatents_ || !row()) return;
    deletePatents_ = false;
    if (const store::Status deleted = deletePatents(db_, patentParams(*row())); !deleted)
        ui::prompter().showError(deleted.error());
}

void TFpage2::Button1Click() {
    if (!row()) return;
    patentList_->open(*row(), categoryPosition());
    // Leaving the list: numbers in order, and the counts of this pass into the boxes.
    if (auto counted = renumberPatents(db_, patentParams(*row())); counted) {
        edt_51_2_->setText(QString::number(counted->accepted));
        edt_51_3_->setText(QString::number(counted->granted));
    } else {
        ui::prompter().showError(counted.error());
    }
    refreshProperty(false);
    if (patentListLeft_) patentListLeft_();
}

void TFpage2::help() {
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::pages
