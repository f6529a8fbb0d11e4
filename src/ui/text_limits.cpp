#include "ui/text_limits.h"

#include "store/gbk.h"

#include <QLineEdit>
#include <QValidator>

namespace xb::ui {
namespace {

class GbkByteValidator : public QValidator {
  public:
    GbkByteValidator(int bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}

    State validate(QString& input, int&) const override {
        return store::gbkLength(input.toStdString()) <= bytes_ ? Acceptable : Invalid;
    }

  private:
    int bytes_;
};

} // namespace

void limitToGbkBytes(QLineEdit* edit, int bytes) {
    // No character takes fewer than one byte, so the character limit is a first bound.
    edit->setMaxLength(bytes);
    edit->setValidator(new GbkByteValidator(bytes, edit));
}

} // namespace xb::ui
