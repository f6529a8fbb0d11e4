// A printer for tests. While it lives it is the installed printer: it records every job it is
// given (drawing each one on a PDF in memory, so that drawing faults show), and answers the PDF
// file question from a queue.
#pragma once

#include "ui/printer.h"

#include <QList>
#include <QQueue>

namespace xb::ui {

class ScriptedPrinter : public Printer {
  public:
    ScriptedPrinter();
    ~ScriptedPrinter() override;
    ScriptedPrinter(const ScriptedPrinter&) = delete;
    ScriptedPrinter& operator=(const ScriptedPrinter&) = delete;

    // "" plays a system without any printer.
    void setPrinterName(const QString& name) { name_ = name; }
    // The next jobs fail with this reason ("" sends them again).
    void setFailure(const QString& reason) { failure_ = reason; }
    // The answer to the next PDF file question ("" cancels).
    void queuePdfFile(const QString& path) { files_.enqueue(path); }

    // Jobs the printer accepted, in order.
    const QList<PrintJob>& jobs() const { return jobs_; }
    // Pages drawn of each accepted job.
    const QList<int>& drawnPages() const { return drawn_; }
    int pdfQuestions() const { return questions_; }

    QString printerName() override { return name_; }
    QString print(const PrintJob& job) override;
    QString choosePdfFile(const QString& suggestedPath) override;

  private:
    Printer* previous_;
    QString name_ = QStringLiteral("测试打印机");
    QString failure_;
    QQueue<QString> files_;
    QList<PrintJob> jobs_;
    QList<int> drawn_;
    int questions_ = 0;
};

} // namespace xb::ui
