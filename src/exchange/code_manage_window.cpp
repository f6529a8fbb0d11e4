#include "code_manage_window.h"

#include "ui/busy_cursor.h"
#include "ui/prompter.h"
#include "ui/roomy_button.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xb::exchange {
namespace {

struct DictionaryControls {
    Dictionary dictionary;
    const char* stem;     // object names: grp<stem>, btn<stem>, edt<stem>
    const char* fileStem; // btn<fileStem>
    QString group;
    QString packageButton;
    QString fileButton;
    QString wrongPackage;
    QString wrongFile;
    QString fileCopied;
};

const std::vector<DictionaryControls>& dictionaryControls() {
    static const std::vector<DictionaryControls> controls{
        {Dictionary::ProjectSources, "DFJHXX", "DFJHZDXX", QStringLiteral("课题来源子类维护"),
         QStringLiteral("选择“DFJHXX.ARJ”更新"), QStringLiteral("选用“DFJHZDXX.DBF”更新"),
         QStringLiteral("请选择正确导入包,名字是DFJHXX.ARJ!"),
         QStringLiteral("请选择正确的文件（DFJHZDXX.DBF）！"),
         QStringLiteral("更新“课题来源”下级菜单成功!")},
        {Dictionary::LibraryClassification, "ZTFLB", "ZTFLH", QStringLiteral("中图分类选项维护"),
         QStringLiteral("选择“ZTFLB.ARJ”更新"), QStringLiteral("选择“ZTFLH.DBF”更新"),
         QStringLiteral("请选择正确导入包,名字是ZTFLB.ARJ!"),
         QStringLiteral("请选择正确的文件（ZTFLH.DBF）！"),
         QStringLiteral("更新“中图分类号”菜单成功!")},
        {Dictionary::DisciplineClassification, "XKFLB", "XKFL", QStringLiteral("学科分类选项维护"),
         QStringLiteral("选择“XKFLB.ARJ”更新"), QStringLiteral("选择“XKFL.DBF”更新"),
         QStringLiteral("请选择正确导入包,名字是XKFLB.ARJ!"),
         QStringLiteral("请选择正确的文件（XKFL.DBF）！"),
         QStringLiteral("更新“学科分类”菜单成功!")},
        {Dictionary::Ministries, "LSBWB", "LSBW", QStringLiteral("隶属部委分类选项维护"),
         QStringLiteral("选择“LSBWB.ARJ”更新"), QStringLiteral("选用“LSBW.DBF”更新"),
         QStringLiteral("请选择正确导入包,名字是LSBWB.ARJ!"),
         QStringLiteral("请选择正确的文件（LSBW.DBF）！"),
         QStringLiteral("更新“隶属部委”菜单成功!")},
    };
    return controls;
}

const DictionaryControls& controlsOf(Dictionary dictionary) {
    for (const auto& controls : dictionaryControls())
        if (controls.dictionary == dictionary) return controls;
    return dictionaryControls().front();
}

} // namespace

TFcodeManage::TFcodeManage(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store), lastFolder_(QDir::homePath()) {
    setObjectName(QStringLiteral("TFcodeManage"));
    setWindowTitle(QStringLiteral("代码管理"));

    auto* outer = new QGroupBox(QStringLiteral("栏目选项维护"), this);
    outer->setObjectName(QStringLiteral("grpMaintenance"));
    auto* groups = new QGridLayout(outer);

    const std::map<Dictionary, void (TFcodeManage::*)()> packageSlots{
        {Dictionary::ProjectSources, &TFcodeManage::btnDFJHXXClick},
        {Dictionary::LibraryClassification, &TFcodeManage::btnZTFLBClick},
        {Dictionary::DisciplineClassification, &TFcodeManage::btnXKFLBClick},
        {Dictionary::Ministries, &TFcodeManage::btnLSBWBClick}};
    const std::map<Dictionary, void (TFcodeManage::*)()> fileSlots{
        {Dictionary::ProjectSources, &TFcodeManage::btnDFJHZDXXClick},
        {Dictionary::LibraryClassification, &TFcodeManage::btnZTFLHClick},
        {Dictionary::DisciplineClassification, &TFcodeManage::btnXKFLClick},
        {Dictionary::Ministries, &TFcodeManage::btnLSBWClick}};

    int position = 0;
    for (const DictionaryControls& c : dictionaryControls()) {
        const QString stem = QString::fromLatin1(c.stem);
        auto* group = new QGroupBox(c.group, outer);
        group->setObjectName(QStringLiteral("grp") + stem);
        auto* packageButton = ui::roomyButton(c.packageButton, QStringLiteral("btn") + stem, group);
        auto* path = new QLineEdit(group);
        path->setObjectName(QStringLiteral("edt") + stem);
        path->setReadOnly(true);
        path->setMinimumWidth(220);
        auto* fileButton = ui::roomyButton(
            c.fileButton, QStringLiteral("btn") + QString::fromLatin1(c.fileStem), group);
        connect(packageButton, &QPushButton::clicked, this, packageSlots.at(c.dictionary));
        connect(fileButton, &QPushButton::clicked, this, fileSlots.at(c.dictionary));
        packagePaths_[c.dictionary] = path;

        auto* layout = new QGridLayout(group);
        layout->addWidget(packageButton, 0, 0);
        layout->addWidget(path, 0, 1);
        layout->addWidget(fileButton, 1, 0);
        layout->setColumnStretch(1, 1);
        groups->addWidget(group, position / 2, position % 2);
        ++position;
    }

    auto* quit = ui::roomyButton(QStringLiteral("退出"), QStringLiteral("btnQuit"), this);
    connect(quit, &QPushButton::clicked, this, &TFcodeManage::btnQuitClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outer);
    layout->addLayout(buttons);
}

void TFcodeManage::btnDFJHXXClick() {
    updateFromPackage(Dictionary::ProjectSources);
}
void TFcodeManage::btnDFJHZDXXClick() {
    updateFromFile(Dictionary::ProjectSources);
}
void TFcodeManage::btnZTFLBClick() {
    updateFromPackage(Dictionary::LibraryClassification);
}
void TFcodeManage::btnZTFLHClick() {
    updateFromFile(Dictionary::LibraryClassification);
}
void TFcodeManage::btnXKFLBClick() {
    updateFromPackage(Dictionary::DisciplineClassification);
}
void TFcodeManage::btnXKFLClick() {
    updateFromFile(Dictionary::DisciplineClassification);
}
void TFcodeManage::btnLSBWBClick() {
    updateFromPackage(Dictionary::Ministries);
}
void TFcodeManage::btnLSBWClick() {
    updateFromFile(Dictionary::Ministries);
}

void TFcodeManage::btnQuitClick() {
    close();
}

void TFcodeManage::updateFromPackage(Dictionary dictionary) {
    const DictionaryControls& c = controlsOf(dictionary);
    QLineEdit* path = packagePaths_.at(dictionary);
    const QString chosen = ui::prompter().chooseExistingFile(
        {c.packageButton, lastFolder_, QStringLiteral("ARJ 压缩包 (*.arj *.ARJ);;所有文件 (*)")});
    if (chosen.isEmpty()) {
        path->clear();
        return;
    }
    path->setText(QDir::toNativeSeparators(chosen));
    lastFolder_ = QFileInfo(chosen).absolutePath();
    if (!isDictionaryPackagePath(chosen, dictionary)) {
        ui::prompter().inform(QStringLiteral("请注意！"), c.wrongPackage, ui::MessageIcon::Warning);
        return;
    }
    ui::BusyCursor busy;
    auto rows = updateDictionaryFromPackage(store_.db(), archiver_, chosen, dictionary);
    busy.restore();
    if (!rows) {
        ui::prompter().showError(rows.error());
        return;
    }
    ui::prompter().warn(QStringLiteral("导入更新成功！"));
}

void TFcodeManage::updateFromFile(Dictionary dictionary) {
    const DictionaryControls& c = controlsOf(dictionary);
    const QString chosen = ui::prompter().chooseExistingFile(
        {c.fileButton, lastFolder_, QStringLiteral("dBASE 表 (*.dbf *.DBF);;所有文件 (*)")});
    if (chosen.isEmpty()) return;
    lastFolder_ = QFileInfo(chosen).absolutePath();
    if (!isDictionaryFilePath(chosen, dictionary)) {
        ui::prompter().warn(c.wrongFile);
        return;
    }
    ui::BusyCursor busy;
    auto updated = updateDictionaryFromFile(store_.db(), chosen, dictionary);
    busy.restore();
    if (!updated) {
        ui::prompter().showError(updated.error());
        return;
    }
    ui::prompter().warn(c.fileCopied);
}

} // namespace xb::exchange
