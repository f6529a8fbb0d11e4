// The entry dialog of a subject leader, in new mode ("新增－－【学科带头人名单】") or modify mode
// ("修改－－【学科带头人名单】"). 储存 checks and writes the row, then closes; 退出 asks to save
// unsaved changes and closes in every case.
#pragma once

#include "parties/subject_leaders.h"
#include "store/database.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace xb::forms {
class ChangeMarker;
} // namespace xb::forms

namespace xb::parties {

class TFinto11 : public QDialog {
    Q_OBJECT

  public:
    explicit TFinto11(store::Database& db, QWidget* parent = nullptr);

    // Shows the dialog modally for a new leader of the organization; true when one was stored.
    bool showNew(const QString& unitCode);
    // Shows the dialog modally for the leader at `position`; true when it was stored.
    bool showModify(const QString& unitCode, int position, const SubjectLeader& leader);

    bool isNewMode() const { return newMode_; }
    LeaderEntry entry() const;

  public slots:
    void btnSave01Click();
    void quit01Click();

  protected:
    void showEvent(QShowEvent* event) override;
    // Escape and the close box leave as 退出 does.
    void reject() override { quit01Click(); }

  private:
    void fillLists();
    // Checks and writes; reports every outcome. True when the row was written.
    bool save();

    store::Database& db_;
    QLineEdit* name_;
    QComboBox* sex_;
    QLineEdit* year_;
    QLineEdit* month_;
    QComboBox* field_;
    QLineEdit* description_;
    forms::ChangeMarker* fieldMarker_;
    QString unitCode_;
    int position_ = -1;
    SubjectLeader from_;
    bool newMode_ = true;
    bool saved_ = false;
};

} // namespace xb::parties
