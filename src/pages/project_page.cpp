#include "pages/project_page.h"

#include "forms/amount_box.h"
#include "forms/amount_sum.h"
#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "ui/field_labels.h"
#include "ui/help_window.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace xb::pages {

namespace {

// The project sources; 04 (a fund of the former form) is not offered.
const struct {
    const char* code;
    const char* caption;
} kSources[] = {{"01", "国家计划"}, {"02", "部门计划"}, {"03", "地方计划"}, {"05", "部门基金"},
                {"06", "地方基金"}, {"07", "国际合作"}, {"08", "横向委托"}, {"09", "民间基金"},
                {"10", "自选"},     {"19", "其他"}};

const struct {
    const char* code;
    const char* caption;
} kPlans[] = {{"1", "高技术研究发展计划(863计划）"}, {"3", "基础研究计划"},
              {"6", "科技基础条件平台建设"},         {"7", "国家科技支撑计划"},
              {"8", "政策引导类计划及专项"},         {"9", "其他"}};

const QString kSourceItem = QStringLiteral("课题来源");
constexpr int kEntryCodeWidth = 3;
constexpr int kSubPlanCodeWidth = 2;
// Typed amounts hold at most seven characters (9999999 万元).
constexpr int kAmountWidth = 7;

void showIfFailed(const store::Status& status) {
    if (!status) ui::prompter().showError(status.error());
}

void setMaroon(QLabel* label, bool maroon) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, maroon ? QColor(0x80, 0x00, 0x00) : QColor(Qt::black));
    label->setPalette(palette);
}

} // namespace

TFpage3::TFpage3(store::Database& db, QWidget* parent)
    : RecordPage(QStringLiteral("TFpage3"), QStringLiteral("课题立项，评价情况"), "kjcg",
                 {QStringLiteral("btnSave01"), QStringLiteral("quit01"), QStringLiteral("Button3")},
                 {}, parent),
      db_(db), appliedHelp_(new ui::HelpWindow(QStringLiteral("THelpCglx"), this)),
      otherHelp_(new ui::HelpWindow(QStringLiteral("THelpKtlxRj"), this)) {
    QWidget* b = body();
    QWidget* sources = buildSources();
    subPlanLabel_ = ui::fieldLabel({}, b);
    subPlanLabel_->setObjectName(QStringLiteral("lbl_41"));
    cb_41_ = ui::namedPickList("CB_41", 10, b);
    edt_127_1_ = ui::namedWidget<QLineEdit>("Edt_127_1", b);
    edt_127_ = ui::namedWidget<QLineEdit>("Edt_127", b);
    numberLabel_ = ui::fieldLabel(QStringLiteral("课题立项编号"), b);
    QWidget* amounts = buildAmounts();
    cb_21_ = ui::namedPickList("cb_21", 10, b);
    cb_21_l_ = ui::namedPickList("cb_21_l", 10, b);
    edt_130_ = ui::namedWidget<QLineEdit>("Edt_130", b);
    edt_34_y_ = ui::namedWidget<QLineEdit>("edt_34_y", b);
    edt_34_m_ = ui::namedWidget<QLineEdit>("edt_34_m", b);
    edt_34_d_ = ui::namedWidget<QLineEdit>("edt_34_d", b);
    edt_22_ = ui::namedWidget<QLineEdit>("edt_22", b);
    edt_34_y_->setFixedWidth(56);
    edt_34_m_->setFixedWidth(36);
    edt_34_d_->setFixedWidth(36);
    edt_127_->setMaximumWidth(260);

    using ui::fieldLabel;
    auto* subPlan = new QHBoxLayout;
    subPlan->addWidget(cb_41_, 1);
    subPlan->addStretch();

    auto* evaluation = new QHBoxLayout;
    evaluation->addWidget(cb_21_);
    evaluation->addWidget(cb_21_l_);
    evaluation->addSpacing(16);
    evaluation->addWidget(fieldLabel(QStringLiteral("评价单位"), b));
    evaluation->addWidget(edt_130_, 1);

    auto* date = new QHBoxLayout;
    date->addWidget(edt_34_y_);
    date->addWidget(fieldLabel(QStringLiteral("年"), b));
    date->addWidget(edt_34_m_);
    date->addWidget(fieldLabel(QStringLiteral("月"), b));
    date->addWidget(edt_34_d_);
    date->addWidget(fieldLabel(QStringLiteral("日"), b));
    date->addWidget(fieldLabel(QStringLiteral("(日期格式：YYYY.MM.DD)"), b));
    date->addSpacing(16);
    date->addWidget(fieldLabel(QStringLiteral("评价报告编号"), b));
    date->addWidget(edt_22_, 1);

    auto* grid = new QGridLayout(b);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);
    int row = 0;
    grid->addWidget(ui::maroonLabel(kSourceItem, b), row, 0, Qt::AlignTop);
    grid->addWidget(sources, row++, 1);
    grid->addWidget(subPlanLabel_, row, 0);
    grid->addLayout(subPlan, row++, 1);
    grid->addWidget(fieldLabel(QStringLiteral("课题立项名称"), b), row, 0);
    grid->addWidget(edt_127_1_, row++, 1);
    grid->addWidget(numberLabel_, row, 0);
    grid->addWidget(edt_127_, row++, 1);
    grid->addWidget(fieldLabel(QStringLiteral("经费实际投入额"), b), row, 0, Qt::AlignTop);
    grid->addWidget(amounts, row++, 1);
    grid->addWidget(ui::maroonLabel(QStringLiteral("评价方式"), b), row, 0);
    grid->addLayout(evaluation, row++, 1);
    grid->addWidget(fieldLabel(QStringLiteral("评价日期"), b), row, 0);
    grid->addLayout(date, row++, 1);
    grid->setRowStretch(row, 1);

    bindFields();
    showSubPlans(false);
}

TFpage3::~TFpage3() = default;

QWidget* TFpage3::buildSources() {
    pl_126_ = new QGroupBox(body());
    pl_126_->setObjectName(QStringLiteral("Pl_126"));
    auto* grid = new QGridLayout(pl_126_);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    QList<QCheckBox*> boxes;
    for (const auto& source : kSources) {
        auto* box = new QCheckBox(QString::fromUtf8(source.caption), pl_126_);
        box->setObjectName(QStringLiteral("cb_126_") + QLatin1String(source.code));
        boxes << box;
    }
    national_ = boxes.first();
    national_->setEnabled(false);

    pl_140_ = new QGroupBox(pl_126_);
    pl_140_->setObjectName(QStringLiteral("Pl_140"));
    auto* plans = new QGridLayout(pl_140_);
    plans->setContentsMargins(6, 2, 6, 2);
    plans->setVerticalSpacing(2);
    int i = 0;
    for (const auto& plan : kPlans) {
        auto* button = new QRadioButton(QString::fromUtf8(plan.caption), pl_140_);
        button->setObjectName(QStringLiteral("RB_140_") + QLatin1String(plan.code));
        plans->addWidget(button, i / 3, i % 3);
        ++i;
        // Choosing a national plan chooses the national plan as the source.
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) national_->setChecked(true);
        });
    }

    grid->addWidget(national_, 0, 0, Qt::AlignTop);
    grid->addWidget(pl_140_, 0, 1, 1, 4);
    for (qsizetype n = 1; n < boxes.size(); ++n)
        grid->addWidget(boxes[n], 1 + static_cast<int>((n - 1) / 5), static_cast<int>((n - 1) % 5));

    sources_ = std::make_unique<OptionPanel>(pl_126_, 2, kSourceItem, PanelBehaviour::SingleChoice);
    plans_ = std::make_unique<OptionPanel>(pl_140_, 1, kSourceItem);
    for (QCheckBox* box : boxes)
        connect(box, &QCheckBox::toggled, this,
                [this, box](bool checked) { sourceToggled(box, checked); });
    return pl_126_;
}

QLineEdit* TFpage3::amountBox(const char* name, bool computed) {
    QLineEdit* box = ui::namedWidget<QLineEdit>(name, body());
    box->setFixedWidth(96);
    forms::acceptOnlyAmountKeys(box, forms::AmountKeys::DigitsAndPoint);
    if (computed)
        box->setReadOnly(true);
    else
        ui::limitInputToGbkBytes(box, kAmountWidth);
    return box;
}

QWidget* TFpage3::buildAmounts() {
    auto* frame = new QGroupBox(body());
    edt_149_ = amountBox("Edt_149", true);
    edt_141_ = amountBox("Edt_141", false);
    edt_148_ = amountBox("Edt_148", false);
    edt_142_ = amountBox("Edt_142", true);
    edt_142_1_ = amountBox("Edt_142_1", false);
    edt_142_2_ = amountBox("Edt_142_2", false);
    edt_142_3_ = amountBox("Edt_142_3", false);
    edt_143_ = amountBox("Edt_143", false);
    edt_144_ = amountBox("Edt_144", false);
    edt_243_ = amountBox("Edt_243", false);
    edt_244_ = amountBox("Edt_244", false);
    edt_145_ = amountBox("Edt_145", false);

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(4);
    const auto put = [&](const char* label, QLineEdit* box, int row, int pair) {
        grid->addWidget(ui::fieldLabel(QString::fromUtf8(label), frame), row, pair * 2,
                        Qt::AlignRight);
        grid->addWidget(box, row, pair * 2 + 1);
    };
    grid->addWidget(ui::fieldLabel(QStringLiteral("（数据长度及格式均为：9999999）"), frame), 0, 0,
                    1, 4);
    put("总计（万元）", edt_149_, 0, 2);
    put("国家投入", edt_141_, 1, 0);
    put("部门投入", edt_148_, 1, 1);
    put("地方投入", edt_142_, 1, 2);
    put("省级投入", edt_142_1_, 2, 0);
    put("地级投入", edt_142_2_, 2, 1);
    put("县级投入", edt_142_3_, 2, 2);
    put("基金投入", edt_143_, 3, 0);
    put("自有资金", edt_144_, 3, 1);
    put("银行贷款", edt_243_, 3, 2);
    put("国外资金", edt_244_, 4, 0);
    put("其他", edt_145_, 4, 1);
    grid->setColumnStretch(6, 1);

    // While the page fills itself the sums wait; afterFill recomputes them once from the filled
    // parts, so that a stored total that does not match its parts is corrected on the page.
    const auto filling = [this] { return marker().isFilling(); };
    const QString local = QStringLiteral("读取数据时，发现“地方投入”:");
    localSum_ = new forms::AmountSum(
        edt_142_, {{edt_142_1_, local}, {edt_142_2_, local}, {edt_142_3_, local}}, filling, this);
    totalSum_ = new forms::AmountSum(edt_149_,
                                     {{edt_142_, QStringLiteral("“地方投入”:")},
                                      {edt_141_, QStringLiteral("“国家投入”:")},
                                      {edt_148_, QStringLiteral("“部门投入”:")},
                                      {edt_143_, QStringLiteral("“基金投入”:")},
                                      {edt_144_, QStringLiteral("“自有基金”:")},
                                      {edt_243_, QStringLiteral("“银行贷款”:")},
                                      {edt_244_, QStringLiteral("“国外资金”:")},
                                      {edt_145_, QStringLiteral("“其他”:")}},
                                     filling, this);
    return frame;
}

void TFpage3::bindFields() {
    forms::FieldBinder& fields = binder();
    // Stored texts lose their trailing blanks, so blanks alone are no change.
    const auto trimmed = forms::Comparison::Trimmed;
    fields.text(edt_127_, "item_127", trimmed);
    fields.text(edt_127_1_, "item_127_1", trimmed);
    fields.text(edt_130_, "item_130", trimmed);
    fields.text(edt_22_, "item_22", trimmed);
    fields.setLabel("item_127", QStringLiteral("课题立项编号"));
    fields.setLabel("item_127_1", QStringLiteral("课题立项名称"));
    fields.setLabel("item_130", QStringLiteral("评价单位"));
    fields.setLabel("item_22", QStringLiteral("评价报告编号"));

    // Checking the panels acts as clicks: the source fills the sub-plan list, a plan checks
    // 国家计划.
    const auto panel = [&fields](const char* field, OptionPanel& options,
                                 QString* stored = nullptr) {
        fields.custom(
            field,
            [&options, stored](const QString& value) {
                if (stored) *stored = value;
                options.write(value);
            },
            [&options] { return options.reading().value; },
            [&options](const QString& value) {
                return value.trimmed() != options.reading().value.trimmed();
            });
    };
    panel("item_126", *sources_, &storedSources_);
    panel("item_140", *plans_);

    marker().watch(cb_41_);
    fields.custom(
        "item_41_1",
        [this](const QString& value) {
            // A stored sub-plan shows the list of its source, even one without plans; without
            // one the list stays hidden.
            if (value.trimmed().isEmpty()) {
                showSubPlans(false);
                return;
            }
            const QString source = subPlanSource(storedSources_);
            if (const QAbstractButton* box = sources_->optionFor(source))
                subPlanLabel_->setText(subPlanCaption(box->text()));
            fillSubPlans(source);
            forms::selectStoredCode(cb_41_, value);
            showSubPlans(true);
        },
        [this] { return forms::chosenCode(cb_41_, kSubPlanCodeWidth); },
        [this](const QString& value) {
            return value.trimmed() != forms::chosenCode(cb_41_, kSubPlanCodeWidth);
        });

    marker().watch(cb_21_);
    marker().watch(cb_21_l_);
    fields.custom(
        "item_21",
        [this](const QString& value) {
            evaluationList()->setCurrentIndex(-1);
            forms::selectStoredCode(evaluationList(), value);
        },
        [this] { return forms::chosenCode(evaluationList(), kEntryCodeWidth); },
        [this](const QString& value) {
            return value.trimmed() != forms::chosenCode(evaluationList(), kEntryCodeWidth);
        });

    const std::pair<QLineEdit*, const char*> amounts[] = {
        {edt_149_, "item_149"},     {edt_141_, "item_141"},     {edt_148_, "item_148"},
        {edt_142_, "item_142"},     {edt_142_1_, "item_142_1"}, {edt_142_2_, "item_142_2"},
        {edt_142_3_, "item_142_3"}, {edt_143_, "item_143"},     {edt_144_, "item_144"},
        {edt_243_, "item_243"},     {edt_244_, "item_244"},     {edt_145_, "item_145"}};
    // Amounts compare as numbers: a stored 12.5 is shown as 12.5 and unchanged as 12.50.
    for (const auto& [box, field] : amounts)
        fields.text(box, field, forms::Comparison::Number);

    fields.date(edt_34_y_, edt_34_m_, edt_34_d_, "item_34");
}

QComboBox* TFpage3::evaluationList() const {
    return applied_ ? cb_21_ : cb_21_l_;
}

void TFpage3::sourceToggled(QCheckBox* source, bool checked) {
    if (!national_->isChecked()) uncheckAll(pl_140_);
    if (!checked) return;
    subPlanLabel_->setText(subPlanCaption(source->text()));
    showSubPlans(fillSubPlans(sources_->codeOf(source)));
}

bool TFpage3::fillSubPlans(const QString& sourceCode) {
    cb_41_->clear();
    showIfFailed(forms::fillFromCodeTable(cb_41_, db_, QStringLiteral("DFJHZDXX"),
                                          QStringLiteral("item_41_"), QStringLiteral("xxmc"), true,
                                          QStringLiteral("item_126"), sourceCode));
    // The blank entry follows the plans.
    return cb_41_->count() > 1;
}

void TFpage3::showSubPlans(bool visible) {
    subPlanLabel_->setVisible(visible);
    cb_41_->setVisible(visible);
}

void TFpage3::prepareFill(const store::Cursor& record) {
    uncheckAll(this);
    cb_41_->clear();
    storedSources_.clear();
    const QString category = QString::fromStdString(record.text("item_cglb")).trimmed();
    applied_ = category.isEmpty() ? categoryPosition() == 0 : category == QStringLiteral("1");
    cb_21_->setVisible(applied_);
    cb_21_l_->setVisible(!applied_);
    (applied_ ? cb_21_l_ : cb_21_)->clear();
    showIfFailed(forms::fillFromDictionary(
        evaluationList(), db_, applied_ ? QStringLiteral("item_21") : QStringLiteral("item_21_l"),
        false));
}

void TFpage3::afterFill(const store::Cursor&) {
    setMaroon(numberLabel_, national_->isChecked());
    // A sum with nothing stored in it or its parts stays empty rather than becoming "0".
    const auto anyText = [](std::initializer_list<QLineEdit*> boxes) {
        for (QLineEdit* box : boxes)
            if (!box->text().trimmed().isEmpty()) return true;
        return false;
    };
    if (anyText({edt_142_, edt_142_1_, edt_142_2_, edt_142_3_})) localSum_->recompute();
    if (anyText({edt_149_, edt_142_, edt_141_, edt_148_, edt_143_, edt_144_, edt_243_, edt_244_,
                 edt_145_}))
        totalSum_->recompute();
}

ProjectEntry TFpage3::entry() const {
    ProjectEntry e;
    e.applied = applied_;
    e.evaluationChosen = evaluationList()->currentIndex() >= 0;
    const PanelReading sources = sources_->reading();
    e.sources = sources.value;
    e.sourcesRefused = sources.refusal;
    e.nationalPlan = national_->isChecked();
    e.projectNumber = edt_127_->text();
    e.projectName = edt_127_1_->text();
    e.localTotal = edt_142_->text();
    e.total = edt_149_->text();
    e.year = edt_34_y_->text();
    e.month = edt_34_m_->text();
    e.day = edt_34_d_->text();
    return e;
}

std::optional<forms::CheckFailure> TFpage3::check() {
    return checkProject(entry(), QDate::currentDate().year());
}

void TFpage3::help() {
    (applied_ ? appliedHelp_ : otherHelp_)->showHelp();
}

} // namespace xb::pages
