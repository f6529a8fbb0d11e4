// Counts of achievement records grouped by one or two dimensions, with the sums of their funding,
// patents and completers and the share of complete records. Codes are shown by their labels.
#pragma once

#include "analysis/record_facts.h"
#include "output/output_labels.h"

#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace xb::analysis {

enum class Dimension {
    Year,
    Category,
    Level,
    Form,
    Discipline,
    HighTech,
    Goal,
    Application,
    Research,
    Organization
};

struct DimensionInfo {
    Dimension dimension;
    const char* key;     // the name on the command line
    const char* caption; // the column heading
    bool coded;          // its codes get a column of their own
};
std::span<const DimensionInfo> dimensions();
const DimensionInfo& dimensionInfo(Dimension d);
std::optional<Dimension> dimensionByKey(const std::string& key);

// The label of a record's value in a dimension, through the output labels; first-level
// disciplines are found in `xkfl`.
class GroupLabels {
  public:
    explicit GroupLabels(store::Database& db) : db_(db), labels_(db) {}
    // The value a record is grouped under, as shown in the code column.
    std::string code(Dimension d, const RecordFacts& f);
    std::string label(Dimension d, const std::string& code, const std::string& category);
    // Labels of codes that need no record (the record list's columns).
    output::OutputLabels& outputLabels() { return labels_; }

  private:
    std::string topDiscipline(const std::string& code);

    store::Database& db_;
    output::OutputLabels labels_;
    std::optional<std::map<std::string, std::string>> tops_;
};

struct Totals {
    int count = 0;
    std::array<double, kAmountFields.size()> amounts{};
    long long patentsGranted = 0;
    long long patentsAccepted = 0;
    long long completers = 0;
    int complete = 0;
    void add(const RecordFacts& f);
    double completeShare() const { return count ? static_cast<double>(complete) / count : 0; }
};

struct StatisticsRow {
    std::vector<std::string> codes;  // per dimension
    std::vector<std::string> labels; // per dimension
    Totals totals;
};

struct StatisticsTable {
    std::vector<Dimension> by;
    std::vector<StatisticsRow> rows; // in the order of the codes
    Totals total;
};

// `by` holds one or two dimensions. Form codes are grouped apart by category kind, since applied
// technology and the other categories have dictionaries of their own.
StatisticsTable computeStatistics(const std::vector<RecordFacts>& facts,
                                  const std::vector<Dimension>& by, GroupLabels& labels);

} // namespace xb::analysis
