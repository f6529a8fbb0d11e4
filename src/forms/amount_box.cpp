#include "amount_box.h"

#include "amount_rules.h"
#include "ui/prompter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace xb::forms {

namespace {

class AmountKeyFilter : public QObject {
  public:
    AmountKeyFilter(AmountKeys keys, QObject* parent) : QObject(parent), keys_(keys) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && refuses(static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }

  private:
    bool refuses(const QKeyEvent* key) const {
        const QString text = key->text();
        // Keys without a printable character (navigation, Delete, shortcuts) are not typing.
        if (text.isEmpty() || !text.at(0).isPrint()) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        for (const QChar c : text) {
            const bool allowed =
                (c >= u'0' && c <= u'9') || (keys_ == AmountKeys::DigitsAndPoint && c == u'.');
            if (!allowed) return true;
        }
        return false;
    }

    AmountKeys keys_;
};

} // namespace

void acceptOnlyAmountKeys(QLineEdit* box, AmountKeys keys) {
    box->installEventFilter(new AmountKeyFilter(keys, box));
}

bool resetUnlessAmount(QLineEdit* box, const QString& label, ui::Prompter& prompter) {
    if (isAmountText(box->text())) return false;
    const QString text = box->text();
    box->setText(QStringLiteral("0"));
    prompter.warn(notAnAmountMessage(label, text));
    return true;
}

} // namespace xb::forms
