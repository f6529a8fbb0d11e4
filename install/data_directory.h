// Creating a data directory from the installation sources: every table of the layouts, the
// read-only ones filled from the rows in `rows/` (UTF-8, tab-separated, first line the column
// names), and the shipped files (welcome picture, document templates). Only what is missing is
// created; an existing table or file is never touched, so a rebuild never loses a user's records.
#pragma once

#include "store/result.h"

#include <string>
#include <vector>

namespace xb::install {

struct InstallSources {
    std::string rowsDirectory;      // one <table>.tsv per filled table
    std::vector<std::string> files; // copied into the data directory when missing
};

// The sources in an installation folder: `rows/`, `welcome.jpg` and `templates/*.docx`. The build
// puts one beside the executables (`installation/`), so a copy of the build output can create a
// data directory anywhere.
InstallSources sourcesIn(const std::string& installationDirectory);

// The sources kept in the repository at `sourceRoot`/install.
InstallSources repositorySources(const std::string& sourceRoot);

// Creates what is missing in `dataDirectory`; yields the names of the files it created.
store::Result<std::vector<std::string>> buildDataDirectory(const std::string& dataDirectory,
                                                           const InstallSources& sources);

// Reads one rows file: the column names of its first line and the rows that follow.
struct RowsFile {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};
store::Result<RowsFile> readRowsFile(const std::string& path);

} // namespace xb::install
