#include "output/print_page.h"

namespace xb::output {

const PageMark* findMark(const Page& page, const std::string& name) {
    for (const PageMark& mark : page.marks)
        if (mark.name == name) return &mark;
    return nullptr;
}

std::vector<std::string> markedNames(const Page& page) {
    std::vector<std::string> names;
    for (const PageMark& mark : page.marks)
        if (mark.marked) names.push_back(mark.name);
    return names;
}

std::string textOf(const Page& page, const std::string& name) {
    std::string out;
    for (const PageText& t : page.texts)
        if (t.name == name) out += (out.empty() ? "" : "\n") + t.text;
    return out;
}

std::string allText(const Page& page) {
    std::string out;
    for (const PageText& t : page.texts)
        out += t.text + "\n";
    return out;
}

} // namespace xb::output
