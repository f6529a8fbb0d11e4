// Length limits of text boxes in bytes of the stored GBK text, as the field widths count them:
// a Chinese character takes two bytes.
#pragma once

class QLineEdit;

namespace xb::ui {

// The box accepts no input that would make its text longer than `bytes` GBK bytes.
void limitToGbkBytes(QLineEdit* edit, int bytes);
// The same limit for what the user types or pastes only: a text the program sets, such as a
// stored number wider than the box, is shown whole.
void limitInputToGbkBytes(QLineEdit* edit, int bytes);

} // namespace xb::ui
