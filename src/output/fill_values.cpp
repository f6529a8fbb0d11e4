#include "output/fill_values.h"

#include "output/output_labels.h"
#include "output/record_rows.h"
#include "output/text_parts.h"
#include "store/gbk.h"
#include "store/lookups.h"
#include "store/people_labels.h"

#include <functional>
#include <set>

namespace xb::output {
namespace {

using store::PeopleCode;

// How a row-table column shows its field.
enum class Show { Raw, Sex, Title, Education, StudyAbroad };

struct Column {
    std::string bookmark; // the bookmark's name before "_" + row number
    std::string field;
    Show show = Show::Raw;
};

struct RowTable {
    std::string list; // key of the source rows
    std::vector<Column> columns;
    int maxRows;
};

// The source lists of the row tables.
const char* const kAcceptedPatents = "accepted";
const char* const kGrantedPatents = "granted";
const char* const kOrganizations = "organizations";
const char* const kCompleters = "completers";
const char* const kCommittee = "committee";

std::vector<Column> rawColumns(std::initializer_list<const char*> fields) {
    std::vector<Column> columns;
    for (const char* f : fields)
        columns.push_back({f, f, Show::Raw});
    return columns;
}

const RowTable kAccepted{
    kAcceptedPatents, {{"patentl_no", "patent_no"}, {"patentl_nam", "patent_nam"}}, 5};
const RowTable kGranted{
    kGrantedPatents, {{"patent_no", "patent_no"}, {"patent_nam", "patent_nam"}}, 5};
const RowTable kOrganizationsForm{
    kOrganizations,
    rawColumns({"item_176", "item_170", "item_171", "item_172", "item_173", "item_174"}), 8};
const RowTable kOrganizationsCertificate{kOrganizations,
                                         rawColumns({"item_170", "item_171", "item_172"}), 7};
const RowTable kCompletersForm{kCompleters,
                               {{"item_187", "item_187"},
                                {"item_180", "item_180"},
                                {"item_181", "item_181", Show::Sex},
                                {"item_182", "item_182"},
                                {"item_183", "item_183", Show::Title},
                                {"item_184", "item_184", Show::Education},
                                {"item_188", "item_188", Show::StudyAbroad},
                                {"item_185", "item_185"},
                                {"item_186", "item_186"}},
                               50};
const RowTable kCompletersApplication{kCompleters,
                                      {{"item_180", "item_180"},
                                       {"item_181", "item_181", Show::Sex},
                                       {"item_182", "item_182"},
                                       {"item_183", "item_183", Show::Title},
                                       {"item_184", "item_184", Show::Education},
                                       {"item_185", "item_185"},
                                       {"item_186", "item_186"}},
                                      15};
const RowTable kCompletersCertificate{kCompleters,
                                      {{"item_187", "item_187"},
                                       {"item_180", "item_180"},
                                       {"item_181", "item_181", Show::Sex},
                                       {"item_182", "item_182"},
                                       {"item_183", "item_183", Show::Title},
                                       {"item_184", "item_184", Show::Education},
                                       {"item_185", "item_185"},
                                       {"item_186", "item_186"}},
                                      15};
const RowTable kCommitteeForm{kCommittee,
                              {{"item_191", "item_191"},
                               {"item_192", "item_192"},
                               {"item_193", "item_193", Show::Sex},
                               {"item_195", "item_195"},
                               {"item_196", "item_196"},
                               {"item_197", "item_197"},
                               {"item_198", "item_198", Show::Title}},
                              20};
const RowTable kCommitteeCertificate{kCommittee,
                                     {{"item_191", "item_191"},
                                      {"item_192", "item_192"},
                                      {"item_195", "item_195"},
                                      {"item_196", "item_196"},
                                      {"item_197", "item_197"},
                                      {"item_198", "item_198", Show::Title}},
                                     15};

// Builds the filling order of one document from the record's fields and child rows. Without
// labels (no data directory) every label reads empty: the order of bookmarks stays the same.
class Builder {
  public:
    Builder(FieldText field, std::function<std::vector<FieldText>(const std::string&)> rows,
            OutputLabels* labels)
        : f_(std::move(field)), rows_(std::move(rows)), labels_(labels) {}

    std::vector<BookmarkValue> build(WordForm form) {
        switch (form) {
        case WordForm::Applied:
            applied();
            break;
        case WordForm::Basic:
            basic();
            break;
        case WordForm::Application:
            application();
            break;
        case WordForm::Certificate:
            certificate();
            break;
        }
        return std::move(out_);
    }

  private:
    void put(const std::string& bookmark, const std::string& text) {
        out_.push_back({bookmark, text});
    }
    void raw(std::initializer_list<const char*> fields) {
        for (const char* field : fields)
            put(field, f_(field));
    }
    std::string label(const std::string& dictionary, const std::string& code) {
        return labels_ ? labels_->label(dictionary, code) : std::string();
    }
    void labelOf(std::initializer_list<const char*> fields) {
        for (const char* field : fields)
            put(field, label(field, f_(field)));
    }
    void twoLabels(std::initializer_list<const char*> fields) {
        for (const char* field : fields)
            put(field, labels_ ? labels_->twoLabelList(field, f_(field)) : std::string());
    }
    std::string nationalPlan() {
        return labels_ ? labels_->nationalPlanDetail(f_("item_126"), f_("item_140")) : "";
    }
    std::string ownership() {
        return labels_ ? labels_->enterpriseOwnership(f_("item_62"), f_("item_41_3")) : "";
    }
    std::string province() { return labels_ ? labels_->provinceName(f_("item_64")) : ""; }
    std::string ministry() { return labels_ ? labels_->ministryName(f_("item_63")) : ""; }
    // Basic-theory and soft-science records take their evaluation methods from a dictionary
    // of their own; the applied one lacks 评审 and 结题.
    void evaluationMethod(const std::string& bookmark) {
        const bool applied = store::trimmed(f_("item_cglb")) == "1";
        put(bookmark, label(applied ? "item_21" : "item_21_l", f_("item_21")));
    }
    void period(const std::string& start, const std::string& end) {
        const auto parts = wordPeriod(f_("item_8"));
        put(start, parts[0]);
        put(end, parts[1]);
    }
    void keywords() {
        const auto words = wordKeywords(f_("item_14"));
        put("item_14_1", words[0]);
        put("item_14_2", words[1]);
        put("item_14_3", words[2]);
    }
    void classifications() {
        put("item_15", labels_ ? labels_->disciplineName(f_("item_15")) : "");
        put("item_15_1", labels_ ? labels_->disciplineName(f_("item_15_1")) : "");
        put("item_12", labels_ ? labels_->libraryClass(f_("item_12")) : "");
        put("item_12_1", labels_ ? labels_->libraryClass(f_("item_12_1")) : "");
    }
    void funding() {
        raw({"item_127", "item_127_1", "item_149", "item_141", "item_148", "item_142", "item_142_1",
             "item_142_2", "item_142_3", "item_143", "item_144", "item_243", "item_244",
             "item_145"});
    }
    void firstOrganization() {
        raw({"item_9", "item_420", "item_37", "item_38", "item_39", "item_40", "item_60",
             "TLinkMan", "TLinkManTe", "TLinkManEm"});
        put("item_62", ownership());
        put("item_163", convertedInstitute(f_("item_163")));
        put("item_64", province());
        put("item_63", ministry());
        raw({"item_41", "item_41_2", "item_61", "item_13_1"});
    }
    void secrecyFlag() {
        const std::string level = store::trimmed(f_("item_1"));
        if (level == "2" || level == "3" || level == "4") {
            put("item_1_1", "1");
            put("item_1_2", level);
        } else {
            put("item_1_1", "0");
        }
    }
    std::string shown(Show show, const std::string& value) {
        switch (show) {
        case Show::Sex:
            return store::peopleOutputText(PeopleCode::Sex, value);
        case Show::Title:
            return store::peopleOutputText(PeopleCode::Title, value);
        case Show::Education:
            return store::peopleOutputText(PeopleCode::Education, value);
        case Show::StudyAbroad:
            return store::peopleOutputText(PeopleCode::StudyAbroad, value);
        case Show::Raw:
            break;
        }
        return value;
    }
    void rows(const RowTable& table) {
        const std::vector<FieldText> source = rows_(table.list);
        const int count = std::min(static_cast<int>(source.size()), table.maxRows);
        for (int n = 1; n <= count; ++n)
            for (const Column& c : table.columns)
                put(c.bookmark + "_" + std::to_string(n),
                    shown(c.show, source[static_cast<size_t>(n - 1)](c.field)));
    }

    void applied() {
        put("item_3_a", f_("item_3"));
        put("item_9_a", f_("item_9"));
        period("item_8_1_a", "item_8_2_a");
        put("item_121_a", f_("item_121"));
        put("item_128_a", withParagraphBreak(f_("item_128"), 42));
        put("item_120_a", f_("item_120"));
        raw({"item_3"});
        keywords();
        labelOf({"item_123", "item_16", "item_2", "item_33", "item_201"});
        classifications();
        twoLabels({"item_124_1", "item_51", "item_125"});
        put("patent_ty", labels_ ? labels_->fullLabelList("patent_ty", f_("patent_ty")) : "");
        put("item_126", nationalPlan());
        labelOf({"item_125_1"});
        funding();
        evaluationMethod("item_21");
        raw({"item_130", "item_34", "item_22"});
        labelOf({"item_51_1"});
        raw({"item_51_2", "item_51_3", "item_53", "item_52"});
        labelOf({"item_32"});
        raw({"item_45", "item_150", "item_162", "item_151_1", "item_152_1", "item_153",
             "item_154"});
        labelOf({"item_46", "item_47"});
        twoLabels({"item_161"});
        put("item_32_1",
            labels_ ? labels_->socialEconomicGoal(f_("item_32_1"), f_("item_160")) : "");
        firstOrganization();
        rows(kAccepted);
        rows(kGranted);
        rows(kOrganizationsForm);
        rows(kCompletersForm);
        rows(kCommitteeForm);
    }

    void basic() {
        put("item_3_a", f_("item_3") + "\r");
        put("item_9_a", f_("item_9"));
        put("item_121_a", f_("item_121"));
        period("item_8_1_a", "item_8_2_a");
        put("item_128_a", withParagraphBreak(f_("item_128"), 42));
        raw({"item_3"});
        keywords();
        labelOf({"item_210", "item_2", "item_201"});
        classifications();
        twoLabels({"item_200", "item_125"});
        put("item_126", nationalPlan());
        funding();
        evaluationMethod("item_21");
        raw({"item_130", "item_34", "item_22"});
        firstOrganization();
        rows(kOrganizationsForm);
        rows(kCompletersForm);
        rows(kCommitteeForm);
    }

    void application() {
        put("item_3_1", withParagraphBreak(f_("item_3"), 46));
        put("item_9", withParagraphBreak(f_("item_9"), 46));
        put("item_130_1", withParagraphBreak(f_("item_130"), 40));
        put("item_3_2", f_("item_3"));
        period("item_8_1", "item_8_2");
        put("item_9_1", f_("item_9"));
        raw({"item_63", "item_64"});
        put("item_64_1", province());
        put("item_63_1", ministry());
        raw({"item_62", "item_41", "item_38", "item_41_2", "item_37", "item_126"});
        put("item_126_2", nationalPlan());
        secrecyFlag();
        raw({"item_13_1", "item_13_3"});
        rows(kCompletersApplication);
    }

    void certificate() {
        raw({"item_120", "item_121"});
        put("item_3", withParagraphBreak(f_("item_3"), 46));
        put("item_9", withParagraphBreak(f_("item_9"), 46));
        evaluationMethod("item_21");
        put("item_130", withParagraphBreak(f_("item_130"), 46));
        for (const char* date : {"item_34", "item_302"}) {
            const auto parts = certificateDateParts(f_(date));
            put(std::string(date) + "_y", parts[0]);
            put(std::string(date) + "_m", parts[1]);
            put(std::string(date) + "_d", parts[2]);
        }
        raw({"item_13_1", "item_13_2", "item_13_3", "item_133", "item_303"});
        put("item_9_2", f_("item_9"));
        raw({"item_38", "item_64", "item_37"});
        put("item_63", ministry());
        put("item_62", ownership());
        rows(kOrganizationsCertificate);
        rows(kCompletersCertificate);
        rows(kCommitteeCertificate);
        put("item_3_1", f_("item_3"));
        period("item_8_1", "item_8_2");
        put("item_9_1", f_("item_9"));
        put("item_63_1", f_("item_63"));
        put("item_64_1", f_("item_64"));
        put("item_64_2", province());
        put("item_63_2", ministry());
        put("item_62_1", f_("item_62"));
        put("item_41", f_("item_41"));
        put("item_38_1", f_("item_38"));
        put("item_41_2", f_("item_41_2"));
        put("item_37_1", f_("item_37"));
        put("item_34_1", f_("item_34"));
        put("item_302_1", f_("item_302"));
        put("item_130_1", f_("item_130"));
        secrecyFlag();
        raw({"item_2", "item_126"});
        put("item_126_2", nationalPlan());
        raw({"item_125"});
        put("item_32_1", f_("item_32"));
        put("item_32_1_1", label("item_32", f_("item_32")));
        raw({"item_33"});
    }

    FieldText f_;
    std::function<std::vector<FieldText>(const std::string&)> rows_;
    OutputLabels* labels_;
    std::vector<BookmarkValue> out_;
};

} // namespace

std::string withParagraphBreak(const std::string& text, int bytes) {
    return store::gbkLength(text) < bytes ? text + "\r" : text;
}

store::Result<std::vector<BookmarkValue>> fillValues(store::Database& db, const std::string& number,
                                                     const std::string& region, WordForm form) {
    const store::Params key{{"n", number}, {"r", region}};
    const std::string where = " where item_4=:n and item_dqdm=:r";
    auto record = readRows(db, "select * from kjcg" + where, key);
    if (!record) return record.error();
    if (record->empty()) return store::fail("没有成果管理编号为 " + number + " 的成果");

    std::map<std::string, std::vector<FieldText>> lists;
    const std::pair<const char*, std::string> queries[] = {
        {kAcceptedPatents, "select * from zlqk" + where + " and patent_st='1'"},
        {kGrantedPatents, "select * from zlqk" + where + " and patent_st='2'"},
        {kOrganizations, "select * from cgwcdw" + where},
        {kCompleters, "select * from cgwcr" + where + " order by item_187"},
        {kCommittee, "select * from jdwyhmd" + where + " order by item_194"},
    };
    for (const auto& [list, sql] : queries) {
        auto rows = readRows(db, sql, key);
        if (!rows) return rows.error();
        lists[list] = std::move(*rows);
    }
    OutputLabels labels(db);
    Builder builder(
        record->front(), [&lists](const std::string& list) { return lists[list]; }, &labels);
    auto values = builder.build(form);
    if (labels.error()) return *labels.error();
    return values;
}

std::vector<std::string> templateBookmarks(WordForm form) {
    // A record whose secrecy level writes both flag bookmarks, with every row table full.
    Builder builder([](const std::string& field) { return field == "item_1" ? "2" : ""; },
                    [](const std::string&) {
                        return std::vector<FieldText>(
                            50, [](const std::string&) { return std::string(); });
                    },
                    nullptr);
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const BookmarkValue& v : builder.build(form))
        if (seen.insert(v.bookmark).second) names.push_back(v.bookmark);
    return names;
}

} // namespace xb::output
