// Option panels on the pages: a QGroupBox (or any QWidget) whose direct QCheckBox and
// QRadioButton children, in creation order, are its options. An option's code is the last
// `codeWidth` characters of its object name. The rules themselves are in option_panel_rules.h.
//
// A check made by the program has the effect of a user's click: it emits toggled(), so side
// effects that must follow a choice are connected to toggled(), not to clicked().
#pragma once

#include "pages/option_panel_rules.h"

#include <QList>
#include <QString>
#include <optional>

class QAbstractButton;
class QWidget;

namespace xb::pages {

class OptionPanel {
  public:
    // Binds the panel; a single-choice panel gets its exclusive behaviour here, once.
    OptionPanel(QWidget* panel, int codeWidth, QString itemName,
                PanelBehaviour behaviour = PanelBehaviour::Free);

    QWidget* widget() const { return panel_; }
    // The options in creation order: check boxes and radio buttons whose parent is the panel.
    QList<QAbstractButton*> options() const;
    QString codeOf(const QAbstractButton* option) const;
    QAbstractButton* optionFor(const QString& code) const;

    // Checks the options of a stored value (at most three codes), each check acting as a click.
    void write(const QString& stored) const;
    // The panel's value. Codes that are not numbers are reported in the warning box first;
    // more than two codes (outside 知识产权形式) are refused in a "提示" box, and nothing is
    // returned: the action that asked for the value ends there.
    std::optional<QString> read() const;
    // The panel's reading without any message: for comparing with the stored value, and for
    // writing once the checks passed.
    PanelReading reading() const;

  private:
    QList<OptionState> states() const;

    QWidget* panel_;
    int codeWidth_;
    QString itemName_;
    PanelBehaviour behaviour_;
};

// Makes the check boxes of a panel exclude each other: checking one, by the user or by the
// program, unchecks every other one.
void makeSingleChoice(QWidget* panel);

// Unchecks every check box and radio button of the page, radio groups included.
void uncheckAll(QWidget* page);

} // namespace xb::pages
