#include "fuzz_targets.h"
#include "store/sql_parser.h"

#include <string>

namespace xb::fuzz {

int queryParser(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto statement = store::sql::parse(text);
    // A refusal must say why.
    if (!statement.ok() && statement.message().empty()) __builtin_trap();
    return 0;
}

} // namespace xb::fuzz
