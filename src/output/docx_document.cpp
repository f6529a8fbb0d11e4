#include "output/docx_document.h"

#include <zip.h>

#include <pugixml.hpp>

#include <cstring>
#include <filesystem>
#include <sstream>

namespace xb::output {
namespace {

const char* const kDocumentPart = "word/document.xml";

// The first element named `name` in document order at or after `from`, its subtree included.
pugi::xml_node findBookmarkStart(const pugi::xml_node& root, const std::string& name) {
    return root.find_node([&](const pugi::xml_node& n) {
        return std::strcmp(n.name(), "w:bookmarkStart") == 0 &&
               name == n.attribute("w:name").value();
    });
}

pugi::xml_node findBookmarkEnd(const pugi::xml_node& root, const char* id) {
    return root.find_node([&](const pugi::xml_node& n) {
        return std::strcmp(n.name(), "w:bookmarkEnd") == 0 &&
               std::strcmp(n.attribute("w:id").value(), id) == 0;
    });
}

// The run properties of the text beside an insertion point: the nearest run before it in the
// paragraph, else the nearest after it, else the paragraph mark's.
pugi::xml_node nearbyRunProperties(const pugi::xml_node& paragraph, const pugi::xml_node& before) {
    pugi::xml_node n = before ? before.previous_sibling() : paragraph.last_child();
    for (; n; n = n.previous_sibling())
        if (std::strcmp(n.name(), "w:r") == 0 && n.child("w:rPr")) return n.child("w:rPr");
    for (n = before; n; n = n.next_sibling())
        if (std::strcmp(n.name(), "w:r") == 0 && n.child("w:rPr")) return n.child("w:rPr");
    return paragraph.child("w:pPr").child("w:rPr");
}

// XML 1.0 cannot carry control characters other than tab, CR and LF.
std::string withoutControlCharacters(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n') out += c;
    return out;
}

std::vector<std::string> paragraphs(const std::string& text) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

void insertRun(pugi::xml_node paragraph, const pugi::xml_node& before, const std::string& text) {
    if (text.empty()) return;
    const pugi::xml_node properties = nearbyRunProperties(paragraph, before);
    pugi::xml_node run =
        before ? paragraph.insert_child_before("w:r", before) : paragraph.append_child("w:r");
    if (properties) run.append_copy(properties);
    pugi::xml_node t = run.append_child("w:t");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(text.c_str());
}

std::string errorText(zip_t* archive) {
    return archive ? zip_strerror(archive) : "";
}

store::Result<std::string> readPart(const std::string& path, const char* part) {
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) return store::fail("无法打开 " + path);
    zip_stat_t stat;
    zip_file_t* file = nullptr;
    std::string data;
    if (zip_stat(archive, part, 0, &stat) == 0 && (file = zip_fopen(archive, part, 0))) {
        data.resize(stat.size);
        const zip_int64_t got = zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        if (got != static_cast<zip_int64_t>(stat.size)) file = nullptr;
    }
    zip_discard(archive);
    if (!file) return store::fail(path + " 不是可读的 Word 文档");
    return data;
}

} // namespace

DocxDocument::DocxDocument(std::string templatePath, std::unique_ptr<pugi::xml_document> xml)
    : templatePath_(std::move(templatePath)), xml_(std::move(xml)) {}
DocxDocument::~DocxDocument() = default;
DocxDocument::DocxDocument(DocxDocument&&) noexcept = default;
DocxDocument& DocxDocument::operator=(DocxDocument&&) noexcept = default;

store::Result<DocxDocument> DocxDocument::open(const std::string& path) {
    auto data = readPart(path, kDocumentPart);
    if (!data) return data.error();
    auto xml = std::make_unique<pugi::xml_document>();
    if (!xml->load_buffer(data->data(), data->size(), pugi::parse_default, pugi::encoding_utf8))
        return store::fail(path + " 不是可读的 Word 文档");
    return DocxDocument(path, std::move(xml));
}

std::vector<std::string> DocxDocument::bookmarkNames() const {
    std::vector<std::string> names;
    for (const pugi::xpath_node& n : xml_->select_nodes("//w:bookmarkStart"))
        names.emplace_back(n.node().attribute("w:name").value());
    return names;
}

bool DocxDocument::hasBookmark(const std::string& name) const {
    return static_cast<bool>(findBookmarkStart(*xml_, name));
}

bool DocxDocument::insertAfter(const std::string& bookmark, const std::string& text) {
    const pugi::xml_node start = findBookmarkStart(*xml_, bookmark);
    if (!start) return false;
    // Text goes just before the bookmark's end, inside the bookmark, so that the next text
    // for it follows; a bookmark whose end lies outside a paragraph takes it after its start.
    pugi::xml_node before = findBookmarkEnd(*xml_, start.attribute("w:id").value());
    pugi::xml_node paragraph = before.parent();
    if (!before || std::strcmp(paragraph.name(), "w:p") != 0) {
        before = start.next_sibling();
        paragraph = start.parent();
        if (std::strcmp(paragraph.name(), "w:p") != 0) return false;
    }
    const std::vector<std::string> parts = paragraphs(withoutControlCharacters(text));
    insertRun(paragraph, before, parts.front());
    for (size_t i = 1; i < parts.size(); ++i) {
        // A new paragraph of the same kind takes what followed the insertion point.
        pugi::xml_node next = paragraph.parent().insert_child_after("w:p", paragraph);
        if (pugi::xml_node properties = paragraph.child("w:pPr")) next.append_copy(properties);
        for (pugi::xml_node n = before; n;) {
            pugi::xml_node following = n.next_sibling();
            next.append_move(n);
            n = following;
        }
        paragraph = next;
        insertRun(paragraph, before, parts[i]);
    }
    return true;
}

store::Status DocxDocument::saveAs(const std::string& path) const {
    std::ostringstream xml;
    xml_->save(xml, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string data = xml.str();

    std::error_code ec;
    std::filesystem::copy_file(templatePath_, path,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return store::fail("无法写入 " + path + "：" + ec.message());
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), 0, &code);
    std::string error;
    if (!archive) {
        error = "无法写入 " + path;
    } else {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!source || zip_file_add(archive, kDocumentPart, source, ZIP_FL_OVERWRITE) < 0) {
            if (source) zip_source_free(source);
            error = "无法写入 " + path + "：" + errorText(archive);
            zip_discard(archive);
        } else if (zip_close(archive) < 0) {
            error = "无法写入 " + path + "：" + errorText(archive);
            zip_discard(archive);
        }
    }
    if (error.empty()) return {};
    std::filesystem::remove(path, ec);
    return store::fail(error);
}

} // namespace xb::output
