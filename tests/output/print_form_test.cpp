// The print window's Word documents through the real main window: 打印, then a Word button.
#include "output/print_form.h"
#include "output/word_output.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QFile>

#include <filesystem>

namespace {

class PrintWindow : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        const QDir templates(XB_TEMPLATES_DIR);
        for (const QString& name : templates.entryList({"*.docx"}, QDir::Files))
            ASSERT_TRUE(QFile::copy(templates.filePath(name),
                                    QDir(QString::fromStdString(data())).filePath(name)));
        documents = QString::fromStdString(dir.file("文档/Xunbao"));
    }
    // Opens the print window with 打印 and plays `action` on it.
    void print(const std::function<void(xb::output::TPrintForm&)>& action) {
        modal.queue([&](QDialog& d) {
            auto* window = qobject_cast<xb::output::TPrintForm*>(&d);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->windowTitle(), "数据打印");
            window->setDocumentsFolder(documents);
            action(*window);
            ::click(window, "btnQuit");
        });
        click("BitBtn4");
    }
    QStringList written() const {
        return QDir(documents).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    bool visible(xb::output::TPrintForm& w, const char* button) {
        auto* b = control<QPushButton>(&w, button);
        return b && b->isVisibleTo(&w);
    }

    QString documents;
};

const QString kQuestion = "您确定输出word文档吗？\r\n";

TEST_F(PrintWindow, CancelWritesNothingAndAMissingTemplateIsReported) {
    addRecord("2024000001", "1", "成果甲");
    completeRecord("2024000001");
    ASSERT_TRUE(QFile::remove(
        QString::fromStdString(xb::output::templatePath(data(), xb::output::WordForm::Applied))));
    start(true);
    prompter.queueAnswer(xb::ui::Answer::Cancel);
    print([&](xb::output::TPrintForm& w) {
        ::click(&w, "btnWordCertificate");
        ::click(&w, "btnWordApplied");
    });
    EXPECT_EQ(prompter.texts(), QStringList({kQuestion, kQuestion, "您的电脑上没有相应的报表"}));
    EXPECT_EQ(prompter.messages().first().caption, "提示");
    EXPECT_EQ(prompter.messages().first().buttons, xb::ui::Buttons::OkCancel);
    EXPECT_TRUE(written().isEmpty());
    EXPECT_TRUE(prompter.openedDocuments().isEmpty());
}

TEST_F(PrintWindow, EachRunWritesANewDocumentAndOpensIt) {
    addRecord("2024000001", "1", "成果甲");
    completeRecord("2024000001");
    start(true);
    print([&](xb::output::TPrintForm& w) {
        ::click(&w, "btnWordApplied");
        ::click(&w, "btnWordApplied");
    });
    const QStringList files = written();
    EXPECT_EQ(files,
              QStringList({"应用技术登记表_2024000001(2).docx", "应用技术登记表_2024000001.docx"}));
    EXPECT_EQ(prompter.openedDocuments(),
              QStringList({QDir(documents).filePath("应用技术登记表_2024000001.docx"),
                           QDir(documents).filePath("应用技术登记表_2024000001(2).docx")}));
    EXPECT_EQ(prompter.texts(), QStringList({kQuestion, kQuestion}));

    // A document that cannot be opened: the message says where it is.
    prompter.clear();
    prompter.setDocumentsOpen(false);
    print([&](xb::output::TPrintForm& w) { ::click(&w, "btnWordCertificate"); });
    ASSERT_EQ(prompter.texts().size(), 2);
    EXPECT_TRUE(prompter.texts().last().contains("科学技术成果鉴定证书_2024000001.docx"));
    EXPECT_EQ(written().size(), 3);
}

TEST_F(PrintWindow, TheRegistrationFormFollowsTheCategory) {
    addRecord("2024000001", "1", "应用成果");
    completeRecord("2024000001");
    addRecord("2024000002", "2", "软科学成果");
    completeRecord("2024000002");
    start(true);
    print([&](xb::output::TPrintForm& w) {
        EXPECT_TRUE(visible(w, "btnWordApplied"));
        EXPECT_FALSE(visible(w, "btnWordBasic"));
        EXPECT_TRUE(visible(w, "btnWordApplication"));
        EXPECT_TRUE(visible(w, "btnWordCertificate"));
    });
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    ASSERT_EQ(current("item_4"), "2024000002");
    print([&](xb::output::TPrintForm& w) {
        EXPECT_FALSE(visible(w, "btnWordApplied"));
        EXPECT_TRUE(visible(w, "btnWordBasic"));
        EXPECT_TRUE(visible(w, "btnWordApplication"));
        EXPECT_TRUE(visible(w, "btnWordCertificate"));
        ::click(&w, "btnWordBasic");
    });
    EXPECT_EQ(written(), QStringList({"基础、软科学登记表_2024000002.docx"}));
}

} // namespace
