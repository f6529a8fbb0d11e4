// What the completer entry dialog holds, the checks 储存 runs over it in their fixed order, and
// the stored forms of its values. No widget is needed: the dialog reads its boxes into a
// CompleterEntry and writes the padded month back.
#pragma once

#include "forms/check_failure.h"
#include "store/row_values.h"

#include <QString>
#include <optional>
#include <vector>

namespace xb::parties {

struct CompleterEntry {
    QString order; // 序号 as typed
    QString name;
    std::optional<QString> sex;       // stored code of the chosen entry; nothing when none is
    QString year;                     // 出生年月: year box
    QString month;                    // and month box
    std::optional<QString> title;     // stored code (academicians "a", "b", "c")
    std::optional<QString> education; // stored code
    QString studyAbroad;              // stored code, "" when none is chosen
    QString workUnit;                 // 工作单位, as typed
    QString contribution;             // 对成果创造性贡献, as typed
};

// The stored code of a chosen people dictionary entry ("code  label"): its first character.
QString storedPeopleCode(const QString& entryText);
// The stored code of a chosen title entry: the academician entries "1a", "1b" and "1c" store
// "a", "b" and "c", every other entry its first character.
QString storedTitleCode(const QString& entryText);
// The dictionary code under which a stored title is chosen again: "a" → "1a"; others as stored.
QString titleEntryCode(const QString& stored);

// The first failing check, in this order: name, sex, both birth boxes, the year (an integer
// from 1900 to `currentYear`), the month (an integer from 1 to 12), title, education, 序号
// (not empty, an integer; the latter reported in the plain box). Once year and month passed,
// a one-digit month is padded to two digits in `entry`, also when a later check fails.
std::optional<forms::CheckFailure> checkCompleterEntry(CompleterEntry& entry, int currentYear);

// "YYYY.MM" from the boxes, both trimmed.
QString completerBirthText(const QString& year, const QString& month);

// The new place of each listed completer after its order numbers changed. `numbers` are the
// order numbers in listed order (ascending, equal numbers in stored order); the row at `moved`
// (-1: none) took its number by typing: when it moved down to a number held by others it goes
// before them (`direction` < 0), when it moved up after them (`direction` > 0). Yields the
// listed positions in their new order.
std::vector<int> completerOrder(const std::vector<long long>& numbers, int moved, int direction);

} // namespace xb::parties
