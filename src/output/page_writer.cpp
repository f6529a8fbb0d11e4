#include "output/page_writer.h"

#include <QString>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <string_view>

namespace xb::output {
namespace {

constexpr double kPad = 1.0;         // inner margin of a cell
constexpr double kLineFactor = 1.35; // line height in em

double em(double size) {
    return size * 25.4 / 72.0;
}

// The UTF-8 sequence length of a character starting with `lead`.
size_t charLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

double charWidth(const std::string& ch, double size) {
    return (ch.size() == 1 ? 0.56 : 1.0) * em(size);
}

struct Piece {
    double x = 0, width = 0;
    std::string text;
    std::string name;
    bool bold = false;
    bool isMark = false;
    std::string mark;
    bool marked = false;
};
using Line = std::vector<Piece>;

// Unbreakable pieces of a text, by the line-breaking rules of Unicode and of Chinese typesetting
// (no line starts with a closing mark, none ends with an opening one), with a short bracketed
// hint such as "（单选）" kept whole; such a unit keeps its parts for a line too narrow for it.
// A line end ("\r", "\n", "\r\n") is a unit of its own.
struct Unit {
    std::string text;
    bool lineEnd = false;
    std::vector<std::string> parts;
};

bool isOpening(char16_t c) {
    return std::u16string_view(u"（(“‘《〈【〔［「『｛").find(c) != std::u16string_view::npos;
}
bool isClosing(char16_t c) {
    return std::u16string_view(u"）)”’》〉】〕］」』｝、。，．：；！？…·～,.;:!?%").find(c) !=
           std::u16string_view::npos;
}

std::vector<Unit> breakUnits(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    const auto size = static_cast<size_t>(text.size());
    std::vector<bool> mayBreak(size + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        mayBreak[static_cast<size_t>(at)] = true;
    // Qt's rules leave a break after a full-width opening bracket.
    for (qsizetype i = 1; i < text.size(); ++i)
        if (isOpening(text.at(i - 1).unicode()) || isClosing(text.at(i).unicode()))
            mayBreak[static_cast<size_t>(i)] = false;
    std::vector<bool> held(size + 1, false); // inside a short bracketed hint
    constexpr qsizetype kHint = 6;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar open = text.at(i);
        if (open != u'（' && open != u'(') continue;
        const QChar close = open == u'（' ? QChar(u'）') : QChar(u')');
        const qsizetype end = text.indexOf(close, i + 1);
        if (end < 0 || end - i > kHint) continue;
        for (qsizetype k = i; k <= end; ++k)
            held[static_cast<size_t>(k)] = true;
    }
    std::vector<Unit> units;
    Unit unit;
    QString part;
    const auto endPart = [&] {
        if (part.isEmpty()) return;
        unit.parts.push_back(part.toStdString());
        unit.text += unit.parts.back();
        part.clear();
    };
    const auto endUnit = [&] {
        endPart();
        if (!unit.text.empty()) units.push_back(std::move(unit));
        unit = Unit{};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            endUnit();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
            units.push_back({"", true, {}});
            continue;
        }
        const auto at = static_cast<size_t>(i);
        if (i > 0 && mayBreak[at]) {
            if (held[at] && held[at - 1])
                endPart();
            else
                endUnit();
        }
        part.append(c);
        if (c.isHighSurrogate() && i + 1 < text.size()) part.append(text.at(++i));
    }
    endUnit();
    return units;
}

// The characters of a unit too wide for a line of its own, one unit each.
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        const size_t n = std::min(charLength(static_cast<unsigned char>(text[i])), text.size() - i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

// Runs flowed into lines of at most `width`.
std::vector<Line> flow(const std::vector<Run>& runs, double width, double size) {
    std::vector<Line> lines(1);
    double x = 0;
    const auto newLine = [&] {
        lines.emplace_back();
        x = 0;
    };
    const double box = em(size) * 0.9;
    const auto textPieces = [&](const Run& run) {
        // Plan the lines first: greedy, then a last line of one character takes the last unit
        // of the line before it, so that no character stands alone.
        struct Placed {
            std::string text;
            double width;
            int line; // -1: a line end
        };
        std::vector<Placed> placed;
        int line = 0;
        double at = x;
        for (const Unit& unit : breakUnits(run.text)) {
            if (unit.lineEnd) {
                placed.push_back({"", 0, -1});
                ++line;
                at = 0;
                continue;
            }
            // A unit too wide for a line of its own breaks at its parts, then anywhere.
            std::vector<std::string> parts{unit.text};
            if (textWidth(unit.text, size) > width + 0.01) {
                parts.clear();
                for (const std::string& p : unit.parts) {
                    if (textWidth(p, size) <= width + 0.01) {
                        parts.push_back(p);
                        continue;
                    }
                    for (std::string& ch : characters(p))
                        parts.push_back(std::move(ch));
                }
            }
            for (const std::string& part : parts) {
                const double pw = textWidth(part, size);
                if (at + pw > width + 0.01 && at > 0) {
                    ++line;
                    at = 0;
                }
                placed.push_back({part, pw, line});
                at += pw;
            }
        }
        for (size_t i = placed.size(); i >= 3; --i) {
            // Only the last line of each paragraph is looked at.
            const Placed& last = placed[i - 1];
            if (last.line < 0 || (i < placed.size() && placed[i].line >= 0)) continue;
            const Placed& before = placed[i - 2];
            const Placed& first = placed[i - 3];
            if (before.line != last.line - 1 || first.line != before.line ||
                characters(last.text).size() != 1 || last.text.size() == 1)
                continue;
            if (textWidth(before.text + last.text, size) <= width + 0.01)
                placed[i - 2].line = last.line;
        }
        Piece piece{x, 0, "", run.name, run.bold, false, "", false};
        const auto flush = [&] {
            if (!piece.text.empty()) lines.back().push_back(piece);
            piece = Piece{x, 0, "", run.name, run.bold, false, "", false};
        };
        int current = 0;
        for (const Placed& p : placed) {
            const int target = p.line < 0 ? current + 1 : p.line;
            if (target != current) {
                flush();
                for (; current < target; ++current)
                    newLine();
                piece.x = 0;
            }
            if (p.line < 0) continue;
            piece.text += p.text;
            piece.width += p.width;
            x += p.width;
        }
        flush();
    };
    for (const Run& run : runs) {
        if (run.newLine && !lines.back().empty()) newLine();
        if (run.mark.empty()) {
            textPieces(run);
            continue;
        }
        // A box after a text keeps a little room from it (a full-width "（" has its ink at
        // the right edge).
        const double gap =
            x > 0 && !lines.back().empty() && !lines.back().back().isMark ? em(size) * 0.2 : 0;
        const double unit = gap + box + em(size) * 0.25 + textWidth(run.text, size);
        if (x > 0 && x + unit > width) {
            // An opening bracket does not end a line: it goes down with the box.
            std::string carried, name;
            bool bold = false;
            if (!lines.back().empty() && !lines.back().back().isMark) {
                Piece& last = lines.back().back();
                const std::vector<std::string> chars = characters(last.text);
                if (!chars.empty() &&
                    isOpening(QString::fromStdString(chars.back()).at(0).unicode())) {
                    carried = chars.back();
                    name = last.name;
                    bold = last.bold;
                    last.text.erase(last.text.size() - carried.size());
                    last.width -= textWidth(carried, size);
                    if (last.text.empty()) lines.back().pop_back();
                }
            }
            newLine();
            if (!carried.empty()) {
                const double w = textWidth(carried, size);
                lines.back().push_back(Piece{0, w, carried, name, bold, false, "", false});
                x = w + em(size) * 0.2;
            }
        } else {
            x += gap;
        }
        Piece mark{x, box, "", "", false, true, run.mark, run.marked};
        lines.back().push_back(mark);
        x += box + em(size) * 0.25;
        textPieces(run);
        x += em(size) * 0.8; // room before the next option
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

double cellContentHeight(const Cell& cell, double size) {
    const auto lines = flow(cell.runs, cell.width - 2 * kPad, size);
    return static_cast<double>(lines.size()) * em(size) * kLineFactor;
}

} // namespace

double textWidth(const std::string& text, double size) {
    double w = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t n = std::min(charLength(static_cast<unsigned char>(text[i])), text.size() - i);
        w += charWidth(text.substr(i, n), size);
        i += n;
    }
    return w;
}

std::vector<std::string> breakLines(const std::string& text, double width, double size) {
    std::vector<std::string> out;
    for (const Line& line : flow({textRun(text)}, width, size)) {
        std::string joined;
        for (const Piece& p : line)
            joined += p.text;
        out.push_back(joined);
    }
    return out;
}

PageWriter::PageWriter(double size) : size_(size) {
    pages_.emplace_back();
}

void PageWriter::newPage() {
    pages_.emplace_back();
    y_ = 0;
}

void PageWriter::line(const std::string& text, double size, bool bold, Align align,
                      const std::string& name, double x, double width) {
    Run run = textRun(text, name);
    run.bold = bold;
    const double height = em(size) * kLineFactor;
    for (const Line& l : flow({run}, width, size)) {
        if (y_ + height > kPageHeight) newPage();
        double used = 0;
        for (const Piece& p : l)
            used = std::max(used, p.x + p.width);
        const double shift = align == Align::Center  ? (width - used) / 2
                             : align == Align::Right ? width - used
                                                     : 0;
        for (const Piece& p : l)
            page().texts.push_back({{x + shift + p.x, y_, p.width + 1, height},
                                    p.text,
                                    size,
                                    bold,
                                    Align::Left,
                                    name});
        y_ += height;
    }
}

void PageWriter::place(Area area, const std::string& text, double size, bool bold, Align align,
                       const std::string& name) {
    page().texts.push_back({area, text, size, bold, align, name});
}

double PageWriter::rowHeight(const std::vector<Cell>& cells) const {
    double h = 0;
    for (const Cell& c : cells)
        h = std::max(h, cellContentHeight(c, size_));
    return h + 2 * kPad;
}

void PageWriter::row(const std::vector<Cell>& cells, double minHeight) {
    const double height = std::max(rowHeight(cells), minHeight);
    if (y_ + height > kPageHeight && y_ > 0) newPage();
    putRow(cells, height, size_);
}

void PageWriter::putRow(const std::vector<Cell>& cells, double height, double size) {
    double x = 0;
    const double lineHeight = em(size) * kLineFactor;
    for (const Cell& cell : cells) {
        if (cell.ruled) page().cells.push_back({x, y_, cell.width, height});
        const auto lines = flow(cell.runs, cell.width - 2 * kPad, size);
        const double used = static_cast<double>(lines.size()) * lineHeight;
        double top = y_ + std::max(kPad, (height - used) / 2);
        for (const Line& l : lines) {
            double width = 0;
            for (const Piece& p : l)
                width = std::max(width, p.x + p.width);
            const double inner = cell.width - 2 * kPad;
            const double shift = cell.align == Align::Center  ? (inner - width) / 2
                                 : cell.align == Align::Right ? inner - width
                                                              : 0;
            for (const Piece& p : l) {
                const double left = x + kPad + shift + p.x;
                if (p.isMark) {
                    const double box = p.width;
                    page().marks.push_back(
                        {{left, top + (lineHeight - box) / 2, box, box}, p.mark, p.marked});
                } else {
                    page().texts.push_back({{left, top, p.width + 1, lineHeight},
                                            p.text,
                                            size,
                                            p.bold,
                                            Align::Left,
                                            p.name});
                }
            }
            top += lineHeight;
        }
        x += cell.width;
    }
    y_ += height;
}

} // namespace xb::output
