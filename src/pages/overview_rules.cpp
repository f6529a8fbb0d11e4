#include "pages/overview_rules.h"

#include "store/gbk.h"

#include <QDate>

namespace xb::pages {

namespace {

// The research period keeps its two halves apart with three blanks before "至".
const QString kPeriodJoin = QStringLiteral("   至");

// Keywords, joined by ";", must leave room in the 200 bytes of item_14.
constexpr int kKeywordBytes = 196;
constexpr int kFirstYear = 1949;

// A box read as a whole decimal number; blanks around it are allowed, nothing else.
std::optional<int> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i)
        if ((t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9')) &&
            !(i == 0 && t.size() > 1 && t[i] == QLatin1Char('-')))
            return std::nullopt;
    return t.toInt();
}

bool inRange(const std::optional<int>& n, int low, int high) {
    return n && *n >= low && *n <= high;
}

forms::CheckFailure failure(const char* control, const char* message) {
    return {QString::fromLatin1(control), QString::fromUtf8(message)};
}

forms::CheckFailure missing(const char* control, const char* label) {
    return {QString::fromLatin1(control),
            QStringLiteral("\"") + QString::fromUtf8(label) + QStringLiteral("\"不能为空！")};
}

QString padMonth(const QString& month) {
    return month.size() == 1 ? QStringLiteral("0") + month : month;
}

int gbkBytes(const QString& text) {
    return static_cast<int>(store::gbkLength(text.toStdString()));
}

} // namespace

bool isAppliedCategory(const QString& categoryCode) {
    return categoryCode.trimmed() == QStringLiteral("1");
}

bool fieldInLayout(const QString& field, bool applied) {
    const QString f = field.toLower();
    return applied ? !kOtherOnlyFields.contains(f) : !kAppliedOnlyFields.contains(f);
}

PeriodBoxes tidyPeriod(PeriodBoxes boxes) {
    boxes.startYear = boxes.startYear.trimmed();
    boxes.startMonth = padMonth(boxes.startMonth.trimmed());
    boxes.endYear = boxes.endYear.trimmed();
    boxes.endMonth = padMonth(boxes.endMonth.trimmed());
    return boxes;
}

QString periodText(const PeriodBoxes& b) {
    return b.startYear + QLatin1Char('.') + b.startMonth + kPeriodJoin + b.endYear +
           QLatin1Char('.') + b.endMonth;
}

PeriodBoxes splitPeriod(const QString& stored) {
    PeriodBoxes b;
    b.startYear = stored.mid(0, 4).trimmed();
    b.startMonth = stored.mid(5, 2).trimmed();
    const qsizetype to = stored.indexOf(QStringLiteral("至"));
    if (to >= 0) {
        const QString end = stored.mid(to + 1);
        b.endYear = end.mid(0, 4).trimmed();
        b.endMonth = end.mid(5, 2).trimmed();
    }
    return b;
}

QString registrationDateText(const QString& year, const QString& month, const QString& day) {
    const auto y = wholeNumber(year), m = wholeNumber(month), d = wholeNumber(day);
    if (!y || !m || !d || !QDate::isValid(*y, *m, *d)) return {};
    return QDate(*y, *m, *d).toString(QStringLiteral("yyyy-MM-dd"));
}

QStringList registrationBoxes(const QString& stored) {
    const QDate date = QDate::fromString(stored.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) return {QString(), QString(), QString()};
    return {date.toString(QStringLiteral("yyyy")), date.toString(QStringLiteral("MM")),
            date.toString(QStringLiteral("dd"))};
}

QString joinKeywords(const QString& first, const QString& second, const QString& third) {
    if (!first.isEmpty() && !second.isEmpty() && !third.isEmpty())
        return first + QLatin1Char(';') + second + QLatin1Char(';') + third;
    if (!first.isEmpty() && !second.isEmpty()) return first + QLatin1Char(';') + second;
    return first;
}

QString classificationCode(const QString& boxText) {
    return boxText.section(QStringLiteral("  "), 0, 0).trimmed();
}

QString attributeCode(const QString& entryText) {
    return entryText.left(2).trimmed();
}

std::optional<forms::CheckFailure> checkOverview(const OverviewEntry& e, int currentYear) {
    const PeriodBoxes& p = e.period;
    if (p.startYear.isEmpty() || p.startMonth.isEmpty() || p.endYear.isEmpty() ||
        p.endMonth.isEmpty())
        return failure("edt_8_y_s", "研究起止时间为必填项！");
    if (e.secrecyText.trimmed().isEmpty()) return missing("", "成果密级");
    int keywordBytes = 0;
    for (const QString& keyword : e.keywords)
        keywordBytes += gbkBytes(keyword);
    if (keywordBytes > kKeywordBytes) return failure("", "\"关键词\"三栏总字数不要超过98字");
    if (e.applied) {
        if (e.stageCode.isEmpty()) return missing("", "成果所处阶段");
        if (e.transferCode.isEmpty()) return missing("", "转让范围");
        if (!e.formChosen) return missing("", "成果体现形式");
    } else {
        if (e.outcomeFormCode.isEmpty()) return missing("", "成果体现形式");
        if (e.goals.isEmpty()) return missing("", "社会经济目标");
    }
    if (e.applied && attributeCode(e.attributeText).isEmpty()) return missing("", "成果属性");
    if (e.researchFormText.trimmed().isEmpty()) return missing("", "研究形式");
    if (e.industries.isEmpty()) return missing("", "成果应用行业");
    if (e.abstractText.trimmed().isEmpty()) return missing("", "成果简介");
    if (e.bulletinText.trimmed().isEmpty()) return missing("", "成果公报内容");

    if (e.registrationYear.isEmpty() && e.registrationMonth.isEmpty() &&
        e.registrationDay.isEmpty())
        return missing("edt_121_y", "批准登记日期");
    const auto year = wholeNumber(e.registrationYear);
    if (!inRange(year, kFirstYear, currentYear))
        return failure("edt_121_y", "批准登记日期年份非法！合理年份应为1949年至今!");
    const auto startYear = wholeNumber(p.startYear);
    if (!inRange(startYear, kFirstYear, currentYear))
        return failure("edt_8_y_s", "研究起始日期年份非法！合理年份应为1949年至今!");
    const auto endYear = wholeNumber(p.endYear);
    if (!inRange(endYear, kFirstYear, currentYear))
        return failure("edt_8_y_e", "研究终止日期年份非法！合理年份应为1949年至今!");
    const auto month = wholeNumber(e.registrationMonth);
    if (!e.registrationMonth.isEmpty() && !inRange(month, 1, 12))
        return failure("edt_121_m", "批准登记日期月份非法!");
    const auto startMonth = wholeNumber(p.startMonth);
    if (!inRange(startMonth, 1, 12)) return failure("edt_8_m_s", "研究起始日期月份非法!");
    const auto endMonth = wholeNumber(p.endMonth);
    if (!inRange(endMonth, 1, 12)) return failure("edt_8_m_e", "研究终止日期月份非法!");
    const auto day = wholeNumber(e.registrationDay);
    if (!e.registrationDay.isEmpty() && (!day || *day > 31))
        return failure("edt_121_d", "批准登记日期日期非法!");
    if (registrationDateText(e.registrationYear, e.registrationMonth, e.registrationDay).isEmpty())
        return failure("", "日期非法!");

    const int registered = *year * 100 + *month;
    const int start = *startYear * 100 + *startMonth;
    const int end = *endYear * 100 + *endMonth;
    if (end > registered) return failure("edt_8_y_s", "所填写的研究终止时间不应大于登记日期！");
    if (start > end) return failure("edt_8_y_s", "所填写的研究起始时间不应大于研究终止时间！");
    return std::nullopt;
}

} // namespace xb::pages
