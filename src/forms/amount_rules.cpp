#include "amount_rules.h"

#include "store/layouts.h"

#include <cmath>

namespace xb::forms {

namespace {

bool parse(const QString& text, double& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return false;
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
