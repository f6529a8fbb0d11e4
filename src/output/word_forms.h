// The four Word documents an achievement record can be written into: the registration form of
// its category, the appraisal application form and the appraisal certificate. Each is filled
// from a template of the data directory named after the document.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xb::output {

enum class WordForm { Applied, Basic, Application, Certificate };

// The template's name without extension ("应用技术登记表"); the template is `<name>.docx` in the
// data directory and the filled documents are named after it.
std::string templateName(WordForm form);
// The caption of the print window's button for the document.
std::string buttonCaption(WordForm form);
// The name the command line uses: applied, basic, application, certificate.
std::string commandName(WordForm form);
std::optional<WordForm> formForCommandName(const std::string& name);

// The documents offered for a record of the category (`item_cglb`): the applied-technology
// registration form for "1", the basic/soft one otherwise, and the two appraisal forms always.
std::vector<WordForm> formsForCategory(const std::string& category);

} // namespace xb::output
