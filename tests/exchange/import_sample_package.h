// A package written by hand from the exchange format rules, not by the program's writer: three
// achievements (applied technology, basic theory, soft science) with quoted values, a memo
// running over two lines, a value that starts with a quote and one that holds a quote further in.
#pragma once

#include "import_fixture.h"

namespace xb::exchange::testing {

inline RawTexts sampleAchievement(int which) {
    switch (which) {
    case 1:
        return {{"ITEM_4", "2008000001"},
                {"ITEM_DQDM", "."},
                {"ITEM_3", "水稻新品种选育"},
                {"ITEM_9", "第一单位"},
                {"ITEM_CGLB", "1"},
                {"ITEM_120", "a\"b"},
                {"ITEM_8", "\"2001.01\t至2003.12\""},
                {"ITEM_13", "\"第一行\r\n第二行\""},
                {"ITEM_14", "\"\"\"关键词\""},
                {"ITEM_45", "12.5"},
                {"ITEM_SJDC", "0"},
                {"NO", "7"}};
    case 2:
        return {{"ITEM_4", "2008000002"}, {"ITEM_DQDM", "."},      {"ITEM_3", "土壤改良研究"},
                {"ITEM_9", "第二单位"},   {"ITEM_CGLB", "3"},      {"ITEM_121", "2009-05-06"},
                {"ITEM_51_2", "2"},       {"ITEM_303", "评价意见"}};
    default:
        return {{"ITEM_4", "2010000001"}, {"ITEM_DQDM", "."}, {"ITEM_3", "区域发展战略"},
                {"ITEM_9", "第三单位"},   {"ITEM_CGLB", "2"}, {"ITEM_121", "2010-01-31"}};
    }
}

inline void writeSamplePackage(const QString& folder, bool withUnit = true,
                               bool withExpert = true) {
    auto write = [&](const char* name, const std::string& bytes) {
        writeBytes(QDir(folder).filePath(name), bytes);
    };
    write("KJCG.TXT", linesOf({kjcgLine(sampleAchievement(1)), kjcgLine(sampleAchievement(2)),
                               kjcgLine(sampleAchievement(3))}));
    write("CGWCDW.TXT", linesOf({childLine("cgwcdw", {{"ITEM_4", "2008000001"},
                                                      {"ITEM_DQDM", "."},
                                                      {"ITEM_176", "1"},
                                                      {"ITEM_170", "合作单位甲"}}),
                                 childLine("cgwcdw", {{"ITEM_4", "2008000002"},
                                                      {"ITEM_DQDM", "."},
                                                      {"ITEM_176", "1"},
                                                      {"ITEM_170", "合作单位乙"}})}));
    write("CGWCR.TXT", linesOf({childLine("cgwcr", {{"ITEM_4", "2008000001"},
                                                    {"ITEM_DQDM", "."},
                                                    {"ITEM_187", "1"},
                                                    {"ITEM_180", "张三"},
                                                    {"ITEM_188", "1"}}),
                                childLine("cgwcr", {{"ITEM_4", "2008000002"},
                                                    {"ITEM_DQDM", "."},
                                                    {"ITEM_187", "1"},
                                                    {"ITEM_180", "李四"},
                                                    {"ITEM_188", "0"}}),
                                childLine("cgwcr", {{"ITEM_4", "2010000001"},
                                                    {"ITEM_DQDM", "."},
                                                    {"ITEM_187", "1"},
                                                    {"ITEM_180", "王五"},
                                                    {"ITEM_188", "0"}})}));
    write("JDWYHMD.TXT", linesOf({childLine("jdwyhmd", {{"ITEM_4", "2008000001"},
                                                        {"ITEM_DQDM", "."},
                                                        {"ITEM_190", "1"},
                                                        {"ITEM_191", "委员"},
                                                        {"ITEM_192", "赵六"}})}));
    write("ZLQK.TXT", linesOf({childLine("zlqk", {{"ITEM_4", "2008000002"},
                                                  {"ITEM_DQDM", "."},
                                                  {"ITEM_NO", "1"},
                                                  {"PATENT_NO", "ZL2008"},
                                                  {"PATENT_NAM", "专利名称"},
                                                  {"PATENT_TY", "1"}})}));
    if (withUnit) write("UNIT.TXT", linesOf({"\t\t\t\t\"本单位\""}));
    if (withExpert) write("EXPERT.TXT", "");
}

} // namespace xb::exchange::testing
