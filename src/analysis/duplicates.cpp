#include "duplicates.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

namespace xb::analysis {
namespace {

using Grams = std::vector<uint64_t>; // sorted, distinct

Grams grams(const std::u32string& s) {
    Grams g;
    if (s.size() == 1) g.push_back(s[0]);
    for (size_t i = 0; i + 1 < s.size(); ++i)
        g.push_back((static_cast<uint64_t>(s[i]) << 32) | s[i + 1]);
    std::sort(g.begin(), g.end());
    g.erase(std::unique(g.begin(), g.end()), g.end());
    return g;
}

size_t shared(const Grams& a, const Grams& b) {
    size_t n = 0;
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] < b[j])
            ++i;
        else if (b[j] < a[i])
            ++j;
        else
            ++n, ++i, ++j;
    }
    return n;
}

double dice(const Grams& a, const Grams& b) {
    if (a.empty() || b.empty()) return 0;
    return 2.0 * static_cast<double>(shared(a, b)) / static_cast<double>(a.size() + b.size());
}

} // namespace

std::u32string comparableName(const std::string& name) {
    const QString folded =
        QString::fromStdString(name).normalized(QString::NormalizationForm_KC).toLower();
    QString kept;
    for (QChar c : folded)
        if (!c.isSpace() && !c.isPunct() && !c.isSymbol()) kept += c;
    const auto ucs = kept.toUcs4();
    return std::u32string(ucs.begin(), ucs.end());
}

double nameSimilarity(const std::string& a, const std::string& b) {
    const std::u32string x = comparableName(a), y = comparableName(b);
    if (!x.empty() && x == y) return 1;
    return dice(grams(x), grams(y));
}

std::vector<DuplicatePair> findDuplicates(const std::vector<RecordFacts>& facts,
                                          const DuplicateSettings& settings,
                                          const Progress& progress) {
    const size_t n = facts.size();
    std::vector<Grams> g(n);
    std::vector<std::u32string> names(n);
    std::unordered_map<uint64_t, int> frequency;
    for (size_t i = 0; i < n; ++i) {
        names[i] = comparableName(facts[i].name);
        g[i] = grams(names[i]);
        for (uint64_t x : g[i])
            ++frequency[x];
    }
    // Prefix filtering: with the pairs ordered rarest first, two sets that are alike enough
    // share one of the first few pairs of each, so only those are indexed. A Dice threshold t
    // is the Jaccard threshold t / (2 - t).
    const double t = std::clamp(settings.threshold, 0.01, 1.0);
    const double jaccard = t / (2 - t);
    std::vector<Grams> ordered(n);
    for (size_t i = 0; i < n; ++i) {
        ordered[i] = g[i];
        std::sort(ordered[i].begin(), ordered[i].end(), [&](uint64_t a, uint64_t b) {
            const int fa = frequency[a], fb = frequency[b];
            return fa != fb ? fa < fb : a < b;
        });
    }
    std::unordered_map<uint64_t, std::vector<uint32_t>> index;
    std::map<std::pair<size_t, size_t>, DuplicatePair> found;
    std::vector<uint32_t> seen(n, UINT32_MAX);
    for (size_t i = 0; i < n; ++i) {
        if (progress && i % 500 == 0 && !progress(static_cast<int>(i), static_cast<int>(n)))
            return {};
        if (g[i].empty()) continue;
        const size_t size = ordered[i].size();
        const size_t prefix =
            size - static_cast<size_t>(std::ceil(jaccard * static_cast<double>(size) - 1e-9)) + 1;
        for (size_t p = 0; p < prefix && p < size; ++p) {
            for (uint32_t j : index[ordered[i][p]]) {
                if (seen[j] == i) continue;
                seen[j] = static_cast<uint32_t>(i);
                const double s = names[i] == names[j] ? 1 : dice(g[i], g[j]);
                if (s >= settings.threshold) found[{j, i}] = {j, i, s, false};
            }
            index[ordered[i][p]].push_back(static_cast<uint32_t>(i));
        }
    }
    // The same organization and first completer: every pair of the group is compared.
    std::map<std::pair<std::string, std::string>, std::vector<size_t>> teams;
    for (size_t i = 0; i < n; ++i)
        if (!g[i].empty() && !facts[i].organization.empty() && !facts[i].firstCompleter.empty())
            teams[{facts[i].organization, facts[i].firstCompleter}].push_back(i);
    for (const auto& [team, members] : teams)
        for (size_t a = 0; a < members.size(); ++a)
            for (size_t b = a + 1; b < members.size(); ++b) {
                const size_t x = members[a], y = members[b];
                if (found.count({x, y})) continue;
                const double s = names[x] == names[y] ? 1 : dice(g[x], g[y]);
                if (s >= settings.teamThreshold) found[{x, y}] = {x, y, s, true};
            }
    if (progress) progress(static_cast<int>(n), static_cast<int>(n));
    std::vector<DuplicatePair> pairs;
    for (const auto& [key, pair] : found)
        pairs.push_back(pair);
    std::stable_sort(
        pairs.begin(), pairs.end(),
        [](const DuplicatePair& a, const DuplicatePair& b) { return a.similarity > b.similarity; });
    return pairs;
}

} // namespace xb::analysis
