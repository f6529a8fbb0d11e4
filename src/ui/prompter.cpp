#include "ui/prompter.h"

#include "ui/dialog_prompter.h"

#include <utility>

namespace xb::ui {

QString Prompter::chooseSaveFile(const FileQuestion&) {
    return QString();
}

namespace {

Prompter* installed = nullptr;

Prompter& dialogs() {
    static DialogPrompter instance;
    return instance;
}

} // namespace

Prompter& prompter() {
    return installed ? *installed : dialogs();
}

Prompter* setPrompter(Prompter* replacement) {
    return std::exchange(installed, replacement);
}

bool isAffirmative(Answer answer) {
    return answer == Answer::Ok || answer == Answer::Yes;
}

void Prompter::warn(const QString& text) {
    ask({QStringLiteral("Xunbao"), text, MessageIcon::Warning, Buttons::Ok});
}

void Prompter::plain(const QString& text) {
    ask({QStringLiteral("Xunbao"), text, MessageIcon::None, Buttons::Ok});
}

void Prompter::showError(const QString& text) {
    ask({QStringLiteral("提示"), text, MessageIcon::Critical, Buttons::Ok});
}

void Prompter::showError(const store::Error& error) {
    showError(QString::fromStdString(error.message));
}

void Prompter::inform(const QString& caption, const QString& text, MessageIcon icon) {
    ask({caption, text, icon, Buttons::Ok});
}

bool Prompter::confirm(const QString& caption, const QString& text, MessageIcon icon) {
    return ask({caption, text, icon, Buttons::YesNo}) == Answer::Yes;
}

bool Prompter::confirmOkCancel(const QString& caption, const QString& text, MessageIcon icon) {
    return ask({caption, text, icon, Buttons::OkCancel}) == Answer::Ok;
}

} // namespace xb::ui
