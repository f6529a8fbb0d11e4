// The fixed labels of the people codes: sex, professional title, education and return from study
// abroad. The completers and committee lists, the printed form and the Word documents all show
// these codes through this one table.
#pragma once

#include <string>

namespace xb::store {

enum class PeopleCode {
    Sex,         // completers item_181, committee item_193
    Title,       // completers item_183, committee item_198
    Education,   // completers item_184
    StudyAbroad, // completers item_188
};

// The label of a code; "" when the table has no such code. The code is compared trimmed.
std::string peopleLabel(PeopleCode kind, const std::string& code);

// A list cell: two blanks and the label, or the code as stored when the table has no label.
std::string peopleListText(PeopleCode kind, const std::string& code);

// Printed and Word output: the label alone, "" for an unknown code.
inline std::string peopleOutputText(PeopleCode kind, const std::string& code) {
    return peopleLabel(kind, code);
}

} // namespace xb::store
