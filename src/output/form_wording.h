// The fixed wording of the registration form (statistics notice, instructions, notes and annex
// pages), kept in one text file compiled into the program, so that every copy prints the form
// of its own version. A section starts with a line "[name]"; its lines follow:
//   "# text"    a page title          "## text"   a heading
//   "| a | b |" a row of a table      "> text"    a line set smaller (a note)
//   "text"      a paragraph           "-"         an empty line
#pragma once

#include <string>
#include <vector>

namespace xb::output {

// The lines of a section, without the "[name]" line; empty for an unknown section.
const std::vector<std::string>& formWording(const std::string& section);

} // namespace xb::output
