// Stored text is code page 936 as Windows maps it: every code, including the user-defined areas
// people's names use for rare characters, must come back as the bytes it came from, and a field
// nobody changed must be written back exactly as it was stored.
#include "store/gbk.h"
#include "store/table_file.h"
#include "support/gbk_codes.h"
#include "support/shell_run.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>

using namespace xb::store;

namespace {

bool isTrail(int t) {
    return t >= 0x40 && t <= 0xFE && t != 0x7F;
}

std::string code(int lead, int trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

// The single code point of a UTF-8 text of one character; 0 when it holds more or none.
uint32_t onlyCodePoint(const std::string& utf8) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.size() == 3 && (s[0] & 0xF0) == 0xE0)
        return ((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
    if (utf8.size() == 2 && (s[0] & 0xE0) == 0xC0) return ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);
    return 0;
}

std::string pythonOutput(const std::string& program) {
    const std::string line = "/usr/bin/python3 -c '" + program + "' 2>&1";
    const ShellRun run = runShell(line);
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
}

std::shared_ptr<TableFile> makeTable(const TempDir& dir, const FieldList& fields) {
    const std::string path = dir.file("names.dbf");
    EXPECT_TRUE(TableFile::create(path, fields).ok());
    auto t = TableFile::open(path, OpenMode::Shared);
    EXPECT_TRUE(t.ok()) << (t.ok() ? "" : t.message());
    return *t;
}

std::string storedField(const TableFile& t, uint32_t recno, int field) {
    std::string raw;
    EXPECT_TRUE(t.readRecord(recno, raw).ok());
    return raw.substr(t.fieldOffset(field), static_cast<size_t>(t.fields()[field].width));
}

} // namespace

TEST(CodePage936, EveryCodeAndTheEuroSignRoundTripAsDistinctCharacters) {
    std::set<uint32_t> seen;
    int codes = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (!isTrail(trail)) continue;
            const std::string bytes = code(lead, trail);
            const std::string text = fromGbk(bytes);
            const uint32_t cp = onlyCodePoint(text);
            ASSERT_NE(cp, 0u) << std::hex << lead << trail;
            ASSERT_NE(cp, 0xFFFDu) << std::hex << lead << trail;
            ASSERT_EQ(toGbk(text), bytes) << std::hex << lead << trail;
            EXPECT_EQ(gbkLength(text), 2);
            EXPECT_TRUE(seen.insert(cp).second) << std::hex << lead << trail;
            ++codes;
        }
    }
    EXPECT_EQ(codes, 126 * 190);
    EXPECT_EQ(fromGbk("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(toGbk("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(gbkLength("\xE2\x82\xAC"), 1);
    EXPECT_EQ(firstNonGbkByte("a\x80\xD5\xC5\xAA\xA1\xA1\x40"), std::string::npos);
}

TEST(CodePage936, UserDefinedAreasTakeThePrivateUseCodesInWindowsOrder) {
    const std::vector<std::string> codes = userDefinedCodes();
    ASSERT_EQ(codes.size(), 1894u);
    for (size_t i = 0; i < codes.size(); ++i)
        ASSERT_EQ(onlyCodePoint(fromGbk(codes[i])), 0xE000 + i) << i;
    // GB18030 gives these areas the same code points: an independent reference.
    const std::string reference = pythonOutput(
        "import sys\n"
        "for a in ((0xAA,0xAF,0xA1,0xFE),(0xF8,0xFE,0xA1,0xFE),(0xA1,0xA7,0x40,0xA0)):\n"
        " for l in range(a[0],a[1]+1):\n"
        "  for t in range(a[2],a[3]+1):\n"
        "   if t!=0x7F: print(\"%04X\" % ord(bytes([l,t]).decode(\"gb18030\")))\n");
    std::istringstream in(reference);
    size_t i = 0;
    for (std::string line; std::getline(in, line); ++i) {
        ASSERT_LT(i, codes.size());
        EXPECT_EQ(onlyCodePoint(fromGbk(codes[i])), std::stoul(line, nullptr, 16)) << line;
    }
    EXPECT_EQ(i, codes.size());
}

TEST(CodePage936, BytesOutsideTheCodePageAreFoundAndLeaveTheirNeighboursAlone) {
    EXPECT_EQ(firstNonGbkByte("ab\xFF"), 2u);
    EXPECT_EQ(firstNonGbkByte("\xD5\xC5\x81\x09x"), 2u);
    EXPECT_EQ(firstNonGbkByte("\xD5\xC5\xD5"), 2u); // lead byte at the end
    // A lead byte without a trail byte takes only itself: the TAB and the name after it stay.
    EXPECT_EQ(fromGbk("\x81\x09\xD5\xC5"), "\xEF\xBF\xBD\t张");
    EXPECT_EQ(fromGbk("\xFF\xD5\xC5"), "\xEF\xBF\xBD张");
}

TEST(TableFidelity, UserDefinedCodesRoundTripThroughATable) {
    TempDir dir;
    auto t = makeTable(dir, {charField("NAME", 200), charField("NOTE", 10)});
    std::vector<std::string> codes = userDefinedCodes();
    codes.emplace_back("\x80");
    std::vector<std::string> expected;
    for (size_t at = 0; at < codes.size(); at += 100) {
        std::string bytes;
        for (size_t k = at; k < std::min(codes.size(), at + 100); ++k)
            bytes += codes[k];
        expected.push_back(bytes);
        ASSERT_TRUE(t->append({Value(fromGbk(bytes)), Value("x")}).ok());
    }
    for (uint32_t recno = 1; recno <= expected.size(); ++recno) {
        std::string want = expected[recno - 1];
        want.resize(200, ' ');
        EXPECT_EQ(storedField(*t, recno, 0), want) << recno;
    }
}

TEST(TableFidelity, AnEditOfOneFieldLeavesTheOtherFieldsByteIdentical) {
    TempDir dir;
    auto t = makeTable(dir, {charField("NAME", 12), numberField("SUM"), charField("FLAG", 1)});
    ASSERT_TRUE(t->append({Value("placeholder"), Value(1), Value("0")}).ok());
    t.reset();
    // Bytes as other programs leave them: a user-defined code, bytes outside the code page and
    // a number written flush left.
    const std::string name = "\xD5\xC5\xAA\xA1\xFF\x81 x\xFE\xFE  ";
    const std::string sum = "12.5";
    std::string bytes = readBytes(dir.file("names.dbf"));
    auto opened = TableFile::open(dir.file("names.dbf"), OpenMode::Shared);
    ASSERT_TRUE(opened.ok());
    const size_t row = (*opened)->headerLength();
    const size_t sumAt = row + (*opened)->fieldOffset(1);
    const size_t sumWidth = static_cast<size_t>((*opened)->fields()[1].width);
    opened->reset();
    bytes.replace(row + 1, name.size(), name);
    bytes.replace(sumAt, sumWidth, sum + std::string(sumWidth - sum.size(), ' '));
    writeBytes(dir.file("names.dbf"), bytes);

    t = *TableFile::open(dir.file("names.dbf"), OpenMode::Shared);
    std::string raw;
    ASSERT_TRUE(t->readRecord(1, raw).ok());
    const std::string before = raw;
    std::vector<Value> values = t->decodeRow(raw);
    values[2] = Value("1");
    ASSERT_TRUE(t->write(1, values).ok());
    ASSERT_TRUE(t->readRecord(1, raw).ok());
    EXPECT_EQ(raw.substr(0, raw.size() - 1), before.substr(0, before.size() - 1));
    EXPECT_EQ(raw.back(), '1');

    // A changed field is written anew; the user-defined code in it still round-trips.
    values[0] = Value(fromGbk("\xAA\xA1\xD5\xC5"));
    ASSERT_TRUE(t->write(1, values).ok());
    EXPECT_EQ(storedField(*t, 1, 0), std::string("\xAA\xA1\xD5\xC5") + std::string(8, ' '));
}

TEST(TableFidelity, TheWidestNumbersOfAFieldKeepTheirDigits) {
    TempDir dir;
    auto t = makeTable(dir, {FieldDef{"SUM", FieldType::Number, 18, 4}, charField("NOTE", 4)});
    ASSERT_TRUE(t->append({Value("9999999999999.9999"), Value("a")}).ok());
    ASSERT_TRUE(t->append({Value("-999999999999.9999"), Value("a")}).ok());
    EXPECT_EQ(storedField(*t, 1, 0), "9999999999999.9999");
    EXPECT_EQ(storedField(*t, 2, 0), "-999999999999.9999");
    std::string raw;
    ASSERT_TRUE(t->readRecord(1, raw).ok());
    EXPECT_EQ(t->decode(raw, 0).toText(), "9999999999999.9999");
    // Written back through a decoded row, changed or not, the digits stay.
    std::vector<Value> values = t->decodeRow(raw);
    values[1] = Value("b");
    ASSERT_TRUE(t->write(1, values).ok());
    EXPECT_EQ(storedField(*t, 1, 0), "9999999999999.9999");
    auto appended = t->append(values);
    ASSERT_TRUE(appended.ok()) << appended.message();
    EXPECT_EQ(storedField(*t, *appended, 0), "9999999999999.9999");

    // Too wide: refused, and the message shows the number as it was given.
    auto refused = t->append({Value(" 99999999999999.9999"), Value("a")});
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("数值 99999999999999.9999 超出"), std::string::npos)
        << refused.message();

    EXPECT_EQ(fixedNumberText("0.125", 2), "0.13");
    EXPECT_EQ(fixedNumberText("9.995", 2), "10.00");
    EXPECT_EQ(fixedNumberText("-0.004", 2), "0.00");
    EXPECT_EQ(fixedNumberText("+12", 2), "12.00");
    EXPECT_EQ(fixedNumberText("12.6", 0), "13");
    EXPECT_EQ(fixedNumberText("1e5", 0), std::nullopt);
    EXPECT_EQ(fixedNumberText("+-3", 0), std::nullopt);
    EXPECT_EQ(fixedNumberText("++3", 0), std::nullopt);
}

TEST(TableFidelity, MemosOfOnlyBlanksOrLineBreaksAreKept) {
    TempDir dir;
    auto t = makeTable(dir, {charField("NAME", 4), memoField("NOTE")});
    ASSERT_TRUE(t->append({Value("a"), Value("   ")}).ok());
    ASSERT_TRUE(t->append({Value("b"), Value("\r\n\r\n")}).ok());
    ASSERT_TRUE(t->append({Value("c"), Value()}).ok());
    std::string raw;
    ASSERT_TRUE(t->readRecord(1, raw).ok());
    EXPECT_EQ(t->decode(raw, 1).toText(), "   ");
    ASSERT_TRUE(t->readRecord(2, raw).ok());
    EXPECT_EQ(t->decode(raw, 1).toText(), "\r\n\r\n");
    ASSERT_TRUE(t->readRecord(3, raw).ok());
    EXPECT_EQ(storedField(*t, 3, 1), std::string(10, ' '));

    // Emptiness is told without reading whole memos, and agrees with the decoded value: text
    // after a first block of blanks counts, and so does a byte outside the code page.
    ASSERT_TRUE(t->append({Value("d"), Value(std::string(600, ' ') + "x")}).ok());
    ASSERT_TRUE(t->append({Value("e"), Value(std::string(1200, '\n'))}).ok());
    ASSERT_TRUE(t->append({Value("f"), Value("\t€")}).ok());
    const bool expected[] = {true, true, true, false, true, false};
    for (uint32_t row = 1; row <= 6; ++row) {
        ASSERT_TRUE(t->readRecord(row, raw).ok());
        EXPECT_EQ(t->isNull(raw, 1), expected[row - 1]) << row;
        EXPECT_EQ(t->decode(raw, 1).isNull(), expected[row - 1]) << row;
    }
    // Texts are told from their stored bytes: control characters are blank, an ideographic
    // space or the euro sign is not.
    const char* texts[] = {" \t\r\n", "\x01", "\xe3\x80\x80", "€", "  x"};
    const bool blank[] = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i) {
        const uint32_t row = static_cast<uint32_t>(7 + i);
        ASSERT_TRUE(t->append({Value(texts[i]), Value()}).ok());
        ASSERT_TRUE(t->readRecord(row, raw).ok());
        EXPECT_EQ(t->isNull(raw, 0), blank[i]) << row;
        EXPECT_EQ(t->decode(raw, 0).isNull(), blank[i]) << row;
    }
}
