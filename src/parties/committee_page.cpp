#include "parties/committee_page.h"

#include "parties/committee_entry.h"
#include "store/people_labels.h"
#include "ui/help_window.h"

namespace xb::parties {
namespace {

// A coded column shown through the people code labels.
forms::ListColumn peopleColumn(const QString& title, const char* field, store::PeopleCode kind,
                               int width) {
    const std::string name = field;
    return {title,
            [name, kind](const store::Cursor& row) {
                return QString::fromStdString(store::peopleListText(kind, row.text(name)));
            },
            width, true};
}

} // namespace

TFpage7::TFpage7(store::Database& db, QWidget* parent)
    : ListPage(db, QStringLiteral("TFpage7"), QStringLiteral("评价委员会名单"), "jdwyhmd",
               {QStringLiteral("Button2"), QStringLiteral("btnSave01"), QStringLiteral("Button1"),
                QStringLiteral("quit01"), QStringLiteral("Button3")},
               parent),
      dialog_(new TFinto7(db, this)), help_(new ui::HelpWindow(QStringLiteral("THelpPjwy"), this)) {
    setColumns({forms::fieldColumn(QStringLiteral("评价委员会职务"), "item_191", 110, true),
                forms::fieldColumn(QStringLiteral("姓名"), "item_192", 80, true),
                peopleColumn(QStringLiteral("性别"), "item_193", store::PeopleCode::Sex, 50),
                forms::fieldColumn(QStringLiteral("工作单位"), "item_195", 200),
                forms::fieldColumn(QStringLiteral("所学专业"), "item_196", 110),
                forms::fieldColumn(QStringLiteral("现从事专业"), "item_197", 110),
                peopleColumn(QStringLiteral("职称"), "item_198", store::PeopleCode::Title, 90)});
    offerCloseBox();
}

void TFpage7::selectRowsOf(const store::Cursor& record) {
    key_ = {QString::fromStdString(record.text("item_4")),
            QString::fromStdString(record.text("item_dqdm"))};
    rows().select(kCommitteeOfRecord, committeeParams(key_));
}

QStringList TFpage7::listedDuties() {
    QStringList duties;
    store::Cursor* listed = rows().rows();
    for (int row = 0; listed && listed->moveTo(row); ++row)
        duties << QString::fromStdString(listed->text("item_191"));
    return duties;
}

bool TFpage7::addRow() {
    return dialog_->showNew(key_, listedDuties());
}

bool TFpage7::changeRow(int row) {
    const uint32_t record = rows().recordOf(row);
    if (record == 0) return false;
    return dialog_->showModify(key_, record, listedDuties());
}

void TFpage7::help() {
    // The fill-in help belongs to the applied-technology form.
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::parties
