#include "completer_rules.h"

#include <algorithm>

namespace xb::parties {
namespace {

forms::CheckFailure failure(const char* control, const char* message, bool plain = false) {
    return {QString::fromLatin1(control), QString::fromUtf8(message), plain};
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

bool isAcademicianEntry(const QString& entryText) {
    return entryText.size() >= 2 && entryText.at(0) == u'1' &&
           QStringLiteral("abc").contains(entryText.at(1));
}

} // namespace

QString storedPeopleCode(const QString& entryText) {
    return entryText.left(1).trimmed();
}

QString storedTitleCode(const QString& entryText) {
    return isAcademicianEntry(entryText) ? entryText.mid(1, 1) : storedPeopleCode(entryText);
}

QString titleEntryCode(const QString& stored) {
    const QString code = stored.trimmed();
    return code.size() == 1 && QStringLiteral("abc").contains(code) ? u'1' + code : code;
}

std::optional<forms::CheckFailure> checkCompleterEntry(CompleterEntry& entry, int currentYear) {
    if (entry.name.trimmed().isEmpty()) return failure("edtry_180", "姓名不能为空！");
    if (!entry.sex) return failure("cbry_181", "性别不能为空！");
    if (entry.year.isEmpty() || entry.month.isEmpty())
        return failure("edt_182_y", "出生年月不能为空！");
    bool ok = false;
    const int year = entry.year.trimmed().toInt(&ok);
    if (!ok || year < 1900 || year > currentYear) return failure("edt_182_y", "出生年份不合法！");
    const int month = entry.month.trimmed().toInt(&ok);
    if (!ok || month > 12 || month <= 0) return failure("edt_182_m", "出生月份不合法！");
    if (entry.month.trimmed().size() == 1) entry.month = u'0' + entry.month.trimmed();
    if (!entry.title) return failure("cbry_183", "技术职称不能为空！");
    if (!entry.education) return failure("cbry_184", "文化程度不能为空！");
    const QString order = entry.order.trimmed();
    if (order.isEmpty()) return failure("edtry_187", "序号不能为空！");
    order.toLongLong(&ok);
    if (!ok) return failure("edtry_187", "输入序号必须为数字！", true);
    return std::nullopt;
}

QString completerBirthText(const QString& year, const QString& month) {
    return year.trimmed() + u'.' + month.trimmed();
}

std::vector<int> completerOrder(const std::vector<long long>& numbers, int moved, int direction) {
    std::vector<int> order(numbers.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    const auto rank = [&](int position) {
        return position == moved ? (direction < 0 ? -1 : direction > 0 ? 1 : 0) : 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto na = numbers[static_cast<size_t>(a)], nb = numbers[static_cast<size_t>(b)];
        return na != nb ? na < nb : rank(a) < rank(b);
    });
    return order;
}

} // namespace xb::parties
