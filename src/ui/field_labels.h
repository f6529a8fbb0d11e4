// Labels of page fields. Required fields (and a few others the form marks) are drawn in maroon.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace xb::ui {

QLabel* fieldLabel(const QString& text, QWidget* parent);
QLabel* maroonLabel(const QString& text, QWidget* parent);

} // namespace xb::ui
