#include "duplicates_window.h"

#include "analysis/sheets.h"
#include "analysis/window_support.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace xb::analysis {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString categoryName(const std::string& code) {
    return code == "1"   ? QStringLiteral("应用技术")
           : code == "2" ? QStringLiteral("软科学")
           : code == "3" ? QStringLiteral("基础理论")
                         : q(code);
}

QString describe(const RecordFacts& f) {
    const auto line = [](const QString& caption, const QString& value) {
        return QStringLiteral("<tr><td style='color:#555'>%1</td><td>%2</td></tr>")
            .arg(caption, value.toHtmlEscaped());
    };
    return QStringLiteral("<table cellspacing=3>") + line(QStringLiteral("年份"), q(f.year)) +
           line(QStringLiteral("成果管理编号"), q(f.number)) +
           line(QStringLiteral("成果类型"), categoryName(f.category)) +
           line(QStringLiteral("成果名称"), q(f.name)) +
           line(QStringLiteral("第一完成单位"), q(f.organization)) +
           line(QStringLiteral("第一完成人"), q(f.firstCompleter)) +
           line(QStringLiteral("是否完整"),
                f.complete ? QStringLiteral("完整") : QStringLiteral("不完整：") + q(f.missing)) +
           QStringLiteral("</table>");
}

} // namespace

DuplicatesWindow::DuplicatesWindow(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName("DuplicatesWindow");
    setWindowTitle(QStringLiteral("查重"));
    buildControls();
    resize(1000, 680);
}

void DuplicatesWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("名称相似度不低于"), this));
    spnThreshold = new QDoubleSpinBox(this);
    spnThreshold->setObjectName("spnThreshold");
    spnThreshold->setRange(0.5, 1.0);
    spnThreshold->setSingleStep(0.05);
    spnThreshold->setDecimals(2);
    spnThreshold->setValue(DuplicateSettings().threshold);
    top->addWidget(spnThreshold);
    auto button = [this](QBoxLayout* to, const char* name, const char* caption) {
        QPushButton* b =
            ui::roomyButton(QString::fromUtf8(caption), QString::fromLatin1(name), this);
        to->addWidget(b);
        return b;
    };
    auto* search = button(top, "btnSearch", "查找");
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");
    top->addWidget(lblCount, 1);
    layout->addLayout(top);
    layout->addWidget(
        new QLabel(QStringLiteral("比较时去掉空白和标点，全角字符按半角计；第一完成单位和第一完成人"
                                  "都相同的成果，名称相似度不低于 0.5 即列出。"),
                   this));

    tblPairs = new QTableView(this);
    tblPairs->setObjectName("tblPairs");
    model_ = new QStandardItemModel(this);
    model_->setHorizontalHeaderLabels({QStringLiteral("相似度"), QStringLiteral("依据"),
                                       QStringLiteral("甲 年份"), QStringLiteral("甲 成果名称"),
                                       QStringLiteral("乙 年份"), QStringLiteral("乙 成果名称")});
    tblPairs->setModel(model_);
    tblPairs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPairs->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblPairs->setSelectionMode(QAbstractItemView::SingleSelection);
    tblPairs->verticalHeader()->hide();
    tblPairs->verticalHeader()->setDefaultSectionSize(22);
    tblPairs->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(tblPairs, 1);

    auto* sides = new QHBoxLayout;
    for (bool first : {true, false}) {
        auto* box = new QGroupBox(first ? QStringLiteral("甲") : QStringLiteral("乙"), this);
        auto* boxLayout = new QVBoxLayout(box);
        auto* text = new QLabel(box);
        text->setObjectName(first ? "lblFirst" : "lblSecond");
        text->setTextFormat(Qt::RichText);
        text->setWordWrap(true);
        text->setMinimumHeight(150);
        text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        boxLayout->addWidget(text, 1);
        auto* open = new QPushButton(QStringLiteral("在主窗口中打开"), box);
        open->setObjectName(first ? "btnOpenFirst" : "btnOpenSecond");
        open->setAutoDefault(false);
        boxLayout->addWidget(open, 0, Qt::AlignRight);
        (first ? lblFirst : lblSecond) = text;
        (first ? btnOpenFirst : btnOpenSecond) = open;
        sides->addWidget(box, 1);
    }
    layout->addLayout(sides);
    pbWork = new QProgressBar(this);
    pbWork->setObjectName("pbWork");
    pbWork->hide();
    layout->addWidget(pbWork);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* xlsx = button(buttons, "btnXlsx", "导出Excel");
    auto* quit = button(buttons, "btnQuit", "退出");
    layout->addLayout(buttons);

    connect(search, &QPushButton::clicked, this, &DuplicatesWindow::btnSearchClick);
    connect(btnOpenFirst, &QPushButton::clicked, this, &DuplicatesWindow::btnOpenFirstClick);
    connect(btnOpenSecond, &QPushButton::clicked, this, &DuplicatesWindow::btnOpenSecondClick);
    connect(xlsx, &QPushButton::clicked, this, &DuplicatesWindow::btnXlsxClick);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblPairs->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showPair(); });
}

void DuplicatesWindow::prepare() {
    chosenNumber_.clear();
    chosenCategory_.clear();
    {
        WorkProgress progress(pbWork);
        auto facts = readFacts(store_.db(), {}, progress.step(0, 40));
        if (!facts) {
            ui::prompter().showError(facts.error());
            facts_.clear();
        } else {
            facts_ = std::move(*facts);
        }
    }
    btnSearchClick();
}

int DuplicatesWindow::showDuplicates() {
    prepare();
    return ui::showModal(*this);
}

void DuplicatesWindow::btnSearchClick() {
    DuplicateSettings settings;
    settings.threshold = spnThreshold->value();
    settings.teamThreshold = std::min(settings.teamThreshold, settings.threshold);
    {
        WorkProgress progress(pbWork);
        pairs_ = findDuplicates(facts_, settings, progress.step(40, 60));
    }
    model_->removeRows(0, model_->rowCount());
    for (const DuplicatePair& p : pairs_) {
        const RecordFacts& a = facts_[p.first];
        const RecordFacts& b = facts_[p.second];
        QList<QStandardItem*> row{
            new QStandardItem(QString::number(p.similarity * 100, 'f', 0) + "%"),
            new QStandardItem(p.sameTeam ? QStringLiteral("同一单位和第一完成人")
                                         : QStringLiteral("名称相似")),
            new QStandardItem(q(a.year)),
            new QStandardItem(q(a.name)),
            new QStandardItem(q(b.year)),
            new QStandardItem(q(b.name))};
        model_->appendRow(row);
    }
    tblPairs->setColumnWidth(0, 60);
    tblPairs->setColumnWidth(1, 140);
    tblPairs->setColumnWidth(2, 50);
    tblPairs->setColumnWidth(3, 320);
    tblPairs->setColumnWidth(4, 50);
    lblCount->setText(QStringLiteral("在 %1 项成果中找到 %2 对可能重复的成果")
                          .arg(facts_.size())
                          .arg(pairs_.size()));
    if (!pairs_.empty()) tblPairs->setCurrentIndex(model_->index(0, 0));
    showPair();
}

const DuplicatePair* DuplicatesWindow::currentPair() const {
    const int row = tblPairs->currentIndex().row();
    return row >= 0 && static_cast<size_t>(row) < pairs_.size() ? &pairs_[row] : nullptr;
}

void DuplicatesWindow::showPair() {
    const DuplicatePair* p = currentPair();
    lblFirst->setText(p ? describe(facts_[p->first]) : QString());
    lblSecond->setText(p ? describe(facts_[p->second]) : QString());
    btnOpenFirst->setEnabled(p != nullptr);
    btnOpenSecond->setEnabled(p != nullptr);
}

void DuplicatesWindow::open(bool first) {
    const DuplicatePair* p = currentPair();
    if (!p) return;
    const RecordFacts& f = facts_[first ? p->first : p->second];
    chosenNumber_ = q(f.number);
    chosenCategory_ = q(f.category);
    accept();
}

void DuplicatesWindow::btnOpenFirstClick() {
    open(true);
}

void DuplicatesWindow::btnOpenSecondClick() {
    open(false);
}

void DuplicatesWindow::btnXlsxClick() {
    exportSheets({duplicatesSheet(facts_, pairs_)}, SheetFormat::Xlsx,
                 QStringLiteral("可能重复的成果"));
}

} // namespace xb::analysis
