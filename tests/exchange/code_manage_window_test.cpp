// The code management window driven through its buttons: an update from a real ARJ package and
// from a dBASE file, wrongly named choices refused with their messages, cancelled choices.
#include "exchange/code_manage_window.h"
#include "exchange_test_data.h"
#include "store/layouts.h"
#include "store/lookups.h"
#include "store/table_file.h"
#include "support/qt_printing.h"
#include "ui/scripted_prompter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <gtest/gtest.h>

#include <memory>

using namespace xb;
using namespace xb::exchange;
using namespace Qt::StringLiterals;
using xb::ui::Message;

namespace {

Message warning(const QString& text) {
    return {u"Xunbao"_s, text, xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok};
}

} // namespace

class CodeManageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        data = std::make_unique<exchange::testing::TestDataDirectory>();
        ASSERT_EQ(data->error(), "");
        files = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<xb::ui::ScriptedPrompter>();
        window = std::make_unique<TFcodeManage>(data->store());
        window->show();
    }
    void TearDown() override {
        window.reset();
        prompts.reset();
        files.reset();
        data.reset();
    }

    void click(const QString& stem) {
        auto* button = window->findChild<QPushButton*>(u"btn"_s + stem);
        ASSERT_TRUE(button) << "btn" << stem.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Packs LSBW.TXT holding `text` as the package `name` in the test folder.
    QString pack(const QString& name, const QByteArray& text) {
        QTemporaryDir source;
        exchange::testing::writeFile(QDir(source.path()).filePath(u"LSBW.TXT"_s), text);
        auto packed = Archiver().add(source.path(), name, {u"LSBW.TXT"_s});
        if (!packed) ADD_FAILURE() << "arj: " << packed.message();
        const QString path = QDir(files->path()).filePath(name);
        QFile::remove(path);
        QFile::rename(QDir(source.path()).filePath(name), path);
        return path;
    }

    QStringList ministries() const {
        QStringList entries;
        auto rows = store::codeTableEntries(data->db(), "lsbw", "Bwdm", "Bwmc", false);
        for (const std::string& row : rows.ok() ? *rows : std::vector<std::string>{})
            entries << QString::fromStdString(row);
        return entries;
    }

    QString classification(const std::string& code) const {
        auto text = store::classificationText(data->db(), "xkfl", code);
        return text.ok() ? QString::fromStdString(*text) : u"<error>"_s;
    }

    std::unique_ptr<exchange::testing::TestDataDirectory> data;
    std::unique_ptr<QTemporaryDir> files;
    std::unique_ptr<xb::ui::ScriptedPrompter> prompts;
    std::unique_ptr<TFcodeManage> window;
};

// Each of the eight buttons refuses a wrongly named choice with its own message: packages
// in a box captioned "请注意！", dBASE files in the warning box.
TEST_F(CodeManageWindow, WronglyNamedChoicesAreRefusedWithTheirMessages) {
    EXPECT_EQ(window->windowTitle(), u"代码管理"_s);
    const QString wrong = QDir(files->path()).filePath(u"OTHER.ARJ"_s);
    const QList<QStringList> cases{{u"DFJHXX"_s, u"DFJHZDXX"_s},
                                   {u"ZTFLB"_s, u"ZTFLH"_s},
                                   {u"XKFLB"_s, u"XKFL"_s},
                                   {u"LSBWB"_s, u"LSBW"_s}};
    const QStringList before = ministries();
    for (const QStringList& c : cases) {
        prompts->clear();
        prompts->queueFile(wrong);
        click(c[0]);
        // The discipline classification's file, offered for the others.
        if (c[1] != u"XKFL"_s) {
            prompts->queueFile(QDir(files->path()).filePath(u"XKFL.DBF"_s));
            click(c[1]);
        }
        QList<Message> expected{{u"请注意！"_s, u"请选择正确导入包,名字是%1.ARJ!"_s.arg(c[0]),
                                 xb::ui::MessageIcon::Warning, xb::ui::Buttons::Ok}};
        if (c[1] != u"XKFL"_s) expected << warning(u"请选择正确的文件（%1.DBF）！"_s.arg(c[1]));
        EXPECT_EQ(prompts->messages(), expected);
        EXPECT_EQ(window->findChild<QLineEdit*>(u"edt"_s + c[0])->text(),
                  QDir::toNativeSeparators(wrong));
    }
    EXPECT_EQ(ministries(), before);
}

// A real ARJ package named in lower case replaces the ministries; a bad one is reported and
// changes nothing; a cancelled choice empties the path box.
TEST_F(CodeManageWindow, APackageUpdatesTheDictionary) {
    const QString package = pack(u"lsbwb.arj"_s, exchange::testing::gbk(u"901\t新设部委甲\r\n"_s));
    prompts->queueFile(package);
    click(u"LSBWB"_s);
    EXPECT_EQ(prompts->messages(), QList<Message>{warning(u"导入更新成功！"_s)});
    EXPECT_EQ(window->findChild<QLineEdit*>(u"edtLSBWB"_s)->text(),
              QDir::toNativeSeparators(package));
    EXPECT_EQ(ministries(), QStringList{u"901  新设部委甲"_s});

    prompts->clear();
    prompts->queueFile(pack(u"LSBWB.ARJ"_s, exchange::testing::gbk(u"903\t甲\t多余\t还多\r\n"_s)));
    click(u"LSBWB"_s);
    ASSERT_EQ(prompts->messages().size(), 1);
    EXPECT_EQ(prompts->messages().first().caption, u"提示"_s);
    EXPECT_TRUE(prompts->messages().first().text.contains(u"代码表未作改动"_s));
    EXPECT_EQ(ministries(), QStringList{u"901  新设部委甲"_s});

    click(u"LSBWB"_s);
    EXPECT_EQ(window->findChild<QLineEdit*>(u"edtLSBWB"_s)->text(), QString());
    EXPECT_EQ(prompts->messages().size(), 1);
}

// A dBASE file of the right name replaces the discipline classification; a cancelled
// choice changes nothing and says nothing.
TEST_F(CodeManageWindow, ADbaseFileUpdatesTheDictionary) {
    const std::string file = QDir(files->path()).filePath(u"xkfl.DBF"_s).toStdString();
    ASSERT_TRUE(store::TableFile::create(file, store::layoutOf("xkfl").fields).ok());
    {
        auto table = store::TableFile::open(file, store::OpenMode::Shared);
        ASSERT_TRUE(table.ok());
        EXPECT_TRUE((*table)
                        ->append({store::Value("1"), store::Value("999"), store::Value("新学科")})
                        .ok());
    }
    click(u"XKFL"_s);
    EXPECT_TRUE(prompts->messages().isEmpty());
    EXPECT_EQ(classification("999"), QString());

    prompts->queueFile(QString::fromStdString(file));
    click(u"XKFL"_s);
    EXPECT_EQ(prompts->messages(), QList<Message>{warning(u"更新“学科分类”菜单成功!"_s)});
    EXPECT_EQ(classification("999"), u"999  新学科"_s);
    EXPECT_EQ(classification("110"), QString());
}
