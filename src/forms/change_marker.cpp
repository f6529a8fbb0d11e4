#include "forms/change_marker.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace xb::forms {

ChangeMarker::ChangeMarker(QObject* parent) : QObject(parent) {}

void ChangeMarker::watch(QLineEdit* edit) {
    connect(edit, &QLineEdit::textChanged, this, &ChangeMarker::noteChange);
}

void ChangeMarker::watch(QComboBox* combo) {
    connect(combo, &QComboBox::currentIndexChanged, this, &ChangeMarker::noteChange);
    if (combo->isEditable())
        connect(combo, &QComboBox::editTextChanged, this, &ChangeMarker::noteChange);
}

void ChangeMarker::watch(QAbstractButton* button) {
    connect(button, &QAbstractButton::toggled, this, &ChangeMarker::noteChange);
}

void ChangeMarker::watch(QPlainTextEdit* text) {
    connect(text, &QPlainTextEdit::textChanged, this, &ChangeMarker::noteChange);
}

void ChangeMarker::set() {
    set_ = true;
    emit changed();
}

void ChangeMarker::noteChange() {
    if (filling_ == 0) set();
}

} // namespace xb::forms
