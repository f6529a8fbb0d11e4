#include "output/pdf_text_layer.h"

#include <QRegularExpression>

namespace xb::output {
namespace {

// Replaces the characters among the "<XXXX>" codes of `part` of `pdf`.
void replaceCodes(QByteArray& pdf, qsizetype from, qsizetype to,
                  const TrueCharacter& trueCharacter) {
    static const QRegularExpression code(QStringLiteral("<([0-9A-Fa-f]{4})>"));
    const QString text = QString::fromLatin1(pdf.mid(from, to - from));
    for (auto it = code.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        bool ok = false;
        const uint value = match.captured(1).toUInt(&ok, 16);
        if (!ok) continue;
        const char16_t ideograph = trueCharacter(static_cast<char16_t>(value));
        if (!ideograph) continue;
        const QByteArray hex =
            QByteArray::number(static_cast<uint>(ideograph), 16).toUpper().rightJustified(4, '0');
        pdf.replace(from + match.capturedStart(1), 4, hex);
    }
}

} // namespace

QByteArray withTrueCharacters(QByteArray pdf, const TrueCharacter& trueCharacter) {
    // In a ToUnicode map the lines "<glyph> <glyph> [<char> ...]", "<glyph> <glyph> <char>"
    // (a single glyph) and "<glyph> <char>" carry characters; only those ends are touched.
    static const QRegularExpression array(QStringLiteral("^<[0-9A-Fa-f]{4}> <[0-9A-Fa-f]{4}> \\["));
    static const QRegularExpression single(
        QStringLiteral("^<([0-9A-Fa-f]{4})> <([0-9A-Fa-f]{4})> <[0-9A-Fa-f]{4}>$"));
    static const QRegularExpression pair(QStringLiteral("^<[0-9A-Fa-f]{4}> <[0-9A-Fa-f]{4}>$"));
    qsizetype at = 0;
    while ((at = pdf.indexOf("begincmap", at)) >= 0) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        if (end < 0) break;
        bool inMap = false;
        for (qsizetype line = at; line < end;) {
            qsizetype next = pdf.indexOf('\n', line);
            if (next < 0 || next > end) next = end;
            const QString text = QString::fromLatin1(pdf.mid(line, next - line)).trimmed();
            if (text.endsWith(QStringLiteral("beginbfrange")) ||
                text.endsWith(QStringLiteral("beginbfchar"))) {
                inMap = true;
            } else if (text.startsWith(QStringLiteral("endbf"))) {
                inMap = false;
            } else if (inMap) {
                if (const auto m = array.match(text); m.hasMatch()) {
                    replaceCodes(pdf, line + m.capturedLength(), next, trueCharacter);
                } else if (const auto s = single.match(text);
                           s.hasMatch() && s.captured(1) == s.captured(2)) {
                    replaceCodes(pdf, line + 14, next, trueCharacter);
                } else if (pair.match(text).hasMatch()) {
                    replaceCodes(pdf, line + 7, next, trueCharacter);
                }
            }
            line = next + 1;
        }
        at = end;
    }
    return pdf;
}

} // namespace xb::output
