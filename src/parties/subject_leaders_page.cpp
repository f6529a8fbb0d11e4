#include "subject_leaders_page.h"

#include "parties/subject_leader_dialog.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace xb::parties {

TFpage11::TFpage11(store::Database& db, QWidget* parent)
    : QDialog(parent), db_(db), grid_(new QTableWidget(this)),
      add_(new QPushButton(QStringLiteral("新增"), this)),
      change_(new QPushButton(QStringLiteral("修改"), this)),
      remove_(new QPushButton(QStringLiteral("删除"), this)), dialog_(new TFinto11(db, this)) {
    setObjectName(QStringLiteral("TFpage11"));
    setWindowTitle(QStringLiteral("学科带头人情况"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(800, 600);

    auto* header = new QLabel(QStringLiteral("学科带头人情况"), this);
    header->setObjectName(QStringLiteral("Label1"));
    QFont font = header->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    header->setFont(font);
    header->setAlignment(Qt::AlignCenter);

    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setColumnCount(5);
    grid_->setHorizontalHeaderLabels({QStringLiteral("姓名"), QStringLiteral("出生年月"),
                                      QStringLiteral("性别"), QStringLiteral("研究领域"),
                                      QStringLiteral("简要说明")});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 110);
    grid_->setColumnWidth(1, 90);
    grid_->setColumnWidth(2, 60);
    grid_->setColumnWidth(3, 200);

    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    add_->setObjectName(QStringLiteral("Button2"));
    change_->setObjectName(QStringLiteral("Button3"));
    remove_->setObjectName(QStringLiteral("Button1"));
    quit->setObjectName(QStringLiteral("quit01"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {add_, change_, remove_, quit}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(add_, &QPushButton::clicked, this, &TFpage11::Button2Click);
    connect(change_, &QPushButton::clicked, this, &TFpage11::Button3Click);
    connect(remove_, &QPushButton::clicked, this, &TFpage11::Button1Click);
    connect(quit, &QPushButton::clicked, this, &TFpage11::quit01Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
}

int TFpage11::showLeaders(const QString& unitCode) {
    unitCode_ = unitCode;
    reload(0);
    return ui::showModal(*this);
}

void TFpage11::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setFixedSize(800, 600);
}

void TFpage11::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TFpage11::reload(int select) {
    auto loaded = loadSubjectLeaders(db_, unitCode_);
    if (!loaded) ui::prompter().showError(loaded.error());
    leaders_ = loaded ? *loaded : QList<SubjectLeader>();
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(leaders_.size()));
    for (int row = 0; row < leaders_.size(); ++row) {
        const SubjectLeader& leader = leaders_[row];
        const QString cells[] = {leader.name, leader.birth, leader.sexLabel, leader.fieldLabel,
                                 leader.description};
        for (int column = 0; column < 5; ++column)
            grid_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    const bool any = !leaders_.isEmpty();
    change_->setEnabled(any);
    remove_->setEnabled(any);
    if (any) grid_->selectRow(std::clamp(select, 0, static_cast<int>(leaders_.size()) - 1));
}

int TFpage11::selectedRow() const {
    const int row = grid_->currentRow();
    return row >= 0 && row < leaders_.size() ? row : 0;
}

void TFpage11::Button2Click() {
    const bool saved = dialog_->showNew(unitCode_);
    reload(saved ? static_cast<int>(leaders_.size()) : selectedRow());
}

void TFpage11::Button3Click() {
    if (leaders_.isEmpty()) {
        Button2Click();
        return;
    }
    const int row = selectedRow();
    dialog_->showModify(unitCode_, row, leaders_[row]);
    reload(row);
}

void TFpage11::Button1Click() {
    if (leaders_.isEmpty()) return;
    const ui::Message question{QStringLiteral("提示信息"), QStringLiteral("是否删除该项目？!"),
                               ui::MessageIcon::Information, ui::Buttons::YesNo};
    if (ui::prompter().ask(question) != ui::Answer::Yes) return;
    const int row = selectedRow();
    auto select = removeSubjectLeader(db_, unitCode_, row);
    if (!select) ui::prompter().showError(select.error());
    reload(select ? *select : row);
}

void TFpage11::quit01Click() {
    accept();
}

} // namespace xb::parties
