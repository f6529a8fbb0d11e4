#include "output/output_labels.h"

#include "store/lookups.h"

namespace xb::output {

std::string OutputLabels::label(const std::string& dictionary, const std::string& code) {
    const std::string key = store::trimmed(code);
    if (key.empty()) return {};
    const auto cached = cache_.find({dictionary, key});
    if (cached != cache_.end()) return cached->second;
    auto found = store::labelOf(db_, dictionary, key);
    if (!found) {
        if (!error_) error_ = found.error();
        return {};
    }
    cache_[{dictionary, key}] = *found;
    return *found;
}

std::string OutputLabels::twoLabelList(const std::string& dictionary, const std::string& codes) {
    const size_t first = codes.find(';');
    if (first == std::string::npos) return label(dictionary, codes);
    const size_t second = codes.find(';', first + 1);
    const std::string code2 =
        second == std::string::npos ? std::string() : codes.substr(first + 1, second - first - 1);
    return label(dictionary, codes.substr(0, first)) + ";" + label(dictionary, code2);
}

std::string OutputLabels::fullLabelList(const std::string& dictionary, const std::string& codes) {
    std::string out;
    size_t start = 0;
    for (size_t semi = codes.find(';'); semi != std::string::npos;
         start = semi + 1, semi = codes.find(';', start))
        out += label(dictionary, codes.substr(start, semi - start)) + ";";
    return out;
}

std::string OutputLabels::tableLabel(const std::string& table, const std::string& codeField,
                                     const std::string& labelField, const std::string& code) {
    const std::string key = store::trimmed(code);
    if (key.empty() || !db_.hasTable(table)) return {};
    const auto cached = cache_.find({table, key});
    if (cached != cache_.end()) return cached->second;
    auto rows = db_.table(table);
    store::Status filtered =
        rows ? (*rows)->setFilter(codeField + "='" + store::quoteForSql(key) + "'") : rows.error();
    if (!filtered) {
        if (!error_) error_ = filtered.error();
        return {};
    }
    const std::string text = (*rows)->isEmpty() ? std::string() : (*rows)->text(labelField);
    return cache_[{table, key}] = store::trimmed(text);
}

std::string OutputLabels::disciplineName(const std::string& code) {
    return tableLabel("xkfl", "xxdm", "xxmc", code);
}

std::string OutputLabels::libraryClass(const std::string& code) {
    return tableLabel("ztflh", "xxdm", "xxmc", code).empty() ? std::string() : store::trimmed(code);
}

std::string OutputLabels::provinceName(const std::string& code) {
    return tableLabel("province", "Province_i", "Province_n", code);
}

std::string OutputLabels::ministryName(const std::string& code) {
    return tableLabel("lsbw", "Bwdm", "Bwmc", code);
}

std::string OutputLabels::nationalPlanDetail(const std::string& sources, const std::string& plan) {
    std::string labels = twoLabelList("item_126", sources);
    static const std::string national = "国家科技计划;";
    const size_t at = labels.find(national);
    if (store::trimmed(plan).empty() || at == std::string::npos) return labels;
    return labels.replace(at, national.size(), "国家科技计划(" + label("item_140", plan) + ");");
}

std::string OutputLabels::enterpriseOwnership(const std::string& attribute,
                                              const std::string& kind) {
    std::string text = label("item_62", attribute);
    if (!store::trimmed(kind).empty()) text += "(" + label("item_41_3", kind) + ")";
    return text;
}

std::string OutputLabels::socialEconomicGoal(const std::string& reasons,
                                             const std::string& detail) {
    std::string text = twoLabelList("item_32_1", reasons);
    const std::string detailLabel = label("item_160", detail);
    if (!detailLabel.empty()) text += "(" + detailLabel + ")";
    return text;
}

std::string convertedInstitute(const std::string& converted) {
    return store::trimmed(converted) == "1" ? "(属于科研机构转制型企业)" : "";
}

} // namespace xb::output
