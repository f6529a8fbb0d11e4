#include "spreadsheet.h"

#include "store/csv_field.h"
#include "ui/saved_file.h"

#include <QDir>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace xb::analysis {
namespace {

std::string numberText(double value, CellKind kind) {
    if (kind == CellKind::Percent) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f%%", value * 100);
        return buffer;
    }
    // Sums of amounts kept to four places carry binary noise beyond them.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    std::string text = buffer;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string cellText(const Cell& cell, CellKind kind) {
    if (const auto* text = std::get_if<std::string>(&cell)) return *text;
    if (const auto* number = std::get_if<double>(&cell)) return numberText(*number, kind);
    if (const auto* date = std::get_if<store::Date>(&cell)) return date->toText();
    return "";
}

std::string tsvField(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

// Worksheet names may not hold []:*?/\ and are at most 31 characters long.
std::string sheetName(const std::string& name, size_t index) {
    QString n = QString::fromStdString(name);
    for (QChar bad : QStringLiteral("[]:*?/\\"))
        n.replace(bad, QChar('_'));
    n = n.left(31);
    if (n.isEmpty()) n = QStringLiteral("表%1").arg(index + 1);
    return n.toStdString();
}

store::Status writeXlsx(const std::vector<Sheet>& sheets, const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to the file as they are written
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book) return store::fail("无法建立文件 " + path);
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_bg_color(header, 0xDDEBF7);
    format_set_border(header, LXW_BORDER_THIN);
    format_set_text_wrap(header);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_format* amount = workbook_add_format(book);
    format_set_num_format(amount, "#,##0.00");
    lxw_format* integer = workbook_add_format(book);
    format_set_num_format(integer, "0");
    lxw_format* percent = workbook_add_format(book);
    format_set_num_format(percent, "0.0%");
    for (size_t s = 0; s < sheets.size(); ++s) {
        const Sheet& sheet = sheets[s];
        lxw_worksheet* ws = workbook_add_worksheet(book, sheetName(sheet.name, s).c_str());
        if (!ws) {
            workbook_close(book);
            return store::fail("无法建立工作表 " + sheet.name);
        }
        for (size_t c = 0; c < sheet.columns.size(); ++c) {
            const Column& column = sheet.columns[c];
            lxw_format* f = column.kind == CellKind::Date      ? date
                            : column.kind == CellKind::Number  ? amount
                            : column.kind == CellKind::Integer ? integer
                            : column.kind == CellKind::Percent ? percent
                                                               : nullptr;
            worksheet_set_column(ws, c, c, column.width, f);
            worksheet_write_string(ws, 0, c, column.header.c_str(), header);
        }
        worksheet_freeze_panes(ws, 1, 0);
        if (!sheet.columns.empty())
            worksheet_autofilter(ws, 0, 0, sheet.rows.size(), sheet.columns.size() - 1);
        for (size_t r = 0; r < sheet.rows.size(); ++r) {
            const auto& row = sheet.rows[r];
            for (size_t c = 0; c < row.size() && c < sheet.columns.size(); ++c) {
                const CellKind kind = sheet.columns[c].kind;
                const lxw_row_t at = r + 1;
                if (const auto* text = std::get_if<std::string>(&row[c])) {
                    if (!text->empty()) worksheet_write_string(ws, at, c, text->c_str(), nullptr);
                } else if (const auto* number = std::get_if<double>(&row[c])) {
                    worksheet_write_number(ws, at, c, std::round(*number * 1e4) / 1e4,
                                           kind == CellKind::Percent   ? percent
                                           : kind == CellKind::Integer ? integer
                                                                       : amount);
                } else if (const auto* d = std::get_if<store::Date>(&row[c])) {
                    lxw_datetime when{d->year, d->month, d->day, 0, 0, 0};
                    worksheet_write_datetime(ws, at, c, &when, date);
                }
            }
        }
    }
    if (const lxw_error e = workbook_close(book); e != LXW_NO_ERROR)
        return store::fail("无法写入文件 " + path + "：" + lxw_strerror(e));
    return {};
}

} // namespace

std::optional<SheetFormat> sheetFormat(const std::string& name) {
    if (name == "tsv") return SheetFormat::Tsv;
    if (name == "csv") return SheetFormat::Csv;
    if (name == "xlsx") return SheetFormat::Xlsx;
    return std::nullopt;
}

std::string sheetsText(const std::vector<Sheet>& sheets, SheetFormat format) {
    const bool csv = format == SheetFormat::Csv;
    std::string text = csv ? "\xEF\xBB\xBF" : "";
    const char* const end = csv ? "\r\n" : "\n";
    const auto field = [&](const std::string& t) { return csv ? store::csvField(t) : tsvField(t); };
    for (size_t s = 0; s < sheets.size(); ++s) {
        const Sheet& sheet = sheets[s];
        if (s) text += end;
        if (sheets.size() > 1) text += field(sheet.name) + end;
        for (size_t c = 0; c < sheet.columns.size(); ++c)
            text += (c ? (csv ? "," : "\t") : "") + field(sheet.columns[c].header);
        text += end;
        for (const auto& row : sheet.rows) {
            for (size_t c = 0; c < sheet.columns.size(); ++c)
                text += (c ? (csv ? "," : "\t") : "") +
                        field(c < row.size() ? cellText(row[c], sheet.columns[c].kind) : "");
            text += end;
        }
    }
    return text;
}

store::Status writeSheets(const std::vector<Sheet>& sheets, SheetFormat format,
                          const std::string& path, bool replace) {
    const QString target = QString::fromStdString(path);
    if (!replace && QFileInfo::exists(target)) return store::fail("文件已经存在：" + path);
    if (format != SheetFormat::Xlsx) {
        const std::string text = sheetsText(sheets, format);
        return ui::saveWholeFile(target, QByteArray::fromStdString(text));
    }
    // The workbook is written beside the target and put in its place once it is whole.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (store::Status s = writeXlsx(sheets, partial.toStdString()); !s) {
        QFile::remove(partial);
        return s;
    }
    std::error_code ec;
    std::filesystem::rename(partial.toStdString(), path, ec);
    if (ec) {
        QFile::remove(partial);
        return store::fail("无法写入文件 " + path + "：" + ec.message());
    }
    return {};
}

} // namespace xb::analysis
