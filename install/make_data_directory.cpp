// Build step: creates the data directory beside the executable from the installation sources.
//   xunbao-datadir SOURCE_ROOT DATA_DIRECTORY
#include "data_directory.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "用法：xunbao-datadir 源目录 数据目录\n";
        return 2;
    }
    auto created =
        xb::install::buildDataDirectory(argv[2], xb::install::repositorySources(argv[1]));
    if (!created) {
        std::cerr << created.message() << "\n";
        return 1;
    }
    for (const auto& name : *created)
        std::cout << "created " << name << "\n";
    return 0;
}
