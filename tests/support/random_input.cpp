#include "support/random_input.h"

#include "ui/scripted_modal.h"

#include "store/record_store.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTextEdit>
#include <QtTest>

namespace xbtest {

namespace {

bool isControl(QWidget* w) {
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QTabBar*>(w);
}

QList<QWidget*> controlsOf(QWidget& window) {
    QList<QWidget*> found;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->window() == &window && w->isVisible() && w->isEnabled() && isControl(w)) found << w;
    return found;
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
};

const Key keys[] = {
    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"}, {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"}, {Qt::Key_Escape, Qt::NoModifier, "Escape"},
    {Qt::Key_Return, Qt::NoModifier, "Return"}, {Qt::Key_Tab, Qt::NoModifier, "Tab"},
    {Qt::Key_Delete, Qt::NoModifier, "Delete"}, {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
    {Qt::Key_Down, Qt::NoModifier, "Down"},     {Qt::Key_Space, Qt::NoModifier, "Space"},
    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
};

// Texts a user types or pastes: numbers, dates, quotes, separators, tabs, wide and long texts.
const char16_t* const texts[] = {
    u"1",
    u"2024",
    u"12a",
    u"2024.13.40",
    u"中国",
    u"水稻新品种选育",
    u"\t",
    u"'",
    u"\"",
    u"a;b;",
    u"   ",
    u"0",
    u"-5",
    u"99999999999",
    u"国家自然科学基金委员会资助项目的长名称国家自然科学基金委员会资助项目的长名称"};

class VanishingText : public QMimeData {
  public:
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }

  protected:
    QVariant retrieveData(const QString&, QMetaType) const override { return {}; }
};

} // namespace

void RandomInput::act(QWidget& window) {
    ++total_;
    // Message boxes and Qt's own dialogs have no object name: they count under their class.
    ++perWindow_[window.objectName().isEmpty()
                     ? QString::fromLatin1(window.metaObject()->className())
                     : window.objectName()];
    const int kind = below(100);
    if (kind < 45) {
        const QList<QWidget*> controls = controlsOf(window);
        if (!controls.isEmpty()) click(*controls[below(static_cast<int>(controls.size()))]);
    } else if (kind < 85) {
        key(window);
    } else if (kind < 95) {
        typeText(window);
    } else {
        changeClipboard();
    }
    if (processesEvents_) QApplication::processEvents();
}

void RandomInput::play(QWidget& window, int count) {
    QPointer<QWidget> alive(&window);
    for (int i = 0; i < count && alive && alive->isVisible(); ++i)
        act(*alive);
}

void RandomInput::click(QWidget& control) {
    last_ = QStringLiteral("click %1/%2").arg(control.window()->objectName(), control.objectName());
    auto at = [this](QWidget* w) {
        return QPoint(below(qMax(1, w->width())), below(qMax(1, w->height())));
    };
    if (auto* tabs = qobject_cast<QTabBar*>(&control)) {
        if (tabs->count() > 0)
            QTest::mouseClick(tabs, Qt::LeftButton, {},
                              tabs->tabRect(below(tabs->count())).center());
    } else if (qobject_cast<QCheckBox*>(&control) || qobject_cast<QRadioButton*>(&control)) {
        QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(8, control.height() / 2));
    } else if (qobject_cast<QAbstractButton*>(&control)) {
        QTest::mouseClick(&control, Qt::LeftButton);
    } else if (qobject_cast<QComboBox*>(&control)) {
        // Chosen with the arrow keys, as the list's popup would take the following actions.
        control.setFocus();
        const int steps = 1 + below(3);
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(&control, below(3) ? Qt::Key_Down : Qt::Key_Up);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(&control)) {
        const QPoint point = at(view->viewport());
        if (below(4) == 0)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
    } else {
        // A text box: clicked into, and often a key at once, as a user who clicks to type.
        QPointer<QWidget> window(control.window());
        if (auto* plain = qobject_cast<QPlainTextEdit*>(&control))
            QTest::mouseClick(plain->viewport(), Qt::LeftButton, {}, at(plain->viewport()));
        else if (auto* rich = qobject_cast<QTextEdit*>(&control))
            QTest::mouseClick(rich->viewport(), Qt::LeftButton, {}, at(rich->viewport()));
        else
            QTest::mouseClick(&control, Qt::LeftButton, {}, at(&control));
        if (window && window->isVisible() && below(2)) key(*window);
    }
}

void RandomInput::key(QWidget& window) {
    const Key& k = keys[below(std::size(keys))];
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    last_ = QStringLiteral("%1 on %2/%3")
                .arg(QLatin1String(k.name), window.objectName(), target->objectName());
    QTest::keyClick(target, k.key, k.modifiers);
}

void RandomInput::typeText(QWidget& window) {
    const QString text = QString::fromUtf16(texts[below(std::size(texts))]);
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    last_ = QStringLiteral("type \"%1\" into %2/%3")
                .arg(text, window.objectName(), target->objectName());
    QPointer<QWidget> alive(target);
    for (QChar c : text) {
        if (!alive) break;
        QTest::sendKeyEvent(QTest::Click, alive, c == u'\t' ? Qt::Key_Tab : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
}

void RandomInput::changeClipboard() {
    QClipboard* clipboard = QApplication::clipboard();
    switch (below(6)) {
    case 0:
        last_ = QStringLiteral("clipboard cleared");
        clipboard->clear();
        break;
    case 1:
        last_ = QStringLiteral("clipboard without formats");
        clipboard->setMimeData(new QMimeData);
        break;
    case 2: {
        last_ = QStringLiteral("clipboard with a picture only");
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
        clipboard->setMimeData(data);
        break;
    }
    case 3:
        last_ = QStringLiteral("clipboard announcing text it does not give");
        clipboard->setMimeData(new VanishingText);
        break;
    default: {
        const QString text = QString::fromUtf16(texts[below(std::size(texts))]);
        last_ = QStringLiteral("clipboard text \"%1\"").arg(text);
        clipboard->setText(below(2) ? text : text + QStringLiteral("\r\n第二行\t") + text);
    }
    }
}

RandomModal::RandomModal(RandomInput& input, int share, int depth)
    : input_(input), previous_(xb::ui::setModalRunner(this)), share_(share), depth_(depth) {}

RandomModal::~RandomModal() {
    xb::ui::setModalRunner(previous_);
}

int RandomModal::run(QDialog& dialog) {
    xb::ui::PlayedDialog played(dialog);
    const int share = nextShare_ >= 0 ? nextShare_ : 1 + input_.below(share_);
    nextShare_ = -1;
    ++open_;
    if (const auto prelude = preludes_.find(dialog.objectName()); prelude != preludes_.end())
        (*prelude)(dialog);
    if (open_ <= depth_ && played.alive()) input_.play(dialog, share);
    --open_;
    return played.finish();
}

RandomPrompter::RandomPrompter(RandomInput& input, QStringList files, QStringList folders,
                               xb::ui::Prompter* messages)
    : input_(input), files_(std::move(files)), folders_(std::move(folders)), messages_(messages),
      previous_(xb::ui::setPrompter(this)) {}

RandomPrompter::~RandomPrompter() {
    xb::ui::setPrompter(previous_);
}

xb::ui::Answer RandomPrompter::ask(const xb::ui::Message& message) {
    ++questions_;
    if (messages_) return messages_->ask(message);
    const bool yes = input_.below(2) == 0;
    switch (message.buttons) {
    case xb::ui::Buttons::YesNo:
        return yes ? xb::ui::Answer::Yes : xb::ui::Answer::No;
    case xb::ui::Buttons::OkCancel:
        return yes ? xb::ui::Answer::Ok : xb::ui::Answer::Cancel;
    case xb::ui::Buttons::Ok:
        break;
    }
    return xb::ui::Answer::Ok;
}

QString RandomPrompter::pick(const QStringList& paths) {
    ++questions_;
    const int choice = input_.below(static_cast<int>(paths.size()) + 1);
    return choice < paths.size() ? paths[choice] : QString();
}

QString RandomPrompter::chooseExistingFile(const xb::ui::FileQuestion&) {
    if (!queuedFiles_.isEmpty()) {
        ++questions_;
        return queuedFiles_.dequeue();
    }
    return pick(files_);
}

QString RandomPrompter::chooseFolder(const xb::ui::FolderQuestion&) {
    return pick(folders_);
}

bool RandomPrompter::openDocument(const QString&) {
    return input_.below(2) == 0;
}

QStringList unreadableTables(const std::string& dataDirectory) {
    xb::store::RecordStore store(dataDirectory, xb::store::StoreUse::Read);
    if (xb::store::Status opened = store.open(); !opened)
        return {QString::fromStdString(opened.message())};
    QStringList faults;
    for (const std::string& table : store.openedTables()) {
        auto rows = store.db().query("select * from " + table);
        if (!rows.ok()) {
            faults << QString::fromStdString(table + ": " + rows.message());
            continue;
        }
        for ((*rows)->first(); !(*rows)->eof(); (*rows)->next())
            (void)(*rows)->row();
    }
    return faults;
}

} // namespace xbtest
