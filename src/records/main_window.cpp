#include "main_window.h"

#include "records/new_record_dialog.h"
#include "records/record_keeping.h"
#include "records/record_list_model.h"
#include "store/lookups.h"
#include "ui/busy_cursor.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <tuple>

namespace xb::records {
namespace {

// The done mark and the question mark beside a section button's caption.
QIcon markIcon(bool done) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(done ? QColor(0, 140, 60) : QColor(200, 30, 30));
    painter.drawText(pixmap.rect(), Qt::AlignCenter,
                     done ? QStringLiteral("✔") : QStringLiteral("?"));
    return QIcon(pixmap);
}

const char* sectionName(Section s) {
    switch (s) {
    case Section::Overview:
        return "btn_page01";
    case Section::Property:
        return "btn_page02";
    case Section::Project:
        return "btn_page03";
    case Section::FirstUnit:
        return "btn_page04";
    case Section::Partners:
        return "btn_page05";
    case Section::Committee:
        return "btn_page07";
    case Section::Completers:
        return "btn_page08";
    case Section::Certificate:
        return "btn_page09";
    }
    return "";
}

// Pages whose closing re-evaluates the enabled state.
bool reevaluatesOnClose(Section s) {
    return s != Section::Partners;
}

} // namespace

TMainForm::TMainForm(store::RecordStore& store, QDialog* welcome, QWidget* parent)
    : QMainWindow(parent), store_(store), welcome_(welcome) {
    setObjectName("TMainForm");
    setWindowTitle(QStringLiteral("Xunbao【QeloV6.0】"));
    buildControls();
    // A fixed size: any resize is set back.
    setFixedSize(800, 570);
    newDialog_ = new TFormNew(*this);
}

TMainForm::~TMainForm() = default;

void TMainForm::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(5);

    auto* selectors = new QHBoxLayout;
    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"应用技术", "软科学", "基础理论"});
    cbYear = new QComboBox(central);
    cbYear->setObjectName("cbYear");
    cbYear->setEditable(true);
    cbYear->setInsertPolicy(QComboBox::NoInsert);
    cbYear->setMinimumWidth(90);
    selectors->addWidget(new QLabel(QStringLiteral("请选择成果类型"), central));
    selectors->addWidget(ComboBox1);
    selectors->addSpacing(16);
    selectors->addWidget(new QLabel(QStringLiteral("请选择年份"), central));
    selectors->addWidget(cbYear);
    selectors->addStretch(1);
    layout->addLayout(selectors);

    auto* middle = new QHBoxLayout;
    DBGrid1 = new QTableView(central);
    DBGrid1->setObjectName("DBGrid1");
    model_ = new RecordListModel(DBGrid1);
    DBGrid1->setModel(model_);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setDefaultSectionSize(22);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setColumnWidth(0, 44);
    DBGrid1->setColumnWidth(1, 110);
    DBGrid1->setColumnWidth(2, 230);
    middle->addWidget(DBGrid1, 1);
    auto* sections = new QVBoxLayout;
    sections->setSpacing(4);
    for (Section s : kSections) {
        auto* button = new QPushButton(QString::fromUtf8(sectionCaption(s)), central);
        button->setObjectName(sectionName(s));
        button->setMinimumWidth(176);
        button->setAutoDefault(false);
        sectionButtons_[s] = button;
        sections->addWidget(button);
    }
    sections->addStretch(1);
    // The record's history and the backups, below the sections: the action row is full.
    for (auto [field, name, caption] : {std::tuple{&btnHistory, "btnHistory", "修改记录"},
                                        std::tuple{&btnBackups, "btnBackups", "备份与恢复"}}) {
        *field = new QPushButton(QString::fromUtf8(caption), central);
        (*field)->setObjectName(QString::fromLatin1(name));
        (*field)->setAutoDefault(false);
        sections->addWidget(*field);
    }
    middle->addLayout(sections);
    layout->addLayout(middle, 1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(4);
    auto action = [&](QPushButton*& field, const char* name, const char* caption) {
        field = new QPushButton(QString::fromUtf8(caption), central);
        field->setObjectName(name);
        field->setAutoDefault(false);
        actions->addWidget(field);
    };
    action(Button1, "Button1", "新增");
    action(Button5, "Button5", "修改主项");
    action(Button4, "Button4", "删除");
    action(BitBtn1, "BitBtn1", "导入");
    action(BitBtn2, "BitBtn2", "导出");
    action(BitBtn4, "BitBtn4", "打印");
    action(BitBtn3, "BitBtn3", "更新指标项");
    action(Button2, "Button2", "单位情况");
    action(btnStatistics, "btnStatistics", "统计分析");
    action(btnDuplicates, "btnDuplicates", "查重");
    action(BitBtn7, "BitBtn7", "退出");
    layout->addLayout(actions);

    queryBuilder_ = new QueryBuilder(store_.db(), *this, store_.hasLibraryClassification(),
                                     store_.hasDisciplineClassification(), central);
    queryBuilder_->setFixedHeight(170);
    layout->addWidget(queryBuilder_);

    connect(ComboBox1, &QComboBox::activated, this, &TMainForm::ComboBox1Change);
    connect(cbYear, &QComboBox::editTextChanged, this, &TMainForm::ComboBox1Change);
    connect(DBGrid1, &QTableView::clicked, this, &TMainForm::DBGrid1CellClick);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (list_ && current.isValid()) list_->moveTo(current.row());
            });
    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button6Click);
    connect(Button5, &QPushButton::clicked, this, &TMainForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TMainForm::BitBtn4Click);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        if (pages_.importWindow) pages_.importWindow();
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        if (pages_.exportWindow) pages_.exportWindow();
    });
    connect(BitBtn3, &QPushButton::clicked, this, [this] {
        if (pages_.codeManage) pages_.codeManage();
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        if (pages_.profile) pages_.profile();
    });
    connect(btnStatistics, &QPushButton::clicked, this, [this] {
        if (pages_.statistics) pages_.statistics();
    });
    connect(btnDuplicates, &QPushButton::clicked, this, [this] {
        if (pages_.duplicates) pages_.duplicates();
    });
    connect(btnHistory, &QPushButton::clicked, this, [this] {
        if (listIsEmpty())
            ui::prompter().warn(QStringLiteral("列表中没有成果，请先选择一项成果！"));
        else if (pages_.history)
            pages_.history();
    });
    connect(btnBackups, &QPushButton::clicked, this, [this] {
        if (pages_.backups) pages_.backups();
    });
    connect(BitBtn7, &QPushButton::clicked, this, [this] {
        if (welcome_) welcome_->close();
        close();
    });
    const std::pair<Section, void (TMainForm::*)()> handlers[] = {
        {Section::Overview, &TMainForm::btn_page01Click},
        {Section::Property, &TMainForm::btn_page02Click},
        {Section::Project, &TMainForm::btn_page03Click},
        {Section::FirstUnit, &TMainForm::btn_page04Click},
        {Section::Partners, &TMainForm::btn_page05Click},
        {Section::Committee, &TMainForm::btn_page07Click},
        {Section::Completers, &TMainForm::btn_page08Click},
        {Section::Certificate, &TMainForm::btn_page09Click}};
    for (const auto& [section, handler] : handlers)
        connect(sectionButtons_[section], &QPushButton::clicked, this, handler);
    showMarks();
}

// ---- State shared with the dialogs and the query builder ----------------------------------

int TMainForm::categoryPosition() const {
    return ComboBox1->currentIndex();
}

void TMainForm::setCategoryPosition(int position) {
    ComboBox1->setCurrentIndex(position);
}

QString TMainForm::yearText() const {
    return cbYear->currentText();
}

bool TMainForm::listIsEmpty() const {
    return !list_ || list_->isEmpty();
}

std::string TMainForm::currentCategoryCode() const {
    return list_ && !list_->isEmpty() ? store::trimmed(list_->text("item_cglb")) : std::string();
}

bool TMainForm::unitHasRows() {
    auto unit = store_.db().query("select count(*) from unit");
    return unit && (*unit)->value(0).toInteger() > 0;
}

void TMainForm::reportError(const store::Error& error) {
    ui::prompter().showError(error);
}

// ---- Record list --------------------------------------------------------------------------

store::Status TMainForm::runListStatement(const std::string& sql, const store::Params& params) {
    auto result = store_.db().query(sql, params);
    if (!result) return result.error();
    list_ = std::move(*result);
    model_->reload(list_.get());
    syncGridToList();
    return {};
}

void TMainForm::refreshRecordList() {
    const int position = categoryPosition();
    sectionButtons_[Section::Property]->setVisible(position == 0);
    if (position < 0 || position > 2) return;
    // The year is bound as a value: a typed quote cannot change the statement.
    listSql_ = "select * from kjcg where item_cglb='" + std::to_string(position + 1) +
               "' and item_4 like :year";
    listParams_ = {{"year", yearText().left(4).trimmed().toStdString() + "%"}};
    if (store::Status s = runListStatement(listSql_, listParams_); !s) reportError(s.error());
}

void TMainForm::rerunSavedStatement() {
    if (listSql_.empty()) return;
    if (store::Status s = runListStatement(listSql_, listParams_); !s) reportError(s.error());
}

void TMainForm::numberRecordList() {
    if (!list_) return;
    if (store::Status s = numberList(*list_); !s) reportError(s.error());
    model_->reload(list_.get());
    syncGridToList();
}

void TMainForm::refreshAndNumber() {
    refreshRecordList();
    numberRecordList();
}

void TMainForm::syncGridToList() {
    if (!list_ || list_->isEmpty()) return;
    const QModelIndex index = model_->index(list_->position(), 0);
    QSignalBlocker block(DBGrid1->selectionModel());
    DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    DBGrid1->scrollTo(index);
}

bool TMainForm::locateRecord(const char* field, const QString& value) {
    if (!list_) return false;
    const bool found = list_->locate(field, value.toStdString());
    syncGridToList();
    return found;
}

bool TMainForm::showRecord(const QString& number, const QString& category) {
    const int position = category.toInt() - 1;
    if (position < 0 || position > 2) return false;
    ComboBox1->setCurrentIndex(position);
    {
        QSignalBlocker block(cbYear);
        cbYear->setEditText(number.left(4));
    }
    refreshAll();
    const bool found = locateRecord("item_4", number);
    computeDoneMarks();
    evaluateEnabledState();
    return found;
}

void TMainForm::fillYearList() {
    QSignalBlocker block(cbYear);
    cbYear->clear();
    auto years = yearEntries(store_.db());
    if (!years) reportError(years.error());
    if (years && !years->empty()) {
        for (const std::string& year : *years)
            cbYear->addItem(QString::fromStdString(year));
        cbYear->setCurrentIndex(0);
    } else {
        cbYear->addItem(QString::number(QDate::currentDate().year()));
        cbYear->setCurrentIndex(-1);
        cbYear->setEditText(QString());
    }
}

// ---- Marks and the enabled state ----------------------------------------------------------

void TMainForm::showMarks() {
    for (auto& [section, button] : sectionButtons_) {
        const bool done = marks_.done(section);
        button->setIcon(markIcon(done));
        button->setProperty("mark", done ? "done" : "question");
    }
}

void TMainForm::setMark(Section section, bool done) {
    marks_.set(section, done);
    showMarks();
}

void TMainForm::computeDoneMarks() {
    store::Status s = list_ ? computeMarks(store_.db(), *list_, categoryPosition() == 0, marks_)
                            : store::Status();
    if (!list_) marks_.setAll(true);
    showMarks();
    if (!s) reportError(s.error());
}

void TMainForm::setNavigationEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{DBGrid1, ComboBox1, cbYear, Button1, Button5,
                                                      BitBtn1, BitBtn2, BitBtn4, btnStatistics,
                                                      btnDuplicates, btnBackups})
        w->setEnabled(enabled);
    queryBuilder_->setNavigationEnabled(enabled);
}

bool TMainForm::evaluateEnabledState() {
    const bool complete = isComplete(marks_, currentCategoryCode());
    setNavigationEnabled(complete);
    return complete;
}

void TMainForm::lockForNewRecord() {
    marks_.setAll(false);
    showMarks();
    for (QWidget* w :
         std::initializer_list<QWidget*>{DBGrid1, ComboBox1, cbYear, Button1, Button5, BitBtn1,
                                         BitBtn2, btnStatistics, btnDuplicates, btnBackups})
        w->setEnabled(false);
    queryBuilder_->setNavigationEnabled(false);
}

void TMainForm::sectionPageClosed(Section section) {
    model_->reload(list_.get());
    syncGridToList();
    if (reevaluatesOnClose(section)) evaluateEnabledState();
}

// ---- Start-up -----------------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The start-up sequence runs once the window is on screen.
    QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::FormShow() {
    // The year list and the record list of the newest year are read while the welcome picture
    // is on screen, so the list is there when it closes. A welcome window shown without an event
    // loop of its own leaves the reading for afterwards.
    const auto readNewestList = [this] {
        fillYearList();
        {
            QSignalBlocker block(cbYear);
            if (cbYear->count() > 0) cbYear->setCurrentIndex(0);
        }
        ComboBox1->setCurrentIndex(0);
        refreshRecordList();
    };
    const auto showing = std::make_shared<bool>(true);
    const auto listRead = std::make_shared<bool>(false);
    if (welcome_) {
        // After the picture's first paint.
        QTimer::singleShot(100, welcome_, [showing, listRead, readNewestList] {
            if (!*showing) return;
            readNewestList();
            *listRead = true;
        });
        ui::showModal(*welcome_);
    }
    *showing = false;
    const bool hasUnit = unitHasRows();
    if (!hasUnit && pages_.profile) pages_.profile();
    if (welcome_) welcome_->close();
    queryBuilder_->prepare();
    if (!*listRead) readNewestList();
    // The current record holds the user from the first moment when it is incomplete.
    computeDoneMarks();
    numberRecordList();
    evaluateEnabledState();
    applyProfileEnabling();
}

void TMainForm::applyProfileEnabling() {
    // Without the own organization's profile there is nothing to register records for.
    const bool enabled = unitHasRows();
    for (auto& [section, button] : sectionButtons_)
        button->setEnabled(enabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Button1, Button5, BitBtn2, BitBtn3, BitBtn4, btnStatistics,
                                         btnDuplicates, btnBackups, ComboBox1, cbYear, DBGrid1})
        w->setEnabled(enabled);
    Button4->setEnabled(true);
    BitBtn1->setEnabled(true);
    if (!enabled) return;
    queryBuilder_->setNavigationEnabled(true);
    // An incomplete current record keeps the navigation locked.
    evaluateEnabledState();
}

// ---- Handlers -----------------------------------------------------------------------------

void TMainForm::refreshAll(bool years) {
    if (years) fillYearList();
    refreshRecordList();
    computeDoneMarks();
    numberRecordList();
    evaluateEnabledState();
}

void TMainForm::ComboBox1Change() {
    refreshAll();
}

void TMainForm::DBGrid1CellClick() {
    if (listIsEmpty()) return;
    computeDoneMarks();
    if (!evaluateEnabledState())
        ui::prompter().inform(QStringLiteral("提示信息"),
                              QStringLiteral("当前项目有未完成栏目，请您填写完毕!"));
}

void TMainForm::Button6Click() {
    newDialog_->openNew();
}

void TMainForm::Button3Click() {
    newDialog_->openChange();
}

void TMainForm::Button4Click() {
    if (listIsEmpty()) return;
    const QString name = QString::fromStdString(list_->text("item_3"));
    if (!ui::prompter().confirm(QStringLiteral("提示信息"), "是否删除'" + name + "'项目?",
                                ui::MessageIcon::Information))
        return;
    const QString position = QString::number(list_->value("NO").toInteger());
    const std::string number = list_->text("item_4");
    const std::string region = list_->text("item_dqdm");
    ui::BusyCursor busy; // the backup before a deletion copies every table
    const store::Status deleted = deleteRecord(store_.db(), number, region);
    busy.restore();
    if (!deleted) reportError(deleted.error());
    refreshRecordList();
    computeDoneMarks();
    evaluateEnabledState();
    numberRecordList();
    if (!locateRecord("no", position) && list_) {
        list_->first();
        syncGridToList();
    }
}

void TMainForm::BitBtn4Click() {
    if (listIsEmpty()) return;
    if (store::Status s = normalizeIntellectualProperty(*list_); !s) {
        ui::prompter().ask({QStringLiteral("提示"), QString::fromStdString(s.message()),
                            ui::MessageIcon::Warning, ui::Buttons::Ok});
        return;
    }
    computeDoneMarks();
    if (!evaluateEnabledState() || listIsEmpty()) return;
    // A failing post of the derived patent summary ends the preparation without a message.
    if (!derivePatentSummary(store_.db(), *list_)) return;
    model_->reload(list_.get());
    syncGridToList();
    if (pages_.printWindow) pages_.printWindow();
}

void TMainForm::sectionClick(Section section) {
    if (listIsEmpty()) {
        Button6Click();
        if (listIsEmpty()) return;
    }
    auto page = pages_.sections.find(section);
    if (page == pages_.sections.end() || !page->second) return;
    if (page->second->open(*list_, categoryPosition())) setMark(section, true);
    sectionPageClosed(section);
}

void TMainForm::btn_page01Click() {
    sectionClick(Section::Overview);
}
void TMainForm::btn_page02Click() {
    sectionClick(Section::Property);
}
void TMainForm::btn_page03Click() {
    sectionClick(Section::Project);
}
void TMainForm::btn_page04Click() {
    sectionClick(Section::FirstUnit);
}
void TMainForm::btn_page05Click() {
    sectionClick(Section::Partners);
}
void TMainForm::btn_page07Click() {
    sectionClick(Section::Committee);
}
void TMainForm::btn_page08Click() {
    sectionClick(Section::Completers);
}
void TMainForm::btn_page09Click() {
    sectionClick(Section::Certificate);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (const auto refusal = closeRefusal(marks_, currentCategoryCode())) {
        ui::prompter().warn(QString::fromStdString(*refusal));
        event->ignore();
        return;
    }
    if (welcome_) welcome_->close();
    event->accept();
}

} // namespace xb::records
