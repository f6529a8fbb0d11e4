#include "classification_codes.h"

namespace xb::store {
namespace {

constexpr CodeCaption kHighTechFields[] = {{"01", "电子信息"},
                                           {"02", "软件"},
                                           {"03", "航空航天"},
                                           {"04", "光机电一体化"},
                                           {"05", "生物、医药和医疗器械"},
                                           {"06", "新材料"},
                                           {"07", "新能源与高效节能"},
                                           {"08", "环境保护"},
                                           {"09", "地球、空间与海洋"},
                                           {"10", "核应用技术"},
                                           {"11", "农业"}};

constexpr CodeCaption kGoals[] = {{"01", "陆地、海洋和大气的开发与评价"},
                                  {"02", "民用宇宙空间"},
                                  {"03", "农业、林业和渔业的发展"},
                                  {"04", "促进工业的发展"},
                                  {"05", "能源的生产、储存和分配"},
                                  {"06", "交通、通讯事业的发展"},
                                  {"07", "教育事业的发展"},
                                  {"08", "卫生事业的发展"},
                                  {"09", "社会发展和社会经济服务"},
                                  {"10", "环境保护"},
                                  {"11", "知识的全面发展"},
                                  {"12", "其他民用目标"},
                                  {"13", "国防"}};

} // namespace

std::span<const CodeCaption> highTechFields() {
    return kHighTechFields;
}

std::span<const CodeCaption> socioEconomicGoals() {
    return kGoals;
}

} // namespace xb::store
