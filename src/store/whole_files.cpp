#include "whole_files.h"

#include "field.h"
#include "file_system.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace xb::store {

std::string findFile(const std::string& folder, const std::string& name) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (sameName(e.path().filename().string(), name)) return e.path().filename().string();
    return {};
}

int copyFile(const std::string& from, const std::string& to) {
    std::unique_ptr<File> in, out;
    if (int error = openFile(from, OpenAs::Read, in)) return error;
    if (int error = openFile(to, OpenAs::CreateNew, out)) return error;
    std::string buffer(1 << 20, '\0');
    for (uint64_t offset = 0;;) {
        size_t got = 0;
        if (int error = in->readAt(buffer.data(), buffer.size(), offset, got)) return error;
        if (got == 0) break;
        if (int error = out->writeAt(buffer.data(), got, offset)) return error;
        offset += got;
    }
    return out->sync();
}

int readWholeFile(const std::string& path, std::string& text) {
    std::unique_ptr<File> file;
    if (int error = openFile(path, OpenAs::Read, file)) return error;
    uint64_t size = 0;
    if (int error = file->size(size)) return error;
    text.assign(size, '\0');
    size_t got = 0;
    if (int error = file->readAt(text.data(), text.size(), 0, got)) return error;
    text.resize(got);
    return 0;
}

int writeNewFile(const std::string& path, const std::string& text) {
    std::unique_ptr<File> file;
    if (int error = openFile(path, OpenAs::CreateNew, file)) return error;
    if (int error = file->writeAt(text.data(), text.size(), 0)) return error;
    return file->sync();
}

int removeFolder(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> inside;
    for (const auto& e : fs::directory_iterator(folder, ec))
        inside.push_back(e.path().string());
    for (const std::string& p : inside) {
        const int error = fs::is_directory(p, ec) ? removeFolder(p) : fileSystem().remove(p);
        if (error && error != ENOENT) return error;
    }
    const int error = fileSystem().remove(folder);
    return error == ENOENT ? 0 : error;
}

} // namespace xb::store
