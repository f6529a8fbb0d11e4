// The one road by which the application talks to its user outside its own windows: message
// boxes, questions and file choices. Windows never create a QMessageBox or QFileDialog
// themselves; they call prompter(). The program installs nothing and gets Qt dialogs; tests
// install a ScriptedPrompter (scripted_prompter.h) that records each message and answers from a
// queue, so no dialog ever blocks a test.
#pragma once

#include "store/result.h"

#include <QString>

namespace xb::ui {

// The icon of a message box; it also tells what kind of message it is.
enum class MessageIcon { None, Information, Warning, Question, Critical };

// The buttons of a message box. Each set has an affirmative button (OK, Yes) and, except Ok,
// a negative one (Cancel, No); the affirmative one is the default button.
enum class Buttons { Ok, OkCancel, YesNo };

// The button the user pressed. Closing a box with Escape or the title bar gives the negative
// button of its set, or Ok for a box with only OK.
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    Buttons buttons = Buttons::Ok;

    bool operator==(const Message&) const = default;
};

// A request to choose an existing file. The filter uses Qt's form, for example
// "ARJ 压缩包 (*.arj *.ARJ)"; an empty filter offers every file.
struct FileQuestion {
    QString caption;
    QString startFolder;
    QString filter;

    bool operator==(const FileQuestion&) const = default;
};

// A request to choose an existing folder.
struct FolderQuestion {
    QString caption;
    QString startFolder;

    bool operator==(const FolderQuestion&) const = default;
};

class Prompter {
  public:
    virtual ~Prompter() = default;

    // Shows a modal message box and returns the pressed button, always one of message.buttons.
    virtual Answer ask(const Message& message) = 0;
    // Returns the absolute path of the chosen file, or an empty string when the user cancelled.
    virtual QString chooseExistingFile(const FileQuestion& question) = 0;
    // Returns the absolute path of the chosen folder, or an empty string when the user cancelled.
    virtual QString chooseFolder(const FolderQuestion& question) = 0;
    // Returns the absolute path of a file to write, or an empty string when the user cancelled.
    // The file may exist: the caller asks before replacing it. A prompter that cannot ask
    // cancels.
    virtual QString chooseSaveFile(const FileQuestion& question);
    // Opens a file with the desktop's default program (a filled Word document in the user's
    // editor); false when no program could be started for it.
    virtual bool openDocument(const QString& path) = 0;

    // The warning box: caption "Xunbao", exclamation icon, one OK button. Reports check failures
    // and success notices such as "储存成功！".
    void warn(const QString& text);
    // The plain message box: caption "Xunbao", no icon, one OK button.
    void plain(const QString& text);
    // An error that an operation returned (engine errors included): caption "提示", one OK.
    void showError(const QString& text);
    void showError(const store::Error& error);
    // A notice with one OK button.
    void inform(const QString& caption, const QString& text,
                MessageIcon icon = MessageIcon::Information);
    // A Yes/No question; true when the user answered Yes.
    bool confirm(const QString& caption, const QString& text,
                 MessageIcon icon = MessageIcon::Question);
    // An OK/Cancel question; true when the user answered OK.
    bool confirmOkCancel(const QString& caption, const QString& text,
                         MessageIcon icon = MessageIcon::Information);
};

// The prompter every window uses: the installed one, or the Qt dialogs when none is installed.
Prompter& prompter();
// Installs `replacement` (not owned; nullptr goes back to the Qt dialogs) and returns the one
// installed before, so that a caller can put it back.
Prompter* setPrompter(Prompter* replacement);

// Whether the answer is the affirmative button (OK or Yes).
bool isAffirmative(Answer answer);

} // namespace xb::ui
