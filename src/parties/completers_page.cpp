#include "completers_page.h"

#include "parties/completer_entry.h"
#include "parties/completers.h"
#include "store/people_labels.h"
#include "ui/help_window.h"
#include "ui/prompter.h"

namespace xb::parties {
namespace {

// A coded column shown through the people code labels.
forms::ListColumn labelColumn(const QString& title, const char* field, store::PeopleCode kind,
                              int width, bool maroon = false) {
    const std::string name = field;
    return {title,
            [name, kind](const store::Cursor& row) {
                return QString::fromStdString(store::peopleListText(kind, row.text(name)));
            },
            width, maroon};
}

} // namespace

TFpage8::TFpage8(store::Database& db, QWidget* parent)
    : ListPage(db, QStringLiteral("TFpage8"), QStringLiteral("成果完成人员名单"), "cgwcr",
               {QStringLiteral("Button2"), QStringLiteral("Button3"), QStringLiteral("Button1"),
                QStringLiteral("quit01"), QStringLiteral("Button4")},
               parent),
      db_(db), dialog_(new TFinto8(db, this)),
      help_(new ui::HelpWindow(QStringLiteral("THelpWcr"), this)) {
    using store::PeopleCode;
    setColumns(
        {forms::fieldColumn(QStringLiteral("序号"), "item_187", 40),
         forms::fieldColumn(QStringLiteral("姓名"), "item_180", 70, true),
         labelColumn(QStringLiteral("性别"), "item_181", PeopleCode::Sex, 45, true),
         forms::fieldColumn(QStringLiteral("出生年月"), "item_182", 70, true),
         labelColumn(QStringLiteral("技术职称"), "item_183", PeopleCode::Title, 90, true),
         labelColumn(QStringLiteral("文化程度"), "item_184", PeopleCode::Education, 90, true),
         labelColumn(QStringLiteral("是否留学归国"), "item_188", PeopleCode::StudyAbroad, 90),
         forms::fieldColumn(QStringLiteral("工作单位"), "item_185", 150),
         forms::fieldColumn(QStringLiteral("对成果创造性贡献"), "item_186", 140)});
}

void TFpage8::selectRowsOf(const store::Cursor& record) {
    key_ = recordKey(record);
    rows().select(kCompletersOfRecord, key_);
}

void TFpage8::prepareRows() {
    // The running numbers follow the stored order on every opening.
    if (store::Status s = numberCompleters(db_, key_); !s) ui::prompter().showError(s.error());
}

bool TFpage8::addRow() {
    const QString firstUnit =
        record() ? QString::fromStdString(record()->text("item_9")) : QString();
    return dialog_->showNew(key_, firstUnit, rows().count());
}

bool TFpage8::changeRow(int row) {
    store::Cursor* listed = rows().rows();
    if (!listed || !listed->moveTo(row)) return false;
    return dialog_->showModify(key_, *listed);
}

bool TFpage8::mayLeave() {
    if (rows().count() > 0) return true;
    ui::prompter().warn(QStringLiteral("成果完成人员名单不能为空！"));
    return false;
}

void TFpage8::help() {
    if (categoryPosition() == 0) help_->showHelp();
}

} // namespace xb::parties
