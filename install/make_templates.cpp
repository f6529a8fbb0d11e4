// xunbao-templates SOURCE.xml OUT.docx: builds a Word template from its source.
//
// A source is a short description of the printed form, kept readable in the repository:
//   <form>                      the document; A4 portrait
//     <p align= size= bold= font=hei before= after=>  a paragraph; text, <b>, <u> and <bm name=>
//     <table widths="mm,mm,..." borders="all|none">    a table of ruled cells
//       <tr height=mm header=1 split=1> <td span= align= border=bottom valign=top> ...
//       <repeat count=N> rows with "#" in bookmark names and texts replaced by 1..N </repeat>
//     <pagebreak/>
// A cell holds inline content (one paragraph) or <p> elements. Bookmarks come out empty.
#include <zip.h>

#include <pugixml.hpp>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

int twips(double mm) {
    return static_cast<int>(std::lround(mm * 1440.0 / 25.4));
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class Writer {
  public:
    explicit Writer(pugi::xml_node body) : body_(body) {}

    void block(const pugi::xml_node& source, pugi::xml_node target, const std::string& row) {
        for (pugi::xml_node n : source.children()) {
            const std::string name = n.name();
            if (name == "p")
                paragraph(n, target, row);
            else if (name == "table")
                table(n, target, row);
            else if (name == "pagebreak")
                pageBreak(target);
        }
    }

  private:
    void runProperties(pugi::xml_node run, const pugi::xml_node& p, bool bold, bool underline) {
        pugi::xml_node rPr = run.append_child("w:rPr");
        if (std::string(p.attribute("font").value()) == "hei") {
            pugi::xml_node fonts = rPr.append_child("w:rFonts");
            fonts.append_attribute("w:eastAsia") = "黑体";
            fonts.append_attribute("w:hint") = "eastAsia";
        }
        if (bold || p.attribute("bold").as_bool()) rPr.append_child("w:b");
        if (p.attribute("size")) {
            const std::string half =
                std::to_string(std::lround(p.attribute("size").as_double() * 2));
            rPr.append_child("w:sz").append_attribute("w:val") = half.c_str();
            rPr.append_child("w:szCs").append_attribute("w:val") = half.c_str();
        }
        if (underline) rPr.append_child("w:u").append_attribute("w:val") = "single";
        if (!rPr.first_child()) run.remove_child(rPr);
    }

    void text(pugi::xml_node paragraph, const pugi::xml_node& p, const std::string& value,
              bool bold, bool underline) {
        if (value.empty()) return;
        pugi::xml_node run = paragraph.append_child("w:r");
        runProperties(run, p, bold, underline);
        pugi::xml_node t = run.append_child("w:t");
        t.append_attribute("xml:space") = "preserve";
        t.text().set(value.c_str());
    }

    void inline_(const pugi::xml_node& source, pugi::xml_node paragraph, const pugi::xml_node& p,
                 const std::string& row, bool bold = false, bool underline = false) {
        for (pugi::xml_node n : source.children()) {
            const std::string name = n.name();
            if (n.type() == pugi::node_pcdata) {
                text(paragraph, p, replaceAll(n.value(), "#", row), bold, underline);
            } else if (name == "b") {
                inline_(n, paragraph, p, row, true, underline);
            } else if (name == "u") {
                inline_(n, paragraph, p, row, bold, true);
            } else if (name == "bm") {
                const std::string id = std::to_string(nextBookmark_++);
                const std::string bm = replaceAll(n.attribute("name").value(), "#", row);
                pugi::xml_node start = paragraph.append_child("w:bookmarkStart");
                start.append_attribute("w:id") = id.c_str();
                start.append_attribute("w:name") = bm.c_str();
                paragraph.append_child("w:bookmarkEnd").append_attribute("w:id") = id.c_str();
            }
        }
    }

    pugi::xml_node paragraphProperties(pugi::xml_node paragraph, const pugi::xml_node& p) {
        pugi::xml_node pPr = paragraph.append_child("w:pPr");
        pugi::xml_node spacing = pPr.append_child("w:spacing");
        spacing.append_attribute("w:before") = twips(p.attribute("before").as_double() * 0.3528);
        spacing.append_attribute("w:after") = twips(p.attribute("after").as_double() * 0.3528);
        if (p.attribute("align")) {
            const std::string align = p.attribute("align").value();
            pPr.append_child("w:jc").append_attribute("w:val") =
                align == "justify" ? "both" : align.c_str();
        }
        // The paragraph mark carries the size and weight, so text filled in takes them.
        pugi::xml_node mark = paragraph.append_child("w:r");
        runProperties(mark, p, false, false);
        if (pugi::xml_node rPr = mark.child("w:rPr")) pPr.append_move(rPr);
        paragraph.remove_child(mark);
        return pPr;
    }

    void paragraph(const pugi::xml_node& p, pugi::xml_node target, const std::string& row) {
        pugi::xml_node paragraph = target.append_child("w:p");
        paragraphProperties(paragraph, p);
        inline_(p, paragraph, p, row);
    }

    void pageBreak(pugi::xml_node target) {
        pugi::xml_node br = target.append_child("w:p").append_child("w:r").append_child("w:br");
        br.append_attribute("w:type") = "page";
    }

    static void border(pugi::xml_node parent, const char* side, const char* value, int size) {
        pugi::xml_node b = parent.append_child(side);
        b.append_attribute("w:val") = value;
        b.append_attribute("w:sz") = size;
        b.append_attribute("w:space") = 0;
        b.append_attribute("w:color") = "000000";
    }

    void table(const pugi::xml_node& source, pugi::xml_node target, const std::string& row) {
        std::vector<int> widths;
        std::stringstream list(source.attribute("widths").value());
        for (std::string w; std::getline(list, w, ',');)
            widths.push_back(twips(std::stod(w)));
        int total = 0;
        for (int w : widths)
            total += w;
        const bool ruled = std::string(source.attribute("borders").as_string("all")) == "all";

        pugi::xml_node tbl = target.append_child("w:tbl");
        pugi::xml_node tblPr = tbl.append_child("w:tblPr");
        pugi::xml_node width = tblPr.append_child("w:tblW");
        width.append_attribute("w:w") = total;
        width.append_attribute("w:type") = "dxa";
        tblPr.append_child("w:jc").append_attribute("w:val") = "center";
        pugi::xml_node borders = tblPr.append_child("w:tblBorders");
        for (const char* side : {"w:top", "w:left", "w:bottom", "w:right"})
            border(borders, side, ruled ? "single" : "nil", 8);
        for (const char* side : {"w:insideH", "w:insideV"})
            border(borders, side, ruled ? "single" : "nil", 4);
        tblPr.append_child("w:tblLayout").append_attribute("w:type") = "fixed";
        pugi::xml_node margins = tblPr.append_child("w:tblCellMar");
        for (const char* side : {"w:left", "w:right"}) {
            pugi::xml_node m = margins.append_child(side);
            m.append_attribute("w:w") = 85;
            m.append_attribute("w:type") = "dxa";
        }
        pugi::xml_node grid = tbl.append_child("w:tblGrid");
        for (int w : widths)
            grid.append_child("w:gridCol").append_attribute("w:w") = w;

        for (pugi::xml_node n : source.children()) {
            const std::string name = n.name();
            if (name == "tr") {
                tableRow(n, tbl, widths, row);
            } else if (name == "repeat") {
                const int count = n.attribute("count").as_int();
                for (int i = 1; i <= count; ++i)
                    for (pugi::xml_node tr : n.children("tr"))
                        tableRow(tr, tbl, widths, std::to_string(i));
            }
        }
        // Word needs a paragraph between a table and what follows it.
        if (source.attribute("gap").as_bool(true)) target.append_child("w:p");
    }

    void tableRow(const pugi::xml_node& tr, pugi::xml_node tbl, const std::vector<int>& widths,
                  const std::string& row) {
        pugi::xml_node out = tbl.append_child("w:tr");
        pugi::xml_node trPr = out.append_child("w:trPr");
        if (tr.attribute("height")) {
            pugi::xml_node h = trPr.append_child("w:trHeight");
            h.append_attribute("w:val") = twips(tr.attribute("height").as_double());
            h.append_attribute("w:hRule") = "atLeast";
        }
        if (tr.attribute("header").as_bool()) trPr.append_child("w:tblHeader");
        // Rows stay whole on a page, except a tall box (the summary) that may run over.
        if (!tr.attribute("split").as_bool()) trPr.append_child("w:cantSplit");
        size_t column = 0;
        for (pugi::xml_node td : tr.children("td")) {
            const int span = td.attribute("span").as_int(1);
            int width = 0;
            for (int i = 0; i < span && column < widths.size(); ++i)
                width += widths[column++];
            pugi::xml_node tc = out.append_child("w:tc");
            pugi::xml_node tcPr = tc.append_child("w:tcPr");
            pugi::xml_node w = tcPr.append_child("w:tcW");
            w.append_attribute("w:w") = width;
            w.append_attribute("w:type") = "dxa";
            if (span > 1) tcPr.append_child("w:gridSpan").append_attribute("w:val") = span;
            if (std::string(td.attribute("border").value()) == "bottom")
                border(tcPr.append_child("w:tcBorders"), "w:bottom", "single", 4);
            tcPr.append_child("w:vAlign").append_attribute("w:val") =
                td.attribute("valign").as_string("center");
            if (td.child("p")) {
                for (pugi::xml_node p : td.children("p"))
                    paragraph(p, tc, row);
            } else {
                paragraph(td, tc, row);
            }
        }
    }

    pugi::xml_node body_;
    int nextBookmark_ = 0;
};

const char* const kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/></Types>)";

const char* const kPackageRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";

const char* const kDocumentRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";

// 宋体 五号 (10.5 pt) throughout, single spacing.
const char* const kStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="宋体" w:cs="Times New Roman"/><w:sz w:val="21"/><w:szCs w:val="21"/><w:lang w:val="en-US" w:eastAsia="zh-CN"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/></w:pPr></w:pPrDefault></w:docDefaults><w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/></w:style><w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar><w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/><w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style></w:styles>)";

bool addPart(zip_t* archive, const char* name, const std::string& data) {
    // libzip copies nothing until zip_close; the buffer it reads is freed by libzip.
    char* copy = static_cast<char*>(malloc(data.size()));
    if (!copy) return false;
    std::copy(data.begin(), data.end(), copy);
    zip_source_t* source = zip_source_buffer(archive, copy, data.size(), 1);
    if (!source) return false;
    if (zip_file_add(archive, name, source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xunbao-templates SOURCE.xml OUT.docx\n");
        return 2;
    }
    pugi::xml_document source;
    if (pugi::xml_parse_result parsed = source.load_file(argv[1]); !parsed) {
        std::fprintf(stderr, "%s: %s at byte %lld\n", argv[1], parsed.description(),
                     static_cast<long long>(parsed.offset));
        return 1;
    }
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    decl.append_attribute("standalone") = "yes";
    pugi::xml_node document = doc.append_child("w:document");
    document.append_attribute("xmlns:w") =
        "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
    pugi::xml_node body = document.append_child("w:body");
    Writer(body).block(source.child("form"), body, "");

    pugi::xml_node section = body.append_child("w:sectPr");
    pugi::xml_node size = section.append_child("w:pgSz");
    size.append_attribute("w:w") = twips(210);
    size.append_attribute("w:h") = twips(297);
    pugi::xml_node margins = section.append_child("w:pgMar");
    for (const char* side : {"w:top", "w:bottom"})
        margins.append_attribute(side) = twips(20);
    for (const char* side : {"w:left", "w:right"})
        margins.append_attribute(side) = twips(18);
    for (const char* side : {"w:header", "w:footer"})
        margins.append_attribute(side) = twips(10);
    margins.append_attribute("w:gutter") = 0;

    std::ostringstream xml;
    doc.save(xml, "", pugi::format_raw, pugi::encoding_utf8);

    std::remove(argv[2]);
    int error = 0;
    zip_t* archive = zip_open(argv[2], ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) {
        std::fprintf(stderr, "cannot create %s\n", argv[2]);
        return 1;
    }
    const bool ok = addPart(archive, "[Content_Types].xml", kContentTypes) &&
                    addPart(archive, "_rels/.rels", kPackageRelations) &&
                    addPart(archive, "word/_rels/document.xml.rels", kDocumentRelations) &&
                    addPart(archive, "word/styles.xml", kStyles) &&
                    addPart(archive, "word/document.xml", xml.str());
    if (!ok || zip_close(archive) < 0) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], zip_strerror(archive));
        zip_discard(archive);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
