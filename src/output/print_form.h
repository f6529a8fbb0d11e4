// The print window (数据打印) of the current achievement record, opened by the main window's
// 打印. Its main panel carries the notes and the Word documents of the record's category; each
// Word button fills the document's template from the data directory, writes it as a new file
// in the user's documents folder and opens it with the desktop's editor.
//
// 自定义打印 shows the page buttons of the record's registration form, each opening its page in
// a print preview; 直接打印 shows the buttons of the pages with data, each sending its page to
// the printer (through ui::printer()) with the renumbered page number; 全文打印 sends every page
// of the panel's list. Every panel can save its pages as a PDF file. Without a printer, or when
// printing fails, the window says so and offers the PDF file instead.
#pragma once

#include "output/print_forms.h"
#include "output/print_page.h"
#include "output/word_forms.h"
#include "store/record_store.h"

#include <QDialog>

#include <map>
#include <optional>

class QPushButton;
class QStackedWidget;
class QWidget;

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
    // The panel shown: "pnlMainPage", "pnlCustomApplied", "pnlCustomBasic", "pnlDirectApplied"
    // or "pnlDirectBasic".
    QString currentPanel() const;
    // The pages last shown in a preview, sent to the printer or saved (for the window tests).
    const std::vector<Page>& lastPages() const { return lastPages_; }

  public slots:
    void btnWordAppliedClick();
    void btnWordBasicClick();
    void btnWordApplicationClick();
    void btnWordCertificateClick();
    void btnQuitClick();
    void btnCustomClick();
    void btnDirectClick();
    void btnBackClick();
    void btnPdfClick();

  private:
    void produce(WordForm form);
    QWidget* pagePanel(PrintedForm form, bool direct);
    // The record's pages of `entries`, read afresh; nullopt after an error was shown.
    std::optional<std::vector<Page>> pagesOf(const std::vector<PageEntry>& entries);
    void preview(const std::vector<PageEntry>& entries, const QString& title);
    void sendToPrinter(const std::vector<PageEntry>& entries, const QString& title);
    void savePdf(const std::vector<Page>& pages, const QString& title);
    QString fileTitle(const QString& what) const;

    store::RecordStore& store_;
    std::string number_;
    std::string region_;
    QString documentsFolder_;
    std::string category_;
    std::map<WordForm, QPushButton*> wordButtons_;
    QStackedWidget* panels_ = nullptr;
    std::map<std::pair<PrintedForm, bool>, QWidget*> pagePanels_;
    std::vector<Page> lastPages_;
};

} // namespace xb::output
