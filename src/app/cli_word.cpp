#include "app/cli_word.h"

#include "output/fill_values.h"
#include "output/word_output.h"

#include <QFileInfo>

#include <ostream>

namespace xb::app::cli {

int wordDocument(store::RecordStore& store, const std::string& number, const std::string& form,
                 const std::string& out, Streams io) {
    const auto which = output::formForCommandName(form);
    if (!which) {
        io.err << "错误：--form 只能是 applied、basic、application 或 certificate\n";
        return 2;
    }
    if (number.empty() || out.empty()) {
        io.err << "错误：请用 --record 指定成果管理编号，用 --out 指定输出文件\n";
        return 2;
    }
    const std::string templatePath = output::templatePath(store.dataDirectory(), *which);
    if (!QFileInfo::exists(QString::fromStdString(templatePath))) {
        io.err << "错误：您的电脑上没有相应的报表（" << templatePath << "）\n";
        return 1;
    }
    auto values = output::fillValues(store.db(), number, ".", *which);
    if (!values) {
        io.err << "错误：" << values.message() << "\n";
        return 1;
    }
    auto filled = output::fillTemplate(templatePath, *values);
    if (!filled) {
        io.err << "错误：" << filled.message() << "\n";
        return 1;
    }
    if (store::Status saved = output::saveNewFile(filled->document, out); !saved) {
        io.err << "错误：" << saved.message() << "\n";
        return 1;
    }
    if (!filled->missingBookmark.empty()) {
        io.err << "错误：模板中没有书签 " << filled->missingBookmark
               << "，文档只填写到此处；已保存到 " << out << "\n";
        return 1;
    }
    io.out << "已输出 " << out << "\n";
    return 0;
}

} // namespace xb::app::cli
