// Pairs of achievement records that are probably the same achievement entered twice: names alike
// once blanks and punctuation are removed and full-width characters folded to half-width
// (similarity of their character pairs), or one organization and first completer with a name
// that is only somewhat alike.
#pragma once

#include "analysis/record_facts.h"

#include <string>
#include <vector>

namespace xb::analysis {

// The name as compared: NFKC-folded (full-width letters and digits become half-width), lower
// case, without blanks, punctuation and symbols; as code points.
std::u32string comparableName(const std::string& name);
// Dice coefficient of the two names' sets of adjacent character pairs, 0 to 1 (1 when the
// comparable names are equal); a name of one character is its own pair.
double nameSimilarity(const std::string& a, const std::string& b);

struct DuplicateSettings {
    double threshold = 0.8;     // names at least this alike
    double teamThreshold = 0.5; // the same organization and first completer, names this alike
};

struct DuplicatePair {
    size_t first = 0, second = 0; // indexes into the facts, first < second
    double similarity = 0;
    bool sameTeam = false; // found by organization and first completer, names less alike
};

// Every pair, most alike first. Records with an empty name are left out.
std::vector<DuplicatePair> findDuplicates(const std::vector<RecordFacts>& facts,
                                          const DuplicateSettings& settings,
                                          const Progress& progress = {});

} // namespace xb::analysis
