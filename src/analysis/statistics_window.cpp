#include "statistics_window.h"

#include "analysis/sheets.h"
#include "analysis/window_support.h"
#include "ui/modal.h"
#include "ui/printer.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"
#include "ui/saved_file.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <map>
#include <set>

namespace xb::analysis {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The chart shows the groups with the most records; the table shows them all.
constexpr int kChartGroups = 24;
constexpr int kChartSeries = 8;

void setReportLayout(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
}

} // namespace

StatisticsWindow::StatisticsWindow(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName("StatisticsWindow");
    setWindowTitle(QStringLiteral("统计分析"));
    buildControls();
    resize(1060, 720);
}

void StatisticsWindow::buildControls() {
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    auto* years = new QGroupBox(QStringLiteral("年份"), this);
    auto* yearsLayout = new QVBoxLayout(years);
    lstYears = new QListWidget(years);
    lstYears->setObjectName("lstYears");
    yearsLayout->addWidget(lstYears);
    side->addWidget(years, 1);
    auto* categories = new QGroupBox(QStringLiteral("成果类型"), this);
    auto* categoriesLayout = new QVBoxLayout(categories);
    const char* names[] = {"应用技术", "软科学", "基础理论"};
    for (int i = 0; i < 3; ++i) {
        chkCategory[i] = new QCheckBox(QString::fromUtf8(names[i]), categories);
        chkCategory[i]->setObjectName(QStringLiteral("chkCategory%1").arg(i + 1));
        chkCategory[i]->setChecked(true);
        categoriesLayout->addWidget(chkCategory[i]);
    }
    side->addWidget(categories);
    auto* grouping = new QGroupBox(QStringLiteral("分组"), this);
    auto* groupingLayout = new QVBoxLayout(grouping);
    cbBy1 = new QComboBox(grouping);
    cbBy1->setObjectName("cbBy1");
    cbBy2 = new QComboBox(grouping);
    cbBy2->setObjectName("cbBy2");
    cbBy2->addItem(QStringLiteral("（不再分组）"), -1);
    for (const DimensionInfo& d : dimensions()) {
        cbBy1->addItem(QString::fromUtf8(d.caption), static_cast<int>(d.dimension));
        cbBy2->addItem(QString::fromUtf8(d.caption), static_cast<int>(d.dimension));
    }
    cbBy1->setCurrentIndex(static_cast<int>(Dimension::Category));
    groupingLayout->addWidget(new QLabel(QStringLiteral("按"), grouping));
    groupingLayout->addWidget(cbBy1);
    groupingLayout->addWidget(new QLabel(QStringLiteral("再按"), grouping));
    groupingLayout->addWidget(cbBy2);
    side->addWidget(grouping);
    btnCount = new QPushButton(QStringLiteral("统计"), this);
    btnCount->setObjectName("btnCount");
    btnCount->setDefault(true);
    side->addWidget(btnCount);
    auto* list = new QGroupBox(QStringLiteral("成果列表"), this);
    auto* listLayout = new QVBoxLayout(list);
    cbListScope = new QComboBox(list);
    cbListScope->setObjectName("cbListScope");
    cbListScope->addItems({QStringLiteral("主窗口所示的年份和类型"),
                           QStringLiteral("所选的年份和类型"), QStringLiteral("所有成果")});
    listLayout->addWidget(cbListScope);
    auto* listButtons = new QHBoxLayout;
    auto button = [this](QBoxLayout* to, const char* name, const char* caption) {
        QPushButton* b =
            ui::roomyButton(QString::fromUtf8(caption), QString::fromLatin1(name), this);
        to->addWidget(b);
        return b;
    };
    auto* listXlsx = button(listButtons, "btnListXlsx", "导出Excel");
    auto* listCsv = button(listButtons, "btnListCsv", "导出CSV");
    listLayout->addLayout(listButtons);
    side->addWidget(list);
    layout->addLayout(side);

    auto* main = new QVBoxLayout;
    auto* split = new QSplitter(Qt::Vertical, this);
    tblStatistics = new QTableView(split);
    tblStatistics->setObjectName("tblStatistics");
    model_ = new QStandardItemModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    tblStatistics->setModel(sorted_);
    tblStatistics->setSortingEnabled(true);
    tblStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblStatistics->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblStatistics->verticalHeader()->hide();
    tblStatistics->verticalHeader()->setDefaultSectionSize(22);
    chtStatistics = new QChartView(split);
    chtStatistics->setObjectName("chtStatistics");
    chtStatistics->setRenderHint(QPainter::Antialiasing);
    chtStatistics->setMinimumHeight(260);
    split->addWidget(tblStatistics);
    split->addWidget(chtStatistics);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    main->addWidget(split, 1);
    lblTotal = new QLabel(this);
    lblTotal->setObjectName("lblTotal");
    lblTotal->setWordWrap(true);
    main->addWidget(lblTotal);
    pbWork = new QProgressBar(this);
    pbWork->setObjectName("pbWork");
    pbWork->hide();
    main->addWidget(pbWork);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* print = button(buttons, "btnPrint", "打印");
    auto* pdf = button(buttons, "btnPdf", "保存为PDF");
    auto* xlsx = button(buttons, "btnXlsx", "导出Excel");
    auto* csv = button(buttons, "btnCsv", "导出CSV");
    auto* quit = button(buttons, "btnQuit", "退出");
    main->addLayout(buttons);
    layout->addLayout(main, 1);

    connect(btnCount, &QPushButton::clicked, this, &StatisticsWindow::btnCountClick);
    connect(print, &QPushButton::clicked, this, &StatisticsWindow::btnPrintClick);
    connect(pdf, &QPushButton::clicked, this, &StatisticsWindow::btnPdfClick);
    connect(xlsx, &QPushButton::clicked, this, &StatisticsWindow::btnXlsxClick);
    connect(csv, &QPushButton::clicked, this, &StatisticsWindow::btnCsvClick);
    connect(listXlsx, &QPushButton::clicked, this, &StatisticsWindow::btnListXlsxClick);
    connect(listCsv, &QPushButton::clicked, this, &StatisticsWindow::btnListCsvClick);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
}

void StatisticsWindow::prepare(const QString& shownYear, const QString& shownCategory) {
    shownYear_ = shownYear.left(4).trimmed();
    shownCategory_ = shownCategory;
    {
        WorkProgress progress(pbWork);
        auto facts = readFacts(store_.db(), {}, progress.step(0, 100));
        if (!facts) {
            ui::prompter().showError(facts.error());
            facts_.clear();
        } else {
            facts_ = std::move(*facts);
        }
    }
    std::set<std::string> years;
    for (const RecordFacts& f : facts_)
        years.insert(f.year);
    lstYears->clear();
    for (auto it = years.rbegin(); it != years.rend(); ++it) {
        auto* item = new QListWidgetItem(q(*it), lstYears);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    btnCountClick();
}

void StatisticsWindow::showStatistics(const QString& shownYear, const QString& shownCategory) {
    prepare(shownYear, shownCategory);
    ui::showModal(*this);
}

FactsFilter StatisticsWindow::chosenFilter() const {
    FactsFilter filter;
    for (int i = 0; i < lstYears->count(); ++i)
        if (lstYears->item(i)->checkState() == Qt::Checked)
            filter.years.insert(lstYears->item(i)->text().toStdString());
    // Nothing checked counts nothing rather than everything.
    if (filter.years.empty()) filter.years.insert("");
    for (int i = 0; i < 3; ++i)
        if (chkCategory[i]->isChecked()) filter.categories.insert(std::to_string(i + 1));
    if (filter.categories.empty()) filter.categories.insert("");
    return filter;
}

std::vector<Dimension> StatisticsWindow::chosenGrouping() const {
    std::vector<Dimension> by{static_cast<Dimension>(cbBy1->currentData().toInt())};
    const int second = cbBy2->currentData().toInt();
    if (second >= 0 && static_cast<Dimension>(second) != by[0])
        by.push_back(static_cast<Dimension>(second));
    return by;
}

void StatisticsWindow::btnCountClick() {
    const FactsFilter filter = chosenFilter();
    std::vector<RecordFacts> chosen;
    for (const RecordFacts& f : facts_)
        if (filter.admits(f.year, f.category)) chosen.push_back(f);
    GroupLabels labels(store_.db());
    table_ = computeStatistics(chosen, chosenGrouping(), labels);
    showTable();
    showChart();
}

QString StatisticsWindow::title() const {
    return q(statisticsTitle(table_.by));
}

void StatisticsWindow::showTable() {
    const Sheet sheet = statisticsSheet(table_, statisticsTitle(table_.by));
    tblStatistics->setSortingEnabled(false);
    model_->clear();
    QStringList headers;
    for (const Column& c : sheet.columns)
        headers << q(c.header);
    model_->setHorizontalHeaderLabels(headers);
    // The last row of the sheet is the total, shown beneath rather than sorted with the groups.
    for (size_t r = 0; r + 1 < sheet.rows.size(); ++r) {
        QList<QStandardItem*> items;
        for (size_t c = 0; c < sheet.columns.size(); ++c) {
            auto* item = new QStandardItem;
            const Cell& cell = sheet.rows[r][c];
            if (const auto* n = std::get_if<double>(&cell)) {
                const CellKind kind = sheet.columns[c].kind;
                item->setText(kind == CellKind::Percent   ? QString::number(*n * 100, 'f', 1) + "%"
                              : kind == CellKind::Integer ? QString::number(*n, 'f', 0)
                                                          : QString::number(*n, 'f', 2));
                item->setData(*n, Qt::UserRole);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            } else {
                const QString text = q(std::get<std::string>(cell));
                item->setText(text);
                item->setData(text, Qt::UserRole);
            }
            items << item;
        }
        model_->appendRow(items);
    }
    tblStatistics->setSortingEnabled(true);
    tblStatistics->sortByColumn(-1, Qt::AscendingOrder);
    tblStatistics->resizeColumnsToContents();
    const Totals& t = table_.total;
    lblTotal->setText(
        QStringLiteral("合计：%1 项成果，经费实际投入额 %2 万元，授权专利 %3 项，受理专利 "
                       "%4 项，完成人员 %5 人次，完整的成果 %6 项（%7%）。")
            .arg(t.count)
            .arg(t.amounts[0], 0, 'f', 2)
            .arg(t.patentsGranted)
            .arg(t.patentsAccepted)
            .arg(t.completers)
            .arg(t.complete)
            .arg(t.completeShare() * 100, 0, 'f', 1));
}

void StatisticsWindow::showChart() {
    auto* chart = new QChart;
    chart->setTitle(title() + QStringLiteral("的成果数"));
    // The groups of the first grouping with the most records, in the table's order.
    std::map<std::string, int> byFirst;
    std::vector<std::string> firstOrder;
    for (const StatisticsRow& r : table_.rows) {
        if (!byFirst.count(r.labels[0])) firstOrder.push_back(r.labels[0]);
        byFirst[r.labels[0]] += r.totals.count;
    }
    std::vector<std::string> shown = firstOrder;
    if (shown.size() > static_cast<size_t>(kChartGroups)) {
        std::stable_sort(shown.begin(), shown.end(),
                         [&](const auto& a, const auto& b) { return byFirst[a] > byFirst[b]; });
        shown.resize(kChartGroups);
        std::set<std::string> keep(shown.begin(), shown.end());
        shown.clear();
        for (const std::string& l : firstOrder)
            if (keep.count(l)) shown.push_back(l);
    }
    std::map<std::string, size_t> column;
    QStringList categories;
    for (const std::string& l : shown) {
        column[l] = static_cast<size_t>(categories.size());
        categories << q(l);
    }
    // One bar set per group of the second grouping (the largest few, the rest as 其他).
    std::map<std::string, int> bySecond;
    for (const StatisticsRow& r : table_.rows)
        bySecond[r.labels.size() > 1 ? r.labels[1] : "成果数"] += r.totals.count;
    std::vector<std::string> sets;
    for (const auto& [label, count] : bySecond)
        sets.push_back(label);
    std::stable_sort(sets.begin(), sets.end(),
                     [&](const auto& a, const auto& b) { return bySecond[a] > bySecond[b]; });
    const bool rest = sets.size() > static_cast<size_t>(kChartSeries);
    if (rest) sets.resize(kChartSeries - 1);
    std::map<std::string, std::vector<double>> values;
    for (const std::string& s : sets)
        values[s].assign(categories.size(), 0);
    if (rest) values["其他"].assign(categories.size(), 0);
    for (const StatisticsRow& r : table_.rows) {
        const auto at = column.find(r.labels[0]);
        if (at == column.end()) continue;
        std::string set = r.labels.size() > 1 ? r.labels[1] : "成果数";
        if (!values.count(set)) set = "其他";
        values[set][at->second] += r.totals.count;
    }
    auto* series = new QStackedBarSeries;
    if (rest) sets.push_back("其他");
    for (const std::string& s : sets) {
        auto* bars = new QBarSet(q(s));
        for (double v : values[s])
            *bars << v;
        series->append(bars);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    if (categories.size() > 6) x->setLabelsAngle(-40);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setLabelFormat("%d");
    y->setMin(0);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    y->applyNiceNumbers();
    chart->legend()->setVisible(table_.by.size() > 1);
    chart->legend()->setAlignment(Qt::AlignRight);
    QChart* old = chtStatistics->chart();
    chtStatistics->setChart(chart);
    delete old;
}

bool StatisticsWindow::paintReport(QPagedPaintDevice& device) {
    QPainter p;
    if (!p.begin(&device)) return false;
    const QRect page = p.viewport();
    const double mm = device.logicalDpiX() / 25.4;
    QFont font = p.font();
    font.setPointSizeF(14);
    p.setFont(font);
    const int titleHeight = static_cast<int>(9 * mm);
    p.drawText(QRect(0, 0, page.width(), titleHeight), Qt::AlignCenter, title());
    // The chart as it is on screen, scaled to the upper part of the first page.
    const QRect chartRect(0, titleHeight, page.width(), static_cast<int>(page.height() * 0.5));
    chtStatistics->render(&p, chartRect);
    const Sheet sheet = statisticsSheet(table_, statisticsTitle(table_.by));
    // Code columns are left out on paper; the labels say it all.
    std::vector<size_t> cols;
    for (size_t c = 0; c < sheet.columns.size(); ++c)
        if (!sheet.columns[c].header.ends_with("代码") || c >= 4) cols.push_back(c);
    double weights = 0;
    for (size_t c : cols)
        weights += sheet.columns[c].kind == CellKind::Text ? 2.2 : 1;
    std::vector<int> widths;
    for (size_t c : cols)
        widths.push_back(static_cast<int>(
            page.width() * (sheet.columns[c].kind == CellKind::Text ? 2.2 : 1) / weights));
    font.setPointSizeF(6.5);
    p.setFont(font);
    const int rowHeight = static_cast<int>(4.6 * mm);
    const int headHeight = rowHeight * 2;
    int y = chartRect.bottom() + static_cast<int>(4 * mm);
    const auto drawRow = [&](const std::vector<QString>& cells, int height, bool head) {
        int x = 0;
        for (size_t i = 0; i < cells.size(); ++i) {
            const QRect cell(x, y, widths[i], height);
            if (head) p.fillRect(cell, QColor(0xDD, 0xEB, 0xF7));
            p.drawRect(cell);
            const bool number = !head && sheet.columns[cols[i]].kind != CellKind::Text;
            p.drawText(cell.adjusted(3, 0, -3, 0),
                       (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter |
                           Qt::TextWordWrap,
                       cells[i]);
            x += widths[i];
        }
        y += height;
    };
    std::vector<QString> head;
    for (size_t c : cols)
        head.push_back(q(sheet.columns[c].header));
    drawRow(head, headHeight, true);
    for (const auto& row : sheet.rows) {
        if (y + rowHeight > page.height()) {
            if (!device.newPage()) return false;
            y = 0;
            drawRow(head, headHeight, true);
        }
        std::vector<QString> cells;
        for (size_t c : cols) {
            const Cell& cell = row[c];
            if (const auto* n = std::get_if<double>(&cell)) {
                const CellKind kind = sheet.columns[c].kind;
                cells.push_back(kind == CellKind::Percent ? QString::number(*n * 100, 'f', 1) + "%"
                                : kind == CellKind::Integer ? QString::number(*n, 'f', 0)
                                                            : QString::number(*n, 'f', 2));
            } else {
                cells.push_back(q(std::get<std::string>(cell)));
            }
        }
        drawRow(cells, rowHeight, false);
    }
    return p.end();
}

void StatisticsWindow::btnPrintClick() {
    ui::PrintJob job;
    job.title = title();
    job.pages << QStringLiteral("1");
    job.render = [this](QPagedPaintDevice& device) {
        setReportLayout(device);
        return paintReport(device);
    };
    const QString error = ui::printer().print(job);
    if (!error.isEmpty()) ui::prompter().showError(QStringLiteral("打印失败：%1。").arg(error));
}

void StatisticsWindow::btnPdfClick() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = ui::printer().choosePdfFile(QDir(folder).filePath(title() + ".pdf"));
    if (path.isEmpty()) return;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title());
        writer.setCreator(QStringLiteral("Xunbao"));
        writer.setResolution(200);
        setReportLayout(writer);
        drawn = paintReport(writer);
    }
    const store::Status saved =
        drawn ? ui::saveWholeFile(path, buffer.data()) : store::fail("无法绘制统计报表的页面");
    if (!saved) {
        ui::prompter().showError(saved.error());
        return;
    }
    ui::prompter().inform(QStringLiteral("提示"),
                          QStringLiteral("已保存为 %1").arg(QDir::toNativeSeparators(path)));
}

void StatisticsWindow::btnXlsxClick() {
    exportSheets({statisticsSheet(table_, statisticsTitle(table_.by))}, SheetFormat::Xlsx, title());
}

void StatisticsWindow::btnCsvClick() {
    exportSheets({statisticsSheet(table_, statisticsTitle(table_.by))}, SheetFormat::Csv, title());
}

std::vector<RecordFacts> StatisticsWindow::listedRecords() const {
    std::vector<RecordFacts> out;
    const int scope = cbListScope->currentIndex();
    const FactsFilter chosen = chosenFilter();
    for (const RecordFacts& f : facts_) {
        const bool shown = f.number.starts_with(shownYear_.toStdString()) &&
                           f.category == shownCategory_.toStdString();
        if (scope == 2 || (scope == 1 && chosen.admits(f.year, f.category)) ||
            (scope == 0 && shown))
            out.push_back(f);
    }
    return out;
}

void StatisticsWindow::btnListXlsxClick() {
    GroupLabels labels(store_.db());
    exportSheets({recordSheet(listedRecords(), labels)}, SheetFormat::Xlsx,
                 QStringLiteral("成果列表"));
}

void StatisticsWindow::btnListCsvClick() {
    GroupLabels labels(store_.db());
    exportSheets({recordSheet(listedRecords(), labels)}, SheetFormat::Csv,
                 QStringLiteral("成果列表"));
}

} // namespace xb::analysis
