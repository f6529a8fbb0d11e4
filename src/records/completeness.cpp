#include "completeness.h"

#include "store/lookups.h"

namespace xb::records {

store::Status findMissing(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                          MissingFields& missing) {
    missing = {};
    if (record.isEmpty()) return {};
    auto rules = db.query(std::string("select * from checkup where \n") +
                          (appliedTechnology ? "lb='a' or lb='1'" : "lb='a' or lb='2'"));
    if (!rules) return rules.error();
    store::Cursor& r = **rules;
    for (r.first(); !r.eof(); r.next()) {
        const std::string field = store::trimmed(r.text("id"));
        if (record.fieldIndex(field) < 0) return store::fail("表 kjcg 中没有字段 " + field);
        if (!record.isNull(field)) continue;
        const std::string button = store::trimmed(r.text("button"));
        if (button == "01")
            missing.fields[Section::Overview].push_back(field);
        else if (button == "02")
            missing.fields[Section::Property].push_back(field);
        else if (button == "03")
            missing.fields[Section::Project].push_back(field);
        else if (button == "04")
            missing.fields[Section::FirstUnit].push_back(field);
    }
    auto completers =
        db.query("select count(*) from cgwcr where item_4=:item_4 and item_dqdm=:item_dqdm",
                 {{"item_4", record.text("ITEM_4")}, {"item_dqdm", record.text("ITEM_DQDM")}});
    if (!completers) return completers.error();
    missing.noCompleter = (*completers)->value(0).toInteger() == 0;
    return {};
}

store::Status computeMarks(store::Database& db, const store::Cursor& record, bool appliedTechnology,
                           SectionMarks& marks) {
    MissingFields missing;
    const store::Status found = findMissing(db, record, appliedTechnology, missing);
    marks.setAll(true);
    for (const auto& [section, fields] : missing.fields)
        marks.set(section, false);
    if (missing.noCompleter) marks.set(Section::Completers, false);
    return found;
}

const char* sectionCaption(Section s) {
    switch (s) {
    case Section::Overview:
        return "成果概况";
    case Section::Property:
        return "知识产权，成果应用情况";
    case Section::Project:
        return "课题立项，评价情况";
    case Section::FirstUnit:
        return "第一完成单位情况";
    case Section::Partners:
        return "合作完成单位情况";
    case Section::Committee:
        return "评价委员会名单";
    case Section::Completers:
        return "成果完成人员名单";
    case Section::Certificate:
        return "评价证书内容";
    }
    return "";
}

bool isComplete(const SectionMarks& marks, const std::string& category) {
    const bool property = category != "1" || marks.done(Section::Property);
    return marks.done(Section::Overview) && marks.done(Section::Project) &&
           marks.done(Section::FirstUnit) && marks.done(Section::Completers) && property;
}

std::optional<std::string> closeRefusal(const SectionMarks& marks, const std::string& category) {
    if (!marks.done(Section::Overview)) return "成果概况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Property) && category == "1")
        return "知识产权，成果应用情况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Project)) return "课题立项，评价没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::FirstUnit)) return "第一完成单位情况没有填完,请继续填写完成该项目！";
    if (!marks.done(Section::Completers)) return "成果完成人员名单没有填完,请继续填写完成该项目！";
    return std::nullopt;
}

} // namespace xb::records
