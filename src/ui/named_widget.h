// A control created under its object name, the name by which tests, help and layout code find it.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace xb::ui {

template <class Widget> Widget* namedWidget(const char* name, QWidget* parent) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A text box of a fixed width in pixels; 0 leaves the width to the layout.
inline QLineEdit* namedLineEdit(const char* name, int width, QWidget* parent) {
    auto* box = namedWidget<QLineEdit>(name, parent);
    if (width > 0) box->setFixedWidth(width);
    return box;
}

// A pick list wide enough for `characters` characters of its entries.
inline QComboBox* namedPickList(const char* name, int characters, QWidget* parent) {
    auto* list = namedWidget<QComboBox>(name, parent);
    list->setMinimumContentsLength(characters);
    return list;
}

} // namespace xb::ui
