#include "ui/field_labels.h"

#include <QLabel>
#include <QPalette>

namespace xb::ui {

QLabel* fieldLabel(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QLabel* maroonLabel(const QString& text, QWidget* parent) {
    QLabel* label = fieldLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    label->setPalette(palette);
    return label;
}

} // namespace xb::ui
