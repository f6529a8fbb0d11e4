#include "data_directory.h"

#include "store/layouts.h"
#include "store/table_file.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace xb::store;

namespace xb::install {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        parts.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return parts;
        start = tab + 1;
    }
}

// Removes the files of a table that could not be filled completely.
void removeTable(const fs::path& dbf) {
    std::error_code ec;
    fs::remove(dbf, ec);
    fs::path dbt = dbf;
    dbt.replace_extension(".dbt");
    fs::remove(dbt, ec);
}

Status fillTable(const fs::path& dbf, const TableLayout& layout, const RowsFile& rows,
                 const std::string& source) {
    if (rows.columns.size() != layout.fields.size())
        return fail(source + "：列数与表 " + layout.name + " 的字段数不符");
    for (size_t i = 0; i < rows.columns.size(); ++i)
        if (!sameName(rows.columns[i], layout.fields[i].name))
            return fail(source + "：第 " + std::to_string(i + 1) + " 列应为 " +
                        layout.fields[i].name);
    auto table = TableFile::open(dbf.string(), OpenMode::Exclusive);
    if (!table) return table.error();
    for (const auto& row : rows.rows) {
        std::vector<Value> values(row.begin(), row.end());
        values.resize(layout.fields.size());
        if (auto appended = (*table)->append(values); !appended) return appended.error();
    }
    return {};
}

} // namespace

InstallSources repositorySources(const std::string& sourceRoot) {
    return sourcesIn((fs::path(sourceRoot) / "install").string());
}

InstallSources sourcesIn(const std::string& installationDirectory) {
    const fs::path install(installationDirectory);
    InstallSources sources;
    sources.rowsDirectory = (install / "rows").string();
    std::error_code ec;
    if (fs::exists(install / "welcome.jpg", ec))
        sources.files.push_back((install / "welcome.jpg").string());
    for (const auto& entry : fs::directory_iterator(install / "templates", ec))
        if (entry.path().extension() == ".docx") sources.files.push_back(entry.path().string());
    return sources;
}

Result<RowsFile> readRowsFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("无法读取 " + path);
    RowsFile file;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        auto parts = splitTabs(line);
        if (file.columns.empty()) {
            file.columns = std::move(parts);
            continue;
        }
        if (parts.size() > file.columns.size())
            return fail(path + " 第 " + std::to_string(number) + " 行的数据项多于列数");
        file.rows.push_back(std::move(parts));
    }
    if (file.columns.empty()) return fail(path + " 没有列名行");
    return file;
}

Result<std::vector<std::string>> buildDataDirectory(const std::string& dataDirectory,
                                                    const InstallSources& sources) {
    std::vector<std::string> created;
    std::error_code ec;
    fs::create_directories(dataDirectory, ec);
    if (ec) return fail("无法创建数据目录 " + dataDirectory + "：" + ec.message());
    const Database lookup(dataDirectory);
    for (const TableLayout& layout : allLayouts()) {
        if (lookup.hasTable(layout.fileName)) continue;
        const fs::path dbf = fs::path(dataDirectory) / layout.fileName;
        if (Status s = TableFile::create(dbf.string(), layout.fields); !s) return s.error();
        const fs::path rowsPath = fs::path(sources.rowsDirectory) / (layout.name + ".tsv");
        if (fs::exists(rowsPath, ec)) {
            auto rows = readRowsFile(rowsPath.string());
            Status filled = rows ? fillTable(dbf, layout, *rows, rowsPath.filename().string())
                                 : Status(rows.error());
            if (!filled) {
                removeTable(dbf);
                return filled.error();
            }
        }
        created.push_back(layout.fileName);
    }
    for (const std::string& file : sources.files) {
        const fs::path target = fs::path(dataDirectory) / fs::path(file).filename();
        if (fs::exists(target, ec)) continue;
        fs::copy_file(file, target, ec);
        if (ec) return fail("无法复制 " + file + "：" + ec.message());
        created.push_back(target.filename().string());
    }
    return created;
}

} // namespace xb::install
