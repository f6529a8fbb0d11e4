// The options the printed form shows for a coded field, each with its mark box: the code and
// the option's printed text, in the form's order.
#pragma once

#include "output/print_record.h"

#include <string>
#include <vector>

namespace xb::output {

struct FormOption {
    std::string code;
    std::string text;
};

// The options of `field` ("ITEM_123", any case) on `form`; empty for a field without boxes.
const std::vector<FormOption>& formOptions(const std::string& field, PrintedForm form);

} // namespace xb::output
