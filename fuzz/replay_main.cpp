// Runs a fuzz target over saved inputs: the seed corpus and every input that once crashed or
// hung. Usage: fuzz_replay TARGET DIR...; exits non-zero when a folder is missing or empty.
#include "fuzz_targets.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: fuzz_replay table|query|exchange DIR...\n";
        return 2;
    }
    int (*target)(const uint8_t*, size_t) = nullptr;
    if (std::strcmp(argv[1], "table") == 0) target = xb::fuzz::tableReader;
    if (std::strcmp(argv[1], "query") == 0) target = xb::fuzz::queryParser;
    if (std::strcmp(argv[1], "exchange") == 0) target = xb::fuzz::exchangeReader;
    if (!target) {
        std::cerr << "unknown target " << argv[1] << "\n";
        return 2;
    }
    int replayed = 0;
    for (int i = 2; i < argc; ++i) {
        std::error_code ec;
        std::vector<fs::path> inputs;
        for (const auto& entry : fs::directory_iterator(argv[i], ec))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        if (ec) {
            std::cerr << argv[i] << ": " << ec.message() << "\n";
            return 1;
        }
        std::sort(inputs.begin(), inputs.end());
        for (const fs::path& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
            std::cout << input.filename().string() << "\n" << std::flush;
            target(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::cout << replayed << " inputs replayed\n";
    return replayed > 0 ? 0 : 1;
}
