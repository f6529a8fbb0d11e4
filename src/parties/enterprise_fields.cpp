#include "parties/enterprise_fields.h"

#include "forms/lookup_widgets.h"
#include "parties/first_unit_rules.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QComboBox>

namespace xb::parties {

void showEnterpriseControls(QComboBox* ownership, QCheckBox* converted, bool enterprise) {
    if (!enterprise) {
        converted->setChecked(false);
        ownership->clear();
    }
    converted->setEnabled(enterprise);
    ownership->setEnabled(enterprise);
}

void attributeChanged(store::Database& db, const QComboBox* attribute, QComboBox* ownership,
                      QCheckBox* converted) {
    if (store::Status s =
            forms::fillFromDictionary(ownership, db, QStringLiteral("item_41_3"), false);
        !s)
        ui::prompter().showError(s.error());
    ownership->setCurrentIndex(-1);
    showEnterpriseControls(ownership, converted, isEnterpriseText(attribute->currentText()));
}

store::Status writeEnterpriseRule(store::Cursor& row, const QString& attribute) {
    if (attribute.trimmed() == QStringLiteral("3")) return {};
    if (store::Status s = row.setValue("item_41_3", store::Value("")); !s) return s;
    return row.setValue("item_163", store::Value(""));
}

} // namespace xb::parties
