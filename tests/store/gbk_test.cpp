#include "store/gbk.h"

#include <gtest/gtest.h>

using namespace xb::store;

TEST(Gbk, ChineseTextTakesTwoBytesPerCharacterAndRoundTrips) {
    const std::string text = "科技成果登记 abc";
    const std::string bytes = toGbk(text);
    EXPECT_EQ(bytes.size(), 6u * 2 + 4);
    EXPECT_EQ(gbkLength(text), 16);
    EXPECT_EQ(fromGbk(bytes), text);
    // 中 is D6 D0 in GBK.
    EXPECT_EQ(toGbk("中"), "\xD6\xD0");
}

TEST(Gbk, CuttingNeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(cutToGbkWidth("ab中文", 3), "ab");
    EXPECT_EQ(cutToGbkWidth("ab中文", 4), "ab中");
    EXPECT_EQ(cutToGbkWidth("中文", 1), "");
    EXPECT_EQ(std::string(cutGbkBytes(toGbk("a中文"), 4)), toGbk("a中"));
    EXPECT_EQ(std::string(cutGbkBytes(toGbk("a中文"), 2)), "a");
}

TEST(Gbk, UnmappableAndBrokenInputDoNotCrash) {
    EXPECT_EQ(toGbk("😀"), "?");
    EXPECT_EQ(fromGbk("\xD6"), "\xEF\xBF\xBD"); // lead byte at the end
    EXPECT_EQ(toGbk("\xE4\xB8"), "?");          // truncated UTF-8
}
