// The data directory of the tests: built from the repository's installation sources and opened as
// the program opens it. Every fixture that needs the shipped tables starts from here.
#pragma once

#include "data_directory.h"
#include "store/record_store.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>

// Builds the data directory in `path` (made when missing) and opens it; null, with the reason in
// `error`, when either fails.
inline std::unique_ptr<xb::store::RecordStore> openShippedData(const std::string& path,
                                                               std::string& error) {
    auto built =
        xb::install::buildDataDirectory(path, xb::install::repositorySources(XB_SOURCE_DIR));
    if (!built) {
        error = built.message();
        return nullptr;
    }
    auto store = std::make_unique<xb::store::RecordStore>(path);
    if (auto opened = store->open(); !opened) {
        error = opened.message();
        return nullptr;
    }
    return store;
}

// The same in a folder of its own, removed with it.
class ShippedData {
  public:
    ShippedData()
        : path_(QDir(folder_.path()).filePath(QStringLiteral("data")).toStdString()),
          store_(openShippedData(path_, error_)) {}

    bool ok() const { return store_ != nullptr; }
    // Empty when the directory was built and opened; otherwise what went wrong.
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    xb::store::RecordStore& store() { return *store_; }
    xb::store::Database& db() { return store_->db(); }

  private:
    QTemporaryDir folder_;
    std::string path_;
    std::string error_;
    std::unique_ptr<xb::store::RecordStore> store_;
};
