#include "forms/field_binder.h"

#include "forms/change_marker.h"
#include "forms/lookup_widgets.h"
#include "store/gbk.h"
#include "store/layouts.h"
#include "ui/text_limits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace xb::forms {

namespace {

QString stored(const store::Cursor& row, const std::string& field) {
    return QString::fromStdString(row.text(field));
}

} // namespace

FieldBinder::FieldBinder(std::string table, ChangeMarker& marker)
    : table_(std::move(table)), marker_(marker) {}

int FieldBinder::widthOf(const std::string& field) const {
    if (const store::TableLayout* layout = store::findLayout(table_))
        for (const store::FieldDef& def : layout->fields)
            if (def.type == store::FieldType::Character &&
                QString::fromStdString(def.name).compare(QString::fromStdString(field),
                                                         Qt::CaseInsensitive) == 0)
                return def.width;
    return 0;
}

void FieldBinder::setLabel(const char* field, const QString& label) {
    for (Binding& b : bindings_)
        if (QString::fromStdString(b.field).compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
            b.label = label;
}

std::optional<QString> FieldBinder::overflowingField() const {
    for (const Binding& b : bindings_) {
        const int width = widthOf(b.field);
        if (width > 0 && static_cast<int>(store::gbkLength(b.read().toStdString())) > width)
            return b.label.isEmpty() ? QString::fromStdString(b.field) : b.label;
    }
    return std::nullopt;
}

void FieldBinder::text(QLineEdit* box, const char* field, Comparison rule) {
    if (const int width = widthOf(field); width > 0) ui::limitToGbkBytes(box, width);
    marker_.watch(box);
    bindings_.push_back(
        {field,
         [box](const QString& value) { box->setText(value); },
         [box] { return box->text(); },
         [box, rule](const QString& value) { return !sameValue(rule, value, box->text()); },
         {}});
}

void FieldBinder::code(QComboBox* list, const char* field, int codeWidth) {
    marker_.watch(list);
    auto read = [list, codeWidth] { return chosenCode(list, codeWidth); };
    bindings_.push_back({field,
                         [list](const QString& value) {
                             list->setCurrentIndex(-1);
                             selectStoredCode(list, value);
                         },
                         read,
                         [read](const QString& value) { return value.trimmed() != read(); },
                         {}});
}

void FieldBinder::memo(QPlainTextEdit* box, const char* field) {
    marker_.watch(box);
    bindings_.push_back(
        {field, [box](const QString& value) { box->setPlainText(tabsToBlanks(value)); },
         [box] { return tabsToBlanks(box->toPlainText()); },
         [box](const QString& value) { return !sameMemo(value, box->toPlainText()); },
         [box] {
             if (box->toPlainText().contains(QLatin1Char('\t')))
                 box->setPlainText(tabsToBlanks(box->toPlainText()));
         },
         true});
}

void FieldBinder::date(QLineEdit* year, QLineEdit* month, QLineEdit* day, const char* field) {
    ui::limitToGbkBytes(year, 4);
    ui::limitToGbkBytes(month, 2);
    ui::limitToGbkBytes(day, 2);
    for (QLineEdit* box : {year, month, day})
        marker_.watch(box);
    bindings_.push_back({field,
                         [=](const QString& value) {
                             const DateParts parts = splitDateText(value);
                             year->setText(parts.year);
                             month->setText(parts.month);
                             day->setText(parts.day);
                         },
                         [=] { return dateText(year->text(), month->text(), day->text()); },
                         [=](const QString& value) {
                             return dateBoxesDiffer(value, year->text(), month->text(),
                                                    day->text());
                         },
                         [=] {
                             if (dateText(year->text(), month->text(), day->text()).isEmpty())
                                 return;
                             month->setText(padToTwo(month->text()));
                             day->setText(padToTwo(day->text()));
                         }});
}

void FieldBinder::flag(QCheckBox* box, const char* field) {
    marker_.watch(box);
    bindings_.push_back(
        {field,
         [box](const QString& value) { box->setChecked(value.trimmed() == "1"); },
         [box] { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); },
         [box](const QString& value) {
             const QString v = value.trimmed();
             return (box->isChecked() && v == "0") || (!box->isChecked() && v == "1");
         },
         {}});
}

void FieldBinder::custom(const char* field, Fill fill, Read read, Differs differs) {
    bindings_.push_back({field, std::move(fill), std::move(read), std::move(differs), {}});
}

void FieldBinder::fill(const store::Cursor& row) {
    fill(snapshot(row));
}

void FieldBinder::fill(const StoredValues& values) {
    ChangeMarker::Filling quiet(marker_);
    for (const Binding& b : bindings_)
        b.fill(values.value(QString::fromStdString(b.field).toLower()));
}

FieldBinder::StoredValues FieldBinder::snapshot(const store::Cursor& row) const {
    StoredValues values;
    for (const Binding& b : bindings_)
        values.insert(QString::fromStdString(b.field).toLower(), stored(row, b.field));
    return values;
}

void FieldBinder::fillOne(const char* field, const QString& stored) {
    ChangeMarker::Filling quiet(marker_);
    for (const Binding& b : bindings_)
        if (QString::fromStdString(b.field).compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
            b.fill(stored);
}

QString FieldBinder::shown(const char* field) const {
    for (const Binding& b : bindings_)
        if (QString::fromStdString(b.field).compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
            return b.read();
    return {};
}

bool FieldBinder::differs(const store::Cursor& row) const {
    return differs(snapshot(row));
}

bool FieldBinder::differs(const StoredValues& values) const {
    for (const Binding& b : bindings_)
        if (b.differs(values.value(QString::fromStdString(b.field).toLower()))) return true;
    return false;
}

store::Status FieldBinder::write(store::Cursor& row) const {
    const StoredValues stored = snapshot(row);
    for (const Binding& b : bindings_) {
        // A memo the user did not change keeps its stored form (its line breaks above all).
        if (b.keepsUnchanged && !b.differs(stored.value(QString::fromStdString(b.field).toLower())))
            continue;
        if (store::Status s = row.setValue(b.field, store::Value(b.read().toStdString())); !s)
            return s;
    }
    return {};
}

void FieldBinder::showStoredForms() {
    ChangeMarker::Filling quiet(marker_);
    for (const Binding& b : bindings_)
        if (b.normalize) b.normalize();
}

QStringList FieldBinder::fields() const {
    QStringList names;
    for (const Binding& b : bindings_)
        names << QString::fromStdString(b.field);
    return names;
}

} // namespace xb::forms
