#include "app/cli_print.h"

#include "output/form_pages.h"
#include "output/page_painter.h"
#include "store/lookups.h"

#include <QFileInfo>

#include <ostream>

namespace xb::app::cli {

int printForm(store::RecordStore& store, const std::string& number, const std::string& form,
              const std::string& out, Streams io) {
    if (!form.empty() && form != "applied" && form != "basic") {
        io.err << "错误：--form 只能是 applied 或 basic\n";
        return 2;
    }
    if (number.empty() || out.empty()) {
        io.err << "错误：请用 --record 指定成果管理编号，用 --out 指定输出文件\n";
        return 2;
    }
    const QString path = QString::fromStdString(out);
    if (QFileInfo::exists(path)) {
        io.err << "错误：文件 " << out << " 已经存在\n";
        return 1;
    }
    auto record = output::loadPrintRecord(store.db(), number, ".");
    if (!record) {
        io.err << "错误：" << record.message() << "\n";
        return 1;
    }
    const output::PrintedForm printed = form.empty()
                                            ? output::printedFormOf(record->field("item_cglb"))
                                        : form == "applied" ? output::PrintedForm::Applied
                                                            : output::PrintedForm::Basic;
    output::OutputLabels labels(store.db());
    const auto pages = output::buildPages(*record, labels, printed, output::customPages(printed));
    if (labels.error()) {
        io.err << "错误：" << labels.error()->message << "\n";
        return 1;
    }
    const QString title = QStringLiteral("科技成果登记表_") + QString::fromStdString(number);
    if (store::Status written = output::writePdf(pages, path, title); !written) {
        io.err << "错误：" << written.message() << "\n";
        return 1;
    }
    io.out << "已输出 " << out << "（" << pages.size() << " 页）\n";
    return 0;
}

} // namespace xb::app::cli
