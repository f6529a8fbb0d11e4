#include "system_error_text.h"

#include <cerrno>
#include <cstring>

namespace xb::exchange {

std::string systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return "文件或文件夹不存在";
    case EACCES:
    case EPERM:
        return "没有访问权限";
    case EROFS:
        return "磁盘是只读的";
    case ENOSPC:
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
        return "文件正被其他程序使用";
    default:
        return std::strerror(errorNumber);
    }
}

} // namespace xb::exchange
