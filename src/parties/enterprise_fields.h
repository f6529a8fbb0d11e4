// The enterprise fields of an organization (ownership and "converted research institute"), which
// apply only to an enterprise; shared by the first completing organization page and the
// own-organization profile.
#pragma once

#include "store/database.h"

#include <QString>

class QCheckBox;
class QComboBox;

namespace xb::parties {

// On the screen: enabled for an enterprise; otherwise the flag is unchecked and the ownership
// list emptied, and both are disabled.
void showEnterpriseControls(QComboBox* ownership, QCheckBox* converted, bool enterprise);

// The attribute list changed: the ownership list is refilled with nothing chosen, and the
// controls follow whether the chosen attribute's text names an enterprise.
void attributeChanged(store::Database& db, const QComboBox* attribute, QComboBox* ownership,
                      QCheckBox* converted);

// On saving: an attribute other than "3" (enterprise) empties both enterprise fields.
store::Status writeEnterpriseRule(store::Cursor& row, const QString& attribute);

} // namespace xb::parties
