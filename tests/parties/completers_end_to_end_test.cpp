// A soft science record made complete through the real main window: its other sections filled
// in the table, its cooperating organizations and completers entered on their pages; then the
// command-line tool finds it complete and exports its completers.
#include "store/gbk.h"
#include "support/window_fixture.h"

#include <QLineEdit>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

namespace {

// Runs a shell command; its exit status and standard output.
std::pair<int, std::string> run(const std::string& command) {
    std::string out;
    int status = -1;
    if (FILE* p = ::popen((command + " 2>/dev/null </dev/null").c_str(), "r")) {
        std::array<char, 4096> buf{};
        size_t n = 0;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
            out.append(buf.data(), n);
        const int raw = ::pclose(p);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return {status, out};
}

class CompletersEndToEnd : public WindowFixture {};

} // namespace

TEST_F(CompletersEndToEnd, SoftScienceRecordWithCompletersIsCompleteAndExported) {
    addRecord("2024000001", "2", "软科学成果", {{"ITEM_9", "第一完成单位"}});
    fillRequired("2024000001");
    start(true);
    main->setCategoryPosition(1);
    main->ComboBox1Change();
    ASSERT_EQ(listCount(), 1);
    EXPECT_EQ(mark("btn_page08"), "question");
    EXPECT_FALSE(find("Button1")->isEnabled());
    EXPECT_FALSE(main->close());

    openSection("btn_page05", [&](QDialog& page) {
        modal.queue([&](QDialog& d) {
            type(control<QLineEdit>(&d, "edtdw_170"), u"合作单位甲"_s);
            ::click(&d, "btnSave01");
        });
        ::click(&page, "Button2");
        ::click(&page, "quit01");
    });
    openSection("btn_page08", [&](QDialog& page) {
        for (const QString& name : {u"张三"_s, u"李四"_s}) {
            modal.queue([&, name](QDialog& d) {
                type(control<QLineEdit>(&d, "edtry_180"), name);
                choose(control<QComboBox>(&d, "cbry_181"), u"0"_s);
                control<QLineEdit>(&d, "edt_182_y")->setText("1965");
                control<QLineEdit>(&d, "edt_182_m")->setText("3");
                choose(control<QComboBox>(&d, "cbry_183"), u"1b"_s);
                choose(control<QComboBox>(&d, "cbry_184"), u"2"_s);
                ::click(&d, "btnSave01");
            });
            ::click(&page, "Button2");
        }
        ::click(&page, "quit01");
    });
    EXPECT_EQ(mark("btn_page08"), "done");
    EXPECT_EQ(mark("btn_page05"), "done");
    EXPECT_TRUE(find("Button1")->isEnabled());
    EXPECT_TRUE(find<QComboBox>("cbYear")->isEnabled());
    EXPECT_TRUE(main->close());

    main.reset();
    store.reset();
    const std::string cli = std::string(XB_CLI_PATH) + " --data " + data();
    EXPECT_EQ(run(cli + " check --year 2024").first, 0);
    const std::string out = dir.file("out");
    std::filesystem::create_directory(out);
    ASSERT_EQ(run(cli + " export --out " + out + " --year 2024").first, 0);
    ASSERT_EQ(run("cd " + out + " && arj e -y cgsbqy.arj CGWCR.TXT CGWCDW.TXT").first, 0);
    const auto read = [&](const char* file) {
        std::ifstream in(std::filesystem::path(out) / file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return xb::store::fromGbk(bytes.str());
    };
    const std::string completers = read("CGWCR.TXT");
    EXPECT_NE(completers.find("张三"), std::string::npos) << completers;
    EXPECT_NE(completers.find("李四"), std::string::npos) << completers;
    EXPECT_NE(completers.find("1965.03"), std::string::npos) << completers;
    EXPECT_NE(read("CGWCDW.TXT").find("合作单位甲"), std::string::npos);
}
