#include "people_labels.h"

#include <array>
#include <string_view>

namespace xb::store {

namespace {

struct Label {
    PeopleCode kind;
    std::string_view code;
    std::string_view label;
};

constexpr std::array kLabels{
    Label{PeopleCode::Sex, "0", "男"},
    Label{PeopleCode::Sex, "1", "女"},
    Label{PeopleCode::Title, "1", "院士"},
    Label{PeopleCode::Title, "2", "正高"},
    Label{PeopleCode::Title, "3", "副高"},
    Label{PeopleCode::Title, "4", "中级"},
    Label{PeopleCode::Title, "5", "初级"},
    Label{PeopleCode::Title, "9", "其他"},
    Label{PeopleCode::Title, "a", "两院院士"},
    Label{PeopleCode::Title, "b", "中科院院士"},
    Label{PeopleCode::Title, "c", "工程院院士"},
    Label{PeopleCode::Education, "2", "博士研究生"},
    Label{PeopleCode::Education, "3", "硕士研究生"},
    Label{PeopleCode::Education, "4", "大本"},
    Label{PeopleCode::Education, "5", "大专"},
    Label{PeopleCode::Education, "6", "中专"},
    Label{PeopleCode::Education, "9", "其他"},
    Label{PeopleCode::StudyAbroad, "1", "是"},
    Label{PeopleCode::StudyAbroad, "0", "否"},
};

std::string_view trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string peopleLabel(PeopleCode kind, const std::string& code) {
    const std::string_view wanted = trim(code);
    for (const Label& l : kLabels)
        if (l.kind == kind && l.code == wanted) return std::string(l.label);
    return {};
}

std::string peopleListText(PeopleCode kind, const std::string& code) {
    const std::string label = peopleLabel(kind, code);
    return label.empty() ? code : "  " + label;
}

} // namespace xb::store
