// A folder of its own for each test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("xunbao-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#include "store/database.h"
#include "store/layouts.h"
#include "store/table_file.h"

// Creates the named tables of the data directory layout in `dir`.
inline void createTables(const TempDir& dir, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const auto& layout = xb::store::layoutOf(name);
        (void)xb::store::TableFile::create(dir.file(layout.fileName), layout.fields);
    }
}

// Appends a row given as field/value pairs through a table cursor.
inline void addRow(xb::store::Database& db, const std::string& table,
                   std::initializer_list<std::pair<const char*, xb::store::Value>> values) {
    auto cursor = db.table(table);
    ASSERT_TRUE(cursor.ok()) << cursor.message();
    ASSERT_TRUE((*cursor)->append().ok());
    for (const auto& [name, value] : values)
        ASSERT_TRUE((*cursor)->setValue(name, value).ok()) << name;
    auto posted = (*cursor)->post();
    ASSERT_TRUE(posted.ok()) << posted.message();
}
