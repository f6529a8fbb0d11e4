#include "profile_text_dialogs.h"

#include "parties/unit_profile.h"
#include "ui/memo_box.h"
#include "ui/modal.h"
#include "ui/prompter.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xb::parties {

ProfileTextDialog::ProfileTextDialog(const QString& className, const QString& caption,
                                     QPlainTextEdit* pageText, QWidget* parent)
    : QDialog(parent), pageText_(pageText), editor_(new ui::MemoBox(this)) {
    setObjectName(className);
    setWindowTitle(caption);
    resize(640, 460);
    editor_->setObjectName(QStringLiteral("Memo1"));
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* save = new QPushButton(QStringLiteral("保存"), this);
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    quit->setObjectName(QStringLiteral("btnQuit"));
    save->setAutoDefault(false);
    quit->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &ProfileTextDialog::btnSaveClick);
    connect(quit, &QPushButton::clicked, this, &ProfileTextDialog::btnQuitClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_);
    layout->addLayout(buttons);
}

int ProfileTextDialog::editText() {
    editor_->setPlainText(pageText_->toPlainText());
    return ui::showModal(*this);
}

void ProfileTextDialog::btnSaveClick() {
    const QString text = editor_->toPlainText();
    if (store(text)) pageText_->setPlainText(text);
}

void ProfileTextDialog::btnQuitClick() {
    reject();
}

TFormstudy::TFormstudy(store::Database& db, QPlainTextEdit* pageText, QWidget* parent)
    : ProfileTextDialog(QStringLiteral("TFormstudy"), QStringLiteral("简要说明及补充"), pageText,
                        parent),
      db_(db) {}

bool TFormstudy::store(const QString& text) {
    if (store::Status s = storeProfileText(db_, QStringLiteral("studydirec"), text); !s) {
        ui::prompter().showError(s.error());
        return false;
    }
    return true;
}

Tformadvantage::Tformadvantage(store::Database& db, QPlainTextEdit* pageText, QWidget* parent)
    : ProfileTextDialog(QStringLiteral("Tformadvantage"), QStringLiteral("研发优势简要说明"),
                        pageText, parent),
      db_(db) {}

bool Tformadvantage::store(const QString& text) {
    if (store::Status s = storeProfileText(db_, QStringLiteral("advantage"), text); !s) {
        ui::prompter().showError(s.error());
        return false;
    }
    return true;
}

Tformunitintrod::Tformunitintrod(QPlainTextEdit* pageText, QWidget* parent)
    : ProfileTextDialog(QStringLiteral("Tformunitintrod"), QStringLiteral("单位简介"), pageText,
                        parent) {}

} // namespace xb::parties
