#include "output/page_writer.h"

#include <algorithm>

namespace xb::output {
namespace {

constexpr double kPad = 1.0;         // inner margin of a cell
constexpr double kLineFactor = 1.35; // line height in em
constexpr double kMinSize = 3.5;     // the smallest size a fixed row shrinks its texts to

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
        Piece piece{x, 0, "", run.name, run.bold, false, "", false};
        const auto flush = [&] {
            if (!piece.text.empty()) lines.back().push_back(piece);
            piece = Piece{x, 0, "", run.name, run.bold, false, "", false};
        };
        for (size_t i = 0; i < run.text.size();) {
            const size_t n =
                std::min(charLength(static_cast<unsigned char>(run.text[i])), run.text.size() - i);
            const std::string ch = run.text.substr(i, n);
            i += n;
            if (ch == "\r" || ch == "\n") {
                flush();
                if (ch == "\r" && i < run.text.size() && run.text[i] == '\n') ++i;
                newLine();
                piece.x = 0;
                continue;
            }
            const double w = charWidth(ch, size);
            if (x + w > width + 0.01 && x > 0) {
                flush();
                newLine();
                piece.x = 0;
            }
            piece.text += ch;
            piece.width += w;
            x += w;
        }
        flush();
    };
    for (const Run& run : runs) {
        if (run.newLine && !lines.back().empty()) newLine();
        if (run.mark.empty()) {
            textPieces(run);
            continue;
        }
        const double unit = box + em(size) * 0.25 + textWidth(run.text, size);
        if (x > 0 && x + unit > width) newLine();
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

void PageWriter::fixedRow(const std::vector<Cell>& cells, double height) {
    double size = size_;
    const auto fits = [&](double s) {
        for (const Cell& c : cells)
            if (cellContentHeight(c, s) + 2 * kPad > height + 0.01) return false;
        return true;
    };
    while (size > kMinSize && !fits(size))
        size -= 0.5;
    if (y_ + height > kPageHeight + 0.01 && y_ > 0) newPage();
    putRow(cells, height, size);
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
