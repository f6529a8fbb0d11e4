// A prompter for tests. While it lives it is the installed prompter (prompter() returns it) and
// the one installed before comes back when it is destroyed.
//
// Every message is recorded in order with the answer it got. Answers:
// - A box with only OK never takes a queued answer: there is nothing to choose, it answers Ok.
// - A box with two buttons takes the next queued answer. Answers are read by their sense, so a
//   queued Yes or Ok presses the affirmative button (Yes, OK) and a queued No or Cancel the
//   negative one (No, Cancel) of whatever box comes.
// - With the queue empty it presses the affirmative button, the box's default button, which is
//   what a user pressing Enter gets.
// File choices (to read or to write) and folder choices take the next queued path; with their queue
// empty they are cancelled (an empty string), as a user pressing Escape would.
#pragma once

#include "ui/prompter.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace xb::ui {

class ScriptedPrompter : public Prompter {
  public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    // Queues the answer of the next box that has two buttons.
    void queueAnswer(Answer answer);
    // Queues the result of the next file choice; an empty path means cancelled.
    void queueFile(const QString& path);
    // Queues the result of the next folder choice; an empty path means cancelled.
    void queueFolder(const QString& path);
    // Whether the documents opened from now on can be opened (true until changed).
    void setDocumentsOpen(bool open) { documentsOpen_ = open; }

    // The messages shown so far, oldest first, and the answer each one got.
    const QList<Message>& messages() const { return messages_; }
    const QList<Answer>& answers() const { return answers_; }
    // Only the texts of the messages, oldest first.
    QStringList texts() const;
    const QList<FileQuestion>& fileQuestions() const { return fileQuestions_; }
    const QList<FolderQuestion>& folderQuestions() const { return folderQuestions_; }
    // The documents asked to be opened, oldest first.
    const QStringList& openedDocuments() const { return openedDocuments_; }

    // What is still queued: a test checks these are zero to prove every expected question came.
    qsizetype pendingAnswers() const { return queuedAnswers_.size(); }
    qsizetype pendingFiles() const { return queuedFiles_.size(); }
    qsizetype pendingFolders() const { return queuedFolders_.size(); }

    // Forgets what was recorded and queued.
    void clear();

    Answer ask(const Message& message) override;
    QString chooseExistingFile(const FileQuestion& question) override;
    QString chooseSaveFile(const FileQuestion& question) override;
    QString chooseFolder(const FolderQuestion& question) override;
    bool openDocument(const QString& path) override;

  private:
    Prompter* previous_;
    QList<Message> messages_;
    QList<Answer> answers_;
    QList<FileQuestion> fileQuestions_;
    QList<FolderQuestion> folderQuestions_;
    QQueue<Answer> queuedAnswers_;
    QQueue<QString> queuedFiles_;
    QQueue<QString> queuedFolders_;
    QStringList openedDocuments_;
    bool documentsOpen_ = true;
};

} // namespace xb::ui
