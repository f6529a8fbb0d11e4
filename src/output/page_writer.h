// Lays out the printed form: lines of text across the page and rows of ruled cells whose
// contents (texts and option mark boxes) wrap inside the cell. Widths are estimated from the
// characters (a Chinese character takes one em, a Latin one a little over half), so layout
// needs no font. Lines break by the rules of Chinese typesetting. Texts keep their size: rows
// grow to hold them, and what does not fit on a page goes onto the next one; nothing is cut.
#pragma once

#include "output/print_page.h"

#include <string>
#include <vector>

namespace xb::output {

// A piece of a cell: a text, or an option's mark box followed by its text.
struct Run {
    std::string text;
    std::string name;     // the value a text shows (PageText::name)
    std::string mark;     // the mark box's name; empty for a plain text
    bool marked = false;  // the box carries "√"
    bool newLine = false; // starts a new line of the cell
    bool bold = false;
};

struct Cell {
    double width = 0;
    std::vector<Run> runs;
    Align align = Align::Left;
    bool ruled = true;
};

// A plain text run.
inline Run textRun(const std::string& text, const std::string& name = "") {
    return Run{text, name, "", false, false, false};
}
inline Cell textCell(double width, const std::string& text, const std::string& name = "",
                     Align align = Align::Left) {
    return Cell{width, {textRun(text, name)}, align, true};
}

// The estimated width in millimetres of a text at `size` points.
double textWidth(const std::string& text, double size);
// The text broken into lines of at most `width` millimetres at `size` points.
std::vector<std::string> breakLines(const std::string& text, double width, double size);

class PageWriter {
  public:
    // `size` is the size of the texts in cells, in points.
    explicit PageWriter(double size = 9);

    double y() const { return y_; }
    // Room left on the page below the current position.
    double room() const { return kPageHeight - y_; }
    void skip(double mm) { y_ += mm; }
    void newPage();

    // A text across `width` from `x`, wrapped into lines, going onto a new page when full.
    void line(const std::string& text, double size, bool bold = false, Align align = Align::Left,
              const std::string& name = "", double x = 0, double width = kPageWidth);
    // A text placed at a fixed spot of the current page; the position does not move.
    void place(Area area, const std::string& text, double size, bool bold = false,
               Align align = Align::Left, const std::string& name = "");
    // The height a row of these cells takes.
    double rowHeight(const std::vector<Cell>& cells) const;
    // A row of cells from the left edge at the current position, at least `minHeight` high;
    // it goes onto a new page when it does not fit.
    void row(const std::vector<Cell>& cells, double minHeight = 0);
    // A ruled frame around a part of the current page.
    void frame(Area area) { page().cells.push_back(area); }

    Page& page() { return pages_.back(); }
    std::vector<Page>& pages() { return pages_; }

  private:
    void putRow(const std::vector<Cell>& cells, double height, double size);

    double size_;
    double y_ = 0;
    std::vector<Page> pages_;
};

} // namespace xb::output
