#include "option_panel_rules.h"

namespace xb::pages {
namespace {

// The number of a code for ordering: codes of one character are never converted (0), and a
// code that is not a whole number counts as 0 after its warning.
int codeNumber(const QString& code, QStringList& warnings) {
    if (code.size() <= 1) return 0;
    bool ok = false;
    const int number = code.toInt(&ok);
    if (ok) return number;
    warnings << QStringLiteral("'") + code + QStringLiteral("'不是数字格式！");
    return 0;
}

} // namespace

QStringList codesToCheck(const QString& stored) {
    if (stored.isEmpty()) return {};
    if (!stored.contains(u';')) return {stored.trimmed()};
    QStringList codes;
    const QStringList parts = stored.split(u';');
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i)
        codes << parts[i].trimmed();
    return codes;
}

void checkOption(QList<OptionState>& options, qsizetype index, PanelBehaviour behaviour) {
    const bool radio = options[index].radio;
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (i == index) continue;
        if (behaviour == PanelBehaviour::SingleChoice || (radio && options[i].radio))
            options[i].checked = false;
    }
    options[index].checked = true;
}

void writeOptions(QList<OptionState>& options, const QString& stored, PanelBehaviour behaviour) {
    for (const QString& code : codesToCheck(stored)) {
        if (code.isEmpty()) continue;
        for (qsizetype i = 0; i < options.size(); ++i) {
            if (options[i].code == code) {
                checkOption(options, i, behaviour);
                break;
            }
        }
    }
}

PanelReading readOptions(const QList<OptionState>& options, const QString& itemName) {
    PanelReading reading;
    QString collected;
    for (const OptionState& option : options) {
        if (!option.checked) continue;
        collected += option.radio ? option.code : option.code + u';';
    }

    const QStringList parts = collected.split(u';');
    // Codes are the parts that a ";" ends: a radio value such as "12" holds none.
    const qsizetype codeCount = parts.size() - 1;
    const QString first = codeCount >= 1 ? parts[0] : QString();
    const QString second = codeCount >= 2 ? parts[1] : QString();
    const int firstNumber = codeNumber(first, reading.warnings);
    const int secondNumber = codeNumber(second, reading.warnings);

    if (codeCount >= 3 && itemName != kIntellectualPropertyItem) {
        reading.refusal =
            QStringLiteral("'") + itemName + QStringLiteral("'项目为复选项目，但至多选择二项！");
        return reading;
    }
    if (firstNumber > 0 && secondNumber > 0) {
        // Only the first two codes are ordered; whatever follows them (on the exempt panel) stays.
        const QString rest = collected.mid(first.size() + second.size() + 2);
        reading.value = (firstNumber <= secondNumber ? first + u';' + second + u';'
                                                     : second + u';' + first + u';') +
                        rest;
    } else {
        reading.value = collected;
    }
    return reading;
}

} // namespace xb::pages
