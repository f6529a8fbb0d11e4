// Timing shared by the benchmarks: seconds since a moment, and the time `cat` takes to read
// files, the bound a reader of the same files is set beside.
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
