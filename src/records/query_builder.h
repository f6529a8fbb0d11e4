// The query builder at the bottom of the main window: the user composes a condition over the
// fields of the achievement table from items, operators and values; 查询 runs it within the
// current category and year.
#pragma once

#include "store/database.h"

#include <QGroupBox>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QPushButton;

namespace xb::records {

// What the query builder needs of the main window.
class QueryHost {
  public:
    virtual ~QueryHost() = default;
    virtual int categoryPosition() const = 0;
    virtual QString yearText() const = 0;
    virtual store::Status runListStatement(const std::string& sql, const store::Params& params) = 0;
    virtual void rerunSavedStatement() = 0;
    virtual void refreshAndNumber() = 0;
    virtual void numberRecordList() = 0;
    virtual bool listIsEmpty() const = 0;
};

// The condition check of 查询: false when a ")" comes before any remaining "(".
bool parenthesesAcceptable(QString condition);
// One comparison as 加入 appends it: " field like '%v%'" or " field op 'v'".
QString comparisonText(const QString& field, const QString& op, const QString& value);

class QueryBuilder : public QGroupBox {
    Q_OBJECT
  public:
    QueryBuilder(store::Database& db, QueryHost& host, bool hasZtflh, bool hasXkfl,
                 QWidget* parent = nullptr);

    // Fills the item list and the value list of the first item.
    void prepare();
    // 查询 and 恢复 follow the navigation lock of the main window.
    void setNavigationEnabled(bool enabled);
    // Opens the classification picker for a table and writes "code  label" into the box.
    void setClassificationPicker(std::function<void(const QString& table, QLineEdit* box)> picker) {
        picker_ = std::move(picker);
    }
    QString condition() const;

  public slots:
    void ComboBox2Change();
    void SpeedButton24Click(); // 加入
    void SpeedButton16Click(); // 查询
    void SpeedButton26Click(); // 恢复
    void SpeedButton23Click(); // 剪切

  private:
    void insertAtCaret(const QString& text);
    void setListMode(bool list);
    void reportFill(const store::Status& status);

    store::Database& db_;
    QueryHost& host_;
    bool hasZtflh_;
    bool hasXkfl_;
    bool listMode_ = true;
    std::function<void(const QString&, QLineEdit*)> picker_;
    // The `zdxx1` row (caption, field) behind each entry of the item list.
    std::vector<std::pair<QString, QString>> items_;

    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QComboBox* Combobox3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QToolButton* ComboBox5 = nullptr;
    QToolButton* ComboBox6 = nullptr;
    QPushButton* SpeedButton16 = nullptr;
    QPushButton* SpeedButton26 = nullptr;
    QPlainTextEdit* MMSysV = nullptr;
};

} // namespace xb::records
