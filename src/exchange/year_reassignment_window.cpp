#include "year_reassignment_window.h"

#include "ui/prompter.h"
#include "year_reassignment.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace xb::exchange {

Tformformat::Tformformat(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("Tformformat"));
    setWindowTitle(QStringLiteral("修改成果年份"));

    auto* label = new QLabel(QStringLiteral("成果年份"), this);
    edt_4 = new QLineEdit(this);
    edt_4->setObjectName(QStringLiteral("edt_4"));
    edt_4->setMaxLength(4);
    label->setBuddy(edt_4);
    auto* save = new QPushButton(QStringLiteral("保存"), this);
    save->setObjectName(QStringLiteral("btnsave"));
    save->setAutoDefault(false);
    auto* exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setObjectName(QStringLiteral("btnexit"));
    exit->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &Tformformat::btnsaveClick);
    connect(exit, &QPushButton::clicked, this, &Tformformat::btnexitClick);

    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(label);
    yearRow->addWidget(edt_4, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(save);
    buttonRow->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(yearRow);
    layout->addLayout(buttonRow);
    setMinimumWidth(280);
}

void Tformformat::setStagedAchievement(const StagedAchievement& staged) {
    staged_ = staged;
}

void Tformformat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void Tformformat::FormShow() {
    edt_4->setText(QString::fromStdString(staged_.year()));
    edt_4->setFocus();
}

void Tformformat::btnsaveClick() {
    if (!ui::prompter().confirm(QStringLiteral("请注意！"),
                                QStringLiteral("确定要更改成果年份吗？"))) {
        reject();
        return;
    }
    const std::string year = edt_4->text().trimmed().toStdString();
    // A year that no record number can start with would file the achievement where no year
    // list of the program shows it.
    if (!isRecordYear(year)) {
        ui::prompter().warn(QStringLiteral("不能输入1900到2050外的年份！"));
        edt_4->setFocus();
        return;
    }
    auto moved = reassignYear(store_.db(), staged_.number, staged_.region, year);
    if (!moved) {
        ui::prompter().showError(moved.error());
        return;
    }
    staged_.number = *moved;
    ui::prompter().warn(QStringLiteral("成果年份修改成功！"));
    accept();
}

void Tformformat::btnexitClick() {
    reject();
}

} // namespace xb::exchange
