#include "output/word_output.h"

#include "store/lookups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace xb::output {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

enum class Placed { Done, NameTaken, Failed };

// Writes a temporary file beside `path` and renames it into place; the rename refuses an
// existing target, so a file that appeared meanwhile is never replaced.
Placed place(const DocxDocument& document, const QString& path, std::string& error) {
    if (QFileInfo::exists(path)) return Placed::NameTaken;
    const QString temporary =
        path + "." + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8) + ".tmp";
    if (store::Status s = document.saveAs(temporary.toStdString()); !s) {
        error = s.message();
        return Placed::Failed;
    }
    QFile file(temporary);
    if (file.rename(path)) return Placed::Done;
    file.remove();
    if (QFileInfo::exists(path)) return Placed::NameTaken;
    error = "无法写入 " + path.toStdString() + "：" + file.errorString().toStdString();
    return Placed::Failed;
}

} // namespace

store::Result<FilledDocument> fillTemplate(const std::string& templatePath,
                                           const std::vector<BookmarkValue>& values) {
    auto document = DocxDocument::open(templatePath);
    if (!document) return document.error();
    FilledDocument filled{std::move(*document), {}};
    for (const BookmarkValue& v : values)
        if (!filled.document.insertAfter(v.bookmark, v.text)) {
            filled.missingBookmark = v.bookmark;
            break;
        }
    return filled;
}

store::Status saveNewFile(const DocxDocument& document, const std::string& path) {
    std::string error;
    switch (place(document, q(path), error)) {
    case Placed::Done:
        return {};
    case Placed::NameTaken:
        return store::fail("文件 " + path + " 已存在");
    case Placed::Failed:
        break;
    }
    return store::fail(error);
}

store::Result<std::string> saveInFolder(const DocxDocument& document, const std::string& folder,
                                        const std::string& base) {
    const QDir dir(q(folder));
    if (!dir.mkpath("."))
        return store::fail("无法创建文件夹 " + QDir::toNativeSeparators(q(folder)).toStdString());
    for (int n = 1; n < 10000; ++n) {
        const QString name = q(base) + (n == 1 ? QString() : QString("(%1)").arg(n)) + ".docx";
        const QString path = dir.filePath(name);
        std::string error;
        switch (place(document, path, error)) {
        case Placed::Done:
            return path.toStdString();
        case Placed::NameTaken:
            continue;
        case Placed::Failed:
            return store::fail(error);
        }
    }
    return store::fail("文件夹 " + folder + " 中同名文档过多");
}

std::string templatePath(const std::string& dataDirectory, WordForm form) {
    return QDir(q(dataDirectory)).filePath(q(templateName(form) + ".docx")).toStdString();
}

std::string documentBaseName(WordForm form, const std::string& recordNumber) {
    return templateName(form) + "_" + store::trimmed(recordNumber);
}

} // namespace xb::output
