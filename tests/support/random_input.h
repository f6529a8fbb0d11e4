// A seeded stream of random clicks and keys on the program's windows, as a user hammering at
// them: clicks on visible, enabled controls, the keys Ctrl+V, Ctrl+A, Escape, Return, Tab,
// Delete and a few more, typed texts, and a clipboard that now and then holds nothing usable.
// The same seed plays the same stream, so a crash found once is found again.
//
// RandomModal and RandomPrompter are the modal and prompter seams played by the same stream:
// every dialog that opens takes a share of the actions and is dismissed afterwards, every
// question gets a random answer, every file or folder choice a random one of the offered paths
// or cancel. Nothing blocks, and nothing is written outside the offered folders.
#pragma once

#include "ui/modal.h"
#include "ui/prompter.h"

#include <QMap>
#include <QQueue>
#include <QStringList>
#include <functional>
#include <random>
#include <string>

class QWidget;

namespace xbtest {

class RandomInput {
  public:
    explicit RandomInput(quint64 seed) : rng_(seed) {}

    // One action on `window`: a click on one of its controls, a key to its focused control, a
    // typed text or a new clipboard.
    void act(QWidget& window);
    // Acts `count` times on `window`, or until it is hidden.
    void play(QWidget& window, int count);

    qint64 actions() const { return total_; }
    // Actions by the object name of the window they went to.
    const QMap<QString, qint64>& actionsPerWindow() const { return perWindow_; }
    // The last action, to tell where a failure came.
    const QString& lastAction() const { return last_; }

    // Whether each action processes the events it caused before it returns (true). A caller that
    // runs the actions from its own event loop turns it off, so that no action starts inside
    // another.
    void setProcessesEvents(bool processes) { processesEvents_ = processes; }

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(rng_); }

  private:
    void click(QWidget& control);
    void key(QWidget& window);
    void typeText(QWidget& window);
    void changeClipboard();

    std::mt19937_64 rng_;
    qint64 total_ = 0;
    QMap<QString, qint64> perWindow_;
    QString last_;
    bool processesEvents_ = true;
};

// The modal seam: every dialog shown plays up to `share` random actions (nested dialogs deeper
// than `depth` are dismissed at once), then is dismissed if still open.
class RandomModal : public xb::ui::ModalRunner {
  public:
    RandomModal(RandomInput& input, int share, int depth = 3);
    ~RandomModal() override;
    RandomModal(const RandomModal&) = delete;
    RandomModal& operator=(const RandomModal&) = delete;

    // The share of the next dialog shown only, for a window a test opens on purpose.
    void setNextShare(int share) { nextShare_ = share; }
    // What the user does first each time the window of this object name opens, before its
    // random share: brings it where its own dialogs open (a package read for the import).
    void setPrelude(const QString& window, std::function<void(QDialog&)> prelude) {
        preludes_[window] = std::move(prelude);
    }
    int run(QDialog& dialog) override;

  private:
    RandomInput& input_;
    xb::ui::ModalRunner* previous_;
    int share_;
    int depth_;
    int open_ = 0;
    int nextShare_ = -1;
    QMap<QString, std::function<void(QDialog&)>> preludes_;
};

// The prompter seam. Questions are answered at random; with `messages` given, message boxes go
// to it instead (the real boxes, played by the same stream through their own event loop).
class RandomPrompter : public xb::ui::Prompter {
  public:
    RandomPrompter(RandomInput& input, QStringList files, QStringList folders,
                   xb::ui::Prompter* messages = nullptr);
    ~RandomPrompter() override;
    RandomPrompter(const RandomPrompter&) = delete;
    RandomPrompter& operator=(const RandomPrompter&) = delete;

    xb::ui::Answer ask(const xb::ui::Message& message) override;
    QString chooseExistingFile(const xb::ui::FileQuestion& question) override;
    QString chooseFolder(const xb::ui::FolderQuestion& question) override;
    bool openDocument(const QString& path) override;

    // The next file choice takes this path instead of a random one.
    void queueFile(const QString& path) { queuedFiles_.enqueue(path); }
    int questions() const { return questions_; }

  private:
    QString pick(const QStringList& paths);

    RandomInput& input_;
    QStringList files_;
    QStringList folders_;
    QQueue<QString> queuedFiles_;
    xb::ui::Prompter* messages_;
    xb::ui::Prompter* previous_;
    int questions_ = 0;
};

// The tables of `dataDirectory` that do not open or read to their last row, each with the
// reason; empty when all are readable. Opens the directory as a reader, beside any writer.
QStringList unreadableTables(const std::string& dataDirectory);

} // namespace xbtest
