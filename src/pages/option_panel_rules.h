// The rules of option panels, free of widgets: how a stored value checks options, how checked
// options read back into a value, and the at-most-two rule. A panel is seen here as its options
// in creation order, each with its code and whether it is checked.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace xb::pages {

// The item whose check-box panel may hold more than two codes (forms of intellectual property).
inline const QString kIntellectualPropertyItem = QStringLiteral("知识产权形式");

struct OptionState {
    QString code;
    bool radio = false; // a radio button; otherwise a check box
    bool checked = false;
};

// How checking one option affects the others. Radio buttons always exclude each other; on a
// single-choice panel every option excludes every other one.
enum class PanelBehaviour { Free, SingleChoice };

// The codes a stored value checks, in order: the whole value when it holds no ";", otherwise
// the trimmed codes before the first three ";" (a fourth or later code is ignored).
QStringList codesToCheck(const QString& stored);

// Checks option `index` as a click would: the radio buttons of the panel, and on a single-choice
// panel all other options, are unchecked.
void checkOption(QList<OptionState>& options, qsizetype index, PanelBehaviour behaviour);

// Checks, in order, the option of each code of the stored value; codes without an option are
// ignored. Nothing is unchecked first: the page unchecks everything before it is filled.
void writeOptions(QList<OptionState>& options, const QString& stored, PanelBehaviour behaviour);

// What reading a panel gives: the value, the warnings to show first (codes that are not
// numbers), and a refusal when more than two codes are checked.
struct PanelReading {
    QString value;
    QStringList warnings;
    std::optional<QString> refusal;
};

// Reads the checked options: a radio button gives its code, a check box its code and ";".
// Two codes of more than one character are put in numeric order; a third code is refused
// unless `itemName` is the forms of intellectual property.
PanelReading readOptions(const QList<OptionState>& options, const QString& itemName);

} // namespace xb::pages
