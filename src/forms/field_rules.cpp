#include "forms/field_rules.h"

#include <cmath>

namespace xb::forms {

namespace {

// A number text in its plainest form, rounded to the four decimals of the number fields: "12.50"
// and "12.5" read alike. A text that is not a number stays as it is, trimmed.
QString plainNumber(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok ? QString::number(std::round(value * 10000.0) / 10000.0, 'g', 17) : t;
}

} // namespace

bool sameValue(Comparison rule, const QString& stored, const QString& shown) {
    switch (rule) {
    case Comparison::Exact:
        return stored == shown;
    case Comparison::Trimmed:
        return stored.trimmed() == shown.trimmed();
    case Comparison::Number:
        return plainNumber(stored) == plainNumber(shown);
    }
    return stored == shown;
}

QString tabsToBlanks(QString text) {
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '));
}

bool sameMemo(const QString& stored, const QString& shown) {
    const auto normal = [](QString text) {
        return tabsToBlanks(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))).trimmed();
    };
    return normal(stored) == normal(shown);
}

QString padToTwo(const QString& part) {
    return part.size() == 1 ? QStringLiteral("0") + part : part;
}

QString dateText(const QString& year, const QString& month, const QString& day) {
    if (year.isEmpty() || month.isEmpty() || day.isEmpty()) return {};
    return year + QLatin1Char('.') + padToTwo(month) + QLatin1Char('.') + padToTwo(day);
}

DateParts splitDateText(const QString& stored) {
    return {stored.mid(0, 4).trimmed(), stored.mid(5, 2).trimmed(), stored.mid(8, 2).trimmed()};
}

bool dateBoxesDiffer(const QString& stored, const QString& year, const QString& month,
                     const QString& day) {
    const DateParts parts = splitDateText(stored);
    return parts.year != year.trimmed() || parts.month != padToTwo(month.trimmed()) ||
           parts.day != padToTwo(day.trimmed());
}

QString yearMonthText(const QString& year, const QString& month) {
    if (year.isEmpty() || month.isEmpty()) return {};
    return year + QLatin1Char('.') + padToTwo(month);
}

} // namespace xb::forms
