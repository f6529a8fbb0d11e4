#include "classification_codes.h"

#include <array>
#include <iterator>

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

// Codes 06 and 11 to 19 do not exist.
constexpr CodeCaption kIndustries[] = {{"01", "农、林、牧、渔业"},
                                       {"02", "采矿业"},
                                       {"03", "制造业"},
                                       {"04", "电力、煤气及水的生产和供应业"},
                                       {"05", "建筑业"},
                                       {"07", "交通运输、仓储和邮政业"},
                                       {"08", "批发和零售业"},
                                       {"09", "金融业"},
                                       {"10", "房地产业"},
                                       {"20", "信息传输、计算机服务和软件业"},
                                       {"21", "住宿和餐饮业"},
                                       {"22", "租赁和商务服务业"},
                                       {"23", "科学研究、技术服务和地质勘查业"},
                                       {"24", "水利、环境和公共设施管理业"},
                                       {"25", "居民服务和其他服务业"},
                                       {"26", "教育"},
                                       {"27", "卫生、社会保障和社会福利业"},
                                       {"28", "文化、体育和娱乐业"},
                                       {"29", "公共管理和社会组织"},
                                       {"30", "国际组织"}};

// The printed form puts 20 after 07 and 21 after 08.
constexpr int kPrintedIndustryOrder[] = {0, 1,  2,  3,  4,  5,  9,  6,  10, 7,
                                         8, 11, 12, 13, 14, 15, 16, 17, 18, 19};
static_assert(std::size(kPrintedIndustryOrder) == std::size(kIndustries));

} // namespace

std::span<const CodeCaption> industries() {
    return kIndustries;
}

std::span<const CodeCaption> industriesAsPrinted() {
    static const auto printed = [] {
        std::array<CodeCaption, std::size(kIndustries)> out{};
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = kIndustries[kPrintedIndustryOrder[i]];
        return out;
    }();
    return printed;
}

std::span<const CodeCaption> highTechFields() {
    return kHighTechFields;
}

std::span<const CodeCaption> socioEconomicGoals() {
    return kGoals;
}

} // namespace xb::store
