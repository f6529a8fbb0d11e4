// The counts the import window shows for the staged achievements.
#pragma once

#include "import_staging.h"

#include <QString>

#include <vector>

namespace xb::exchange {

struct ImportStatistics {
    int total = 0;
    int appliedTechnology = 0; // category "1"
    int softScience = 0;       // category "2"
    int basicTheory = 0;       // category "3"
};

ImportStatistics statisticsOf(const std::vector<StagedAchievement>& staged);

// "记录条数:6条；"
QString countLabelText(const ImportStatistics& statistics);
// "其中：应用技术3条，基础理论2条，软科学1条。"
QString statisticsLabelText(const ImportStatistics& statistics);

} // namespace xb::exchange
