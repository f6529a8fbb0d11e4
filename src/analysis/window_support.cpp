#include "window_support.h"

#include "ui/busy_cursor.h"
#include "ui/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QStandardPaths>

namespace xb::analysis {

WorkProgress::~WorkProgress() {
    bar_->hide();
}

Progress WorkProgress::step(int base, int span) {
    return [this, base, span](int done, int total) {
        if (clock_.elapsed() < 500) return true;
        if (!bar_->isVisible()) {
            bar_->setRange(0, 100);
            bar_->show();
        }
        bar_->setValue(base + (total > 0 ? span * done / total : span));
        // Only painting: the window is not to be used while it works.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    };
}

void exportSheets(const std::vector<Sheet>& sheets, SheetFormat format, const QString& name) {
    const bool xlsx = format == SheetFormat::Xlsx;
    const QString suffix = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ui::Prompter& prompter = ui::prompter();
    QString path = prompter.chooseSaveFile(
        {xlsx ? QStringLiteral("导出为Excel文件") : QStringLiteral("导出为CSV文件"),
         QDir(folder).filePath(name + suffix),
         xlsx ? QStringLiteral("Excel 工作簿 (*.xlsx)") : QStringLiteral("CSV 文件 (*.csv)")});
    if (path.isEmpty()) return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    if (QFileInfo::exists(path) &&
        !prompter.confirm(
            QStringLiteral("请注意！"),
            QStringLiteral("文件“%1”已经存在，是否覆盖？").arg(QDir::toNativeSeparators(path)),
            ui::MessageIcon::Warning))
        return;
    store::Status written = [&] {
        ui::BusyCursor busy;
        return writeSheets(sheets, format, path.toStdString(), true);
    }();
    if (!written) {
        prompter.showError(written.error());
        return;
    }
    prompter.inform(QStringLiteral("提示"),
                    QStringLiteral("已导出到 %1").arg(QDir::toNativeSeparators(path)));
}

} // namespace xb::analysis
