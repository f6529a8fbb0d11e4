#include "app/date_text.h"

#include <QLocale>
#include <QRegularExpression>

namespace xb::app {

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QLatin1String(dateFormat)) : QString();
}

QDate parseDateText(const QString& text) {
    // QDate::fromString alone would accept other digit counts and signs in some places; the
    // form is checked first so that only year-month-day with "-" passes.
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch()) return {};
    return QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

void useApplicationLocale() {
    QLocale locale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

} // namespace xb::app
