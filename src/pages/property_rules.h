// The rules of the intellectual property and application page, without widgets: what the words
// of an application status mean for the reasons and the amount boxes, and the page's checks.
#pragma once

#include "forms/check_failure.h"

#include <QString>
#include <functional>
#include <optional>

namespace xb::pages {

// What an application status does to the page.
struct StatusEffect {
    bool clearsReasons = false;  // reasons and sub-reasons unchecked, sub-reasons disabled
    bool emptiesAmounts = false; // the amount boxes emptied and disabled
};

// When the user chooses a status: 稳定, 小范围 and 试用 clear the reasons; 未应用 empties the seven
// amount boxes. `statusText` is the chosen entry's text.
StatusEffect statusChosenEffect(const QString& statusText);
// When the page shows a stored status: only 稳定 clears the reasons; 未应用 empties the amount
// boxes except 知识产权技术转让收入.
StatusEffect statusShownEffect(const QString& statusText);
// Whether the status is stable application (code "1"): no reasons are stored for it.
bool isStableApplication(const QString& statusText);

// What the page shows, as its checks see it.
struct PropertyEntry {
    bool statusChosen = false;
    QString statusText;   // the chosen CB_32 entry
    QString reasons;      // the value of the reason panel
    bool patents = false; // 专利 checked
    QString accepted;     // the two count boxes as they read
    QString granted;
};

// The first failing check in the page's order: the status, a reason for 停用 and for 未应用,
// 推广形式, and patents when 专利 is checked. `readPromotion` reads the 推广形式 panel when its
// check is reached; it yields nothing when it refused the reading and reported that itself, and
// the failure then carries no message.
std::optional<forms::CheckFailure>
checkProperty(const PropertyEntry& entry,
              const std::function<std::optional<QString>()>& readPromotion);

} // namespace xb::pages
