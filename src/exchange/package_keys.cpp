#include "package_keys.h"

#include "import_reading.h"
#include "records/record_keeping.h"

namespace xb::exchange {

store::Error packageLineError(const std::string& fileName, int line, const std::string& what) {
    return store::fail("文件 " + fileName + " 第 " + std::to_string(line) + " 行" + what + "，" +
                       WrongFormatText.toStdString());
}

store::Status PackageKeys::check(const std::string& fileName, bool achievement, int line,
                                 const std::string& number, const std::string& region) {
    if (!records::isRecordNumber(number))
        return packageLineError(fileName, line, "的成果管理编号“" + number + "”不是年份加六位序号");
    if (!achievement) return {};
    if (!keys_.emplace(number, region).second)
        return packageLineError(fileName, line,
                                "的成果管理编号“" + number +
                                    "”与前面的成果重复，无法分清各成果的下属数据");
    return {};
}

} // namespace xb::exchange
