// The print window (数据打印) of the current achievement record, opened by the main window's
// 打印. Its main panel carries the notes and the Word documents of the record's category; each
// Word button fills the document's template from the data directory, writes it as a new file
// in the user's documents folder and opens it with the desktop's editor.
#pragma once

#include "output/word_forms.h"
#include "store/record_store.h"

#include <QDialog>

#include <map>

class QPushButton;

namespace xb::output {

class TPrintForm : public QDialog {
    Q_OBJECT

  public:
    explicit TPrintForm(store::RecordStore& store, QWidget* parent = nullptr);

    // Shows the window for a record (modal, through ui::showModal).
    void showRecord(const std::string& number, const std::string& region,
                    const std::string& category);
    // Sets the record the window works on and which Word buttons it offers.
    void setRecord(const std::string& number, const std::string& region,
                   const std::string& category);

    // Where filled documents go: the user's documents folder + "/Xunbao" unless set.
    QString documentsFolder() const { return documentsFolder_; }
    void setDocumentsFolder(const QString& folder) { documentsFolder_ = folder; }

  public slots:
    void btnWordAppliedClick();
    void btnWordBasicClick();
    void btnWordApplicationClick();
    void btnWordCertificateClick();
    void btnQuitClick();

  private:
    void produce(WordForm form);

    store::RecordStore& store_;
    std::string number_;
    std::string region_;
    QString documentsFolder_;
    std::map<WordForm, QPushButton*> wordButtons_;
};

} // namespace xb::output
