#include "option_panel.h"

#include "ui/prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>

namespace xb::pages {
namespace {

bool isOption(const QObject* object) {
    return qobject_cast<const QCheckBox*>(object) || qobject_cast<const QRadioButton*>(object);
}

QList<QAbstractButton*> optionsOf(const QWidget* panel) {
    QList<QAbstractButton*> options;
    for (QObject* child : panel->children())
        if (isOption(child)) options << static_cast<QAbstractButton*>(child);
    return options;
}

// Exclusive radio buttons refuse to be unchecked; their exclusivity is lifted for the moment.
void forceUnchecked(QAbstractButton* button) {
    if (!button->isChecked()) return;
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (groupExclusive) group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(autoExclusive);
    if (groupExclusive) group->setExclusive(true);
}

} // namespace

OptionPanel::OptionPanel(QWidget* panel, int codeWidth, QString itemName, PanelBehaviour behaviour)
    : panel_(panel), codeWidth_(codeWidth), itemName_(std::move(itemName)), behaviour_(behaviour) {
    if (behaviour_ == PanelBehaviour::SingleChoice) makeSingleChoice(panel_);
}

QList<QAbstractButton*> OptionPanel::options() const {
    return optionsOf(panel_);
}

QString OptionPanel::codeOf(const QAbstractButton* option) const {
    return option->objectName().right(codeWidth_);
}

QAbstractButton* OptionPanel::optionFor(const QString& code) const {
    for (QAbstractButton* option : options())
        if (codeOf(option) == code) return option;
    return nullptr;
}

QList<OptionState> OptionPanel::states() const {
    QList<OptionState> states;
    for (const QAbstractButton* option : options())
        states.append({codeOf(option), qobject_cast<const QRadioButton*>(option) != nullptr,
                       option->isChecked()});
    return states;
}

void OptionPanel::write(const QString& stored) const {
    for (const QString& code : codesToCheck(stored)) {
        if (code.isEmpty()) continue;
        if (QAbstractButton* option = optionFor(code)) option->setChecked(true);
    }
}

PanelReading OptionPanel::reading() const {
    return readOptions(states(), itemName_);
}

std::optional<QString> OptionPanel::read() const {
    const PanelReading reading = this->reading();
    for (const QString& warning : reading.warnings)
        ui::prompter().warn(warning);
    if (reading.refusal) {
        ui::prompter().ask(
            {QStringLiteral("提示"), *reading.refusal, ui::MessageIcon::Question, ui::Buttons::Ok});
        return std::nullopt;
    }
    return reading.value;
}

void makeSingleChoice(QWidget* panel) {
    for (QAbstractButton* option : optionsOf(panel)) {
        QObject::connect(option, &QAbstractButton::toggled, panel, [panel, option](bool checked) {
            if (!checked) return;
            for (QAbstractButton* other : optionsOf(panel))
                if (other != option) forceUnchecked(other);
        });
    }
}

void uncheckAll(QWidget* page) {
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>())
        if (isOption(button)) forceUnchecked(button);
}

} // namespace xb::pages
