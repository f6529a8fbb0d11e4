#include "fuzz_targets.h"
#include "store/table_file.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace xb::fuzz {

namespace {

// One folder per process for the files of each input.
const std::string& workFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/xunbao-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

int tableReader(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t tableSize = std::min(size - 2, size_t{data[0]} | size_t{data[1]} << 8);
    const uint8_t* table = data + 2;
    const uint8_t* memo = table + tableSize;
    const size_t memoSize = size - 2 - tableSize;
    const std::string path = workFolder() + "/t.dbf";
    writeFile(path, table, tableSize);
    writeFile(workFolder() + "/t.dbt", memo, memoSize);
    writeFile(workFolder() + "/t.fpt", memo, memoSize);

    auto opened = store::TableFile::open(path, store::OpenMode::Exclusive);
    if (!opened.ok()) {
        if (opened.message().empty()) __builtin_trap(); // a refusal must say why
        return 0;
    }
    const store::TableFile& file = **opened;
    (void)file.scan([&](uint32_t, std::string_view raw) {
        const std::vector<store::Value> row = file.decodeRow(raw);
        for (int field = 0; field < static_cast<int>(file.fields().size()); ++field) {
            (void)file.memoBytes(raw, field);
            // Emptiness told without the whole memo must agree with the decoded value.
            if (file.isNull(raw, field) != row[static_cast<size_t>(field)].isNull())
                __builtin_trap();
        }
        return true;
    });
    return 0;
}

} // namespace xb::fuzz
