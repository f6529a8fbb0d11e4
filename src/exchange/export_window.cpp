#include "export_window.h"

#include "export_flags.h"
#include "export_record_model.h"
#include "exporter.h"
#include "ui/busy_cursor.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace xb::exchange {
namespace {

const QString InfoCaption = QStringLiteral("提示信息");
const QString AllAgainHint = QStringLiteral("再次选择全部项目请双击");

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// Chosen rows stand out on maroon, whether or not the grid has the focus.
void paintSelectionMaroon(QTableView* grid) {
    QPalette palette = grid->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0x80, 0x00, 0x00));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    grid->setPalette(palette);
}

} // namespace

TFormout::TFormout(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store), model_(new ExportRecordModel(this)),
      folder_(QDir::currentPath()) {
    setObjectName(QStringLiteral("TFormout"));
    setWindowTitle(QStringLiteral("数据导出"));
    buildControls();
}

void TFormout::buildControls() {
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setToolTip(QStringLiteral("多条选择，按住ctrl键！"));
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    // The name gets the room; the organization column can be widened by hand.
    grid_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Interactive);
    grid_->horizontalHeader()->resizeSection(1, 240);
    grid_->horizontalHeader()->setHighlightSections(false);
    paintSelectionMaroon(grid_);
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFormout::updateCount);

    auto* scope = new QGroupBox(QStringLiteral("导出范围"), this);
    scope->setObjectName(QStringLiteral("grpScope"));
    all_ = new QRadioButton(QStringLiteral("全部"), scope);
    all_->setObjectName(QStringLiteral("rbAll"));
    all_->installEventFilter(this);
    year_ = new QRadioButton(QStringLiteral("年份"), scope);
    year_->setObjectName(QStringLiteral("rbYear"));
    years_ = new QComboBox(scope);
    years_->setObjectName(QStringLiteral("cbYear"));
    years_->setMinimumContentsLength(6);
    auto* scopeLayout = new QHBoxLayout(scope);
    scopeLayout->addWidget(all_);
    scopeLayout->addSpacing(12);
    scopeLayout->addWidget(year_);
    scopeLayout->addWidget(years_);
    scopeLayout->addStretch();
    connect(all_, &QRadioButton::clicked, this, &TFormout::rbAllClick);
    connect(all_, &QRadioButton::toggled, this,
            [this](bool checked) { all_->setToolTip(checked ? AllAgainHint : QString()); });
    connect(year_, &QRadioButton::clicked, this, &TFormout::rbYearClick);
    connect(years_, &QComboBox::activated, this, &TFormout::cbYearChange);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("lblCount"));

    auto* targetLabel = new QLabel(QStringLiteral("导出到文件夹："), this);
    target_ = new QLineEdit(this);
    target_->setObjectName(QStringLiteral("edtFolder"));
    target_->setReadOnly(true);
    targetLabel->setBuddy(target_);
    auto* folderButton =
        ui::roomyButton(QStringLiteral("选择文件夹…"), QStringLiteral("btnFolder"), this);
    connect(folderButton, &QPushButton::clicked, this, &TFormout::btnFolderClick);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setVisible(false);

    exportButton_ = ui::roomyButton(QStringLiteral("导出"), QStringLiteral("btnExport"), this);
    connect(exportButton_, &QPushButton::clicked, this, &TFormout::btnExportClick);
    auto* quitButton = ui::roomyButton(QStringLiteral("退出"), QStringLiteral("btnQuit"), this);
    connect(quitButton, &QPushButton::clicked, this, &TFormout::btnQuitClick);

    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(scope);
    scopeRow->addSpacing(12);
    scopeRow->addWidget(count_);
    scopeRow->addStretch();

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(targetLabel);
    targetRow->addWidget(target_, 1);
    targetRow->addWidget(folderButton);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(progress_, 1);
    buttonRow->addStretch();
    buttonRow->addWidget(exportButton_);
    buttonRow->addWidget(quitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(scopeRow);
    layout->addLayout(targetRow);
    layout->addLayout(buttonRow);
    resize(760, 540);
}

void TFormout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Spontaneous shows come from the desktop (a restore after minimizing), not from an opening.
    if (!event->spontaneous()) FormShow();
}

bool TFormout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == all_ && event->type() == QEvent::MouseButtonDblClick && all_->isEnabled()) {
        rbAllDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormout::FormShow() {
    auto records = loadExportRecords(store_.db());
    if (!records) {
        ui::prompter().showError(records.error());
        records = std::vector<ExportRecord>{};
    }
    model_->setRecords(std::move(*records));

    years_->clear();
    for (const std::string& year : exportYears(model_->records()))
        years_->addItem(qtext(year));
    if (years_->count() > 0) years_->setCurrentIndex(0);
    resetScope();

    if (auto cleared = clearExportFlags(store_.db()); !cleared)
        ui::prompter().showError(cleared.error());

    target_->setText(QDir::toNativeSeparators(folder_));
    count_->setText(QStringLiteral("选择了0条记录"));
}

void TFormout::resetScope() {
    // Radio buttons of one group cannot be unchecked while they exclude each other.
    for (QRadioButton* option : {all_, year_}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    years_->setVisible(false);
    exportButton_->setEnabled(false);
}

void TFormout::setExportEnabled() {
    exportButton_->setEnabled(!model_->records().empty());
}

void TFormout::selectAllShown() {
    grid_->selectAll();
    updateCount();
}

void TFormout::updateCount() {
    const auto rows = grid_->selectionModel()->selectedRows().size();
    count_->setText(QStringLiteral("选择了%1记录！").arg(rows));
}

void TFormout::rbAllClick() {
    all_->setChecked(true);
    years_->setVisible(false);
    model_->setYearFilter(QString());
    selectAllShown();
    setExportEnabled();
}

void TFormout::rbAllDblClick() {
    rbAllClick();
}

void TFormout::rbYearClick() {
    year_->setChecked(true);
    years_->setVisible(true);
    setExportEnabled();
    // The year the list shows is taken at once, so that the view never disagrees with it.
    if (years_->currentIndex() >= 0) cbYearChange(years_->currentIndex());
}

void TFormout::cbYearChange(int index) {
    showYear(years_->itemText(index));
}

void TFormout::showYear(const QString& year) {
    model_->setYearFilter(year);
    selectAllShown();
}

std::vector<uint32_t> TFormout::selectedRecords() const {
    QModelIndexList rows = grid_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<uint32_t> records;
    records.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& index : rows)
        records.push_back(model_->recordAt(index.row()).row);
    return records;
}

void TFormout::btnFolderClick() {
    const QString chosen = ui::prompter().chooseFolder(
        {QStringLiteral("选择导出文件夹"),
         target_->text().trimmed().isEmpty() ? folder_ : target_->text().trimmed()});
    if (chosen.isEmpty()) return;
    folder_ = chosen;
    target_->setText(QDir::toNativeSeparators(chosen));
}

void TFormout::btnExportClick() {
    const QString folder = target_->text().trimmed();
    if (folder.size() > MaxTargetFolderLength) {
        ui::prompter().warn(QStringLiteral("文件目录路径不超过7个字符！"));
        return;
    }
    if (!existingPackagePath(folder).isEmpty() &&
        !ui::prompter().confirm(
            InfoCaption,
            QStringLiteral("该路径存在上报文件！选择“是”该文件将被覆盖；选择“否”放弃操作。"
                           "如果需要保存现存文件，需要把该文件保存到到别的文件夹内，"
                           "再执行该操作！"),
            ui::MessageIcon::Information))
        return;
    if (grid_->selectionModel()->selectedRows().isEmpty()) {
        if (!ui::prompter().confirm(InfoCaption,
                                    QStringLiteral("请选择您要导出的项目，是否全部选择？"),
                                    ui::MessageIcon::Information))
            return;
        rbAllClick();
    }

    ui::BusyCursor busy;
    progress_->setValue(0);
    progress_->setVisible(true);
    auto package = exportPackage(
        store_.db(), archiver_, folder, selectedRecords(), [this](int done, int total) {
            progress_->setRange(0, total);
            progress_->setValue(done);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    progress_->setVisible(false);
    busy.restore();
    if (!package) {
        ui::prompter().showError(package.error());
        return;
    }
    ui::prompter().warn(QStringLiteral("你已打包成功!文件在") + targetFolderPrefix(folder) +
                        PackageFileName);
}

void TFormout::btnQuitClick() {
    target_->clear();
    close();
}

} // namespace xb::exchange
