// Small helpers of the window tests: finding controls by object name, clicking them, typing
// Chinese text and choosing pick-list entries by code, as a user would.
#pragma once

#include "support/qt_printing.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

template <class T = QWidget> T* control(const QObject* in, const char* name) {
    T* found = in->findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no control %s", name);
    return found;
}

// Check boxes are clicked on their indicator: a wide box does not react beyond its text.
inline void click(const QObject* in, const char* name) {
    auto* button = control<QAbstractButton>(in, name);
    if (!button) return;
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

// Types text key by key (QTest::keyClicks takes Latin-1 only).
inline void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Chooses the entry whose code (the text before the two blanks) is `code`.
inline bool choose(QComboBox* combo, const QString& code) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).section(QStringLiteral("  "), 0, 0) == code) {
            combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

// Selects the node with this text in the classification picker and confirms it.
inline void pickNode(QDialog& picker, const QString& text) {
    auto* tree = control<QTreeWidget>(&picker, "TreeView1");
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (!items.isEmpty()) tree->setCurrentItem(items.first());
    click(&picker, "Button1");
}
