#include "forms/amount_sum.h"

#include "forms/amount_box.h"
#include "forms/amount_rules.h"
#include "ui/prompter.h"

#include <QLineEdit>

namespace xb::forms {

AmountSum::AmountSum(QLineEdit* sum, QList<Part> parts, std::function<bool()> paused,
                     QObject* parent)
    : QObject(parent ? parent : sum), sum_(sum), parts_(std::move(parts)),
      paused_(std::move(paused)) {
    for (const Part& part : parts_)
        connect(part.box, &QLineEdit::textChanged, this, [this] {
            if (!busy_ && !(paused_ && paused_())) recompute();
        });
}

void AmountSum::recompute() {
    busy_ = true;
    QStringList texts;
    for (const Part& part : parts_) {
        resetUnlessAmount(part.box, part.label, ui::prompter());
        texts << part.box->text();
    }
    busy_ = false;
    sum_->setText(amountSum(texts));
}

} // namespace xb::forms
