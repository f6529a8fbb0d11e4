#include "parties/first_unit_rules.h"

#include <gtest/gtest.h>

using namespace xb::parties;

namespace {

FirstUnitEntry complete() {
    FirstUnitEntry e;
    e.name = "某研究所";
    e.address = "北京市海淀区";
    e.postcode = "100000";
    e.attributeChosen = true;
    e.attributeText = "1  独立科研机构";
    e.provinceChosen = true;
    e.contact = "张三";
    e.contactPhone = "010-12345678";
    return e;
}

std::string firstFailure(const FirstUnitEntry& e) {
    const auto failure = checkFirstUnit(e);
    return failure ? failure->control.toStdString() + " " + failure->message.toStdString() : "";
}

} // namespace

TEST(FirstUnitRules, RequiredFieldsInOrderTrimmed) {
    EXPECT_EQ(firstFailure(complete()), "");
    FirstUnitEntry e = complete();
    e.name = "   "; // blanks are no name: the completeness check would call the section empty
    e.postcode.clear();
    EXPECT_EQ(firstFailure(e), "Edt_9 \"单位名称\"不能为空！");
    e = complete();
    e.postcode.clear();
    e.contact.clear();
    EXPECT_EQ(firstFailure(e), "Edt_38 \"邮政编码\"不能为空！");
    e = complete();
    e.attributeChosen = false;
    EXPECT_EQ(firstFailure(e), "cb_62 \"单位属性\"不能为空！");
    e = complete();
    e.attributeText = "3  企业";
    EXPECT_EQ(firstFailure(e), "CB_41_3 \"企业所有制属性\"不能为空！");
    e.ownershipText = "01  国有企业";
    EXPECT_EQ(firstFailure(e), "");
    e = complete();
    e.provinceChosen = false;
    EXPECT_EQ(firstFailure(e), "cb_64 \"单位所在省市\"不能为空！");
    e = complete();
    e.contactPhone = " ";
    EXPECT_EQ(firstFailure(e), "Edt_41_2 \"联系人电话\"不能为空！");
}

TEST(FirstUnitRules, OrganizationCodeNeedsAHyphenNinth) {
    const std::pair<const char*, bool> codes[] = {
        {"12345678-9", true}, {"ABCDEFGH-", true},  {"", true},          {"    ", true},
        {"123456789", false}, {"1234-5678", false}, {"12345678", false},
    };
    for (const auto& [code, passes] : codes) {
        FirstUnitEntry e = complete();
        e.orgCode = code;
        EXPECT_EQ(firstFailure(e), passes ? "" : "Edt_420 \"组织机构代码\"格式错误！") << code;
    }
}
