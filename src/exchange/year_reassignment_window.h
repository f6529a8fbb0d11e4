// Year reassignment (修改成果年份): files the current staged achievement of the import window
// under another year before it is stored. The import window sets the achievement, opens this
// window with ui::showModal() and refreshes its grid and counts afterwards.
#pragma once

#include "import_staging.h"
#include "store/record_store.h"

#include <QDialog>

class QLineEdit;

namespace xb::exchange {

class Tformformat : public QDialog {
    Q_OBJECT

  public:
    explicit Tformformat(store::RecordStore& store, QWidget* parent = nullptr);

    // The staged achievement the next opening works on.
    void setStagedAchievement(const StagedAchievement& staged);

  public slots:
    // Runs each time the window is shown.
    void FormShow();
    void btnsaveClick();
    void btnexitClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    store::RecordStore& store_;
    StagedAchievement staged_;
    QLineEdit* edt_4 = nullptr;
};

} // namespace xb::exchange
