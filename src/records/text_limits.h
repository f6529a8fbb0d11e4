// Text boxes whose contents end up in character fields: the limit is the field's width in GBK
// bytes (a Chinese character takes two), so what the user sees is exactly what will be stored.
#pragma once

class QLineEdit;

namespace xb::records {

void limitToFieldWidth(QLineEdit* box, int gbkBytes);

} // namespace xb::records
