// Chinese wording of the operating system's file errors, for messages that name a file.
#pragma once

#include <string>

namespace xb::exchange {

// A short Chinese description of an errno value ("文件不存在", "磁盘空间不足", ...); errors
// without a Chinese wording fall back to the system's own text.
std::string systemErrorText(int errorNumber);

} // namespace xb::exchange
