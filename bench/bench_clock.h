// Timing shared by the benchmarks: seconds since a moment, the time `cat` takes to read files
// (the bound a reader of the same files is set beside), and the time a copy and sync of files
// takes (the bound of a pack).
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

inline double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Negative when `cat` failed.
inline double catTime(const std::vector<std::filesystem::path>& files) {
    std::string command = "cat";
    for (const auto& f : files)
        command += " '" + f.string() + "'";
    command += " > /dev/null";
    const auto t = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return seconds(t);
}

// Copies the files into `to` and syncs each, as `cp` and `sync FILE` would; negative when the
// sync failed.
inline double copyAndSyncTime(const std::vector<std::filesystem::path>& files,
                              const std::filesystem::path& to) {
    std::filesystem::create_directories(to);
    const auto t = std::chrono::steady_clock::now();
    for (const auto& file : files) {
        const auto target = to / file.filename();
        std::filesystem::copy_file(file, target, std::filesystem::copy_options::overwrite_existing);
        if (std::system(("sync '" + target.string() + "'").c_str()) != 0) return -1;
    }
    return seconds(t);
}
