// Ties the controls of a page to the fields of one table row. A page declares each binding once;
// the binder then fills every bound control from a row (without setting the change marker),
// reads the controls back as the values Save writes, compares them with a row under each
// field's rule, and writes them into a row in edit state.
//
//     binder.text(edt_301, "item_301");
//     binder.date(edt_302_y, edt_302_m, edt_302_d, "item_302");
//     binder.memo(mo_13_2, "item_13_2");
//     binder.fill(record);             // on open
//     if (binder.differs(record)) ...  // on quit
//     binder.write(record);            // on save, between edit() and post()
#pragma once

#include "forms/field_rules.h"
#include "store/cursor.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace xb::forms {

class ChangeMarker;

class FieldBinder {
  public:
    using Fill = std::function<void(const QString& stored)>;
    using Read = std::function<QString()>;
    using Differs = std::function<bool(const QString& stored)>;

    // `table` gives the field widths that limit the text boxes; `marker` (not owned) watches
    // every bound control and is quiet while the binder fills.
    FieldBinder(std::string table, ChangeMarker& marker);

    // A text box holding the field as typed; it accepts no more GBK bytes than the field holds.
    void text(QLineEdit* box, const char* field, Comparison rule = Comparison::Exact);
    // A dictionary pick list; the stored value is the chosen entry's code (its first `codeWidth`
    // characters, trimmed), "" when nothing is chosen. Fill it with entries before fill().
    void code(QComboBox* list, const char* field, int codeWidth = 3);
    // A memo: tabs become blanks in the box and in the stored text; compared trimmed.
    void memo(QPlainTextEdit* box, const char* field);
    // Three boxes of a "YYYY.MM.DD" text; any box that differs from its stored part is a change.
    void date(QLineEdit* year, QLineEdit* month, QLineEdit* day, const char* field);
    // A check box stored as "1" or "0"; only a box contradicting a stored "1" or "0" is a change.
    void flag(QCheckBox* box, const char* field);
    // A field whose control the page handles itself.
    void custom(const char* field, Fill fill, Read read, Differs differs);

    // Stored values by field name (lower case); a missing field reads as "".
    using StoredValues = QMap<QString, QString>;

    // Fills every bound control from the row, in the order of binding.
    void fill(const store::Cursor& row);
    void fill(const StoredValues& values);
    // The row's values of the bound fields, to compare with after the row has moved on.
    StoredValues snapshot(const store::Cursor& row) const;
    // Fills the control of one field from another source than the row.
    void fillOne(const char* field, const QString& stored);
    // The value Save writes for the field; an unbound field gives "".
    QString shown(const char* field) const;
    // Whether any bound control differs from the row under its rule.
    bool differs(const store::Cursor& row) const;
    bool differs(const StoredValues& values) const;
    // Writes every bound field into the row, which must be in edit state; the first value the
    // engine refuses ends the writing and is returned.
    store::Status write(store::Cursor& row) const;
    // The label a message names the field by (by default the field's name).
    void setLabel(const char* field, const QString& label);
    // The label of the first bound text field whose value is longer than the field holds, so
    // that saving would cut it; nothing when every value fits.
    std::optional<QString> overflowingField() const;
    // Puts the stored form back into the boxes that show it differently (memos with tabs).
    void showStoredForms();
    QStringList fields() const;

  private:
    struct Binding {
        std::string field;
        Fill fill;
        Read read;
        Differs differs;
        std::function<void()> normalize;
        bool keepsUnchanged = false; // not written when it does not differ from the row
        QString label;
    };
    // The bytes a character field holds; 0 for other fields and unknown ones.
    int widthOf(const std::string& field) const;

    std::string table_;
    ChangeMarker& marker_;
    std::vector<Binding> bindings_;
};

} // namespace xb::forms
