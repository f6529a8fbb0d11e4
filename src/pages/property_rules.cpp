#include "pages/property_rules.h"

namespace xb::pages {

namespace {

bool has(const QString& text, const char* word) {
    return text.contains(QString::fromUtf8(word));
}

forms::CheckFailure failure(const char* control, const QString& message) {
    return {QString::fromLatin1(control), message};
}

} // namespace

StatusEffect statusChosenEffect(const QString& statusText) {
    return {has(statusText, "稳定") || has(statusText, "小范围") || has(statusText, "试用"),
            has(statusText, "未应用")};
}

StatusEffect statusShownEffect(const QString& statusText) {
    return {has(statusText, "稳定"), has(statusText, "未应用")};
}

bool isStableApplication(const QString& statusText) {
    return statusText.startsWith(u'1');
}

std::optional<forms::CheckFailure>
checkProperty(const PropertyEntry& entry,
              const std::function<std::optional<QString>()>& readPromotion) {
    if (!entry.statusChosen) return failure("CB_32", QStringLiteral("\"应用状态\"不能为空！"));
    const QString noReason = QStringLiteral("未应用或停用原因必须说明！");
    if (has(entry.statusText, "停用") && entry.reasons.isEmpty())
        return failure("rb_160_11", noReason);
    if (has(entry.statusText, "未应用") && entry.reasons.isEmpty())
        return failure("rb_160_11", noReason);
    const std::optional<QString> promotion = readPromotion();
    if (!promotion) return failure("cb_161_1", QString());
    if (promotion->isEmpty()) return failure("cb_161_1", QStringLiteral("\"推广形式\"必须选择！"));
    if (entry.patents && entry.accepted == u"0" && entry.granted == u"0")
        return failure("Button1", QStringLiteral("请填写专利情况！"));
    return std::nullopt;
}

} // namespace xb::pages
