#include "exchange_test_data.h"

#include "store/gbk.h"
#include "support/shipped_data.h"

#include <QDir>
#include <QFile>

#include <map>

namespace xb::exchange::testing {

using store::Value;

TestDataDirectory::TestDataDirectory() {
    if (!folder_.isValid())
        error_ = "no temporary folder";
    else
        store_ = openShippedData(path().toStdString(), error_);
}

QString TestDataDirectory::path() const {
    return QDir(folder_.path()).filePath(QStringLiteral("data"));
}

store::Result<uint32_t> addRow(store::Database& db, const std::string& table,
                               const FieldValues& values) {
    auto cursor = db.table(table);
    if (!cursor) return cursor.error();
    if (auto s = (*cursor)->append(); !s) return s.error();
    for (const auto& [name, value] : values)
        if (auto s = (*cursor)->setValue(name, value); !s) return s.error();
    if (auto s = (*cursor)->post(); !s) return s.error();
    return (*cursor)->recNo();
}

namespace {

// A child row by position: ITEM_4, ITEM_DQDM, then the table's own fields in order.
FieldValues child(const std::string& table, std::vector<Value> values) {
    static const std::map<std::string, std::vector<std::string>> fields{
        {"cgwcdw",
         {"ITEM_176", "ITEM_170", "ITEM_171", "ITEM_172", "ITEM_173", "ITEM_174", "ITEM_175"}},
        {"cgwcr",
         {"ITEM_187", "ITEM_180", "ITEM_181", "ITEM_182", "ITEM_183", "ITEM_184", "ITEM_185",
          "ITEM_186", "ITEM_188", "ITEM_NO"}},
        {"jdwyhmd",
         {"ITEM_190", "ITEM_191", "ITEM_192", "ITEM_193", "ITEM_194", "ITEM_195", "ITEM_196",
          "ITEM_197", "ITEM_198", "ITEM_199"}},
        {"zlqk", {"ITEM_NO", "PATENT_NO", "PATENT_NAM", "PATENT_ST", "PATENT_TY"}},
        {"unitexpert", {"item_187", "item_180", "item_181", "item_182", "item_124_1", "item_186"}}};
    std::vector<std::string> names{"ITEM_4", "ITEM_DQDM"};
    if (table == "unitexpert") names = {"unitcode"};
    names.insert(names.end(), fields.at(table).begin(), fields.at(table).end());
    FieldValues row;
    for (std::size_t k = 0; k < values.size(); ++k)
        row.emplace_back(names.at(k), values[k]);
    return row;
}

std::vector<std::pair<std::string, FieldValues>> sampleRows() {
    const char *a = "2008000001", *b = "2008000002", *c = "2009000001";
    auto record = [](const char* number, const char* category, const char* name,
                     const char* organization) {
        return FieldValues{{"ITEM_4", number},
                           {"ITEM_DQDM", "."},
                           {"ITEM_CGLB", category},
                           {"ITEM_3", name},
                           {"ITEM_9", organization}};
    };
    FieldValues recordA = record(a, "1", "高效节能换热器的研制", "东方能源研究所");
    recordA.insert(recordA.end(), {{"ITEM_13", "第一段\r\n第二段"},
                                   {"ITEM_13_1", "\"节能\"是本成果的核心"},
                                   {"ITEM_121", store::Date{2008, 5, 20}},
                                   {"ITEM_45", 12.5},
                                   {"ITEM_51_2", 3},
                                   {"ITEM_SJDC", "1"},
                                   {"TLinkManEm", "last@example.cn"}});
    FieldValues recordB = record(b, "2", "城市交通拥堵对策研究", "东方大学");
    recordB.emplace_back("ITEM_SJDC", "1");
    return {
        {"kjcg", recordA},
        {"kjcg", recordB},
        {"kjcg", record(c, "3", "稀土催化材料基础研究", "东方能源研究所")},
        {"cgwcdw", child("cgwcdw", {c, ".", 1, "稀土应用中心"})},
        {"cgwcdw", child("cgwcdw", {a, ".", 1, "合作单位甲", "北京市海淀区", "100081", "张三",
                                    "010-12345678", "备注"})},
        {"cgwcdw", child("cgwcdw", {b, ".", 1, "不应导出的单位"})},
        {"cgwcr", child("cgwcr", {c, ".", 1, "赵六", "", "", "", "", "", "", "2", 1})},
        {"cgwcr", child("cgwcr", {a, ".", 1, "李四", "1", "1965.03", "2", "3", "东方能源研究所",
                                  "主持研制", "1", 1})},
        {"cgwcr", child("cgwcr", {a, ".", 2, "王芳", "2", "", "", "", "", "", "", 2})},
        {"jdwyhmd", child("jdwyhmd", {a, ".", 1, "主任委员", "陈七", "1", "1", "东方大学",
                                      "热能工程", "热能工程", "1", "组长"})},
        {"zlqk", child("zlqk", {a, ".", 1, "ZL200810012345.6", "一种板式换热器", "2", "1"})},
        {"unit",
         {{"item_124_1", "01;02;"},
          {"unitintrod", "本所成立于1958年。\r\n主要从事能源研究。"},
          {"item_9", "东方能源研究所"},
          {"unitcode", "9990001000"},
          {"unitlevel", "1"},
          {"endlevel", 1},
          {"studydirec", "方向\t一"}}},
        {"unitexpert",
         child("unitexpert", {"9990001000", "1", "王五", "1", "1960.01", "01", "学科带头人"})},
        {"unitexpert", child("unitexpert", {"9990001000", "2", "孙八", "2", "1972.11"})},
    };
}

} // namespace

store::Result<SampleOffice> addSampleOffice(store::Database& db) {
    std::vector<uint32_t> records;
    for (const auto& [table, values] : sampleRows()) {
        auto row = addRow(db, table, values);
        if (!row) return row.error();
        if (table == "kjcg") records.push_back(*row);
    }
    return SampleOffice{records.at(0), records.at(1), records.at(2)};
}

std::vector<std::pair<std::string, std::string>> exportFlags(store::Database& db) {
    std::vector<std::pair<std::string, std::string>> flags;
    auto cursor = db.table("kjcg");
    for (auto* c = cursor ? cursor->get() : nullptr; c && !c->eof(); c->next())
        flags.emplace_back(c->text("ITEM_4"), c->text("ITEM_SJDC"));
    return flags;
}

QByteArray gbk(const QString& text) {
    return QByteArray::fromStdString(store::toGbk(text.toStdString()));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace xb::exchange::testing
