// The print window's page panels through the real main window: custom pages in a preview,
// direct print through the printer seam, PDF files, and what happens without a printer.
#include "output/print_form.h"
#include "output/print_forms.h"
#include "support/window_fixture.h"
#include "ui/scripted_printer.h"

#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

namespace {

using xb::output::TPrintForm;

class PrintPanels : public WindowFixture {
  protected:
    // Opens the print window of the current record with 打印 and plays `action` on it.
    void print(const std::function<void(TPrintForm&)>& action) {
        modal.queue([&](QDialog& d) {
            auto* window = qobject_cast<TPrintForm*>(&d);
            ASSERT_NE(window, nullptr);
            window->setDocumentsFolder(QString::fromStdString(dir.file("文档")));
            action(*window);
            ::click(window, "btnQuit");
        });
        click("BitBtn4");
    }
    void addRecordWith(const std::string& number, const std::string& category, int completers) {
        addRecord(number, category, "打印成果" + number);
        fillRequired(number);
        for (int i = 1; i <= completers; ++i)
            addChild("cgwcr", number,
                     {{"ITEM_187", xb::store::Value(static_cast<double>(i))},
                      {"ITEM_180", "完成人" + std::to_string(i)}});
    }
    static QStringList captions(QWidget* panel) {
        QStringList out;
        for (int i = 0;; ++i) {
            auto* b = panel->findChild<QPushButton*>(panel->objectName()
                                                         .replace("pnl", "btn")
                                                         .replace("Applied", "A")
                                                         .replace("Basic", "B") +
                                                     "_" + QString::number(i));
            if (!b) return out;
            out << b->text();
        }
    }
    static int pdfPages(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return -1;
        const QByteArray pdf = file.readAll();
        return static_cast<int>(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
    }

    xb::ui::ScriptedPrinter printer;
};

TEST_F(PrintPanels, TheCategoryChoosesThePanels) {
    addRecordWith("2024000001", "2", 1);
    start(true);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    print([&](TPrintForm& w) {
        EXPECT_EQ(w.currentPanel(), "pnlMainPage");
        ::click(&w, "btnCustom");
        EXPECT_EQ(w.currentPanel(), "pnlCustomBasic");
        QWidget* custom = w.findChild<QWidget*>("pnlCustomBasic");
        const QStringList pages = captions(custom);
        EXPECT_EQ(pages.size(), 13);
        EXPECT_EQ(pages.value(2), "1");
        EXPECT_EQ(pages.value(4), "3*");
        EXPECT_EQ(pages.value(12), "11");
        bool note = false;
        for (QLabel* label : custom->findChildren<QLabel*>())
            note = note || label->text() == "标*的按钮代表正文";
        EXPECT_TRUE(note);
        ::click(&w, "btnCustomB_Back");
        EXPECT_EQ(w.currentPanel(), "pnlMainPage");
        ::click(&w, "btnDirect");
        EXPECT_EQ(w.currentPanel(), "pnlDirectBasic");
        EXPECT_EQ(
            captions(w.findChild<QWidget*>("pnlDirectBasic")),
            QStringList({"封面", "成果概况，立项情况", "评价情况，成果完成单位情况",
                         "批准登记单位意见", "成果简介", "成果完成人员名单", "评价委员会名单"}));
        ::click(&w, "btnDirectB_Back");
    });
    ASSERT_FALSE(modal.requests().isEmpty());
    EXPECT_EQ(modal.requests().first().objectName, "TPrintForm");
    EXPECT_TRUE(printer.jobs().isEmpty());
}

TEST_F(PrintPanels, EveryPageButtonOpensItsPageInAPreview) {
    addRecordWith("2024000001", "1", 2);
    start(true);
    const auto& entries = xb::output::customPages(xb::output::PrintedForm::Applied);
    QStringList shownNumbers;
    print([&](TPrintForm& w) {
        ::click(&w, "btnCustom");
        for (size_t i = 0; i < entries.size(); ++i) {
            modal.queue([&](QDialog& preview) {
                auto* widget = preview.findChild<QPrintPreviewWidget*>();
                ASSERT_NE(widget, nullptr);
                EXPECT_EQ(widget->pageCount(), 1) << i;
                preview.reject();
            });
            ::click(&w, QString("btnCustomA_%1").arg(i).toLatin1().constData());
            ASSERT_EQ(w.lastPages().size(), 1u);
            shownNumbers << QString::fromStdString(w.lastPages().front().number);
        }
    });
    int previews = 0;
    for (const auto& request : modal.requests())
        previews += request.className == "QPrintPreviewDialog" ? 1 : 0;
    EXPECT_EQ(previews, static_cast<int>(entries.size()));
    EXPECT_EQ(modal.pendingActions(), 0);
    EXPECT_EQ(shownNumbers, QStringList({"", "", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
                                         "11", "12", "13"}));
    EXPECT_TRUE(printer.jobs().isEmpty());
}

TEST_F(PrintPanels, DirectPrintSendsEachPageOfALongListOnce) {
    addRecordWith("2024000001", "1", 20);
    start(true);
    print([&](TPrintForm& w) {
        ::click(&w, "btnDirect");
        ::click(&w, "btnDirectA_6"); // 成果完成人员名单
        ::click(&w, "btnDirectA_1"); // 成果概况，立项情况
        ::click(&w, "btnDirectA_All");
        ::click(&w, "btnDirectA_Back");
        ::click(&w, "btnCustom");
        ::click(&w, "btnCustomA_All");
    });
    ASSERT_EQ(printer.jobs().size(), 4);
    EXPECT_EQ(printer.jobs()[0].pages, QStringList({"6--1", "6--2"}));
    EXPECT_EQ(printer.drawnPages()[0], 2);
    EXPECT_EQ(printer.jobs()[1].pages, QStringList({"1"}));
    EXPECT_EQ(printer.jobs()[2].pages,
              QStringList({"", "1", "2", "3", "4", "5", "6--1", "6--2", "7"}));
    EXPECT_EQ(printer.drawnPages()[2], 9);
    // The whole form from the custom panel, numbered as in the preview.
    EXPECT_EQ(printer.jobs()[3].pages.size(), 16);
    EXPECT_EQ(printer.jobs()[3].pages.mid(11, 2), QStringList({"10--1", "10--2"}));
    EXPECT_EQ(printer.drawnPages()[3], 16);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(PrintPanels, WithoutAPrinterTheUserIsToldAndOfferedAPdf) {
    addRecordWith("2024000001", "1", 1);
    printer.setPrinterName("");
    start(true);
    const QString pdf = QString::fromStdString(dir.file("直接打印.pdf"));
    prompter.queueAnswer(xb::ui::Answer::No);
    prompter.queueAnswer(xb::ui::Answer::Yes);
    printer.queuePdfFile(pdf);
    print([&](TPrintForm& w) {
        ::click(&w, "btnDirect");
        ::click(&w, "btnDirectA_1"); // declined
        ::click(&w, "btnDirectA_1"); // saved as PDF instead
    });
    EXPECT_TRUE(printer.jobs().isEmpty());
    ASSERT_EQ(prompter.messages().size(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(prompter.messages()[i].text.contains("没有可用的打印机")) << i;
        EXPECT_EQ(prompter.messages()[i].icon, xb::ui::MessageIcon::Warning);
        EXPECT_EQ(prompter.messages()[i].buttons, xb::ui::Buttons::YesNo);
    }
    EXPECT_EQ(printer.pdfQuestions(), 1);
    EXPECT_TRUE(prompter.messages()[2].text.contains("直接打印.pdf"));
    EXPECT_EQ(pdfPages(pdf), 1);

    // A printer that fails: the reason is shown and nothing is claimed.
    prompter.clear();
    printer.setPrinterName("测试打印机");
    printer.setFailure("缺纸");
    prompter.queueAnswer(xb::ui::Answer::No);
    print([&](TPrintForm& w) {
        ::click(&w, "btnDirect");
        ::click(&w, "btnDirectA_0");
    });
    EXPECT_TRUE(printer.jobs().isEmpty());
    EXPECT_EQ(prompter.texts(), QStringList({"打印失败：缺纸。\n是否将这些页另存为PDF文件？"}));
}

TEST_F(PrintPanels, EveryPanelSavesItsPagesAsPdf) {
    addRecordWith("2024000001", "1", 1);
    start(true);
    const QString whole = QString::fromStdString(dir.file("全文.pdf"));
    const QString custom = QString::fromStdString(dir.file("自定义.pdf"));
    const QString direct = QString::fromStdString(dir.file("直接.pdf"));
    printer.queuePdfFile(whole);
    printer.queuePdfFile(custom);
    printer.queuePdfFile(direct);
    printer.queuePdfFile(""); // cancelled
    print([&](TPrintForm& w) {
        ::click(&w, "btnPdf");
        ::click(&w, "btnCustom");
        ::click(&w, "btnCustomA_Pdf");
        ::click(&w, "btnCustomA_Back");
        ::click(&w, "btnDirect");
        ::click(&w, "btnDirectA_Pdf");
        ::click(&w, "btnDirectA_Pdf");
    });
    EXPECT_EQ(pdfPages(whole), 15);
    EXPECT_EQ(pdfPages(custom), 15);
    EXPECT_EQ(pdfPages(direct), 8);
    EXPECT_EQ(printer.pdfQuestions(), 4);
    EXPECT_EQ(prompter.messages().size(), 3); // one notice per saved file, none for the cancel
    EXPECT_TRUE(printer.jobs().isEmpty());
}

} // namespace
