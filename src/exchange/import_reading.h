// Reading the text files of an unpacked exchange package into the staging tables.
#pragma once

#include "store/database.h"
#include "store/result.h"
#include "store/value.h"

#include <QString>

#include <functional>
#include <optional>

namespace xb::exchange {

// The message for a package that lacks its files or whose files are not exchange files.
inline const QString WrongFormatText = QStringLiteral("文件的格式不正确");

// At least five of KJCG, CGWCDW, CGWCR, JDWYHMD, ZLQK and UNIT + ".TXT" must be in `folder`
// (letter case ignored); otherwise WrongFormatText.
store::Status checkPackageFiles(const QString& folder);

struct ReadingOptions {
    // The date given to an achievement whose registration date is not a date; today when unset.
    std::optional<store::Date> today;
    // Called when a file is begun (`records` 0, `step` such as "正在导入科技成果主表……") and
    // every few hundred records.
    std::function<void(const QString& step, int records)> progress;
};

// Empties the staging tables, then reads KJCG.TXT, CGWCDW.TXT, CGWCR.TXT, JDWYHMD.TXT and
// ZLQK.TXT, where present, into kjcgtemp and its child staging tables with the import variant of
// the reader, and gives the staged achievements their running numbers in NO. Yields the number
// of staged achievements.
//
// Every row must carry a record number of ten digits, and no two achievements one record key,
// since child rows find their achievement by it. A file that breaks off, a value a field cannot
// take or a row that breaks these rules ends the reading with a message naming the file and the
// line; the staging tables are then emptied again, so no part of a broken package can be stored.
store::Result<int> readPackage(store::Database& db, const QString& folder,
                               const ReadingOptions& options = {});

} // namespace xb::exchange
