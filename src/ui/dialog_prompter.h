// The prompter of the running program: Qt message boxes and file dialogs, modal over the window
// the user is working in.
#pragma once

#include "ui/prompter.h"

#include <QMessageBox>
#include <memory>

namespace xb::ui {

class DialogPrompter : public Prompter {
  public:
    Answer ask(const Message& message) override;
    QString chooseExistingFile(const FileQuestion& question) override;
    QString chooseSaveFile(const FileQuestion& question) override;
    QString chooseFolder(const FolderQuestion& question) override;
    bool openDocument(const QString& path) override;
};

// The message box for `message`, not yet shown: caption, text, icon, the buttons with Chinese
// texts (确定, 取消, 是, 否) and the affirmative one as default. The caller owns it.
std::unique_ptr<QMessageBox> buildMessageBox(const Message& message, QWidget* parent = nullptr);

// The answer for the standard button a message box returned from exec().
Answer answerFor(int standardButton);

} // namespace xb::ui
