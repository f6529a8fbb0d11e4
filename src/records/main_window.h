// The main window: the record list by category and year, the section buttons with their marks,
// new/change/delete/print of records, the windows of exchange, and the query builder.
#pragma once

#include "forms/section_page.h"
#include "records/completeness.h"
#include "records/query_builder.h"
#include "store/record_store.h"

#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

class QComboBox;
class QPushButton;
class QTableView;

namespace xb::records {

class RecordListModel;
class TFormNew;

// Windows the main window opens; each is set by whoever builds the program's windows. A window
// that is not set is simply not opened.
struct MainWindowPages {
    std::function<void()> profile;                   // 单位情况 and the first-start demand
    std::function<void()> exportWindow;              // 导出
    std::function<void()> importWindow;              // 导入
    std::function<void()> codeManage;                // 更新指标项
    std::function<void()> printWindow;               // 打印, after preparation
    std::function<void()> statistics;                // 统计分析
    std::function<void()> duplicates;                // 查重
    std::function<void()> history;                   // 修改记录 of the current record
    std::function<void()> backups;                   // 备份与恢复
    std::map<Section, forms::SectionPage*> sections; // section pages (not owned)
};

class TMainForm : public QMainWindow, public QueryHost {
    Q_OBJECT
  public:
    // `welcome` (may be null) is shown once when the window is first shown.
    TMainForm(store::RecordStore& store, QDialog* welcome = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    void setPages(MainWindowPages pages) { pages_ = std::move(pages); }

    store::RecordStore& recordStore() { return store_; }
    // The record list; its current row is the current achievement record.
    store::Cursor* recordList() { return list_.get(); }
    int categoryPosition() const override;
    void setCategoryPosition(int position);
    QString yearText() const override;
    QComboBox* yearSelector() const { return cbYear; }
    const SectionMarks& marks() const { return marks_; }
    bool unitHasRows();

    // Record list refresh (category and year) and the operations that follow it.
    void refreshRecordList();
    void numberRecordList() override;
    void computeDoneMarks();
    bool evaluateEnabledState();
    void fillYearList();
    // After the records changed elsewhere (export, import): the list, the marks, the numbering
    // and the enabled state, in this order. `years` also refills the year list first.
    void refreshAll(bool years = false);
    // Runs the saved list statement again, keeping nothing else.
    void rerunSavedStatement() override;
    store::Status runListStatement(const std::string& sql, const store::Params& params) override;
    void refreshAndNumber() override;
    bool listIsEmpty() const override;
    // Makes the row with this record number (or `NO`, or name) current; false when none is.
    bool locateRecord(const char* field, const QString& value);
    // Shows the record of this number: its category and year in the selectors, the list
    // refreshed and the record current, the marks and the enabled state after it. False when the
    // record is not in the list.
    bool showRecord(const QString& number, const QString& category);
    // After a new record: every mark a question mark and the navigation locked.
    void lockForNewRecord();
    void setMark(Section section, bool done);
    // The controls that need the own organization's profile follow whether `unit` has a row.
    void applyProfileEnabling();
    // The query builder, for attaching the classification picker.
    QueryBuilder* queryBuilder() { return queryBuilder_; }
    // Called after a page of a section closes.
    void sectionPageClosed(Section section);

  public slots:
    void FormShow();
    void ComboBox1Change();
    void DBGrid1CellClick();
    void Button6Click(); // 新增
    void Button3Click(); // 修改主项
    void Button4Click(); // 删除
    void BitBtn4Click(); // 打印
    void btn_page01Click();
    void btn_page02Click();
    void btn_page03Click();
    void btn_page04Click();
    void btn_page05Click();
    void btn_page07Click();
    void btn_page08Click();
    void btn_page09Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void sectionClick(Section section);
    void syncGridToList();
    void setNavigationEnabled(bool enabled);
    void showMarks();
    void reportError(const store::Error& error);
    std::string currentCategoryCode() const;

    store::RecordStore& store_;
    QDialog* welcome_;
    bool shown_ = false;
    MainWindowPages pages_;
    std::unique_ptr<store::Cursor> list_;
    std::string listSql_;
    store::Params listParams_;
    SectionMarks marks_;

    QComboBox* cbYear = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    RecordListModel* model_ = nullptr;
    std::map<Section, QPushButton*> sectionButtons_;
    QPushButton* Button1 = nullptr; // 新增
    QPushButton* Button5 = nullptr; // 修改主项
    QPushButton* Button4 = nullptr; // 删除
    QPushButton* BitBtn1 = nullptr; // 导入
    QPushButton* BitBtn2 = nullptr; // 导出
    QPushButton* btnHistory = nullptr;
    QPushButton* btnBackups = nullptr;
    QPushButton* BitBtn4 = nullptr; // 打印
    QPushButton* BitBtn3 = nullptr; // 更新指标项
    QPushButton* Button2 = nullptr; // 单位情况
    QPushButton* btnStatistics = nullptr;
    QPushButton* btnDuplicates = nullptr;
    QPushButton* BitBtn7 = nullptr; // 退出
    QueryBuilder* queryBuilder_ = nullptr;
    TFormNew* newDialog_ = nullptr;

    friend class TFormNew;
};

} // namespace xb::records
