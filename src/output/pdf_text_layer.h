// The CJK fonts map the Kangxi radicals and the CJK radicals supplement to the same glyphs as
// the ideographs they look like (人 and ⼈ share one glyph). A PDF writer that builds the text
// layer from glyphs back to characters takes the lowest character of a glyph, the radical, so
// copying or searching the PDF finds "⼈民" where the form says "人民". This puts the ideograph
// back into the text layer.
#pragma once

#include <QByteArray>

#include <functional>

namespace xb::output {

// The ideograph a radical stands for, or 0 for any other character.
using RadicalMap = std::function<char16_t(char16_t radical)>;

// Rewrites the character ends of the ToUnicode maps of `pdf` in place: each radical becomes its
// ideograph. Every replacement has the same length, so the file's offsets stay right.
QByteArray withTrueCharacters(QByteArray pdf, const RadicalMap& ideographOf);

} // namespace xb::output
