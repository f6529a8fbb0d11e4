// One printed page of the registration form as plain data: positioned texts, ruled cells, mark
// boxes and the page number, all in millimetres from the top left corner of the printable area
// of an A4 portrait sheet with 10 mm margins. The renderer draws it; tests read it.
#pragma once

#include <string>
#include <vector>

namespace xb::output {

inline constexpr double kPageWidth = 190.0;  // 210 mm less two margins
inline constexpr double kPageHeight = 270.0; // 297 mm less two margins and the page number's line

struct Area {
    double x = 0, y = 0, w = 0, h = 0;
};

enum class Align { Left, Center, Right };

struct PageText {
    Area area;
    std::string text; // one line
    double size = 10; // points
    bool bold = false;
    Align align = Align::Left;
    std::string name; // the value it shows ("ITEM_3"), empty for the form's own wording
};

// A mark box of one option, named "QL_" + field + "_" + code; marked boxes carry "√".
struct PageMark {
    Area area;
    std::string name;
    bool marked = false;
};

struct Page {
    std::vector<PageText> texts;
    std::vector<Area> cells; // ruled rectangles
    std::vector<PageMark> marks;
    // The rows of a printed list on this page (filler rows included), one text per column.
    std::vector<std::vector<std::string>> rows;
    std::string number; // printed at the foot; empty on the cover pages
};

// The mark box of that name, or nullptr.
const PageMark* findMark(const Page& page, const std::string& name);
// The names of the marked boxes of a page.
std::vector<std::string> markedNames(const Page& page);
// The lines of the texts showing `name`, joined by "\n"; empty when none.
std::string textOf(const Page& page, const std::string& name);
// All texts of a page joined by "\n", in the order they were placed.
std::string allText(const Page& page);

} // namespace xb::output
