#include "output/print_form.h"

#include "output/form_pages.h"
#include "output/output_labels.h"
#include "output/page_painter.h"
#include "output/word_output.h"
#include "ui/busy_cursor.h"
#include "ui/modal.h"
#include "ui/printer.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace xb::output {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

const char* buttonName(WordForm form) {
    switch (form) {
    case WordForm::Applied:
        return "btnWordApplied";
    case WordForm::Basic:
        return "btnWordBasic";
    case WordForm::Application:
        return "btnWordApplication";
    case WordForm::Certificate:
        break;
    }
    return "btnWordCertificate";
}

QString panelName(PrintedForm form, bool direct) {
    return QStringLiteral("pnl%1%2").arg(direct ? "Direct" : "Custom",
                                         form == PrintedForm::Applied ? "Applied" : "Basic");
}

// The prefix of a page panel's buttons: "btnCustomA", "btnDirectB", ...
QString buttonPrefix(PrintedForm form, bool direct) {
    return QStringLiteral("btn%1%2").arg(direct ? "Direct" : "Custom",
                                         form == PrintedForm::Applied ? "A" : "B");
}

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    return ui::roomyButton(caption, name, parent);
}

} // namespace

TPrintForm::TPrintForm(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("TPrintForm"));
    setWindowTitle(QStringLiteral("数据打印"));
    documentsFolder_ = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                           .filePath(QStringLiteral("Xunbao"));

    auto* panel = new QGroupBox(QStringLiteral("输出文档(Word文档不是正式上报文档)"), this);
    panel->setObjectName(QStringLiteral("pnlMain"));
    auto* panelLayout = new QVBoxLayout(panel);
    for (const char* note :
         {"注意：此页用于打印登记表或生成Word文档，", "生成管理机构认可的上报文件需使用“导出”功能",
          "打印科技成果登记表请使用“直接打印”或“自定义打印”  "})
        panelLayout->addWidget(new QLabel(QString::fromUtf8(note), panel));
    const std::pair<WordForm, void (TPrintForm::*)()> buttons[] = {
        {WordForm::Applied, &TPrintForm::btnWordAppliedClick},
        {WordForm::Basic, &TPrintForm::btnWordBasicClick},
        {WordForm::Application, &TPrintForm::btnWordApplicationClick},
        {WordForm::Certificate, &TPrintForm::btnWordCertificateClick},
    };
    for (const auto& [form, slot] : buttons) {
        auto* button = ui::roomyButton(q(buttonCaption(form)), buttonName(form), panel);
        connect(button, &QPushButton::clicked, this, slot);
        panelLayout->addWidget(button);
        wordButtons_[form] = button;
    }

    auto* mainPage = new QWidget(this);
    mainPage->setObjectName(QStringLiteral("pnlMainPage"));
    auto* mainLayout = new QVBoxLayout(mainPage);
    mainLayout->addWidget(panel);
    auto* printRow = new QHBoxLayout;
    auto* custom = button(QStringLiteral("自定义打印"), QStringLiteral("btnCustom"), mainPage);
    connect(custom, &QPushButton::clicked, this, &TPrintForm::btnCustomClick);
    auto* direct = button(QStringLiteral("直接打印"), QStringLiteral("btnDirect"), mainPage);
    connect(direct, &QPushButton::clicked, this, &TPrintForm::btnDirectClick);
    auto* pdf = button(QStringLiteral("另存为PDF"), QStringLiteral("btnPdf"), mainPage);
    connect(pdf, &QPushButton::clicked, this, &TPrintForm::btnPdfClick);
    auto* quit = button(QStringLiteral("退出"), QStringLiteral("btnQuit"), mainPage);
    connect(quit, &QPushButton::clicked, this, &TPrintForm::btnQuitClick);
    for (QPushButton* b : {custom, direct, pdf, quit})
        printRow->addWidget(b);
    mainLayout->addLayout(printRow);

    panels_ = new QStackedWidget(this);
    panels_->setObjectName(QStringLiteral("stkPanels"));
    panels_->addWidget(mainPage);
    for (PrintedForm form : {PrintedForm::Applied, PrintedForm::Basic})
        for (bool isDirect : {false, true}) {
            QWidget* p = pagePanel(form, isDirect);
            pagePanels_[{form, isDirect}] = p;
            panels_->addWidget(p);
        }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_);
}

QWidget* TPrintForm::pagePanel(PrintedForm form, bool direct) {
    auto* panel =
        new QGroupBox(direct ? QStringLiteral("直接打印") : q(formPanelCaption(form)), this);
    panel->setObjectName(panelName(form, direct));
    const QString prefix = buttonPrefix(form, direct);
    auto* grid = new QGridLayout;
    const std::vector<PageEntry>& entries = direct ? directPages(form) : customPages(form);
    const int columns = direct ? 2 : 5;
    for (size_t i = 0; i < entries.size(); ++i) {
        const PageEntry& entry = entries[i];
        auto* b = button(q(entry.caption), prefix + "_" + QString::number(i), panel);
        // Page buttons of the pages with the record's data carry "*" (the form's body).
        if (!direct && entry.body) b->setText(b->text() + QStringLiteral("*"));
        connect(b, &QPushButton::clicked, this, [this, direct, entry] {
            const QString title = q(entry.caption);
            if (direct)
                sendToPrinter({entry}, title);
            else
                preview({entry}, title);
        });
        grid->addWidget(b, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
    }
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(grid);
    if (!direct) layout->addWidget(new QLabel(QStringLiteral("标*的按钮代表正文"), panel));
    auto* row = new QHBoxLayout;
    auto* all = button(QStringLiteral("全文打印"), prefix + "_All", panel);
    connect(all, &QPushButton::clicked, this, [this, form, direct] {
        sendToPrinter(direct ? directPages(form) : customPages(form), QStringLiteral("全文"));
    });
    auto* pdf = button(QStringLiteral("另存为PDF"), prefix + "_Pdf", panel);
    connect(pdf, &QPushButton::clicked, this, [this, form, direct] {
        if (auto pages = pagesOf(direct ? directPages(form) : customPages(form)))
            savePdf(*pages, QStringLiteral("登记表"));
    });
    auto* back = button(QStringLiteral("返回"), prefix + "_Back", panel);
    connect(back, &QPushButton::clicked, this, &TPrintForm::btnBackClick);
    auto* quit = button(QStringLiteral("退出"), prefix + "_Quit", panel);
    connect(quit, &QPushButton::clicked, this, &TPrintForm::btnQuitClick);
    for (QPushButton* b : {all, pdf, back, quit})
        row->addWidget(b);
    layout->addLayout(row);
    return panel;
}

void TPrintForm::setRecord(const std::string& number, const std::string& region,
                           const std::string& category) {
    number_ = number;
    region_ = region;
    category_ = category;
    panels_->setCurrentIndex(0);
    const std::vector<WordForm> offered = formsForCategory(category);
    for (const auto& [form, button] : wordButtons_)
        button->setVisible(std::find(offered.begin(), offered.end(), form) != offered.end());
}

void TPrintForm::showRecord(const std::string& number, const std::string& region,
                            const std::string& category) {
    setRecord(number, region, category);
    ui::showModal(*this);
}

void TPrintForm::btnWordAppliedClick() {
    produce(WordForm::Applied);
}
void TPrintForm::btnWordBasicClick() {
    produce(WordForm::Basic);
}
void TPrintForm::btnWordApplicationClick() {
    produce(WordForm::Application);
}
void TPrintForm::btnWordCertificateClick() {
    produce(WordForm::Certificate);
}
void TPrintForm::btnQuitClick() {
    close();
}

void TPrintForm::btnCustomClick() {
    panels_->setCurrentWidget(pagePanels_.at({printedFormOf(category_), false}));
}

void TPrintForm::btnDirectClick() {
    panels_->setCurrentWidget(pagePanels_.at({printedFormOf(category_), true}));
}

void TPrintForm::btnBackClick() {
    panels_->setCurrentIndex(0);
}

void TPrintForm::btnPdfClick() {
    if (auto pages = pagesOf(customPages(printedFormOf(category_))))
        savePdf(*pages, QStringLiteral("登记表"));
}

QString TPrintForm::currentPanel() const {
    return panels_->currentWidget()->objectName();
}

QString TPrintForm::fileTitle(const QString& what) const {
    return QStringLiteral("科技成果登记表_%1_%2").arg(q(number_), what);
}

std::optional<std::vector<Page>> TPrintForm::pagesOf(const std::vector<PageEntry>& entries) {
    ui::BusyCursor busy;
    auto record = loadPrintRecord(store_.db(), number_, region_);
    if (!record) {
        busy.restore();
        ui::prompter().showError(record.error());
        return std::nullopt;
    }
    OutputLabels labels(store_.db());
    std::vector<Page> pages = buildPages(*record, labels, printedFormOf(category_), entries);
    if (labels.error()) {
        busy.restore();
        ui::prompter().showError(*labels.error());
        return std::nullopt;
    }
    lastPages_ = pages;
    return pages;
}

void TPrintForm::preview(const std::vector<PageEntry>& entries, const QString& title) {
    auto pages = pagesOf(entries);
    if (!pages) return;
    QPrinter device(QPrinter::HighResolution);
    setFormLayout(device);
    device.setDocName(fileTitle(title));
    QPrintPreviewDialog dialog(&device, this);
    dialog.setObjectName(QStringLiteral("dlgPrintPreview"));
    dialog.setWindowTitle(QStringLiteral("打印预览－－") + title);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&pages](QPrinter* target) { paintPages(*target, *pages); });
    ui::showModal(dialog);
}

void TPrintForm::sendToPrinter(const std::vector<PageEntry>& entries, const QString& title) {
    auto pages = pagesOf(entries);
    if (!pages) return;
    ui::Printer& printer = ui::printer();
    QString failure;
    if (printer.printerName().isEmpty()) {
        failure = QStringLiteral("没有可用的打印机，无法打印。");
    } else {
        ui::PrintJob job;
        job.title = fileTitle(title);
        for (const Page& page : *pages)
            job.pages.append(q(page.number));
        job.render = [&pages](QPagedPaintDevice& device) {
            setFormLayout(device);
            return paintPages(device, *pages);
        };
        const QString error = printer.print(job);
        if (error.isEmpty()) return;
        failure = QStringLiteral("打印失败：%1。").arg(error);
    }
    if (ui::prompter().confirm(QStringLiteral("Xunbao"),
                               failure + QStringLiteral("\n是否将这些页另存为PDF文件？"),
                               ui::MessageIcon::Warning))
        savePdf(*pages, title);
}

void TPrintForm::savePdf(const std::vector<Page>& pages, const QString& title) {
    const QString suggested = QDir(documentsFolder_).filePath(fileTitle(title) + ".pdf");
    const QString path = ui::printer().choosePdfFile(suggested);
    if (path.isEmpty()) return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    store::Status written = [&] {
        ui::BusyCursor busy;
        return writePdf(pages, path, fileTitle(title));
    }();
    if (!written) {
        ui::prompter().showError(written.error());
        return;
    }
    ui::prompter().inform(QStringLiteral("提示"),
                          QStringLiteral("已保存为 %1").arg(QDir::toNativeSeparators(path)));
}

void TPrintForm::produce(WordForm form) {
    ui::Prompter& prompter = ui::prompter();
    if (!prompter.confirmOkCancel(QStringLiteral("提示"),
                                  QStringLiteral("您确定输出word文档吗？\r\n")))
        return;
    const std::string path = templatePath(store_.dataDirectory(), form);
    if (!QFileInfo::exists(q(path))) {
        prompter.inform(QStringLiteral("Xunbao"), QStringLiteral("您的电脑上没有相应的报表"),
                        ui::MessageIcon::Critical);
        return;
    }
    std::string written;
    std::string missing;
    {
        ui::BusyCursor busy;
        const auto fail = [&](const store::Error& error) {
            busy.restore();
            prompter.showError(error);
        };
        auto values = fillValues(store_.db(), number_, region_, form);
        if (!values) return fail(values.error());
        auto filled = fillTemplate(path, *values);
        if (!filled) return fail(filled.error());
        auto saved = saveInFolder(filled->document, documentsFolder_.toStdString(),
                                  documentBaseName(form, number_));
        if (!saved) return fail(saved.error());
        written = *saved;
        missing = filled->missingBookmark;
    }
    const QString shown = QDir::toNativeSeparators(q(written));
    if (!missing.empty())
        prompter.showError(QStringLiteral("模板中没有书签“%1”，文档只填写到此处，已保存为 %2")
                               .arg(q(missing), shown));
    if (!prompter.openDocument(q(written)))
        prompter.inform(QStringLiteral("提示"),
                        QStringLiteral("无法打开文档，文档已保存为 %1").arg(shown));
}

} // namespace xb::output
