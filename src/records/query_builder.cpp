#include "query_builder.h"

#include "forms/lookup_widgets.h"
#include "store/lookups.h"
#include "ui/memo_box.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

namespace xb::records {

bool parenthesesAcceptable(QString condition) {
    while (condition.contains('(') && condition.contains(')')) {
        if (condition.indexOf(')') < condition.indexOf('(')) return false;
        condition = condition.mid(condition.indexOf(')') + 1);
    }
    return true;
}

QString comparisonText(const QString& field, const QString& op, const QString& value) {
    // A quote in a typed value would end the literal early; it is doubled like every name the
    // program places inside SQL literals.
    const QString quoted = QString::fromStdString(store::quoteForSql(value.toStdString()));
    if (op == QStringLiteral("包含")) return " " + field + " like '%" + quoted + "%'";
    return " " + field + " " + op + "'" + quoted + "'";
}

QueryBuilder::QueryBuilder(store::Database& db, QueryHost& host, bool hasZtflh, bool hasXkfl,
                           QWidget* parent)
    : QGroupBox(QStringLiteral("查询条件输入区"), parent), db_(db), host_(host),
      hasZtflh_(hasZtflh), hasXkfl_(hasXkfl) {
    setObjectName("QueryPanel");
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox4 = new QComboBox(this);
    ComboBox4->setObjectName("ComboBox4");
    ComboBox4->addItems({"包含", "=", "<", ">", "<=", ">=", "<>", ""});
    Combobox3 = new QComboBox(this);
    Combobox3->setObjectName("Combobox3");
    Combobox3->setToolTip(QStringLiteral("选择查询条件，加‘**’的选项为1.0版的指标项"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    ComboBox5 = new QToolButton(this);
    ComboBox5->setObjectName("ComboBox5");
    ComboBox5->setArrowType(Qt::DownArrow);
    ComboBox5->setToolTip(QStringLiteral("选择中图分类号"));
    ComboBox6 = new QToolButton(this);
    ComboBox6->setObjectName("ComboBox6");
    ComboBox6->setArrowType(Qt::DownArrow);
    ComboBox6->setToolTip(QStringLiteral("选择学科分类号"));
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = button("SpeedButton24", "加入");
    add->setToolTip(QStringLiteral("把条件加入到查询显示条件栏中"));
    QPushButton* andButton = button("SpeedButton15", "and");
    QPushButton* notButton = button("SpeedButton17", "not");
    QPushButton* orButton = button("SpeedButton18", "or");
    QPushButton* openButton = button("SpeedButton20", "(");
    QPushButton* closeButton = button("SpeedButton21", ")");
    SpeedButton16 = button("SpeedButton16", "查询");
    SpeedButton26 = button("SpeedButton26", "恢复");
    SpeedButton26->setToolTip(QStringLiteral("刷新查询输入条，重新输入查询条件"));
    QPushButton* cut = button("SpeedButton23", "剪切");
    MMSysV = new ui::MemoBox(this);
    MMSysV->setObjectName("MMSysV");
    MMSysV->setReadOnly(true);
    MMSysV->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(QStringLiteral("项目选择栏"), this), 0, 0);
    grid->addWidget(ComboBox2, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("条件选择栏"), this), 0, 2);
    grid->addWidget(ComboBox4, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("项目输入栏"), this), 0, 4);
    auto* valueRow = new QHBoxLayout;
    valueRow->setSpacing(2);
    valueRow->addWidget(Combobox3, 1);
    valueRow->addWidget(Edit2, 1);
    valueRow->addWidget(ComboBox5);
    valueRow->addWidget(ComboBox6);
    grid->addLayout(valueRow, 0, 5);
    grid->addWidget(add, 0, 6);
    auto* joinRow = new QHBoxLayout;
    joinRow->setSpacing(4);
    for (QPushButton* b : {andButton, notButton, orButton, openButton, closeButton}) {
        b->setFixedWidth(44);
        joinRow->addWidget(b);
    }
    joinRow->addStretch(1);
    for (QPushButton* b : {SpeedButton16, SpeedButton26, cut})
        joinRow->addWidget(b);
    grid->addWidget(new QLabel(QStringLiteral("查询条件显示："), this), 1, 0);
    grid->addLayout(joinRow, 1, 1, 1, 6);
    grid->addWidget(MMSysV, 2, 0, 1, 7);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(5, 3);

    connect(ComboBox2, &QComboBox::activated, this, &QueryBuilder::ComboBox2Change);
    connect(add, &QPushButton::clicked, this, &QueryBuilder::SpeedButton24Click);
    connect(SpeedButton16, &QPushButton::clicked, this, &QueryBuilder::SpeedButton16Click);
    connect(SpeedButton26, &QPushButton::clicked, this, &QueryBuilder::SpeedButton26Click);
    connect(cut, &QPushButton::clicked, this, &QueryBuilder::SpeedButton23Click);
    connect(andButton, &QPushButton::clicked, this, [this] { insertAtCaret("and "); });
    connect(notButton, &QPushButton::clicked, this, [this] { insertAtCaret("not "); });
    connect(orButton, &QPushButton::clicked, this, [this] { insertAtCaret("or "); });
    connect(openButton, &QPushButton::clicked, this, [this] { insertAtCaret("("); });
    connect(closeButton, &QPushButton::clicked, this, [this] { insertAtCaret(")"); });
    connect(ComboBox5, &QToolButton::clicked, this, [this] {
        if (picker_) picker_("ztflh", Edit2);
    });
    connect(ComboBox6, &QToolButton::clicked, this, [this] {
        if (picker_) picker_("xkfl", Edit2);
    });
}

QString QueryBuilder::condition() const {
    return MMSysV->toPlainText();
}

void QueryBuilder::reportFill(const store::Status& status) {
    if (!status) ui::prompter().showError(status.error());
}

void QueryBuilder::prepare() {
    Edit2->hide();
    ComboBox5->hide();
    ComboBox6->hide();
    ComboBox2->clear();
    items_.clear();
    auto rows = db_.query("select * from zdxx1");
    if (!rows) return reportFill(rows.error());
    store::Cursor& c = **rows;
    for (c.first(); !c.eof(); c.next()) {
        // Each entry keeps its own row, so an item without a caption shifts nothing.
        if (c.value(0).isNull()) continue;
        items_.emplace_back(QString::fromStdString(c.value(0).toText()).trimmed(),
                            QString::fromStdString(c.value(1).toText()).trimmed());
        ComboBox2->addItem(items_.back().first);
    }
    if (ComboBox2->count() > 0) ComboBox2->setCurrentIndex(0);
    if (!items_.empty())
        reportFill(forms::fillFromDictionary(Combobox3, db_, items_[0].second, true));
    if (Combobox3->count() > 0) Combobox3->setCurrentIndex(0);
    ComboBox4->setCurrentIndex(0);
    setListMode(true);
}

void QueryBuilder::setListMode(bool list) {
    listMode_ = list;
    Combobox3->setVisible(list);
    Edit2->setVisible(!list);
    Edit2->setReadOnly(list);
    ComboBox5->hide();
    ComboBox6->hide();
}

void QueryBuilder::ComboBox2Change() {
    Edit2->clear();
    const int index = ComboBox2->currentIndex();
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const QString& caption = items_[static_cast<size_t>(index)].first;
    const QString& field = items_[static_cast<size_t>(index)].second;
    if (caption.contains(QStringLiteral("隶属部委")))
        reportFill(forms::fillFromCodeTable(Combobox3, db_, "lsbw", "Bwdm", "Bwmc", true));
    else
        reportFill(forms::fillFromDictionary(Combobox3, db_, field, true, true));
    if (Combobox3->count() > 0) Combobox3->setCurrentIndex(0);
    if (Combobox3->count() > 1) {
        setListMode(true);
    } else if (caption.contains(QStringLiteral("单位所在省市"))) {
        reportFill(forms::fillFromCodeTable(Combobox3, db_, "province", "Province_i", "Province_n",
                                            false));
        if (Combobox3->count() > 0) Combobox3->setCurrentIndex(0);
        setListMode(true);
    } else {
        setListMode(false);
    }
    if (hasZtflh_ && caption.contains(QStringLiteral("图分类号"))) {
        setListMode(false);
        ComboBox5->show();
        return;
    }
    if (hasXkfl_ && caption.contains(QStringLiteral("科分类号"))) {
        setListMode(false);
        ComboBox6->show();
    }
}

void QueryBuilder::SpeedButton24Click() {
    const int index = ComboBox2->currentIndex();
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const QString caption = ComboBox2->currentText();
    const QString field = caption == QStringLiteral("评价形式(软、基)")
                              ? QStringLiteral("item_21")
                              : items_[static_cast<size_t>(index)].second;
    QString value;
    if (!listMode_) {
        value = Edit2->text();
        if (caption.contains(QStringLiteral("分类号")) && hasZtflh_)
            value = QString::fromStdString(store::codeBeforeSeparator(value.toStdString()));
    } else {
        value = Combobox3->currentText().left(3).trimmed();
    }
    MMSysV->moveCursor(QTextCursor::End);
    MMSysV->insertPlainText(comparisonText(field, ComboBox4->currentText(), value));
    MMSysV->moveCursor(QTextCursor::End);
}

void QueryBuilder::insertAtCaret(const QString& text) {
    MMSysV->insertPlainText(text);
    MMSysV->moveCursor(QTextCursor::End);
}

void QueryBuilder::SpeedButton23Click() {
    QTextCursor cursor = MMSysV->textCursor();
    if (!cursor.hasSelection()) return;
    QApplication::clipboard()->setText(cursor.selectedText());
    cursor.removeSelectedText();
}

void QueryBuilder::SpeedButton26Click() {
    host_.refreshAndNumber();
    MMSysV->clear();
}

void QueryBuilder::SpeedButton16Click() {
    const QString text = MMSysV->toPlainText();
    if (!parenthesesAcceptable(text)) {
        ui::prompter().warn(QStringLiteral("您的查询语句含有不正确的的“（”“）”,请修改！"));
        return;
    }
    if (text.trimmed().isEmpty()) {
        ui::prompter().inform(QStringLiteral("信息"), QStringLiteral("没有条件无法查询!"));
        host_.rerunSavedStatement();
        return;
    }
    const std::string sql = "select * from kjcg\n where  (\n" + text.trimmed().toStdString() +
                            "\n ) and (item_cglb='" + std::to_string(host_.categoryPosition() + 1) +
                            "' and item_4 like :xb_year)";
    const store::Params params{{"xb_year", host_.yearText().left(4).trimmed().toStdString() + "%"}};
    store::Status ran;
    bool engineError = true;
    try {
        ran = host_.runListStatement(sql, params);
    } catch (const std::exception& e) {
        ran = store::fail(e.what());
        engineError = false;
    }
    if (!ran) {
        ui::prompter().ask({QStringLiteral("请注意！"),
                            engineError ? QStringLiteral("条件输入有误，请检查")
                                        : QStringLiteral("请检查查询输入框,重新选择条件"),
                            ui::MessageIcon::Warning, ui::Buttons::Ok});
        host_.rerunSavedStatement();
        return;
    }
    host_.numberRecordList();
    if (host_.listIsEmpty()) {
        ui::prompter().inform(QStringLiteral("信息"),
                              QStringLiteral("没找到符合条件的条目,请再输入合适语句!"));
        host_.rerunSavedStatement();
    }
}

void QueryBuilder::setNavigationEnabled(bool enabled) {
    SpeedButton16->setEnabled(enabled);
    SpeedButton26->setEnabled(enabled);
}

} // namespace xb::records
