// Exchange files read as cases: each folder of cases/ holds the bytes of a file (input.txt) and
// the records they must give (expected.json: the target's field count and every record's first
// line and fields). A new case is a new folder.
#include "exchange/exchange_reader.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace xb::exchange {
namespace {

const QString kCases = QStringLiteral(XB_SOURCE_DIR "/tests/exchange/cases");

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const QString& name : QDir(kCases).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        names.push_back(name.toStdString());
    return names;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExchangeCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ExchangeCase, ReadsAsExpected) {
    const QDir folder(kCases + u'/' + QString::fromStdString(GetParam()));
    const QJsonObject expected =
        QJsonDocument::fromJson(contents(folder.filePath(QStringLiteral("expected.json"))))
            .object();
    ASSERT_TRUE(expected.contains(QStringLiteral("fieldCount"))) << "expected.json";
    ReadOptions options;
    options.achievementDates = expected.value(QStringLiteral("achievementDates")).toBool();
    options.today = store::Date{2011, 3, 9};
    const QByteArray input = contents(folder.filePath(QStringLiteral("input.txt")));
    auto reader =
        ExchangeReader::fromBytes(input.toStdString(), "KJCG.TXT",
                                  expected.value(QStringLiteral("fieldCount")).toInt(), options);
    auto records = readAllRecords(reader);
    ASSERT_TRUE(records.ok()) << records.message();

    const QJsonArray wanted = expected.value(QStringLiteral("records")).toArray();
    ASSERT_EQ(records->size(), static_cast<size_t>(wanted.size()));
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QJsonObject record = wanted[i].toObject();
        std::vector<std::string> fields;
        for (const QJsonValue& field : record.value(QStringLiteral("fields")).toArray())
            fields.push_back(field.toString().toStdString());
        EXPECT_EQ((*records)[i].firstLine, record.value(QStringLiteral("line")).toInt())
            << "record " << i;
        EXPECT_EQ((*records)[i].fields, fields) << "record " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExchangeCase, ::testing::ValuesIn(caseNames()),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace xb::exchange
