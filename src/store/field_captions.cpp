#include "field_captions.h"

#include "field.h"

#include <map>

namespace xb::store {
namespace {

using Labels = std::map<std::string, const char*>;

// The achievement and the first completing organization's fields, as their pages caption them.
const Labels& achievementLabels() {
    static const Labels labels{
        {"item_3", "成果名称"},
        {"item_4", "成果管理编号"},
        {"item_cglb", "成果类别"},
        {"item_1", "成果密级"},
        {"item_2", "成果水平"},
        {"item_8", "研究起止日期"},
        {"item_12", "中图分类号"},
        {"item_12_1", "中图分类号（第二）"},
        {"item_13", "成果公报内容"},
        {"item_13_1", "成果简介"},
        {"item_13_2", "推广应用前景与措施"},
        {"item_13_3", "主要技术文件目录及来源"},
        {"item_14", "关键词"},
        {"item_15", "学科分类号"},
        {"item_15_1", "学科分类号（第二）"},
        {"item_16", "成果所处阶段"},
        {"item_21", "评价方式"},
        {"item_22", "评价报告编号"},
        {"item_32", "应用状态"},
        {"item_32_1", "未应用或停用原因"},
        {"item_33", "转让范围"},
        {"item_34", "评价日期"},
        {"item_45", "已转让企业数（个）"},
        {"item_46", "预计达产投资（万元）"},
        {"item_47", "预计达产利税（万元）"},
        {"item_51", "知识产权形式"},
        {"item_51_1", "专利状况"},
        {"item_51_2", "已受理专利项数"},
        {"item_51_3", "授权专利项数"},
        {"item_52", "软件著作权名称"},
        {"item_53", "软件著作权登记号"},
        {"item_120", "批准登记号"},
        {"item_121", "批准登记日期"},
        {"item_123", "成果体现形式"},
        {"item_124_1", "所属高新科技领域"},
        {"item_125", "成果主要应用行业"},
        {"item_125_1", "成果属性"},
        {"item_126", "课题来源"},
        {"item_127", "课题立项编号"},
        {"item_127_1", "课题立项名称"},
        {"item_128", "推荐单位"},
        {"item_130", "评价单位"},
        {"item_133", "评价委员会专家测试报告"},
        {"item_140", "国家科技计划"},
        {"item_141", "国家投入"},
        {"item_142", "地方投入"},
        {"item_142_1", "省级投入"},
        {"item_142_2", "地级投入"},
        {"item_142_3", "县级投入"},
        {"item_143", "基金投入"},
        {"item_144", "自有资金"},
        {"item_145", "其他"},
        {"item_148", "部门投入"},
        {"item_149", "经费实际投入额"},
        {"item_150", "技术转让收入（万元）"},
        {"item_151_1", "自行转化效益：净利润（万元）"},
        {"item_152_1", "实交税金（万元）"},
        {"item_153", "出口创汇（万元）"},
        {"item_154", "节约资金（万元）"},
        {"item_160", "未应用或停用原因细类"},
        {"item_161", "推广形式"},
        {"item_162", "知识产权技术转让收入（万元）"},
        {"item_200", "社会经济目标"},
        {"item_201", "研究形式"},
        {"item_210", "成果体现形式"},
        {"item_243", "银行贷款"},
        {"item_244", "国外资金"},
        {"item_301", "证书号"},
        {"item_302", "评价日期"},
        {"item_303", "评价意见"},
        {"patent_ty", "专利类型"},
        {"item_9", "单位名称"},
        {"item_37", "通讯地址"},
        {"item_38", "邮政编码"},
        {"item_39", "电话（含区号）"},
        {"item_40", "传真（含区号）"},
        {"item_41", "联系人"},
        {"item_41_2", "联系人电话"},
        {"item_41_3", "企业所有制属性"},
        {"item_60", "单位网址"},
        {"item_61", "电子信箱"},
        {"item_62", "单位属性"},
        {"item_63", "隶属关系"},
        {"item_64", "单位所在省市"},
        {"item_163", "科研机构转制型企业"},
        {"item_420", "组织机构代码"},
        {"tlinkman", "成果转让联系人"},
    };
    return labels;
}

const std::map<std::string, Labels>& childLabels() {
    static const std::map<std::string, Labels> labels{
        {"cgwcdw",
         {{"item_170", "单位名称"},
          {"item_171", "通讯地址"},
          {"item_172", "邮政编码"},
          {"item_173", "联系人"},
          {"item_174", "联系人电话"},
          {"item_176", "序号"}}},
        {"cgwcr",
         {{"item_180", "姓名"},
          {"item_181", "性别"},
          {"item_182", "出生年月"},
          {"item_183", "技术职称"},
          {"item_184", "文化程度"},
          {"item_185", "工作单位"},
          {"item_186", "对成果创造性贡献"},
          {"item_187", "序号"},
          {"item_188", "是否留学归国"}}},
        {"jdwyhmd",
         {{"item_190", "序号"},
          {"item_191", "评价委员会职务"},
          {"item_192", "姓名"},
          {"item_193", "性别"},
          {"item_195", "工作单位"},
          {"item_196", "所学专业"},
          {"item_197", "从事专业"},
          {"item_198", "职称"}}},
        {"zlqk",
         {{"item_no", "序号"},
          {"patent_no", "专利号"},
          {"patent_nam", "专利名称"},
          {"patent_st", "专利状况"},
          {"patent_ty", "专利类型"}}},
        {"unit",
         {{"item_9", "单位名称"},
          {"item_15", "研发优势：优势学科"},
          {"item_15_1", "研发方向：研究所属学科"},
          {"item_124_1", "研发优势：优势领域"},
          {"item_124_2", "研发方向：研究领域"},
          {"item_37", "通讯地址"},
          {"item_38", "邮政编码"},
          {"item_39", "单位电话（含区号）"},
          {"item_40", "单位传真（含区号）"},
          {"item_41", "联系部门"},
          {"item_41_2", "联系部门电话"},
          {"item_41_3", "企业所有制属性"},
          {"item_60", "单位网址"},
          {"item_61", "联系部门电子信箱"},
          {"item_62", "单位属性"},
          {"item_64", "单位所在省市"},
          {"item_163", "科研机构转制型企业"},
          {"item_420", "组织机构代码"}}},
        {"unitexpert",
         {{"item_180", "姓名"},
          {"item_181", "性别"},
          {"item_182", "出生年月"},
          {"item_124_1", "研究领域"},
          {"item_186", "简要说明"}}},
    };
    return labels;
}

} // namespace

std::string fieldCaption(const std::string& table, const std::string& field) {
    const std::string t = lowerName(table), f = lowerName(field);
    const Labels* labels = &achievementLabels();
    if (t != "kjcg") {
        const auto child = childLabels().find(t);
        if (child == childLabels().end()) return {};
        labels = &child->second;
    }
    const auto found = labels->find(f);
    return found == labels->end() ? std::string() : found->second;
}

} // namespace xb::store
