#include "ui/help_window.h"

#include "ui/help_texts.h"
#include "ui/memo_box.h"
#include "ui/modal.h"
#include "ui/roomy_button.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace xb::ui {

HelpWindow::HelpWindow(const QString& objectName, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("帮助信息"));
    const HelpText help = helpText(objectName).value_or(HelpText{QStringLiteral("关闭"), {}});

    auto* text = new MemoBox(this);
    text->setObjectName(QStringLiteral("Memo1"));
    text->setReadOnly(true);
    text->setPlainText(help.text);
    QPushButton* close = roomyButton(help.closeCaption, QStringLiteral("BitBtn1"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    resize(640, 480);
}

void HelpWindow::showHelp() {
    showModal(*this);
}

} // namespace xb::ui
