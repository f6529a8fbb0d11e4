// The data directory of a picture tool: built from the repository's installation sources where
// tables are missing, then opened. Null (with the reason on standard error) when either fails.
#pragma once

#include "support/shipped_data.h"

#include <iostream>
#include <memory>
#include <string>

inline std::unique_ptr<xb::store::RecordStore> openSampleStore(const std::string& data) {
    std::string error;
    auto store = openShippedData(data, error);
    if (!store) std::cerr << error << "\n";
    return store;
}
