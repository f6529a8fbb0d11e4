#include "import_reading.h"

#include "exchange_reader.h"
#include "folder_files.h"
#include "import_file_check.h"
#include "import_numbering.h"
#include "import_staging.h"
#include "package_keys.h"
#include "staging_rows.h"
#include "store/layouts.h"
#include "store/lookups.h"
#include "store/row_batch.h"
#include "store/sync_scope.h"
#include "store/table_file.h"

#include <QDir>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace xb::exchange {
namespace {

struct StagedFile {
    const char* fileName;
    const char* stagingTable;
    const char* progressText;
};

constexpr StagedFile StagedFiles[] = {
    {"KJCG.TXT", "kjcgtemp", "正在导入科技成果主表……"},
    {"CGWCDW.TXT", "cgwcdwtemp", "正在导入成果完成单位……"},
    {"CGWCR.TXT", "cgwcrtemp", "正在导入成果完成人……"},
    {"JDWYHMD.TXT", "jdwyhmdtemp", "正在导入鉴定委员会名单……"},
    {"ZLQK.TXT", "zlqktemp", "正在导入专利情况……"},
};

constexpr const char* CountedFiles[] = {"KJCG.TXT",    "CGWCDW.TXT", "CGWCR.TXT",
                                        "JDWYHMD.TXT", "ZLQK.TXT",   "UNIT.TXT"};
constexpr int RequiredFiles = 5;
constexpr int ProgressEvery = 500;
constexpr uint32_t WriteBytes = 1 << 20;

bool isAchievementFile(const StagedFile& file) {
    return std::string_view(file.stagingTable) == "kjcgtemp";
}

class StagingReader {
  public:
    StagingReader(store::Database& db, const ReadingOptions& options)
        : db_(db), options_(options) {}

    store::Status read(const QString& folder, const StagedFile& file);
    int achievements() const { return achievements_; }

  private:
    store::Status checkKey(const StagedFile& file, const store::FieldList& fields, int line,
                           const StagingRows& row);

    store::Database& db_;
    const ReadingOptions& options_;
    PackageKeys keys_;
    int achievements_ = 0;
};

store::Status StagingReader::checkKey(const StagedFile& file, const store::FieldList& fields,
                                      int line, const StagingRows& row) {
    return keys_.check(file.fileName, isAchievementFile(file), line,
                       store::trimmed(row.text(store::fieldPosition(fields, "ITEM_4"))),
                       store::trimmed(row.text(store::fieldPosition(fields, "ITEM_DQDM"))));
}

store::Status StagingReader::read(const QString& folder, const StagedFile& file) {
    const QString name = findFileIgnoringCase(folder, QString::fromLatin1(file.fileName));
    if (name.isEmpty()) return {};
    const QString text = QString::fromUtf8(file.progressText);
    if (options_.progress) options_.progress(text, 0);
    const std::filesystem::path path = QDir(folder).filePath(name).toStdString();
    if (store::Status s = checkFileComplete(path, file.fileName); !s) return s;

    auto opened = db_.openTable(file.stagingTable);
    if (!opened) return opened.error();
    store::TableFile& table = **opened;
    // The exchange file holds the fields in the program's own order; the staging table on disk
    // takes them by name.
    const store::FieldList& fields = store::layoutOf(file.stagingTable).fields;
    const int fieldCount = static_cast<int>(fields.size());
    ReadOptions readOptions;
    readOptions.variant = ReadVariant::Import;
    readOptions.achievementDates = isAchievementFile(file);
    readOptions.today = options_.today;
    auto reader = ExchangeReader::open(path, fieldCount, readOptions);
    if (!reader) return reader.error();
    const int position = store::fieldPosition(fields, "NO");
    int records = 0;
    // Rows go to the file about a megabyte at a time, a buffer that stays in the processor's
    // cache; a failed file empties the staging tables.
    store::RowBatch batch(table, std::max<uint32_t>(1, WriteBytes / table.recordLength()));
    StagingRows row(fields, table);
    ExchangeRecord record;
    for (;;) {
        auto more = reader->next(record);
        if (!more) return more.error();
        if (!*more) break;
        if (store::Status s = row.take(record); !s)
            return store::fail("文件 " + std::string(file.fileName) + " " + s.message());
        if (store::Status s = checkKey(file, fields, record.firstLine, row); !s) return s;
        if (isAchievementFile(file)) row.replace(position, std::to_string(++achievements_));
        if (store::Status s = row.add(batch); !s) return s;
        if (++records % ProgressEvery == 0 && options_.progress) options_.progress(text, records);
    }
    return batch.flush();
}

} // namespace

store::Status checkPackageFiles(const QString& folder) {
    int present = 0;
    for (const char* name : CountedFiles)
        if (!findFileIgnoringCase(folder, QString::fromLatin1(name)).isEmpty()) ++present;
    if (present < RequiredFiles) return store::fail(WrongFormatText.toStdString());
    return {};
}

store::Result<int> readPackage(store::Database& db, const QString& folder,
                               const ReadingOptions& options) {
    if (store::Status s = checkPackageFiles(folder); !s) return s.error();
    // A table the records cannot go into is named once, before anything is read.
    for (const StagedFile& file : StagedFiles) {
        const std::string staging = file.stagingTable;
        for (const std::string& name : {staging, staging.substr(0, staging.size() - 4)}) {
            auto table = db.openTable(name);
            if (!table) return table.error();
            if (store::Status s = (*table)->writable(); !s) return s.error();
        }
    }
    if (store::Status s = emptyStagingTables(db); !s) return s.error();
    // The staging tables go to the disk once, when the whole package is read.
    store::SyncScope scope;
    StagingReader reader(db, options);
    for (const StagedFile& file : StagedFiles) {
        if (store::Status s = reader.read(folder, file); !s) {
            if (store::Status emptied = emptyStagingTables(db); !emptied)
                return store::fail(s.message() + "；暂存表未能清空：" + emptied.message());
            return s.error();
        }
    }
    if (store::Status s = scope.commit(); !s) return s.error();
    return reader.achievements();
}

} // namespace xb::exchange
