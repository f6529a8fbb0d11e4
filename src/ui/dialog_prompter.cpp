#include "ui/dialog_prompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <QUrl>

namespace xb::ui {

namespace {

QMessageBox::Icon iconFor(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButton affirmative;
    QMessageBox::StandardButton negative; // NoButton when the set has only one button
};

ButtonSet buttonSetFor(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::Ok:
        break;
    }
    return {QMessageBox::Ok, QMessageBox::NoButton};
}

// Qt shows its own button texts in English unless its translations are installed; the user
// reads Chinese everywhere, so the texts are set here.
QString buttonText(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok:
        return QStringLiteral("确定");
    case QMessageBox::Cancel:
        return QStringLiteral("取消");
    case QMessageBox::Yes:
        return QStringLiteral("是");
    case QMessageBox::No:
        return QStringLiteral("否");
    default:
        return {};
    }
}

// Boxes open over the window the user is working in, so they stay in front of a modal page.
QWidget* currentWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

// Room the window manager's title bar takes beside the caption: the window icon and the close,
// minimize and maximize buttons.
constexpr int kTitleBarAllowance = 140;

// A box is as wide as its text asks, and the window manager cuts a caption longer than that; a
// spacer across the box's grid keeps the box at least as wide as its caption needs.
void widenForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = QFontMetrics(QApplication::font()).horizontalAdvance(box.windowTitle()) +
                      kTitleBarAllowance;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const Message& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(message.caption);
    box->setText(message.text);
    box->setIcon(iconFor(message.icon));
    box->setTextFormat(Qt::PlainText);

    const ButtonSet set = buttonSetFor(message.buttons);
    box->addButton(set.affirmative)->setText(buttonText(set.affirmative));
    if (set.negative != QMessageBox::NoButton) {
        box->addButton(set.negative)->setText(buttonText(set.negative));
        box->setEscapeButton(set.negative);
    } else {
        box->setEscapeButton(set.affirmative);
    }
    box->setDefaultButton(set.affirmative);
    widenForCaption(*box);
    return box;
}

Answer answerFor(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

Answer DialogPrompter::ask(const Message& message) {
    const auto box = buildMessageBox(message, currentWindow());
    return answerFor(box->exec());
}

QString DialogPrompter::chooseExistingFile(const FileQuestion& question) {
    return QFileDialog::getOpenFileName(currentWindow(), question.caption, question.startFolder,
                                        question.filter);
}

QString DialogPrompter::chooseSaveFile(const FileQuestion& question) {
    // The caller asks before replacing a file, in the application's own words.
    return QFileDialog::getSaveFileName(currentWindow(), question.caption, question.startFolder,
                                        question.filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString DialogPrompter::chooseFolder(const FolderQuestion& question) {
    return QFileDialog::getExistingDirectory(currentWindow(), question.caption,
                                             question.startFolder);
}

bool DialogPrompter::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace xb::ui
