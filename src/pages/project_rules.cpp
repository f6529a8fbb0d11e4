#include "pages/project_rules.h"

#include <QDate>

namespace xb::pages {

namespace {

// Only digits make a whole number here: a sign would be stored inside the date text.
std::optional<int> wholeNumber(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    return text.toInt();
}

forms::CheckFailure failure(const QString& control, const QString& message) {
    return {control, message};
}

} // namespace

std::optional<forms::CheckFailure> checkProject(const ProjectEntry& entry, int currentYear) {
    if (!entry.evaluationChosen)
        return failure(entry.applied ? QStringLiteral("cb_21") : QStringLiteral("cb_21_l"),
                       QStringLiteral("“评价形式”不能为空！"));
    if (entry.sourcesRefused) return failure(QStringLiteral("cb_126_02"), *entry.sourcesRefused);
    if (entry.sources.isEmpty())
        return failure(QStringLiteral("cb_126_02"), QStringLiteral("“课题来源”不能为空！"));
    if (entry.nationalPlan && entry.projectNumber.trimmed().isEmpty())
        return failure(QStringLiteral("Edt_127"),
                       QStringLiteral("“课题来源”为“国家计划”的项目，“课题立项编号”不能为空！"));
    if (entry.nationalPlan && entry.projectName.trimmed().isEmpty())
        return failure(QStringLiteral("Edt_127_1"),
                       QStringLiteral("“课题来源”为“国家计划”的项目，“课题立项名称”不能为空！"));
    if (entry.localTotal.size() > 7 || entry.total.size() > 7)
        return failure(QStringLiteral("Edt_141"), QStringLiteral("经费最大长度不超得过7位！"));

    const auto y = wholeNumber(entry.year);
    if (!entry.year.isEmpty() && (!y || *y < 1949 || *y > currentYear))
        return failure(QStringLiteral("edt_34_y"),
                       QStringLiteral("非法年份！合理年份应为1949年至今!"));
    const auto m = wholeNumber(entry.month);
    if (!entry.month.isEmpty() && (!m || *m >= 13))
        return failure(QStringLiteral("edt_34_m"), QStringLiteral("非法月份!"));
    const auto d = wholeNumber(entry.day);
    if (!entry.day.isEmpty() && (!d || *d >= 32))
        return failure(QStringLiteral("edt_34_d"), QStringLiteral("非法日期!"));
    const bool any = !entry.year.isEmpty() || !entry.month.isEmpty() || !entry.day.isEmpty();
    if (any && !(y && m && d && QDate::isValid(*y, *m, *d)))
        return failure(QStringLiteral("edt_34_d"), QStringLiteral("日期非法!"));
    return std::nullopt;
}

QString subPlanSource(const QString& storedSources) {
    return storedSources.left(storedSources.size() - 1).right(2);
}

QString subPlanCaption(const QString& sourceCaption) {
    return QStringLiteral("“") + sourceCaption + QStringLiteral("”的下属分类");
}

} // namespace xb::pages
