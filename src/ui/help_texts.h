// The texts of the help windows, kept together in help_texts.txt (compiled in as a resource).
#pragma once

#include <QMap>
#include <QString>
#include <optional>

namespace xb::ui {

struct HelpText {
    QString closeCaption;
    QString text;
};

// The help text kept under a window's object name; nothing when there is none.
std::optional<HelpText> helpText(const QString& objectName);

// Reads the sections of a help text file: "[Name]", "button=Caption", then the text lines.
QMap<QString, HelpText> parseHelpTexts(const QString& contents);

} // namespace xb::ui
