#include "output/output_fixture.h"

#include "output/word_output.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QString>

#include <algorithm>

std::string builtTemplates() {
    return XB_TEMPLATES_DIR;
}

void OutputFixture::SetUp() {
    RecordFixture::SetUp();
    if (HasFatalFailure()) return;
    const QDir templates(QString::fromStdString(builtTemplates()));
    const QStringList docx = templates.entryList({"*.docx"}, QDir::Files);
    ASSERT_EQ(docx.size(), 4) << builtTemplates();
    for (const QString& name : docx)
        ASSERT_TRUE(QFile::copy(templates.filePath(name),
                                QDir(QString::fromStdString(data())).filePath(name)));
}

std::string OutputFixture::templateOf(xb::output::WordForm form) const {
    return xb::output::templatePath(data(), form);
}

void OutputFixture::addCompleters(const std::string& number, int count) {
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        addChild("cgwcr", number,
                 {{"ITEM_187", xb::store::Value(static_cast<double>(i))},
                  {"ITEM_180", "完成人" + n},
                  {"ITEM_181", i % 2 ? "0" : "1"},
                  {"ITEM_182", "1970.0" + std::to_string(i % 9 + 1)},
                  {"ITEM_183", "2"},
                  {"ITEM_184", "2"},
                  {"ITEM_185", "测试研究院"},
                  {"ITEM_186", "贡献" + n},
                  {"ITEM_188", "1"}});
    }
}

void OutputFixture::addCompleteRecord(const std::string& number, const std::string& category,
                                      int completers) {
    const bool applied = category == "1";
    addRecord(number, category, applied ? "高效节能电机控制系统" : "区域科技政策评估方法研究",
              {{"ITEM_1", "1"},
               {"ITEM_8", "2005.03   至2006.12"},
               {"ITEM_9", "测试研究院"},
               {"ITEM_14", "电机;节能;控制;变频"},
               {"ITEM_120", "2024-0001"},
               {"ITEM_121", xb::store::Date{2024, 5, 6}},
               {"ITEM_123", "3"},
               {"ITEM_210", "1"},
               {"ITEM_125_1", "1"},
               {"ITEM_16", "3"},
               {"ITEM_2", "3"},
               {"ITEM_33", "2"},
               {"ITEM_201", "2"},
               {"ITEM_15", "110"},
               {"ITEM_12", "A1"},
               {"ITEM_124_1", "07;01;"},
               {"ITEM_200", "04;"},
               {"ITEM_125", "03;"},
               {"ITEM_126", "01;02;"},
               {"ITEM_140", "7"},
               {"ITEM_127", "2005BA123"},
               {"ITEM_127_1", "电机节能控制关键技术"},
               {"ITEM_149", xb::store::Value(150.5)},
               {"ITEM_141", xb::store::Value(100.0)},
               {"ITEM_21", applied ? "1" : "4"},
               {"ITEM_130", "省科学技术厅"},
               {"ITEM_34", "2006.12.20"},
               {"ITEM_302", "2007.01.05"},
               {"ITEM_22", "鉴字2006-88"},
               {"ITEM_51", "1;"},
               {"ITEM_51_1", "3"},
               {"patent_ty", "1;2;"},
               {"ITEM_32", "1"},
               {"ITEM_161", "1;4;"},
               {"ITEM_46", "02"},
               {"ITEM_47", "01"},
               {"ITEM_420", "12345678-9"},
               {"ITEM_37", "北京市海淀区中关村南大街5号"},
               {"ITEM_38", "100081"},
               {"ITEM_62", "3"},
               {"ITEM_41_3", "05"},
               {"ITEM_163", "1"},
               {"ITEM_64", "11"},
               {"ITEM_63", "101"},
               {"ITEM_41", "李联系"},
               {"ITEM_41_2", "010-12345678"},
               {"ITEM_128", "国家科学技术部"},
               {"ITEM_13_1", "本成果研制了高效节能电机控制系统。\r\n节能百分之二十。"}});
    for (const auto& [no, state] : {std::pair{"ZL200510001", "1"},
                                    {"ZL200510002", "2"},
                                    {"ZL200510003", "1"},
                                    {"ZL200510004", "2"}})
        addChild("zlqk", number,
                 {{"PATENT_NO", no},
                  {"PATENT_NAM", std::string("专利") + no},
                  {"PATENT_ST", state},
                  {"PATENT_TY", "1"}});
    addChild("cgwcdw", number,
             {{"ITEM_176", xb::store::Value(1.0)}, {"ITEM_170", "合作大学"}, {"ITEM_171", "上海"}});
    addChild("cgwcdw", number,
             {{"ITEM_176", xb::store::Value(2.0)}, {"ITEM_170", "协作工厂"}, {"ITEM_171", "天津"}});
    addChild("jdwyhmd", number,
             {{"ITEM_191", "主任"},
              {"ITEM_192", "王主任"},
              {"ITEM_193", "0"},
              {"ITEM_194", "01"},
              {"ITEM_198", "1"}});
    addChild("jdwyhmd", number,
             {{"ITEM_191", "委员"},
              {"ITEM_192", "赵委员"},
              {"ITEM_193", "1"},
              {"ITEM_194", "02"},
              {"ITEM_198", "2"}});
    addCompleters(number, completers);
}

std::string chineseText(int bytes, int seed) {
    static const std::u16string pool =
        u"华中科技大学电气与电子工程学院电力电子与电机系统研究所（国家重点实验室）、湖北省武汉市洪"
        u"山"
        u"区珞喻路一〇三七号高效节能永磁同步电机控制系统的设计、研制与产业化应用，负责总体方案。";
    std::u16string out;
    for (int i = 0; i < bytes / 2; ++i)
        out += pool[static_cast<size_t>(i + seed * 7) % pool.size()];
    return QString::fromStdU16String(out).toStdString();
}

void OutputFixture::addFullRecord(const std::string& number, const std::string& category) {
    addCompleteRecord(number, category, 0);
    std::string summary;
    for (int p = 0; summary.size() < 12000; ++p)
        summary += chineseText(400, p) + "\r\n";
    const xb::store::Params key{{"n", number}};
    ASSERT_TRUE(db().execute("update kjcg set item_3=:a, item_9=:b, item_37=:c, item_128=:d, "
                             "item_130=:e, item_127_1=:f, item_13_1=:s, item_149=1860.5, "
                             "item_141=600, item_142=60.25, item_142_1=60.25 where item_4=:n",
                             {{"n", number},
                              {"a", chineseText(140, 1)},
                              {"b", chineseText(140, 2)},
                              {"c", chineseText(100, 3)},
                              {"d", chineseText(80, 4)},
                              {"e", chineseText(80, 5)},
                              {"f", chineseText(140, 6)},
                              {"s", summary}})
                    .ok());
    ASSERT_TRUE(db().execute("delete from cgwcdw where item_4=:n", key).ok());
    ASSERT_TRUE(db().execute("delete from jdwyhmd where item_4=:n", key).ok());
    for (int i : {3, 1, 2, 4, 5, 6, 7, 8, 9, 10})
        addChild("cgwcdw", number,
                 {{"ITEM_176", xb::store::Value(static_cast<double>(i))},
                  {"ITEM_170", std::to_string(i) + chineseText(78, i)},
                  {"ITEM_171", chineseText(80, i + 3)},
                  {"ITEM_172", "430074"},
                  {"ITEM_173", chineseText(20, i)},
                  {"ITEM_174", "027-87543210-1234567"}});
    static const char* const roles[] = {"主任委员", "副主任委员", "委员"};
    for (int i = 1; i <= 14; ++i)
        addChild("jdwyhmd", number,
                 {{"ITEM_191", roles[std::min(i - 1, 2)]},
                  {"ITEM_192", chineseText(20, i)},
                  {"ITEM_193", i % 2 ? "0" : "1"},
                  {"ITEM_194", std::string(i < 10 ? "0" : "") + std::to_string(i)},
                  {"ITEM_195", chineseText(80, i + 1)},
                  {"ITEM_196", chineseText(30, i + 2)},
                  {"ITEM_197", chineseText(30, i + 3)},
                  {"ITEM_198", i % 3 ? "1" : "c"}});
    for (int i = 1; i <= 25; ++i)
        addChild("cgwcr", number,
                 {{"ITEM_187", xb::store::Value(static_cast<double>(i))},
                  {"ITEM_180", chineseText(20, i)},
                  {"ITEM_181", i % 2 ? "0" : "1"},
                  {"ITEM_182", "1961.06"},
                  {"ITEM_183", "1"},
                  {"ITEM_184", "1"},
                  {"ITEM_185", chineseText(80, i + 4)},
                  {"ITEM_186", chineseText(160, i + 5)},
                  {"ITEM_188", "1"}});
    for (int i = 5; i <= 8; ++i)
        addChild("zlqk", number,
                 {{"PATENT_NO", "ZL20051000" + std::to_string(i)},
                  {"PATENT_NAM", chineseText(80, i)},
                  {"PATENT_ST", i % 2 ? "1" : "2"},
                  {"PATENT_TY", "1"}});
}

QJsonObject OutputFixture::readBookmarks(const std::string& docx) const {
    QProcess reader;
    reader.start("/usr/bin/python3",
                 {XB_SOURCE_DIR "/tests/output/read_bookmarks.py", QString::fromStdString(docx)});
    EXPECT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}
