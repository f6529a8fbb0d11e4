#include "new_record_dialog.h"

#include "records/main_window.h"
#include "records/record_keeping.h"
#include "store/lookups.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/text_limits.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace xb::records {
namespace {

const QString kModeNew = QStringLiteral("请填写新项目！");
const QString kModeChange = QStringLiteral("修改主要项目！");

bool isWholeYear(const QString& text, int& year) {
    bool ok = false;
    year = text.trimmed().toInt(&ok);
    return ok && !text.trimmed().isEmpty() && year >= 1900 && year <= 2050;
}

} // namespace

TFormNew::TFormNew(TMainForm& main) : QDialog(&main), main_(main) {
    setObjectName("TFormNew");
    setModal(true);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"应用技术", "软科学", "基础理论"});
    cbYear = new QLineEdit(this);
    cbYear->setObjectName("cbYear");
    cbYear->setMaxLength(4);
    cbYear->setFixedWidth(70);
    cbYear->installEventFilter(this);
    yearUp_ = new QToolButton(this);
    yearUp_->setArrowType(Qt::UpArrow);
    yearDown_ = new QToolButton(this);
    yearDown_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {yearUp_, yearDown_}) {
        b->setFixedSize(18, 12);
        b->setFocusPolicy(Qt::NoFocus);
    }
    edt_120 = new QLineEdit(this);
    edt_120->setObjectName("edt_120");
    ui::limitToGbkBytes(edt_120, 20);
    edt_3 = new QLineEdit(this);
    edt_3->setObjectName("edt_3");
    ui::limitToGbkBytes(edt_3, 140);
    edt_9 = new QLineEdit(this);
    edt_9->setObjectName("edt_9");
    ui::limitToGbkBytes(edt_9, 140);
    Button1 = new QPushButton(QStringLiteral("存储"), this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton(QStringLiteral("退出"), this);
    Button2->setObjectName("Button2");
    for (QPushButton* b : {Button1, Button2})
        b->setAutoDefault(false);

    auto* yearRow = new QHBoxLayout;
    yearRow->setSpacing(1);
    yearRow->addWidget(cbYear);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(yearUp_);
    arrows->addWidget(yearDown_);
    yearRow->addLayout(arrows);
    yearRow->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("请选择成果类型"), ComboBox1);
    form->addRow(QStringLiteral("请选择年份"), yearRow);
    form->addRow(QStringLiteral("成果管理编号"), edt_120);
    form->addRow(QStringLiteral("成果名称"), edt_3);
    form->addRow(QStringLiteral("成果第一完成单位名称"), edt_9);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(520, 230);

    connect(Button1, &QPushButton::clicked, this, &TFormNew::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormNew::Button2Click);
    connect(ComboBox1, &QComboBox::activated, this, &TFormNew::ComboBox1Change);
    connect(cbYear, &QLineEdit::textEdited, this, &TFormNew::cbYearChange);
    connect(yearUp_, &QToolButton::clicked, this, [this] { stepYear(1); });
    connect(yearDown_, &QToolButton::clicked, this, [this] { stepYear(-1); });
    for (QLineEdit* box : {edt_120, edt_3, edt_9})
        connect(box, &QLineEdit::textEdited, this, [this] { clean_ = false; });
}

void TFormNew::openNew() {
    setWindowTitle(kModeNew);
    edt_120->clear();
    edt_3->clear();
    auto unit = main_.recordStore().db().table("unit");
    edt_9->setText(unit && !(*unit)->isEmpty() ? QString::fromStdString((*unit)->text("item_9"))
                                               : QString());
    ui::showModal(*this);
}

void TFormNew::openChange() {
    store::Cursor* list = main_.recordList();
    if (!list || list->isEmpty()) {
        ui::prompter().ask({QStringLiteral("请注意！"), QStringLiteral("当前没有可以修改的项目"),
                            ui::MessageIcon::Warning, ui::Buttons::Ok});
        return;
    }
    rememberedNumber_ = list->text("item_4");
    rememberedName_ = list->text("item_3");
    const std::string category = store::trimmed(list->text("item_cglb"));
    ComboBox1->setCurrentIndex(category == "2" ? 1 : category == "3" ? 2 : 0);
    setWindowTitle(kModeChange);
    cbYear->setText(QString::fromStdString(rememberedNumber_.substr(0, 4)));
    edt_120->setText(QString::fromStdString(list->text("item_120")));
    edt_3->setText(QString::fromStdString(rememberedName_));
    edt_9->setText(QString::fromStdString(list->text("item_9")));
    ui::showModal(*this);
}

void TFormNew::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormNew::FormShow() {
    if (windowTitle() == kModeNew) {
        auto dwqk = main_.recordStore().db().table("dwqk");
        if (dwqk && !(*dwqk)->isEmpty() && !(*dwqk)->isNull("item_9"))
            edt_9->setText(QString::fromStdString((*dwqk)->text("item_9")));
    }
    ComboBox1->setCurrentIndex(main_.categoryPosition());
    cbYear->setText(main_.yearText());
    clean_ = true;
    edt_3->setFocus();
}

void TFormNew::ComboBox1Change() {
    clean_ = false;
    if (ComboBox1->currentIndex() != main_.categoryPosition()) {
        main_.setCategoryPosition(ComboBox1->currentIndex());
        main_.refreshRecordList();
    }
}

void TFormNew::cbYearChange(const QString& text) {
    clean_ = false;
    for (const QChar c : text) {
        if (!c.isDigit()) {
            ui::prompter().warn(QStringLiteral("不能输入非数字的字符！"));
            cbYear->clear();
            return;
        }
    }
    QComboBox* years = main_.yearSelector();
    const int index = years->findText(text.trimmed());
    if (index >= 0) {
        QSignalBlocker block(years); // selected there, not listed yet
        years->setCurrentIndex(index);
    }
}

void TFormNew::stepYear(int delta) {
    int year = 0;
    if (!isWholeYear(cbYear->text(), year)) year = delta > 0 ? 1899 : 2051;
    year = std::clamp(year + delta, 1900, 2050);
    cbYear->setText(QString::number(year));
    cbYearChange(cbYear->text());
}

bool TFormNew::yearLeaveCheck() {
    int year = 0;
    if (isWholeYear(cbYear->text(), year)) return true;
    ui::prompter().warn(QStringLiteral("不能输入1900到2050外的年份！"));
    cbYear->clear();
    cbYear->setFocus();
    return false;
}

bool TFormNew::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cbYear && event->type() == QEvent::FocusOut) {
        // Only a move of the user's own focus counts as leaving; a message box taking the focus
        // does not.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason)
            yearLeaveCheck();
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormNew::saveCommon() {
    if (edt_3->text().trimmed().isEmpty() && edt_9->text().trimmed().isEmpty() &&
        edt_120->text().trimmed().isEmpty()) {
        clean_ = true;
        close();
        return false;
    }
    if (cbYear->text().trimmed().isEmpty()) {
        ui::prompter().warn(QStringLiteral("年份不能为空！"));
        return false;
    }
    if (edt_3->text().trimmed().isEmpty()) {
        ui::prompter().warn(QStringLiteral("成果名称不能为空！"));
        return false;
    }
    if (edt_9->text().trimmed().isEmpty()) {
        ui::prompter().warn(QStringLiteral("成果第一完成单位不能为空！"));
        return false;
    }
    clean_ = true;
    return true;
}

void TFormNew::Button1Click() {
    if (!saveCommon()) return;
    if (windowTitle() == kModeNew)
        saveNew();
    else if (windowTitle() == kModeChange)
        saveChange();
}

void TFormNew::bringMainWindowToDialog() {
    if (ComboBox1->currentIndex() != main_.categoryPosition()) {
        main_.setCategoryPosition(ComboBox1->currentIndex());
        main_.refreshRecordList();
    }
    QComboBox* years = main_.yearSelector();
    const QString year = cbYear->text().trimmed();
    for (int i = 0; i < years->count(); ++i) {
        if (years->itemText(i) != year) continue;
        {
            QSignalBlocker block(years);
            years->setCurrentIndex(i);
        }
        main_.refreshRecordList();
    }
}

MainItems TFormNew::shownItems(bool trimSecrecy) const {
    return {cbYear->text().left(4).toStdString(), std::to_string(ComboBox1->currentIndex() + 1),
            edt_3->text().trimmed().toStdString(), edt_9->text().trimmed().toStdString(),
            (trimSecrecy ? edt_120->text().trimmed() : edt_120->text()).toStdString()};
}

void TFormNew::showYear(const std::string& number) {
    const QString year = QString::fromStdString(number.substr(0, 4));
    if (main_.yearSelector()->findText(year) < 0) {
        QSignalBlocker block(main_.yearSelector());
        main_.yearSelector()->addItem(year);
    }
}

void TFormNew::saveNew() {
    store::Database& db = main_.recordStore().db();
    store::Cursor* list = main_.recordList();
    const MainItems items = shownItems(false);
    auto same = recordsNamed(db, items.name);
    if (same && *same > 0) {
        ui::prompter().inform(QStringLiteral("提示信息"), QStringLiteral("已有同名项目!"));
        main_.rerunSavedStatement();
        return;
    }
    auto number = createRecord(db, items, (list ? list->count() : 0) + 1);
    if (!number)
        ui::prompter().ask({QStringLiteral("提示"), QString::fromStdString(number.message()),
                            ui::MessageIcon::Warning, ui::Buttons::Ok});
    else
        showYear(*number);
    bringMainWindowToDialog();
    // The list is shown for the dialog's category and year, where the new record stands.
    main_.rerunSavedStatement();
    if (number) main_.locateRecord("item_4", QString::fromStdString(*number));
    main_.computeDoneMarks();
    main_.evaluateEnabledState();
    if (number) main_.lockForNewRecord();
    close();
}

void TFormNew::saveChange() {
    store::Database& db = main_.recordStore().db();
    const MainItems items = shownItems(true);
    auto same = recordsNamed(db, items.name);
    std::string number = rememberedNumber_;
    bool changed = false;
    if (same && *same > 1) {
        ui::prompter().inform(QStringLiteral("提示信息"), QStringLiteral("已有同名项目!"));
    } else {
        auto result = changeMainItems(db, rememberedNumber_, items);
        if (!result) {
            ui::prompter().ask({QStringLiteral("提示"), QString::fromStdString(result.message()),
                                ui::MessageIcon::Warning, ui::Buttons::Ok});
            bringMainWindowToDialog();
            main_.rerunSavedStatement();
            clean_ = false;
            return;
        }
        number = *result;
        changed = true;
        showYear(number);
    }
    bringMainWindowToDialog();
    main_.rerunSavedStatement();
    if (changed) main_.locateRecord("item_4", QString::fromStdString(number));
    main_.computeDoneMarks();
    main_.numberRecordList();
    main_.evaluateEnabledState();
    close();
    if (changed) main_.locateRecord("item_4", QString::fromStdString(number));
}

void TFormNew::Button2Click() {
    if (clean_) {
        close();
        return;
    }
    const bool noName = edt_3->text().trimmed().isEmpty();
    const bool noUnit = edt_9->text().trimmed().isEmpty();
    if (noName && noUnit) {
        clean_ = true;
        close();
    } else if (noName || noUnit) {
        Button1Click();
    } else if (ui::prompter().confirmOkCancel(QStringLiteral("提示信息"),
                                              QStringLiteral("退出并储存？"))) {
        Button1Click();
        close();
    } else {
        clean_ = true;
        close();
    }
}

void TFormNew::closeEvent(QCloseEvent* event) {
    // Closing hides the dialog; QDialog's own handler would call reject(), which is 退出 here.
    if (!clean_)
        event->ignore();
    else
        event->accept();
}

} // namespace xb::records
