// Chinese wording of the operating system's errors for the messages users see. The system's own
// (English) text goes only to the log, standard error.
#pragma once

#include <string>

namespace xb::store {

// A short Chinese description of an errno value ("文件不存在", "磁盘空间不足", ...).
std::string systemErrorText(int errorNumber);

// The same for a text the system gave for an error (what strerror() yields, and thus what Qt's
// errorString() of files and folders says); a text that is no system error text is kept.
std::string systemErrorTextFor(const std::string& systemText);

} // namespace xb::store
