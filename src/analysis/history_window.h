// The window 修改记录: the history of the current record, newest first, each change with the
// caption of its field and its values in the words of the registration form.
#pragma once

#include "store/database.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace xb::analysis {

class HistoryWindow : public QDialog {
    Q_OBJECT
  public:
    explicit HistoryWindow(store::Database& db, QWidget* parent = nullptr);

    // Reads the history of record `number` (titled `name`) and shows the window modally.
    void showHistory(const QString& number, const QString& name);
    // Reads it without showing the window.
    void prepare(const QString& number, const QString& name);

  private:
    store::Database& db_;
    QLabel* lblRecord = nullptr;
    QTableWidget* tblHistory = nullptr;
};

} // namespace xb::analysis
