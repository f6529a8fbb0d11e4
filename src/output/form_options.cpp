#include "output/form_options.h"

#include "store/classification_codes.h"

#include <cctype>
#include <map>

namespace xb::output {
namespace {

using Options = std::vector<FormOption>;

Options fromTable(std::span<const store::CodeCaption> table) {
    Options options;
    for (const store::CodeCaption& entry : table)
        options.push_back({entry.code, entry.caption});
    return options;
}

const std::map<std::string, Options>& shared() {
    static const std::map<std::string, Options> options{
        {"ITEM_123",
         {{"1", "新技术"},
          {"2", "新工艺"},
          {"3", "新产品"},
          {"4", "新材料"},
          {"7", "新装备"},
          {"5", "农业、生物新品种"},
          {"6", "矿产新品种"},
          {"9", "其他应用技术"},
          {"A", "国际标准"},
          {"B", "国家标准"},
          {"C", "行业标准"},
          {"D", "地方标准"},
          {"E", "企业标准"}}},
        {"ITEM_125_1",
         {{"1", "原始性创新"}, {"2", "国外引进消化吸收创新"}, {"3", "国内技术二次开发"}}},
        {"ITEM_16", {{"1", "初期阶段"}, {"2", "中期阶段"}, {"3", "成熟应用阶段"}}},
        {"ITEM_2",
         {{"1", "国际领先"},
          {"2", "国际先进"},
          {"3", "国内领先"},
          {"4", "国内先进"},
          {"5", "国内一般"},
          {"6", "未评价"}}},
        {"ITEM_33", {{"1", "允许出口"}, {"2", "限国内转让"}, {"3", "不转让"}}},
        {"ITEM_201",
         {{"1", "独立研究"},
          {"2", "与企业合作"},
          {"3", "与院校或院所合作"},
          {"4", "与国外合作"},
          {"9", "其他"}}},
        {"ITEM_210", {{"1", "论文"}, {"2", "著作"}, {"9", "其他"}}},
        {"ITEM_124_1", fromTable(store::highTechFields())},
        {"ITEM_200", fromTable(store::socioEconomicGoals())},
        {"ITEM_125", fromTable(store::industriesAsPrinted())},
        {"ITEM_126",
         {{"02", "部门计划"},
          {"03", "地方计划"},
          {"05", "部门基金"},
          {"06", "地方基金"},
          {"09", "民间基金"},
          {"07", "国际合作"},
          {"08", "横向委托"},
          {"10", "自选"},
          {"19", "其他"}}},
        {"ITEM_140",
         {{"1", "高技术研究发展计划（863计划）"},
          {"3", "基础研究计划"},
          {"6", "科技基础条件平台建设"},
          {"7", "国家科技支撑计划"},
          {"8", "政策引导类计划及专项"},
          {"9", "其他"}}},
        {"ITEM_51", {{"1", "专利"}, {"3", "软件著作权"}, {"9", "其他"}}},
        {"PATENT_TY", {{"1", "发明专利"}, {"2", "实用新型专利"}, {"3", "外观设计专利"}}},
        {"ITEM_51_1", {{"1", "未申请专利"}, {"2", "已受理专利"}, {"3", "已授权专利"}}},
        {"ITEM_32",
         {{"1", "稳定应用"},
          {"4", "小批量或小范围应用"},
          {"5", "试用"},
          {"2", "应用后停用"},
          {"3", "未应用"}}},
        {"ITEM_161",
         {{"1", "产权转让"},
          {"2", "资金入股"},
          {"3", "技术入股"},
          {"4", "合作开发"},
          {"5", "技术服务"},
          {"9", "其他"}}},
        {"ITEM_32_1",
         {{"1", "资金问题"},
          {"2", "技术问题"},
          {"3", "市场问题"},
          {"4", "管理问题"},
          {"5", "政策问题"}}},
        {"ITEM_160",
         {{"11", "拨款未到位"},
          {"12", "贷款困难"},
          {"13", "无资金渠道"},
          {"14", "协议终止"},
          {"15", "其他"},
          {"21", "技术过时"},
          {"22", "成熟度不够"},
          {"23", "成套性差"},
          {"24", "引入技术冲击"},
          {"25", "其他"},
          {"31", "进口产品冲击"},
          {"32", "新产品替代"},
          {"33", "与市场要求不吻合"},
          {"34", "市场信息不灵"},
          {"35", "其他"},
          {"41", "管理不好"},
          {"42", "经营不善"},
          {"43", "其他"},
          {"51", "产品政策调整"},
          {"52", "技术政策调整"},
          {"53", "金融信贷政策"},
          {"54", "进出口政策"},
          {"55", "其他"}}},
        {"ITEM_62", {{"1", "独立科研机构"}, {"2", "大专院校"}, {"4", "医疗机构"}, {"9", "其他"}}},
        {"ITEM_41_3",
         {{"01", "国有企业"},
          {"02", "集体企业"},
          {"03", "股份合作企业"},
          {"04", "联营企业"},
          {"05", "有限责任公司"},
          {"06", "股份有限公司"},
          {"07", "私营企业"},
          {"08", "个体经营"},
          {"09", "港、澳、台商投资企业"},
          {"10", "外商投资企业"},
          {"11", "其他企业"}}},
        {"ITEM_163", {{"1", "是"}, {"2", "否"}}},
    };
    return options;
}

} // namespace

const std::vector<FormOption>& formOptions(const std::string& field, PrintedForm form) {
    static const Options appliedEvaluation{
        {"1", "鉴定"}, {"2", "验收"}, {"3", "行业准入"}, {"5", "评估"}, {"8", "评价机构"}};
    static const Options basicEvaluation{
        {"2", "验收"}, {"4", "评审"}, {"6", "结题"}, {"8", "评价机构"}};
    static const Options none;
    std::string key = field;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (key == "ITEM_21") return form == PrintedForm::Applied ? appliedEvaluation : basicEvaluation;
    const auto it = shared().find(key);
    return it == shared().end() ? none : it->second;
}

} // namespace xb::output
