// The words of the registration form for stored codes: dictionary labels, label lists, the
// classification, province and ministry names, and the composite texts built from them. An
// empty code, or a code a table does not hold, gives empty text.
#pragma once

#include "store/database.h"

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace xb::output {

class OutputLabels {
  public:
    explicit OutputLabels(store::Database& db) : db_(db) {}

    // The `zdxx` label of a code in a dictionary (named after its field, e.g. "item_123").
    std::string label(const std::string& dictionary, const std::string& code);
    // Label of the first code + ";" + label of the second; a text without ";" is one code.
    std::string twoLabelList(const std::string& dictionary, const std::string& codes);
    // Every code's label followed by ";"; text after the last ";" is ignored.
    std::string fullLabelList(const std::string& dictionary, const std::string& codes);
    // The discipline (`xkfl`) label of a code.
    std::string disciplineName(const std::string& code);
    // The code itself when the library classification (`ztflh`) holds it with a label.
    std::string libraryClass(const std::string& code);
    std::string provinceName(const std::string& code);
    std::string ministryName(const std::string& code);

    // Project sources (`item_126`) with "国家科技计划;" detailed by the plan (`item_140`).
    std::string nationalPlanDetail(const std::string& sources, const std::string& plan);
    // The organization attribute (`item_62`) and, for an enterprise, its kind (`item_41_3`).
    std::string enterpriseOwnership(const std::string& attribute, const std::string& kind);
    // The reasons of non-use (`item_32_1`) with the detailed reason (`item_160`).
    std::string socialEconomicGoal(const std::string& reasons, const std::string& detail);

    // The first error of the engine met while looking labels up (a label then reads empty).
    const std::optional<store::Error>& error() const { return error_; }

  private:
    std::string tableLabel(const std::string& table, const std::string& codeField,
                           const std::string& labelField, const std::string& code);

    store::Database& db_;
    std::map<std::pair<std::string, std::string>, std::string> cache_;
    std::optional<store::Error> error_;
};

// "(属于科研机构转制型企业)" for a converted research institute (`item_163` = "1"), else "".
std::string convertedInstitute(const std::string& converted);

} // namespace xb::output
