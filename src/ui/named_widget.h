// A control created under its object name, the name by which tests, help and layout code find it.
#pragma once

#include <QString>
#include <QWidget>

namespace xb::ui {

template <class Widget> Widget* namedWidget(const char* name, QWidget* parent) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace xb::ui
