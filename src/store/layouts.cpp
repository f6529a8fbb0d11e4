#include "layouts.h"

#include <stdexcept>

namespace xb::store {
namespace {

FieldList kjcgFields() {
    return {
        charField("ITEM_1", 1),      charField("ITEM_110", 1),     charField("ITEM_12", 12),
        charField("ITEM_12_1", 12),  charField("ITEM_120", 20),    dateField("ITEM_121"),
        charField("ITEM_123", 2),    charField("ITEM_124_1", 15),  charField("ITEM_125", 15),
        charField("ITEM_125_1", 7),  charField("ITEM_126", 50),    memoField("ITEM_13"),
        memoField("ITEM_13_1"),      memoField("ITEM_13_2"),       memoField("ITEM_13_3"),
        charField("ITEM_14", 200),   charField("ITEM_16", 1),      charField("ITEM_2", 1),
        charField("ITEM_200", 15),   charField("ITEM_210", 1),     charField("ITEM_3", 140),
        charField("ITEM_33", 1),     charField("ITEM_4", 10),      charField("ITEM_420", 20),
        charField("ITEM_8", 22),     charField("ITEM_127", 30),    charField("ITEM_201", 1),
        charField("ITEM_37", 100),   charField("ITEM_38", 6),      charField("ITEM_39", 30),
        charField("ITEM_40", 30),    charField("ITEM_41", 20),     charField("ITEM_41_1", 20),
        charField("ITEM_41_2", 30),  charField("ITEM_41_3", 2),    charField("ITEM_60", 100),
        charField("ITEM_61", 80),    charField("ITEM_62", 1),      charField("ITEM_63", 3),
        charField("ITEM_64", 3),     charField("ITEM_9", 140),     charField("ITEM_32", 3),
        charField("ITEM_32_1", 10),  charField("ITEM_34", 14),     numberField("ITEM_45"),
        charField("ITEM_46", 2),     charField("ITEM_47", 2),      charField("ITEM_300", 1),
        charField("ITEM_301", 80),   charField("ITEM_302", 14),    memoField("ITEM_303"),
        charField("ITEM_304", 1),    charField("ITEM_305", 1),     charField("ITEM_306", 14),
        charField("ITEM_160", 30),   charField("ITEM_161", 10),    charField("ITEM_163", 4),
        numberField("ITEM_151"),     numberField("ITEM_152"),      numberField("ITEM_153"),
        numberField("ITEM_150"),     charField("ITEM_140", 1),     numberField("ITEM_142"),
        numberField("ITEM_143"),     numberField("ITEM_141"),      numberField("ITEM_162"),
        charField("ITEM_130", 80),   memoField("ITEM_133"),        charField("ITEM_21", 1),
        charField("ITEM_22", 30),    charField("ITEM_131", 1),     charField("ITEM_52", 80),
        charField("ITEM_53", 12),    charField("ITEM_56", 12),     charField("ITEM_SJDR", 1),
        charField("ITEM_SJDC", 1),   charField("ITEM_DQDM", 3),    charField("ITEM_CGLB", 1),
        numberField("ITEM_144"),     numberField("ITEM_145"),      numberField("ITEM_149"),
        numberField("ITEM_154"),     charField("ITEM_128", 80),    charField("ITEM_15", 10),
        charField("ITEM_15_1", 10),  numberField("ITEM_142_1"),    numberField("ITEM_142_2"),
        numberField("ITEM_142_3"),   numberField("ITEM_XH"),       numberField("ITEM_148"),
        numberField("ITEM_243"),     numberField("ITEM_244"),      charField("ITEM_51_1", 1),
        smallIntField("ITEM_51_2"),  smallIntField("ITEM_51_3"),   numberField("ITEM_151_1"),
        numberField("ITEM_152_1"),   charField("ITEM_127_1", 140), charField("NO", 10),
        charField("item_check", 20), charField("outcomeb", 20),    charField("ITEM_51", 6),
        charField("patent_ty", 6),   charField("TLinkMan", 20),    charField("TLinkManTe", 30),
        charField("TLinkManEm", 80),
    };
}

// Every child table starts with the record key.
FieldList childFields(FieldList own) {
    FieldList fields{charField("ITEM_4", 10), charField("ITEM_DQDM", 3)};
    fields.insert(fields.end(), own.begin(), own.end());
    return fields;
}

FieldList cgwcdwFields() {
    return childFields({numberField("ITEM_176"), charField("ITEM_170", 80),
                        charField("ITEM_171", 80), charField("ITEM_172", 6),
                        charField("ITEM_173", 20), charField("ITEM_174", 20),
                        charField("ITEM_175", 20)});
}

FieldList cgwcrFields() {
    return childFields({numberField("ITEM_187"), charField("ITEM_180", 20),
                        charField("ITEM_181", 1), charField("ITEM_182", 14),
                        charField("ITEM_183", 1), charField("ITEM_184", 1),
                        charField("ITEM_185", 80), charField("ITEM_186", 160),
                        charField("ITEM_188", 1), numberField("ITEM_NO")});
}

FieldList jdwyhmdFields() {
    return childFields({numberField("ITEM_190"), charField("ITEM_191", 20),
                        charField("ITEM_192", 20), charField("ITEM_193", 1),
                        charField("ITEM_194", 14), charField("ITEM_195", 80),
                        charField("ITEM_196", 30), charField("ITEM_197", 30),
                        charField("ITEM_198", 1), charField("ITEM_199", 16)});
}

FieldList zlqkFields() {
    return childFields({numberField("ITEM_NO"), charField("PATENT_NO", 16),
                        charField("PATENT_NAM", 140), charField("PATENT_ST", 1),
                        charField("PATENT_TY", 1)});
}

FieldList unitFields() {
    return {
        charField("item_124_1", 100), memoField("unitintrod"),     memoField("advantage"),
        memoField("chiefexper"),      charField("item_37", 100),   charField("item_38", 6),
        charField("item_39", 30),     charField("item_40", 30),    charField("item_41", 20),
        charField("item_41_2", 30),   charField("item_61", 80),    charField("item_64", 3),
        charField("item_9", 140),     charField("item_15", 100),   charField("item_420", 20),
        charField("unitcode", 10),    charField("unitlevel", 1),   integerField("endlevel"),
        charField("item_62", 10),     charField("item_163", 4),    charField("item_60", 100),
        charField("item_41_3", 2),    charField("upunitcode", 10), charField("item_124_2", 100),
        charField("item_15_1", 100),  memoField("studydirec"),
    };
}

FieldList unitexpertFields() {
    return {charField("unitcode", 20), charField("item_187", 20), charField("item_180", 20),
            charField("item_181", 20), charField("item_182", 20), charField("item_124_1", 20),
            charField("item_186", 160)};
}

FieldList dwqkFields() {
    return {charField("item_9", 140),  charField("item_420", 20),  charField("item_37", 100),
            charField("item_38", 6),   charField("item_39", 30),   charField("item_40", 30),
            charField("item_60", 100), charField("item_62", 1),    charField("item_163", 4),
            charField("item_41_3", 2), charField("item_64", 3),    charField("item_63", 3),
            charField("item_41", 20),  charField("item_41_2", 30), charField("item_61", 80)};
}

// Classification tables: level (a whole number as text), code, label; addressed by position.
FieldList classificationFields() {
    return {charField("JB", 2), charField("XXDM", 20), charField("XXMC", 120)};
}

std::vector<TableLayout> buildLayouts() {
    std::vector<TableLayout> t;
    auto add = [&t](std::string name, std::string file, FieldList fields) {
        t.push_back({std::move(name), std::move(file), std::move(fields)});
    };
    add("kjcg", "kjcg.dbf", kjcgFields());
    add("cgwcdw", "cgwcdw.dbf", cgwcdwFields());
    add("cgwcr", "cgwcr.dbf", cgwcrFields());
    add("jdwyhmd", "jdwyhmd.dbf", jdwyhmdFields());
    add("zlqk", "zlqk.dbf", zlqkFields());
    add("kjcgtemp", "kjcgtemp.dbf", kjcgFields());
    add("cgwcdwtemp", "cgwcdwtemp.dbf", cgwcdwFields());
    add("cgwcrtemp", "cgwcrtemp.dbf", cgwcrFields());
    add("jdwyhmdtemp", "jdwyhmdtemp.dbf", jdwyhmdFields());
    add("zlqktemp", "zlqktemp.dbf", zlqkFields());
    add("cgwcrNew", "cgwcrNew.dbf", cgwcrFields());
    add("unit", "unit.dbf", unitFields());
    add("unitexpert", "unitexpert.dbf", unitexpertFields());
    add("dwqk", "dwqk.dbf", dwqkFields());
    add("checkup", "checkup.dbf",
        {charField("lb", 1), charField("id", 20), charField("button", 2)});
    add("zdxx", "zdxx.dbf", {charField("zddm", 20), charField("xxdm", 20), charField("xxmc", 120)});
    add("zdxx1", "zdxx1.dbf", {charField("Name", 40), charField("Field", 20)});
    add("province", "province.dbf", {charField("Province_i", 3), charField("Province_n", 40)});
    add("lsbw", "lsbw.dbf", {charField("Bwdm", 3), charField("Bwmc", 80)});
    add("xkfl", "xkfl.dbf", classificationFields());
    add("ztflh", "ztflh.dbf", classificationFields());
    add("gxjs", "gxjs.dbf", classificationFields());
    add("DFJHZDXX", "DFJHZDXX.dbf",
        {charField("item_126", 2), charField("item_41_", 20), charField("xxmc", 120)});
    return t;
}

std::string stripDbf(const std::string& name) {
    std::string lower = lowerName(name);
    if (lower.size() > 4 && lower.ends_with(".dbf")) return lower.substr(0, lower.size() - 4);
    return lower;
}

} // namespace

const std::vector<TableLayout>& allLayouts() {
    static const std::vector<TableLayout> layouts = buildLayouts();
    return layouts;
}

const TableLayout* findLayout(const std::string& name) {
    const std::string wanted = stripDbf(name);
    for (const auto& layout : allLayouts())
        if (lowerName(layout.name) == wanted) return &layout;
    return nullptr;
}

const TableLayout& layoutOf(const std::string& name) {
    if (const TableLayout* layout = findLayout(name)) return *layout;
    throw std::logic_error("unknown table " + name);
}

} // namespace xb::store
