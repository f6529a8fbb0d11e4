// The base of the entry dialogs of list pages, in new mode (caption "新增－－【section】") or
// modify mode ("修改－－【section】"). A dialog lays out its controls in body(), binds them to
// the fields of its row, says when it is empty, its checks and how it stores; the base runs
// 储存 (empty → silent close when the dialog says so; checks → store → "储存成功！" → close) and
// 退出 (empty → close; changed → the dialog's leave question → 储存; a failed check keeps the
// dialog open so that nothing typed is lost; otherwise close).
#pragma once

#include "forms/check_failure.h"
#include "forms/field_binder.h"
#include "forms/page_frame.h"
#include "store/database.h"

#include <QDialog>
#include <optional>

class QPushButton;

namespace xb::forms {

class ChangeMarker;

enum class EntryMode { New, Modify };

class EntryDialog : public QDialog {
    Q_OBJECT

  public:
    EntryMode mode() const { return mode_; }
    FieldBinder& binder() { return binder_; }
    ChangeMarker& marker() { return *marker_; }

  public slots:
    // 储存: true when stored.
    bool save();
    // 退出.
    void quit();

  protected:
    EntryDialog(const QString& objectName, const QString& section, const std::string& table,
                QWidget* parent);

    QWidget* body() const { return body_; }
    // Object names of the 储存 and 退出 buttons other than btnSave01 and quit01.
    void setButtonNames(const QString& save, const QString& quit);
    // Shows the dialog modally: in new mode the controls are emptied (then prepareNew() runs),
    // in modify mode filled from `row`. True when a save succeeded.
    bool showEntry(EntryMode mode, const store::Cursor* row);
    // Shows the dialog in modify mode for a row of `table`; a table that cannot be opened is
    // reported, a row that is gone shows nothing.
    bool showStoredRow(store::Database& db, const std::string& table, uint32_t record);

    // Refill lists before the controls are filled.
    virtual void prepareFill() {}
    // New mode: presets after the controls were emptied.
    virtual void prepareNew() {}
    // Whether nothing that matters was typed: 储存 and 退出 then close silently.
    virtual bool isEmpty() const = 0;
    // Whether 退出 closes at once without asking; by default when the dialog is empty.
    virtual bool quitsSilently() const { return isEmpty(); }
    // 储存 closes silently on an empty dialog (otherwise the checks report what is missing).
    virtual bool savesSilentlyWhenEmpty() const { return true; }
    virtual std::optional<CheckFailure> check() { return std::nullopt; }
    // Stores the dialog's row; the engine's error when refused.
    virtual store::Status store() = 0;
    // Differences the bindings cannot see.
    virtual bool differsMore() const { return false; }
    // The question 退出 asks about unsaved changes.
    virtual QString leaveQuestion() const { return QStringLiteral("记录已更改，是否保存后退出？"); }

    void reject() override { quit(); }
    void showEvent(QShowEvent* event) override;

  private:
    bool differs() const;

    ChangeMarker* marker_;
    FieldBinder binder_;
    QString section_;
    QWidget* body_;
    PageFrame frame_;
    QPushButton* save_;
    QPushButton* quit_;
    EntryMode mode_ = EntryMode::New;
    FieldBinder::StoredValues stored_;
    bool saved_ = false;
};

} // namespace xb::forms
