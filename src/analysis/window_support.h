// What the statistics and duplicate windows share: a progress bar that appears only for work
// that takes longer than half a second, and the export of tables to a file the user chooses.
#pragma once

#include "analysis/record_facts.h"
#include "analysis/spreadsheet.h"

#include <QElapsedTimer>
#include <QString>

class QProgressBar;
class QWidget;

namespace xb::analysis {

class WorkProgress {
  public:
    explicit WorkProgress(QProgressBar* bar) : bar_(bar) { clock_.start(); }
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // The callback for readFacts() and findDuplicates(); `base` and `span` place this step
    // within the bar (0 to 100).
    Progress step(int base, int span);

  private:
    QProgressBar* bar_;
    QElapsedTimer clock_;
};

// Asks for a file ("导出为Excel文件" or "导出为CSV文件"), asks again before replacing an existing
// one, writes the sheets and says where; errors are shown. `name` is the suggested base name.
void exportSheets(const std::vector<Sheet>& sheets, SheetFormat format, const QString& name);

} // namespace xb::analysis
