// The four code lists of the own-organization profile (research fields and disciplines, fields
// and disciplines of advantage). On the page each list is ten boxes, each holding one
// classification entry as code, two blanks, label; stored, it is one text of elements each
// followed by ";".
#pragma once

#include "store/database.h"

#include <QString>
#include <QStringList>

namespace xb::parties {

inline constexpr int kCodeBoxes = 10;

// The stored list of the boxes in order: for each box whose trimmed text is not empty, that
// text up to and including its first blank (a picked entry thus gives "code ;"), or the whole
// text and a blank when it has none (a code typed in by hand), followed by ";".
QString codeListFromBoxes(const QStringList& boxes);

// The elements of a stored list in order, each the text before its ";"; a last element
// without ";" counts too.
QStringList codeListElements(const QString& stored);

// The ten box texts of a stored list: each element looked up (trimmed) as `xxdm` in the
// classification table and shown as code, two blanks, label; an element that the table does
// not hold is shown as its bare code, so that saving keeps it; boxes beyond the elements are
// empty.
store::Result<QStringList> codeBoxTexts(store::Database& db, const QString& table,
                                        const QString& stored);

} // namespace xb::parties
