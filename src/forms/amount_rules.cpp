#include "amount_rules.h"

#include "store/layouts.h"

#include <cmath>

namespace xb::forms {

namespace {

// Only plain decimals count ("12", "12.5", ".5", "-3"): an exponent, a group separator or "inf"
// would pass as a number here and then be refused by the number field when the row is stored.
bool isPlainDecimal(const QString& text) {
    qsizetype i = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool parse(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (!isPlainDecimal(trimmed)) return false;
    bool ok = false;
    value = trimmed.toDouble(&ok);
    return ok && std::isfinite(value);
}

} // namespace

bool isAmountText(const QString& text) {
    double value = 0;
    return text.trimmed().isEmpty() || parse(text, value);
}

double amountValue(const QString& text) {
    double value = 0;
    return parse(text, value) ? value : 0;
}

QString amountText(double value) {
    // Rounded to the stored four decimals, so binary fractions never show as 0.30000000000000004.
    const double rounded = std::round(value * 10000.0) / 10000.0;
    QString text = QString::number(rounded, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text == u"-0" ? QStringLiteral("0") : text;
}

QString amountSum(const QStringList& texts) {
    double sum = 0;
    for (const QString& text : texts)
        sum += amountValue(text);
    return amountText(sum);
}

QString notAnAmountMessage(const QString& label, const QString& text) {
    return label + text + QStringLiteral(" 不是正确的数据格式！现在已经置零");
}

int wholeDigitsHeld(const std::string& table, const std::string& field) {
    const store::TableLayout* layout = store::findLayout(table);
    if (!layout) return 0;
    for (const store::FieldDef& def : layout->fields) {
        if (QString::fromStdString(def.name).compare(QString::fromStdString(field),
                                                     Qt::CaseInsensitive) != 0)
            continue;
        if (def.type != store::FieldType::Number && def.type != store::FieldType::SmallInt &&
            def.type != store::FieldType::Integer)
            return 0;
        return def.decimals > 0 ? def.width - def.decimals - 1 : def.width;
    }
    return 0;
}

} // namespace xb::forms
