// Records made complete through the real pages, section by section, then checked and exported by
// the command-line tool on the same data directory.
#include "overview_filling.h"
#include "support/shell_run.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <filesystem>

namespace {

// Runs the command-line tool on the fixture's data.
ShellRun cli(const std::string& data, const std::string& arguments) {
    return runQuietly(std::string(XB_CLI_PATH) + " --data " + data + " " + arguments);
}

void setText(QDialog& d, const char* name, const QString& text) {
    control<QLineEdit>(&d, name)->setText(text);
}

class WholeRecord : public WindowFixture {
  protected:
    void overview(bool applied) {
        openSection("btn_page01", [&](QDialog& d) {
            fillOverview(d, applied, QStringLiteral("茶树快繁"));
            saveAndQuit(d);
        });
    }
    void project(bool applied) {
        openSection("btn_page03", [&](QDialog& d) {
            choose(control<QComboBox>(&d, applied ? "cb_21" : "cb_21_l"), applied ? "1" : "4");
            ::click(&d, "cb_126_10");
            saveAndQuit(d);
        });
    }
    void firstUnit() {
        openSection("btn_page04", [&](QDialog& d) {
            setText(d, "Edt_9", "第一单位");
            setText(d, "Edt_37", "北京市海淀区中关村");
            setText(d, "Edt_38", "100080");
            choose(control<QComboBox>(&d, "cb_62"), "1");
            choose(control<QComboBox>(&d, "cb_64"), "11");
            setText(d, "Edt_41", "张三");
            setText(d, "Edt_41_2", "010-1");
            saveAndQuit(d);
        });
    }
    void property() {
        openSection("btn_page02", [&](QDialog& d) {
            if (!control<QCheckBox>(&d, "cb_51_1")->isChecked()) ::click(&d, "cb_51_1");
            ::click(&d, "cb_51_3");
            choose(control<QComboBox>(&d, "CB_32"), "1");
            ::click(&d, "cb_161_1");
            saveAndQuit(d);
        });
    }
    void completer() {
        openSection("btn_page08", [&](QDialog& page) {
            modal.queue([](QDialog& d) {
                control<QLineEdit>(&d, "edtry_180")->setText("王建国");
                control<QLineEdit>(&d, "edtry_180")->textEdited("王建国");
                choose(control<QComboBox>(&d, "cbry_181"), "0");
                setText(d, "edt_182_y", "1962");
                setText(d, "edt_182_m", "5");
                choose(control<QComboBox>(&d, "cbry_183"), "2");
                choose(control<QComboBox>(&d, "cbry_184"), "3");
                ::click(&d, "btnSave01");
                ::click(&d, "Button2");
            });
            ::click(&page, "Button2");
            ::click(&page, "quit01");
        });
    }
    void saveAndQuit(QDialog& d) {
        const qsizetype before = prompter.texts().size();
        ::click(&d, "btnSave01");
        EXPECT_EQ(prompter.texts().mid(before), QStringList{"储存成功！"})
            << d.objectName().toStdString();
        ::click(&d, "quit01");
    }
};

} // namespace

TEST_F(WholeRecord, ASoftScienceRecordIsCompleteOnceItsCompletersAreIn) {
    addRecord("2024000001", "2", "区域茶产业发展战略研究");
    start(true);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    overview(false);
    project(false);
    firstUnit();
    for (const char* done : {"btn_page01", "btn_page03", "btn_page04"})
        EXPECT_EQ(mark(done), "done") << done;
    EXPECT_EQ(mark("btn_page08"), "question");
    const auto [incomplete, listed] = cli(data(), "check --year 2024");
    EXPECT_EQ(incomplete, 1);
    EXPECT_NE(listed.find("成果完成人员名单"), std::string::npos) << listed;
    for (const char* section : {"成果概况", "课题立项", "第一完成单位"})
        EXPECT_EQ(listed.find(section), std::string::npos) << section << ": " << listed;

    completer();
    EXPECT_EQ(mark("btn_page08"), "done");
    EXPECT_TRUE(find("Button1")->isEnabled());
    EXPECT_EQ(cli(data(), "check --year 2024").status, 0);
}

TEST_F(WholeRecord, AnAppliedRecordIsCompleteAndExportedWithItsPatentsAndCommittee) {
    addRecord("2024000001", "1", "茶树良种快速繁育技术");
    addChild("zlqk", "2024000001",
             {{"ITEM_NO", 1},
              {"PATENT_NAM", "一种茶树扦插方法"},
              {"PATENT_NO", "ZL200510012345"},
              {"PATENT_ST", "2"},
              {"PATENT_TY", "1"}});
    addChild("jdwyhmd", "2024000001", {{"ITEM_192", "陈宗懋"}, {"ITEM_190", 1}});
    start(true);
    overview(true);
    property();
    project(true);
    firstUnit();
    completer();
    for (const char* done : {"btn_page01", "btn_page02", "btn_page03", "btn_page04", "btn_page08"})
        EXPECT_EQ(mark(done), "done") << done;
    EXPECT_TRUE(main->close());
    EXPECT_EQ(cli(data(), "check --year 2024").status, 0);
    // The program has ended: the command may write now.
    main.reset();
    store.reset();

    const std::string out = data() + "/../out";
    std::filesystem::create_directory(out);
    ASSERT_EQ(cli(data(), "export --out " + out + " --year 2024").status, 0);
    ASSERT_EQ(std::system(("cd " + out + " && arj e -y cgsbqy.arj >/dev/null").c_str()), 0);
    for (const char* file : {"ZLQK.TXT", "JDWYHMD.TXT", "CGWCR.TXT"})
        EXPECT_GT(std::filesystem::file_size(out + "/" + file), 0u) << file;
}
