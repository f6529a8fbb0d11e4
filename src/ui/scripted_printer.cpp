#include "ui/scripted_printer.h"

#include <QBuffer>
#include <QPdfWriter>

namespace xb::ui {

ScriptedPrinter::ScriptedPrinter() : previous_(setPrinter(this)) {}

ScriptedPrinter::~ScriptedPrinter() {
    setPrinter(previous_);
}

QString ScriptedPrinter::print(const PrintJob& job) {
    if (name_.isEmpty()) return QStringLiteral("没有可用的打印机");
    if (!failure_.isEmpty()) return failure_;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter device(&buffer);
        if (!job.render(device)) return QStringLiteral("无法绘制页面");
    }
    // Each sheet is a "/Type /Page" object of the written PDF; the page tree is "/Type /Pages".
    drawn_.append(
        static_cast<int>(buffer.data().count("/Type /Page") - buffer.data().count("/Type /Pages")));
    jobs_.append(job);
    return {};
}

QString ScriptedPrinter::choosePdfFile(const QString&) {
    ++questions_;
    return files_.isEmpty() ? QString() : files_.dequeue();
}

} // namespace xb::ui
