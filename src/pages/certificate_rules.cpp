#include "pages/certificate_rules.h"

#include <QDate>

namespace xb::pages {

namespace {

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

forms::CheckFailure failure(const char* control, const char* message) {
    return {QString::fromLatin1(control), QString::fromUtf8(message)};
}

} // namespace

std::optional<forms::CheckFailure> checkCertificateDate(const QString& year, const QString& month,
                                                        const QString& day, int currentYear) {
    const auto m = wholeNumber(month);
    if (!month.isEmpty() && (!m || *m < 1 || *m > 12)) return failure("edt_302_m", "非法月份!");
    const auto d = wholeNumber(day);
    if (!day.isEmpty() && (!d || *d >= 32)) return failure("edt_302_d", "非法日期!");
    const auto y = wholeNumber(year);
    if (!year.isEmpty() && (!y || *y < 1900 || *y > currentYear))
        return failure("edt_302_y", "评价日期年份不合法！");
    const bool any = !year.isEmpty() || !month.isEmpty() || !day.isEmpty();
    if (any && !(y && m && d && QDate::isValid(*y, *m, *d)))
        return failure("edt_302_y", "日期非法!");
    return std::nullopt;
}

} // namespace xb::pages
