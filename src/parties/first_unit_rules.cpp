#include "parties/first_unit_rules.h"

namespace xb::parties {

namespace {

forms::CheckFailure missing(const char* control, const char* label) {
    return {QString::fromLatin1(control),
            QStringLiteral("\"") + QString::fromUtf8(label) + QStringLiteral("\"不能为空！")};
}

} // namespace

bool isEnterpriseText(const QString& attributeText) {
    return attributeText.contains(QStringLiteral("企业"));
}

std::optional<forms::CheckFailure> checkFirstUnit(const FirstUnitEntry& e) {
    // A text of blanks is as empty as no text: the completeness check calls such a section empty.
    if (e.name.trimmed().isEmpty()) return missing("Edt_9", "单位名称");
    if (e.address.trimmed().isEmpty()) return missing("Edt_37", "通讯地址");
    if (e.postcode.trimmed().isEmpty()) return missing("Edt_38", "邮政编码");
    if (!e.attributeChosen) return missing("cb_62", "单位属性");
    if (isEnterpriseText(e.attributeText) && e.ownershipText.trimmed().isEmpty())
        return missing("CB_41_3", "企业所有制属性");
    if (!e.provinceChosen) return missing("cb_64", "单位所在省市");
    if (e.contact.trimmed().isEmpty()) return missing("Edt_41", "联系人");
    if (e.contactPhone.trimmed().isEmpty()) return missing("Edt_41_2", "联系人电话");
    const QString code = e.orgCode.trimmed();
    if (!code.isEmpty() && (code.size() < 9 || code.at(8) != QLatin1Char('-')))
        return forms::CheckFailure{QStringLiteral("Edt_420"),
                                   QStringLiteral("\"组织机构代码\"格式错误！")};
    return std::nullopt;
}

} // namespace xb::parties
