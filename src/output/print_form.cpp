#include "output/print_form.h"

#include "output/word_output.h"
#include "ui/busy_cursor.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
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

    auto* quit = ui::roomyButton(QStringLiteral("退出"), QStringLiteral("btnQuit"), this);
    connect(quit, &QPushButton::clicked, this, &TPrintForm::btnQuitClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(quit, 0, Qt::AlignRight);
}

void TPrintForm::setRecord(const std::string& number, const std::string& region,
                           const std::string& category) {
    number_ = number;
    region_ = region;
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
