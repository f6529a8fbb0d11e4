#include "ui/text_limits.h"

#include "store/gbk.h"

#include <QLineEdit>
#include <QValidator>

namespace xb::ui {
namespace {

int gbkBytes(const QString& text) {
    return static_cast<int>(store::gbkLength(text.toStdString()));
}

// Keeps a box's text within its field's bytes. What does not fit of the user's change is cut at a
// whole character: typing stops at the width, and a pasted text is cut where it would overflow.
// A text the program sets (a stored value) is shown whole; a save refuses it if it overflows.
class GbkByteValidator : public QValidator {
  public:
    GbkByteValidator(int bytes, QLineEdit* edit)
        : QValidator(edit), bytes_(bytes), edit_(edit), accepted_(edit->text()) {
        // While the box validates a change its text already holds the change; what it held
        // before is the text it last showed.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { accepted_ = text; });
    }

    State validate(QString& input, int& position) const override {
        if (gbkBytes(input) <= bytes_) return Acceptable;
        // setText() starts the box's edit history anew; only the user's changes are cut.
        if (!edit_->isModified()) return Intermediate;
        // The inserted part: what the new text holds between the old text's common beginning
        // and common end.
        const QString& before = accepted_;
        qsizetype head = 0;
        while (head < before.size() && head < input.size() && before[head] == input[head])
            ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < input.size() - head &&
               before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
            ++tail;
        const QString kept = input.left(head) + input.right(tail);
        QString inserted = input.mid(head, input.size() - head - tail);
        const int room = bytes_ - gbkBytes(kept);
        if (room < 0) return Invalid;
        while (!inserted.isEmpty() && gbkBytes(inserted) > room)
            inserted.chop(inserted.back().isLowSurrogate() ? 2 : 1);
        input = input.left(head) + inserted + input.right(tail);
        position = static_cast<int>(head + inserted.size());
        return Acceptable;
    }

  private:
    int bytes_;
    const QLineEdit* edit_;
    QString accepted_;
};

} // namespace

void limitToGbkBytes(QLineEdit* edit, int bytes) {
    // No character takes fewer than one byte, so the character limit is a first bound; a paste
    // longer than that is cut by the box itself.
    edit->setMaxLength(bytes);
    limitInputToGbkBytes(edit, bytes);
}

void limitInputToGbkBytes(QLineEdit* edit, int bytes) {
    edit->setValidator(new GbkByteValidator(bytes, edit));
}

} // namespace xb::ui
