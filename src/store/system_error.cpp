#include "system_error.h"

#include <cerrno>
#include <cstring>

namespace xb::store {

namespace {

const char* chinese(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return "文件或文件夹不存在";
    case EACCES:
    case EPERM:
        return "没有访问权限";
    case EROFS:
        return "磁盘是只读的";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足";
    case EISDIR:
        return "这是一个文件夹";
    case ENOTDIR:
        return "路径中的文件夹不存在";
    case EMFILE:
    case ENFILE:
        return "打开的文件太多";
    case EIO:
        return "磁盘读写错误";
    case EFBIG:
        return "文件太大";
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return "文件正被其他程序使用";
    case EEXIST:
        return "文件已经存在";
    case ENAMETOOLONG:
        return "文件名太长";
    default:
        return nullptr;
    }
}

} // namespace

std::string systemErrorText(int errorNumber) {
    if (const char* text = chinese(errorNumber)) return text;
    return "系统错误（错误号 " + std::to_string(errorNumber) + "）";
}

std::string systemErrorTextFor(const std::string& systemText) {
    // The text alone, or at the end of a longer one ("execvp: No such file or directory").
    for (int errorNumber = 1; errorNumber < 134; ++errorNumber) {
        const std::string known = std::strerror(errorNumber);
        if (systemText.size() >= known.size() &&
            systemText.compare(systemText.size() - known.size(), known.size(), known) == 0)
            return systemErrorText(errorNumber);
    }
    return systemText;
}

} // namespace xb::store
