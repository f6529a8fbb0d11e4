// The one road by which pages reach a printer or a PDF file chosen by the user. Windows call
// printer(); the program installs nothing and gets the system's default printer and Qt's save
// dialog; tests install a ScriptedPrinter (scripted_printer.h) that records every job.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;

namespace xb::ui {

struct PrintJob {
    QString title;
    QStringList pages; // the printed number of each page, in order ("" for a cover)
    // Sets the layout of the device and draws every page on it; false when drawing failed.
    std::function<bool(QPagedPaintDevice&)> render;
};

class Printer {
  public:
    virtual ~Printer() = default;

    // The printer jobs go to; empty when the system has none.
    virtual QString printerName() = 0;
    // Sends a job to that printer: an empty text when it was sent, else why it was not.
    virtual QString print(const PrintJob& job) = 0;
    // Asks where to save a PDF file, starting at `suggestedPath`; empty when cancelled.
    virtual QString choosePdfFile(const QString& suggestedPath) = 0;
};

// The installed printer, or the system's when none is installed.
Printer& printer();
// Installs `replacement` (not owned; nullptr goes back to the system's) and returns the one
// installed before.
Printer* setPrinter(Printer* replacement);

} // namespace xb::ui
