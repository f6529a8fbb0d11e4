// The CJK fonts give one glyph to characters that look alike: the Kangxi radicals and the
// ideographs (人 and ⼈), the wave dashes "〜" and "～", and more. A PDF writer that builds the
// text layer from glyphs back to characters takes one character of a glyph, not always the one
// printed, so copying or searching the PDF finds "⼈民" where the form says "人民", or "500〜1000"
// for "500～1000". This puts the printed character back into the text layer.
#pragma once

#include <QByteArray>

#include <functional>

namespace xb::output {

// The character printed with the glyph that `written` stands for, or 0 to keep `written`.
using TrueCharacter = std::function<char16_t(char16_t written)>;

// Rewrites the character ends of the ToUnicode maps of `pdf` in place by `trueCharacter`. Every
// replacement has the same length, so the file's offsets stay right.
QByteArray withTrueCharacters(QByteArray pdf, const TrueCharacter& trueCharacter);

} // namespace xb::output
