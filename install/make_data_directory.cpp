// Build step: creates the data directory beside the executable from the installation sources.
//   xunbao-datadir INSTALLATION_DIRECTORY DATA_DIRECTORY
#include "data_directory.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "用法：xunbao-datadir 安装文件夹 数据目录\n";
        return 2;
    }
    auto created = xb::install::buildDataDirectory(argv[2], xb::install::sourcesIn(argv[1]));
    if (!created) {
        std::cerr << created.message() << "\n";
        return 1;
    }
    for (const auto& name : *created)
        std::cout << "created " << name << "\n";
    return 0;
}
