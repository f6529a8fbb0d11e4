#include "analysis/history_window.h"

#include "analysis/history_lines.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace xb::analysis {

HistoryWindow::HistoryWindow(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("修改记录"));
    resize(900, 520);
    auto* layout = new QVBoxLayout(this);
    lblRecord = new QLabel(this);
    lblRecord->setObjectName(QStringLiteral("lblRecord"));
    layout->addWidget(lblRecord);
    tblHistory = new QTableWidget(0, 6, this);
    tblHistory->setObjectName(QStringLiteral("tblHistory"));
    tblHistory->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("操作"),
                                           QStringLiteral("所在页面"), QStringLiteral("项目"),
                                           QStringLiteral("原值"), QStringLiteral("新值")});
    tblHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblHistory->setWordWrap(true);
    tblHistory->verticalHeader()->setVisible(false);
    tblHistory->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tblHistory->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] : {std::pair{0, 140}, {1, 70}, {2, 130}, {3, 150}, {4, 180}})
        tblHistory->setColumnWidth(column, width);
    layout->addWidget(tblHistory, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* close = ui::roomyButton(QStringLiteral("关闭"), QStringLiteral("btnClose"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void HistoryWindow::prepare(const QString& number, const QString& name) {
    tblHistory->setRowCount(0);
    auto lines = historyLines(db_, number.toStdString());
    if (!lines) {
        lblRecord->setText(QStringLiteral("成果 %1 的修改记录无法读取").arg(number));
        ui::prompter().showError(lines.error());
        return;
    }
    lblRecord->setText(lines->empty()
                           ? QStringLiteral("成果“%1”（%2）还没有修改记录。").arg(name, number)
                           : QStringLiteral("成果“%1”（%2）的修改记录，共 %3 条，最新的在前：")
                                 .arg(name, number)
                                 .arg(lines->size()));
    tblHistory->setRowCount(static_cast<int>(lines->size()));
    int row = 0;
    for (const HistoryLine& line : *lines) {
        const std::string* texts[] = {&line.time, &line.operation, &line.section,
                                      &line.item, &line.before,    &line.after};
        for (int column = 0; column < 6; ++column) {
            const QString text = QString::fromStdString(*texts[column]);
            auto* cell = new QTableWidgetItem(text);
            cell->setToolTip(text);
            tblHistory->setItem(row, column, cell);
        }
        ++row;
    }
}

void HistoryWindow::showHistory(const QString& number, const QString& name) {
    prepare(number, name);
    ui::showModal(*this);
}

} // namespace xb::analysis
