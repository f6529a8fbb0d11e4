#include "pages/overview_page.h"

#include "forms/change_marker.h"
#include "forms/classification_box.h"
#include "forms/lookup_widgets.h"
#include "pages/form_tree.h"
#include "pages/option_panel.h"
#include "store/classification_codes.h"
#include "store/record_store.h"
#include "ui/field_labels.h"
#include "ui/help_window.h"
#include "ui/memo_box.h"
#include "ui/named_widget.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <iterator>
#include <utility>

namespace xb::pages {

namespace {

// Entry codes of the page's pick lists are read from their first three characters.
constexpr int kEntryCodeWidth = 3;
// Each keyword box; the three together are checked against the field's room.
constexpr int kKeywordBoxBytes = 198;
// Typed classification codes, when the classification table is missing.
constexpr int kTypedCodeLength = 10;

constexpr int kAbstractTab = 2;
constexpr int kBulletinTab = 3;

const QColor kRequired(0x80, 0x00, 0x00);

using Option = store::CodeCaption;

const Option kForms[] = {{"1", "新技术"},   {"2", "新工艺"},           {"3", "新产品"},
                         {"4", "新材料"},   {"5", "农业、生物新品种"}, {"6", "矿产新品种"},
                         {"7", "新装备"},   {"9", "其他应用技术"},     {"A", "国际标准"},
                         {"B", "国家标准"}, {"C", "行业标准"},         {"D", "地方标准"},
                         {"E", "企业标准"}};
// The standards start the second row of the form panel.
constexpr int kFirstStandard = 8;

QComboBox* pickList(const char* name, QWidget* parent) {
    auto* list = ui::namedPickList(name, 8, parent);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

// A panel of check boxes named prefix + code, laid out in `columns` columns.
QWidget* checkPanel(const char* name, const char* prefix, const Option* options, int count,
                    int columns, QWidget* parent) {
    auto* panel = ui::namedWidget<QWidget>(name, parent);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < count; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(options[i].caption), panel);
        box->setObjectName(QString::fromLatin1(prefix) + QString::fromLatin1(options[i].code));
        grid->addWidget(box, i / columns, i % columns);
    }
    for (int c = 0; c < columns; ++c)
        grid->setColumnStretch(c, 1);
    return panel;
}

void showIfFailed(const store::Status& status) {
    if (!status) ui::prompter().showError(status.error());
}

// Runs `action` when the watched box is clicked into.
class ClickWatcher : public QObject {
  public:
    ClickWatcher(QWidget* watched, std::function<void()> action)
        : QObject(watched), action_(std::move(action)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) action_();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> action_;
};

} // namespace

TFpage1::TFpage1(store::RecordStore& store, TFormTree& picker, QWidget* parent)
    : RecordPage(QStringLiteral("TFpage1"), QStringLiteral("成  果  概  况"), "kjcg",
                 {QStringLiteral("btnSave01"), QStringLiteral("quit01"), QStringLiteral("Button3")},
                 {}, parent),
      store_(store), picker_(picker), tabs_(new QTabWidget(body())),
      helpApplied_(new ui::HelpWindow(QStringLiteral("THelpCggk"), this)),
      helpOther_(new ui::HelpWindow(QStringLiteral("THelpCggkRj"), this)) {
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    QWidget* fields = buildFields();
    tabs_->addTab(buildFormTab(), QString());
    tabs_->addTab(buildIndustryTab(), QStringLiteral("成果主要应用行业"));
    mo_13_1_ = new ui::MemoBox(tabs_);
    mo_13_1_->setObjectName(QStringLiteral("Mo_13_1"));
    mo_13_ = new ui::MemoBox(tabs_);
    mo_13_->setObjectName(QStringLiteral("Mo_13"));
    tabs_->addTab(mo_13_1_, QStringLiteral("成果简介"));
    tabs_->addTab(mo_13_, QStringLiteral("成果公报内容"));
    tabs_->tabBar()->setTabTextColor(kAbstractTab, kRequired);
    tabs_->tabBar()->setTabTextColor(kBulletinTab, kRequired);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fields);
    layout->addWidget(tabs_, 1);

    bindFields();

    for (int i = 0; i < 2; ++i)
        connect(edt_14_[i], &QLineEdit::textChanged, this, [this] { keywordChain(); });
    connect(tabs_, &QTabWidget::currentChanged, this, &TFpage1::tabChanged);
    // A bulletin still empty when clicked into starts from the introduction.
    new ClickWatcher(mo_13_->viewport(), [this] {
        if (mo_13_->toPlainText().trimmed().isEmpty())
            mo_13_->setPlainText(mo_13_1_->toPlainText());
    });
    for (const Classification& c : classifications_)
        connect(c.box, &forms::ClassificationBox::dropDownRequested, this,
                [this, c] { pickClassification(c); });
}

TFpage1::~TFpage1() = default;

QWidget* TFpage1::buildFields() {
    auto* w = new QWidget(body());
    using ui::fieldLabel;
    using ui::maroonLabel;

    edt_120_ = ui::namedLineEdit("Edt_120", 0, w);
    edt_128_ = ui::namedLineEdit("Edt_128", 0, w);
    edt_121_y_ = ui::namedLineEdit("edt_121_y", 52, w);
    edt_121_m_ = ui::namedLineEdit("edt_121_m", 34, w);
    edt_121_d_ = ui::namedLineEdit("edt_121_d", 34, w);
    edt_8_y_s_ = ui::namedLineEdit("edt_8_y_s", 52, w);
    edt_8_m_s_ = ui::namedLineEdit("edt_8_m_s", 34, w);
    edt_8_y_e_ = ui::namedLineEdit("edt_8_y_e", 52, w);
    edt_8_m_e_ = ui::namedLineEdit("edt_8_m_e", 34, w);
    cb_1_ = pickList("CB_1", w);
    cb_125_1_ = pickList("Cb_125_1", w);
    for (int i = 0; i < 3; ++i)
        edt_14_[i] =
            ui::namedLineEdit(QStringLiteral("edt_14_%1").arg(i + 1).toLatin1().constData(), 0, w);
    cb_210_ = pickList("cb_210", w);
    cb_2_ = pickList("cb_2", w);
    cb_16_ = pickList("cb_16", w);
    cb_201_ = pickList("cb_201", w);
    cb_33_ = pickList("cb_33", w);
    const struct {
        const char* box;
        const char* button;
        const char* field;
        const char* table;
    } boxes[] = {{"Edt_15", "cb_15", "item_15", "xkfl"},
                 {"edt_15_1", "cb_15_1", "item_15_1", "xkfl"},
                 {"edt_12", "CB_12", "item_12", "ztflh"},
                 {"edt_12_1", "CB_12_1", "item_12_1", "ztflh"}};
    for (const auto& b : boxes) {
        auto* box = new forms::ClassificationBox(w);
        box->setObjectName(QString::fromLatin1(b.box));
        box->dropDownButton()->setObjectName(QString::fromLatin1(b.button));
        classifications_.append({box, b.field, QString::fromLatin1(b.table)});
    }

    auto* registered = new QHBoxLayout;
    registered->addWidget(edt_121_y_);
    registered->addWidget(fieldLabel(QStringLiteral("年"), w));
    registered->addWidget(edt_121_m_);
    registered->addWidget(fieldLabel(QStringLiteral("月"), w));
    registered->addWidget(edt_121_d_);
    registered->addWidget(fieldLabel(QStringLiteral("日"), w));
    registered->addWidget(fieldLabel(QStringLiteral("(日期格式：YYYY.MM.DD)"), w));
    registered->addStretch();

    auto* period = new QHBoxLayout;
    period->addWidget(edt_8_y_s_);
    period->addWidget(fieldLabel(QStringLiteral("年"), w));
    period->addWidget(edt_8_m_s_);
    period->addWidget(fieldLabel(QStringLiteral("月"), w));
    period->addSpacing(16);
    period->addWidget(maroonLabel(QStringLiteral("研究终止日期"), w));
    period->addWidget(edt_8_y_e_);
    period->addWidget(fieldLabel(QStringLiteral("年"), w));
    period->addWidget(edt_8_m_e_);
    period->addWidget(fieldLabel(QStringLiteral("月 (研究起止时间格式：YYYY.MM)"), w));
    period->addStretch();

    auto* keywords = new QHBoxLayout;
    for (QLineEdit* box : edt_14_)
        keywords->addWidget(box);

    auto* discipline = new QHBoxLayout;
    discipline->addWidget(classifications_[0].box, 1);
    discipline->addWidget(classifications_[1].box, 1);
    auto* library = new QHBoxLayout;
    library->addWidget(classifications_[2].box, 1);
    library->addWidget(classifications_[3].box, 1);
    library->addWidget(fieldLabel(QStringLiteral("(按中图分类法分类）"), w));

    auto* grid = new QGridLayout(w);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    for (int c : {1, 3, 5})
        grid->setColumnStretch(c, 1);
    int row = 0;
    grid->addWidget(fieldLabel(QStringLiteral("批准登记号"), w), row, 0);
    grid->addWidget(edt_120_, row, 1);
    grid->addWidget(fieldLabel(QStringLiteral("推荐单位"), w), row, 2);
    grid->addWidget(edt_128_, row++, 3, 1, 3);
    grid->addWidget(maroonLabel(QStringLiteral("批准登记日期"), w), row, 0);
    grid->addLayout(registered, row, 1, 1, 3);
    grid->addWidget(maroonLabel(QStringLiteral("成果密级"), w), row, 4);
    grid->addWidget(cb_1_, row++, 5);
    grid->addWidget(maroonLabel(QStringLiteral("研究起始日期"), w), row, 0);
    grid->addLayout(period, row++, 1, 1, 5);
    grid->addWidget(fieldLabel(QStringLiteral("关键词"), w), row, 0);
    grid->addLayout(keywords, row++, 1, 1, 5);

    QLabel* attribute = maroonLabel(QStringLiteral("成果属性"), w);
    QLabel* stage = maroonLabel(QStringLiteral("成果所处阶段"), w);
    QLabel* transfer = maroonLabel(QStringLiteral("转让范围"), w);
    QLabel* outcomeForm = maroonLabel(QStringLiteral("成果体现形式"), w);
    grid->addWidget(fieldLabel(QStringLiteral("成果水平"), w), row, 0);
    grid->addWidget(cb_2_, row, 1);
    grid->addWidget(maroonLabel(QStringLiteral("研究形式"), w), row, 2);
    grid->addWidget(cb_201_, row, 3);
    grid->addWidget(attribute, row, 4);
    grid->addWidget(cb_125_1_, row++, 5);
    grid->addWidget(stage, row, 0);
    grid->addWidget(cb_16_, row, 1);
    grid->addWidget(outcomeForm, row, 0);
    grid->addWidget(cb_210_, row, 1);
    grid->addWidget(transfer, row, 2);
    grid->addWidget(cb_33_, row++, 3);
    grid->addWidget(fieldLabel(QStringLiteral("学科分类号"), w), row, 0);
    grid->addLayout(discipline, row++, 1, 1, 5);
    grid->addWidget(fieldLabel(QStringLiteral("中图分类号"), w), row, 0);
    grid->addLayout(library, row++, 1, 1, 5);

    appliedOnly_ << attribute << cb_125_1_ << stage << cb_16_ << transfer << cb_33_;
    otherOnly_ << outcomeForm << cb_210_;
    return w;
}

QWidget* TFpage1::buildFormTab() {
    auto* w = new QWidget(tabs_);
    QLabel* formLabel = ui::maroonLabel(QStringLiteral("成果体现形式"), w);

    auto* forms = new QWidget(w);
    forms->setObjectName(QStringLiteral("PL_123"));
    auto* rows = new QVBoxLayout(forms);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    QHBoxLayout* line = nullptr;
    for (int i = 0; i < static_cast<int>(std::size(kForms)); ++i) {
        if (i == 0 || i == kFirstStandard) {
            line = new QHBoxLayout;
            rows->addLayout(line);
        }
        auto* button = new QRadioButton(QString::fromUtf8(kForms[i].caption), forms);
        button->setObjectName(QStringLiteral("RB_123_") + QString::fromLatin1(kForms[i].code));
        line->addWidget(button);
        if (i == kFirstStandard - 1 || i == static_cast<int>(std::size(kForms)) - 1)
            line->addStretch();
    }

    fieldLabel_ = ui::fieldLabel(QStringLiteral("所属高新科技领域"), w);
    fieldLabel_->setObjectName(QStringLiteral("Label124"));
    QWidget* highTech = checkPanel("Pl_124_1", "CB_124_1_", store::highTechFields().data(),
                                   static_cast<int>(store::highTechFields().size()), 4, w);
    QWidget* goals = checkPanel("PL_200", "CB_200_", store::socioEconomicGoals().data(),
                                static_cast<int>(store::socioEconomicGoals().size()), 3, w);
    auto* heading = new QHBoxLayout;
    heading->addWidget(fieldLabel_);
    heading->addWidget(ui::fieldLabel(QStringLiteral("（单选）"), w));
    heading->addStretch();

    auto* layout = new QVBoxLayout(w);
    layout->addWidget(formLabel);
    layout->addWidget(forms);
    layout->addSpacing(6);
    layout->addLayout(heading);
    layout->addWidget(highTech);
    layout->addWidget(goals);
    layout->addStretch();

    pl_123_ = std::make_unique<OptionPanel>(forms, 1, QStringLiteral("成果体现形式"));
    pl_124_1_ = std::make_unique<OptionPanel>(highTech, 2, QStringLiteral("所属高新科技领域"),
                                              PanelBehaviour::SingleChoice);
    pl_200_ = std::make_unique<OptionPanel>(goals, 2, QStringLiteral("社会经济目标"),
                                            PanelBehaviour::SingleChoice);
    appliedOnly_ << formLabel << forms << highTech;
    otherOnly_ << goals;
    return w;
}

QWidget* TFpage1::buildIndustryTab() {
    auto* w = new QWidget(tabs_);
    auto* heading = new QHBoxLayout;
    heading->addWidget(ui::maroonLabel(QStringLiteral("成果主要应用行业"), w));
    heading->addWidget(ui::fieldLabel(QStringLiteral("（单选）"), w));
    heading->addStretch();
    QWidget* industries = checkPanel("PL_125", "CB_125_", store::industries().data(),
                                     static_cast<int>(store::industries().size()), 3, w);
    auto* layout = new QVBoxLayout(w);
    layout->addLayout(heading);
    layout->addWidget(industries);
    layout->addStretch();
    pl_125_ = std::make_unique<OptionPanel>(industries, 2, QStringLiteral("成果应用行业"),
                                            PanelBehaviour::SingleChoice);
    return w;
}

void TFpage1::bindFields() {
    forms::FieldBinder& b = binder();
    forms::ChangeMarker& m = marker();
    b.text(edt_120_, "item_120");
    b.text(edt_128_, "item_128");

    ui::limitToGbkBytes(edt_121_y_, 4);
    ui::limitToGbkBytes(edt_121_m_, 2);
    ui::limitToGbkBytes(edt_121_d_, 2);
    auto dateShown = [this] {
        return registrationDateText(edt_121_y_->text(), edt_121_m_->text(), edt_121_d_->text());
    };
    b.custom(
        "item_121",
        [this](const QString& stored) {
            const QStringList parts = registrationBoxes(stored);
            edt_121_y_->setText(parts[0]);
            edt_121_m_->setText(parts[1]);
            edt_121_d_->setText(parts[2]);
        },
        dateShown, [dateShown](const QString& stored) { return stored.trimmed() != dateShown(); });

    for (QLineEdit* box : {edt_8_y_s_, edt_8_y_e_})
        ui::limitToGbkBytes(box, 4);
    for (QLineEdit* box : {edt_8_m_s_, edt_8_m_e_})
        ui::limitToGbkBytes(box, 2);
    auto periodShown = [this] {
        return periodText(tidyPeriod(
            {edt_8_y_s_->text(), edt_8_m_s_->text(), edt_8_y_e_->text(), edt_8_m_e_->text()}));
    };
    b.custom(
        "item_8",
        [this](const QString& stored) {
            const PeriodBoxes p = splitPeriod(stored);
            edt_8_y_s_->setText(p.startYear);
            edt_8_m_s_->setText(p.startMonth);
            edt_8_y_e_->setText(p.endYear);
            edt_8_m_e_->setText(p.endMonth);
        },
        periodShown,
        [periodShown](const QString& stored) { return stored.trimmed() != periodShown(); });
    for (QLineEdit* box :
         {edt_121_y_, edt_121_m_, edt_121_d_, edt_8_y_s_, edt_8_m_s_, edt_8_y_e_, edt_8_m_e_})
        m.watch(box);

    b.code(cb_1_, "item_1", kEntryCodeWidth);
    bindLayoutCode(cb_125_1_, "item_125_1", true);

    auto keywordsShown = [this] {
        return joinKeywords(edt_14_[0]->text(), edt_14_[1]->text(), edt_14_[2]->text());
    };
    b.custom(
        "item_14",
        [this](const QString& stored) {
            forms::splitKeywords(stored, edt_14_[0], edt_14_[1], edt_14_[2]);
        },
        keywordsShown,
        [keywordsShown](const QString& stored) {
            return stored.trimmed() != keywordsShown().trimmed();
        });
    for (QLineEdit* box : edt_14_) {
        ui::limitToGbkBytes(box, kKeywordBoxBytes);
        m.watch(box);
    }
    b.setLabel("item_14", QStringLiteral("关键词"));

    bindPanel(*pl_123_, "item_123");
    bindLayoutCode(cb_16_, "item_16");
    bindLayoutCode(cb_33_, "item_33");
    bindLayoutCode(cb_210_, "item_210");
    b.code(cb_2_, "item_2", kEntryCodeWidth);
    b.code(cb_201_, "item_201", kEntryCodeWidth);
    for (const Classification& c : classifications_)
        bindClassification(c);
    b.setLabel("item_15", QStringLiteral("学科分类号"));
    b.setLabel("item_15_1", QStringLiteral("学科分类号"));
    b.setLabel("item_12", QStringLiteral("中图分类号"));
    b.setLabel("item_12_1", QStringLiteral("中图分类号"));
    bindPanel(*pl_124_1_, "item_124_1");
    bindPanel(*pl_200_, "item_200");
    bindPanel(*pl_125_, "item_125");
    b.memo(mo_13_1_, "item_13_1");
    b.memo(mo_13_, "item_13");
}

void TFpage1::bindLayoutCode(QComboBox* list, const char* field, bool attribute) {
    marker().watch(list);
    const QString name = QString::fromLatin1(field);
    auto shown = [this, list, name, attribute] {
        if (!fieldInLayout(name, applied_)) return QString();
        return attribute ? attributeCode(list->currentText())
                         : forms::chosenCode(list, kEntryCodeWidth);
    };
    binder().custom(
        field,
        [list](const QString& stored) {
            list->setCurrentIndex(-1);
            forms::selectStoredCode(list, stored.trimmed());
        },
        shown,
        [this, name, shown](const QString& stored) {
            return fieldInLayout(name, applied_) && stored.trimmed() != shown();
        });
}

void TFpage1::bindPanel(OptionPanel& panel, const char* field) {
    for (QAbstractButton* option : panel.options())
        marker().watch(option);
    const QString name = QString::fromLatin1(field);
    // The page's panels hold one code at most, so reading them never refuses.
    auto shown = [this, &panel, name] {
        return fieldInLayout(name, applied_) ? panel.read().value_or(QString()) : QString();
    };
    binder().custom(
        field, [&panel](const QString& stored) { panel.write(stored); }, shown,
        [this, name, shown](const QString& stored) {
            return fieldInLayout(name, applied_) && stored.trimmed() != shown();
        });
}

bool TFpage1::tableMode(const Classification& c) const {
    return store_.db().hasTable((c.table + QStringLiteral(".dbf")).toStdString());
}

void TFpage1::bindClassification(const Classification& c) {
    marker().watch(c.box);
    // Typed codes (without a classification table) take no more bytes than the code's ten.
    ui::limitToGbkBytes(c.box, kTypedCodeLength);
    auto shown = [this, c] {
        return tableMode(c) ? classificationCode(c.box->text())
                            : c.box->text().left(kTypedCodeLength);
    };
    binder().custom(
        c.field,
        [this, c](const QString& stored) {
            const bool table = tableMode(c);
            c.box->setReadOnly(table);
            c.box->dropDownButton()->setVisible(table);
            c.box->setMaxLength(table ? 32767 : kTypedCodeLength);
            if (!table) {
                c.box->setText(stored);
                return;
            }
            showIfFailed(forms::showClassificationCode(c.box, store_.db(), c.table, stored));
            // A code the table does not hold is shown as it is, so that saving keeps it.
            if (c.box->text().isEmpty()) c.box->setText(stored.trimmed());
        },
        shown, [shown](const QString& stored) { return stored.trimmed() != shown().trimmed(); });
}

void TFpage1::pickClassification(const Classification& c) {
    if (tableMode(c)) picker_.pick(c.box, c.table);
}

void TFpage1::prepareFill(const store::Cursor& record) {
    uncheckAll(this);
    const QString category = QString::fromStdString(record.text("item_cglb"));
    applied_ = category.trimmed().isEmpty() ? categoryPosition() == 0 : isAppliedCategory(category);
    applyLayout();
    const std::pair<QComboBox*, const char*> lists[] = {
        {cb_1_, "item_1"},     {cb_125_1_, "item_125_1"}, {cb_16_, "item_16"},  {cb_33_, "item_33"},
        {cb_210_, "item_210"}, {cb_2_, "item_2"},         {cb_201_, "item_201"}};
    for (const auto& [list, dictionary] : lists)
        showIfFailed(
            forms::fillFromDictionary(list, store_.db(), QString::fromLatin1(dictionary), false));
}

void TFpage1::applyLayout() {
    for (QWidget* w : appliedOnly_)
        w->setVisible(applied_);
    for (QWidget* w : otherOnly_)
        w->setVisible(!applied_);
    fieldLabel_->setText(applied_ ? QStringLiteral("所属高新科技领域")
                                  : QStringLiteral("社会经济目标"));
    QPalette palette = fieldLabel_->palette();
    palette.setColor(QPalette::WindowText, applied_ ? QColor(Qt::black) : kRequired);
    fieldLabel_->setPalette(palette);
    tabs_->setTabText(0, applied_ ? QStringLiteral("成果体现形式及所属领域")
                                  : QStringLiteral("社会经济目标"));
}

void TFpage1::afterFill(const store::Cursor&) {
    keywordChain();
    shownTab_ = 0;
}

void TFpage1::keywordChain() {
    const bool first = !edt_14_[0]->text().trimmed().isEmpty();
    if (!first) edt_14_[1]->clear();
    edt_14_[1]->setEnabled(first);
    const bool second = first && !edt_14_[1]->text().trimmed().isEmpty();
    if (!second) edt_14_[2]->clear();
    edt_14_[2]->setEnabled(second);
}

void TFpage1::tabChanged(int index) {
    const int left = shownTab_;
    shownTab_ = index;
    if (marker().isFilling()) return;
    // The bulletin starts as a copy of the introduction.
    if (left == kAbstractTab && mo_13_->toPlainText().isEmpty())
        mo_13_->setPlainText(mo_13_1_->toPlainText());
    if (index == kAbstractTab || index == kBulletinTab) {
        auto* memo = index == kAbstractTab ? mo_13_1_ : mo_13_;
        if (memo->toPlainText().trimmed().isEmpty()) {
            memo->moveCursor(QTextCursor::Start);
            memo->setFocus();
        }
    }
}

OverviewEntry TFpage1::entry() const {
    OverviewEntry e;
    e.applied = applied_;
    e.period = {edt_8_y_s_->text(), edt_8_m_s_->text(), edt_8_y_e_->text(), edt_8_m_e_->text()};
    e.registrationYear = edt_121_y_->text();
    e.registrationMonth = edt_121_m_->text();
    e.registrationDay = edt_121_d_->text();
    e.secrecyText = cb_1_->currentText();
    for (QLineEdit* box : edt_14_)
        e.keywords << box->text();
    e.stageCode = forms::chosenCode(cb_16_, kEntryCodeWidth);
    e.transferCode = forms::chosenCode(cb_33_, kEntryCodeWidth);
    e.formChosen = !pl_123_->read().value_or(QString()).isEmpty();
    e.outcomeFormCode = forms::chosenCode(cb_210_, kEntryCodeWidth);
    e.goals = pl_200_->read().value_or(QString());
    e.attributeText = cb_125_1_->currentText();
    e.researchFormText = cb_201_->currentText();
    e.industries = pl_125_->read().value_or(QString());
    e.abstractText = mo_13_1_->toPlainText();
    e.bulletinText = mo_13_->toPlainText();
    return e;
}

std::optional<forms::CheckFailure> TFpage1::check() {
    // The period boxes are tidied in place first, so that the boxes show what is checked.
    const PeriodBoxes tidy = tidyPeriod(
        {edt_8_y_s_->text(), edt_8_m_s_->text(), edt_8_y_e_->text(), edt_8_m_e_->text()});
    edt_8_y_s_->setText(tidy.startYear);
    edt_8_m_s_->setText(tidy.startMonth);
    edt_8_y_e_->setText(tidy.endYear);
    edt_8_m_e_->setText(tidy.endMonth);
    return checkOverview(entry(), QDate::currentDate().year());
}

store::Status TFpage1::writeMore(store::Cursor& record) {
    if (!applied_) return {};
    return record.setValue("outcomeb", store::Value(kOwnUnitCode.toStdString()));
}

void TFpage1::help() {
    (applied_ ? helpApplied_ : helpOther_)->showHelp();
}

} // namespace xb::pages
