#include "profile_checks.h"

#include "store/gbk.h"

namespace xb::parties {
namespace {

forms::CheckFailure failure(const char* control, const QString& label, const QString& text) {
    return {QString::fromLatin1(control), u'"' + label + u'"' + text};
}

bool allDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

} // namespace

std::optional<forms::CheckFailure> checkProfile(const UnitProfile& shown) {
    const QString empty = QStringLiteral("不能为空！");
    if (shown.name.trimmed().isEmpty()) return failure("edt_9", QStringLiteral("单位名称"), empty);
    if (shown.address.isEmpty()) return failure("Edt_37", QStringLiteral("通讯地址"), empty);
    if (shown.postcode.isEmpty()) return failure("Edt_38", QStringLiteral("邮政编码"), empty);
    if (shown.postcode.size() < 6)
        return failure("Edt_38", QStringLiteral("邮政编码"), QStringLiteral("应该为6位数字！"));
    if (!allDigits(shown.postcode.trimmed()))
        return failure("Edt_38", QStringLiteral("邮政编码"), QStringLiteral("必须为数字！"));
    if (shown.phone.isEmpty()) return failure("Edt_39", QStringLiteral("单位电话"), empty);
    if (shown.fax.isEmpty()) return failure("Edt_40", QStringLiteral("单位传真"), empty);
    if (shown.introduction.isEmpty()) return failure("Memo3", QStringLiteral("单位简介"), empty);
    if (store::gbkLength(shown.introduction.trimmed().toStdString()) < 100)
        return failure("Memo3", QStringLiteral("单位简介"), QStringLiteral("内容不得小于50字！"));
    if (shown.department.isEmpty()) return failure("Edt_41", QStringLiteral("联系部门"), empty);
    if (shown.departmentPhone.isEmpty())
        return failure("Edt_41_2", QStringLiteral("联系部门电话"), empty);
    return std::nullopt;
}

} // namespace xb::parties
