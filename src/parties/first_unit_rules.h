// The checks of the first completing organization page, without widgets.
#pragma once

#include "forms/check_failure.h"

#include <optional>

namespace xb::parties {

// What the page shows, as the checks see it.
struct FirstUnitEntry {
    QString name;     // Edt_9
    QString orgCode;  // Edt_420
    QString address;  // Edt_37
    QString postcode; // Edt_38
    bool attributeChosen = false;
    QString attributeText; // the text of the chosen cb_62 entry
    QString ownershipText; // the text of CB_41_3
    bool provinceChosen = false;
    QString contact;      // Edt_41
    QString contactPhone; // Edt_41_2
};

// Whether the chosen organization attribute is an enterprise, as the page tells it.
bool isEnterpriseText(const QString& attributeText);

// The first failing check in the page's order: the required texts (trimmed), the attribute, the
// enterprise ownership, the province, the contact and its telephone, and the organization code,
// whose ninth character must be "-" when it is given.
std::optional<forms::CheckFailure> checkFirstUnit(const FirstUnitEntry& entry);

} // namespace xb::parties
