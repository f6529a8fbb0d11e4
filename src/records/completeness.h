// Which required sections of the current achievement record are incomplete, from the rules of
// `checkup`, and what that means for the main window: whether navigation is allowed and whether
// the program may close.
#pragma once

#include "store/cursor.h"
#include "store/database.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace xb::records {

// The section buttons, numbered as their names: btn_page01 ... btn_page09 (06 does not exist).
enum class Section {
    Overview = 1,
    Property = 2,
    Project = 3,
    FirstUnit = 4,
    Partners = 5,
    Committee = 7,
    Completers = 8,
    Certificate = 9
};
inline constexpr std::array<Section, 8> kSections{
    Section::Overview, Section::Property,  Section::Project,    Section::FirstUnit,
    Section::Partners, Section::Committee, Section::Completers, Section::Certificate};

// The mark of every section button: true for the done mark, false for the question mark.
class SectionMarks {
  public:
    SectionMarks() { done_.fill(true); }
    bool done(Section s) const { return done_[static_cast<size_t>(s)]; }
    void set(Section s, bool done) { done_[static_cast<size_t>(s)] = done; }
    void setAll(bool done) { done_.fill(done); }
    bool operator==(const SectionMarks&) const = default;

  private:
    std::array<bool, 10> done_{};
};

// What keeps the record the cursor stands on from being complete: for each of the sections 01 to
// 04 the required fields that are empty, and whether it has no completer. A rule naming a field
// that does not exist ends the search with the engine's error; what was found before stays.
struct MissingFields {
    std::map<Section, std::vector<std::string>> fields;
    bool noCompleter = false;
};
store::Status findMissing(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                          MissingFields& missing);

// The same search for many records one after another (the command-line list and check): the
// rules are read once, and one pass over the completers finds every record that has some.
class CompletenessChecker {
  public:
    explicit CompletenessChecker(store::Database& db) : db_(db) {}
    store::Status findMissing(const store::Cursor& record, bool appliedTechnology,
                              MissingFields& missing);

    struct Rule {
        std::string field;
        std::string button;
    };

  private:
    struct Kind {
        bool read = false;
        std::vector<Rule> rules;
        const store::Cursor* resolvedFor = nullptr;
        std::vector<int> positions;
    };
    store::Status prepare(Kind& kind, bool appliedTechnology, const store::Cursor& record);

    store::Database& db_;
    Kind applied_, other_;
    std::optional<std::unordered_set<std::string>> withCompleters_;
};
// The caption of a section button ("成果概况", ...).
const char* sectionCaption(Section section);

// Computes the marks of the record the cursor stands on; an empty cursor gives all done marks.
// `appliedTechnology` is whether the category selector stands on 应用技术. A rule naming a field
// that does not exist ends the computation with the engine's error; marks set before stay in
// `marks`.
store::Status computeMarks(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                           SectionMarks& marks);

// Whether the record may be left: sections 01, 03, 04, 08 and, for applied technology ("1"),
// section 02 carry the done mark.
bool isComplete(const SectionMarks& marks, const std::string& category);

// The warning that refuses closing the main window, if a required section is incomplete.
std::optional<std::string> closeRefusal(const SectionMarks& marks, const std::string& category);

} // namespace xb::records
