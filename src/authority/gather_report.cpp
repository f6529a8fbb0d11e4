#include "gather_report.h"

#include "authority/gather_schema.h"

#include "store/csv_field.h"
#include "ui/saved_file.h"

#include <QFileInfo>

#include <zip.h>

#include <cstdio>

namespace xb::authority {
namespace {

// PostgreSQL's type oids of the numbers the views yield: bigint, integer, numeric.
bool isNumberType(unsigned oid) {
    return oid == 20 || oid == 23 || oid == 1700;
}

std::string xmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters other than TAB and line ends are not allowed in XML.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

std::string columnLetters(size_t column) {
    std::string letters;
    for (size_t n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string sheetXml(const ReportTable& table) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
                      "main\"><sheetData>";
    const auto row = [&](size_t r, const std::vector<std::string>& cells, bool header) {
        xml += "<row r=\"" + std::to_string(r + 1) + "\">";
        for (size_t c = 0; c < cells.size(); ++c) {
            const std::string ref = columnLetters(c) + std::to_string(r + 1);
            const bool number =
                !header && c < table.numeric.size() && table.numeric[c] && !cells[c].empty();
            if (number)
                xml += "<c r=\"" + ref + "\"><v>" + cells[c] + "</v></c>";
            else
                xml += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" +
                       xmlText(cells[c]) + "</t></is></c>";
        }
        xml += "</row>";
    };
    row(0, table.header, true);
    for (size_t r = 0; r < table.rows.size(); ++r)
        row(r + 1, table.rows[r], false);
    return xml + "</sheetData></worksheet>";
}

store::Status writeXlsx(const std::vector<ReportTable>& tables, const std::string& path) {
    std::vector<std::pair<std::string, std::string>> parts;
    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
        "content-types\"><Default Extension=\"rels\" ContentType=\"application/"
        "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
        "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument."
        "spreadsheetml.sheet.main+xml\"/>";
    std::string sheets, rels;
    for (size_t i = 0; i < tables.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument."
                 "spreadsheetml.worksheet+xml\"/>";
        sheets += "<sheet name=\"" + xmlText(tables[i].title) + "\" sheetId=\"" + n +
                  "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "worksheet\" Target=\"worksheets/sheet" +
                n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheetXml(tables[i]));
    }
    parts.emplace_back("[Content_Types].xml", types + "</Types>");
    parts.emplace_back(
        "_rels/.rels",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    parts.emplace_back(
        "xl/workbook.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets>" +
            sheets + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                       "relationships\">" +
                           rels + "</Relationships>");

    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) return store::fail("无法建立文件 " + path);
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            if (source) zip_source_free(source);
            const std::string why = zip_strerror(archive);
            zip_discard(archive);
            return store::fail("无法写入文件 " + path + "：" + why);
        }
    }
    // libzip writes the archive beside it and renames it into place here.
    if (zip_close(archive) < 0) {
        const std::string why = zip_strerror(archive);
        zip_discard(archive);
        return store::fail("无法写入文件 " + path + "：" + why);
    }
    return {};
}

store::Status writeCsv(const std::vector<ReportTable>& tables, const std::string& path) {
    std::string text = "\xEF\xBB\xBF";
    const auto line = [&](const std::vector<std::string>& cells) {
        for (size_t c = 0; c < cells.size(); ++c)
            text += (c ? "," : "") + store::csvField(cells[c]);
        text += "\r\n";
    };
    for (size_t i = 0; i < tables.size(); ++i) {
        if (i) text += "\r\n";
        line({tables[i].title});
        line(tables[i].header);
        for (const auto& row : tables[i].rows)
            line(row);
    }
    return ui::saveWholeFile(QString::fromStdString(path), QByteArray::fromStdString(text));
}

} // namespace

store::Result<std::vector<ReportTable>> readReportTables(PgConnection& db) {
    std::vector<ReportTable> tables;
    for (const ReportView& view : reportViews()) {
        auto rows = db.query("SELECT * FROM " + std::string(GatherSchema) + "." + view.view);
        if (!rows) return rows.error();
        ReportTable table;
        table.title = view.title;
        for (int c = 0; c < rows->columns(); ++c) {
            table.header.push_back(rows->name(c));
            table.numeric.push_back(isNumberType(rows->type(c)));
        }
        for (int r = 0; r < rows->rows(); ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < rows->columns(); ++c)
                row.push_back(rows->text(r, c));
            table.rows.push_back(std::move(row));
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

store::Status writeReport(const std::vector<ReportTable>& tables, const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    if (suffix == "csv") return writeCsv(tables, path);
    if (suffix == "xlsx") return writeXlsx(tables, path);
    return store::fail("报表文件名应以 .csv 或 .xlsx 结尾：" + path);
}

} // namespace xb::authority
