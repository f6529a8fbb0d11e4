// The data directory of a picture tool: built from the repository's installation sources where
// tables are missing, then opened. Null (with the reason on standard error) when either fails.
#pragma once

#include "data_directory.h"
#include "store/record_store.h"

#include <iostream>
#include <memory>
#include <string>

inline std::unique_ptr<xb::store::RecordStore> openSampleStore(const std::string& data) {
    if (auto built =
            xb::install::buildDataDirectory(data, xb::install::repositorySources(XB_SOURCE_DIR));
        !built) {
        std::cerr << built.message() << "\n";
        return nullptr;
    }
    auto store = std::make_unique<xb::store::RecordStore>(data);
    if (auto opened = store->open(); !opened) {
        std::cerr << opened.message() << "\n";
        return nullptr;
    }
    return store;
}
