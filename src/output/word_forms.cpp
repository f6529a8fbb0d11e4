#include "output/word_forms.h"

#include "store/lookups.h"

namespace xb::output {
namespace {

struct FormNames {
    WordForm form;
    const char* command;
    const char* templateName;
    const char* button;
};

constexpr FormNames kForms[] = {
    {WordForm::Applied, "applied", "应用技术登记表", "科技成果登记表(Word)"},
    {WordForm::Basic, "basic", "基础、软科学登记表", "输出科技成果登记表(word)"},
    {WordForm::Application, "application", "科学技术成果鉴定申请表",
     "输出科学技术成果评价申请表(word)"},
    {WordForm::Certificate, "certificate", "科学技术成果鉴定证书",
     "输出科学技术成果评价证书(word)"},
};

const FormNames& names(WordForm form) {
    for (const FormNames& n : kForms)
        if (n.form == form) return n;
    return kForms[0];
}

} // namespace

std::string templateName(WordForm form) {
    return names(form).templateName;
}

std::string buttonCaption(WordForm form) {
    return names(form).button;
}

std::string commandName(WordForm form) {
    return names(form).command;
}

std::optional<WordForm> formForCommandName(const std::string& name) {
    for (const FormNames& n : kForms)
        if (name == n.command) return n.form;
    return std::nullopt;
}

std::vector<WordForm> formsForCategory(const std::string& category) {
    const WordForm registration =
        store::trimmed(category) == "1" ? WordForm::Applied : WordForm::Basic;
    return {registration, WordForm::Application, WordForm::Certificate};
}

} // namespace xb::output
