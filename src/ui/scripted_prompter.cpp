#include "ui/scripted_prompter.h"

namespace xb::ui {

namespace {

Answer pressedButton(Buttons buttons, bool affirmative) {
    switch (buttons) {
    case Buttons::YesNo:
        return affirmative ? Answer::Yes : Answer::No;
    case Buttons::OkCancel:
        return affirmative ? Answer::Ok : Answer::Cancel;
    case Buttons::Ok:
        break;
    }
    return Answer::Ok;
}

} // namespace

ScriptedPrompter::ScriptedPrompter() : previous_(setPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() {
    setPrompter(previous_);
}

void ScriptedPrompter::queueAnswer(Answer answer) {
    queuedAnswers_.enqueue(answer);
}

void ScriptedPrompter::queueFile(const QString& path) {
    queuedFiles_.enqueue(path);
}

void ScriptedPrompter::queueFolder(const QString& path) {
    queuedFolders_.enqueue(path);
}

QStringList ScriptedPrompter::texts() const {
    QStringList result;
    for (const Message& message : messages_)
        result << message.text;
    return result;
}

void ScriptedPrompter::clear() {
    messages_.clear();
    answers_.clear();
    fileQuestions_.clear();
    folderQuestions_.clear();
    queuedAnswers_.clear();
    queuedFiles_.clear();
    queuedFolders_.clear();
    openedDocuments_.clear();
}

Answer ScriptedPrompter::ask(const Message& message) {
    bool affirmative = true;
    if (message.buttons != Buttons::Ok && !queuedAnswers_.isEmpty())
        affirmative = isAffirmative(queuedAnswers_.dequeue());
    const Answer answer = pressedButton(message.buttons, affirmative);
    messages_ << message;
    answers_ << answer;
    return answer;
}

QString ScriptedPrompter::chooseExistingFile(const FileQuestion& question) {
    fileQuestions_ << question;
    return queuedFiles_.isEmpty() ? QString() : queuedFiles_.dequeue();
}

QString ScriptedPrompter::chooseSaveFile(const FileQuestion& question) {
    return chooseExistingFile(question);
}

QString ScriptedPrompter::chooseFolder(const FolderQuestion& question) {
    folderQuestions_ << question;
    return queuedFolders_.isEmpty() ? QString() : queuedFolders_.dequeue();
}

bool ScriptedPrompter::openDocument(const QString& path) {
    openedDocuments_ << path;
    return documentsOpen_;
}

} // namespace xb::ui
