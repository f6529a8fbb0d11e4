#include "output/page_painter.h"

#include "output/pdf_text_layer.h"
#include "ui/saved_file.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

#include <map>

namespace xb::output {
namespace {

constexpr double kNumberTop = kPageHeight + 1; // the page number's line below the contents

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

Qt::Alignment alignment(Align align) {
    switch (align) {
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

class Sheet {
  public:
    Sheet(QPainter& painter, double dotsPerMm) : p_(painter), scale_(dotsPerMm) {}

    QRectF rect(const Area& a) const {
        return QRectF(a.x * scale_, a.y * scale_, a.w * scale_, a.h * scale_);
    }
    QFont font(double size, bool bold) const {
        QFont f(printFontFamily());
        f.setPointSizeF(size);
        f.setBold(bold);
        // Shaping Latin text with the CJK font swaps in digit glyphs that its character map
        // does not reach, and the PDF text layer then loses them ("CG-002" reads "CG").
        f.setStyleStrategy(QFont::PreferNoShaping);
        return f;
    }
    void draw(const Page& page) {
        QPen pen(Qt::black);
        pen.setWidthF(0.25 * scale_);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        for (const Area& cell : page.cells) {
            if (cell.h == 0)
                p_.drawLine(rect(cell).topLeft(), rect(cell).topRight());
            else
                p_.drawRect(rect(cell));
        }
        for (const PageMark& mark : page.marks) {
            p_.drawRect(rect(mark.area));
            if (!mark.marked) continue;
            p_.setFont(font(mark.area.h * 72.0 / 25.4, true));
            p_.drawText(rect(mark.area), Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("√"));
        }
        for (const PageText& text : page.texts) {
            if (text.text.empty()) continue;
            p_.setFont(font(text.size, text.bold));
            p_.drawText(rect(text.area),
                        alignment(text.align) | Qt::AlignVCenter | Qt::TextDontClip, q(text.text));
        }
        if (!page.number.empty()) {
            p_.setFont(font(10, false));
            p_.drawText(rect({0, kNumberTop, kPageWidth, 5}), Qt::AlignCenter, q(page.number));
        }
    }

  private:
    QPainter& p_;
    double scale_;
};

// The glyph of every character of the Basic Multilingual Plane in the print font (0: none).
const QList<quint32>& glyphsOfPlane() {
    static const QList<quint32> glyphs = [] {
        const QRawFont font = QRawFont::fromFont(QFont(printFontFamily()));
        if (!font.isValid()) return QList<quint32>();
        // The surrogates stand in as blanks and get no glyph afterwards.
        QString plane;
        plane.reserve(0x10000);
        for (uint c = 1; c <= 0xFFFF; ++c)
            plane.append(c >= 0xD800 && c <= 0xDFFF ? QChar(u' ') : QChar(char16_t(c)));
        QList<quint32> out{0};
        out.append(font.glyphIndexesForString(plane));
        for (uint c = 0xD800; c <= 0xDFFF && c < out.size(); ++c)
            out[c] = 0;
        return out;
    }();
    return glyphs;
}

// For the characters of `pages`: every other character that shares the glyph of one of them
// stands for it. A glyph shared by two printed characters is left alone.
std::map<char16_t, char16_t> printedCharacters(const std::vector<Page>& pages) {
    const QList<quint32>& glyphs = glyphsOfPlane();
    std::map<quint32, char16_t> byGlyph;
    std::map<char16_t, bool> printed;
    const auto see = [&](const std::string& text) {
        for (const QChar c : QString::fromStdString(text)) {
            const char16_t u = c.unicode();
            if (u >= glyphs.size() || glyphs[u] == 0 || printed.count(u)) continue;
            printed[u] = true;
            const auto [it, fresh] = byGlyph.emplace(glyphs[u], u);
            if (!fresh && it->second != u) it->second = 0;
        }
    };
    for (const Page& page : pages) {
        for (const PageText& text : page.texts)
            see(text.text);
        see(page.number);
    }
    see("√");
    std::map<char16_t, char16_t> out;
    for (qsizetype c = 1; c < glyphs.size(); ++c) {
        if (glyphs[c] == 0 || printed.count(static_cast<char16_t>(c))) continue;
        const auto it = byGlyph.find(glyphs[c]);
        if (it != byGlyph.end() && it->second != 0)
            out.emplace(static_cast<char16_t>(c), it->second);
    }
    return out;
}

} // namespace

QString printFontFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* wanted : {"Noto Serif CJK SC", "Noto Sans CJK SC"})
            if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
        return QGuiApplication::font().family();
    }();
    return family;
}

void setFormLayout(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

bool paintPages(QPagedPaintDevice& device, const std::vector<Page>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        Sheet(painter, dotsPerMm).draw(pages[i]);
    }
    return painter.end();
}

store::Status writePdf(const std::vector<Page>& pages, const QString& path, const QString& title) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Xunbao"));
        writer.setResolution(300);
        setFormLayout(writer);
        if (!paintPages(writer, pages)) return store::fail("无法绘制登记表的页面");
    }
    return ui::saveWholeFile(
        path,
        withTrueCharacters(buffer.data(), [characters = printedCharacters(pages)](char16_t c) {
            const auto it = characters.find(c);
            return it == characters.end() ? char16_t(0) : it->second;
        }));
}

} // namespace xb::output
