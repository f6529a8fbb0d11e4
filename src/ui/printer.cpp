#include "ui/printer.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace xb::ui {
namespace {

class SystemPrinter : public Printer {
  public:
    // The default printer, or the first one when none is set as default.
    QString printerName() override {
        const QString name = QPrinterInfo::defaultPrinterName();
        if (!name.isEmpty()) return name;
        const QStringList all = QPrinterInfo::availablePrinterNames();
        return all.isEmpty() ? QString() : all.first();
    }

    QString print(const PrintJob& job) override {
        const QString name = printerName();
        if (name.isEmpty()) return QStringLiteral("没有可用的打印机");
        QPrinter device(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        device.setDocName(job.title);
        if (!job.render(device) || device.printerState() == QPrinter::Error)
            return QStringLiteral("打印机“%1”报告错误").arg(name);
        return {};
    }

    QString choosePdfFile(const QString& suggestedPath) override {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                            QStringLiteral("另存为PDF文件"), suggestedPath,
                                            QStringLiteral("PDF 文件 (*.pdf)"));
    }
};

Printer* installed = nullptr;

} // namespace

Printer& printer() {
    static SystemPrinter system;
    return installed ? *installed : system;
}

Printer* setPrinter(Printer* replacement) {
    return std::exchange(installed, replacement);
}

} // namespace xb::ui
