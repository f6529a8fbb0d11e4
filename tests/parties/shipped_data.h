// A fresh data directory built from the installation sources, in a folder removed afterwards.
#pragma once

#include "data_directory.h"
#include "store/database.h"

#include <QTemporaryDir>
#include <memory>
#include <string>

class ShippedData {
  public:
    ShippedData() {
        path_ = dir_.filePath(QStringLiteral("data")).toStdString();
        auto built =
            xb::install::buildDataDirectory(path_, xb::install::repositorySources(XB_SOURCE_DIR));
        ok_ = dir_.isValid() && built.ok();
        error_ = built.ok() ? std::string() : built.message();
    }

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

  private:
    QTemporaryDir dir_;
    std::string path_;
    std::string error_;
    bool ok_ = false;
};
