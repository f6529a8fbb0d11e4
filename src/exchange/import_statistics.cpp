#include "import_statistics.h"

namespace xb::exchange {

ImportStatistics statisticsOf(const std::vector<StagedAchievement>& staged) {
    ImportStatistics statistics;
    statistics.total = static_cast<int>(staged.size());
    for (const StagedAchievement& achievement : staged) {
        if (achievement.category == "1")
            ++statistics.appliedTechnology;
        else if (achievement.category == "2")
            ++statistics.softScience;
        else if (achievement.category == "3")
            ++statistics.basicTheory;
    }
    return statistics;
}

QString countLabelText(const ImportStatistics& statistics) {
    return QStringLiteral("记录条数:%1条；").arg(statistics.total);
}

QString statisticsLabelText(const ImportStatistics& statistics) {
    return QStringLiteral("其中：应用技术%1条，基础理论%2条，软科学%3条。")
        .arg(statistics.appliedTechnology)
        .arg(statistics.basicTheory)
        .arg(statistics.softScience);
}

} // namespace xb::exchange
