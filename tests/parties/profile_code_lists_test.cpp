#include "parties/profile_code_lists.h"
#include "support/shipped_data.h"

#include <gtest/gtest.h>

using namespace xb::parties;

namespace {

QStringList boxes(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* text : texts)
        out << QString::fromUtf8(text);
    while (out.size() < kCodeBoxes)
        out << QString();
    return out;
}

} // namespace

// Picked entries store as code, one blank and ";"; empty boxes leave no gap; a code typed by
// hand without a label is kept whole instead of being lost.
TEST(ProfileCodeLists, BoxesGiveTheStoredList) {
    EXPECT_EQ(codeListFromBoxes(boxes({})), QString());
    EXPECT_EQ(codeListFromBoxes(boxes({"0101  计算机及网络技术", "", "0201  系统软件"})),
              QStringLiteral("0101 ;0201 ;"));
    EXPECT_EQ(codeListFromBoxes(boxes({"   ", " 0102  通信技术 ", "0103"})),
              QStringLiteral("0102 ;0103 ;"));
}

TEST(ProfileCodeLists, StoredListsSplitIntoElements) {
    EXPECT_EQ(codeListElements(QString()), QStringList());
    EXPECT_EQ(codeListElements(QStringLiteral("0101 ;;0201 ;")),
              (QStringList{QStringLiteral("0101 "), QString(), QStringLiteral("0201 ")}));
    EXPECT_EQ(codeListElements(QStringLiteral("0101 ;0201")),
              (QStringList{QStringLiteral("0101 "), QStringLiteral("0201")}));
}

// Each element shows its classification entry in its own box; an empty element leaves its box
// empty, an unknown one shows its bare code and is kept, and only ten boxes exist.
TEST(ProfileCodeLists, StoredListsFillTenBoxes) {
    ShippedData data;
    ASSERT_TRUE(data.ok()) << data.error();
    xb::store::Database& db = data.db();
    auto shown = codeBoxTexts(db, QStringLiteral("gxjs"), QStringLiteral("0101 ;9999 ;;0201 ;"));
    ASSERT_TRUE(shown.ok()) << shown.message();
    ASSERT_EQ(shown->size(), kCodeBoxes);
    EXPECT_EQ(shown->at(0), QStringLiteral("0101  计算机及网络技术"));
    EXPECT_EQ(shown->at(1), QStringLiteral("9999"));
    EXPECT_EQ(shown->at(2), QString());
    EXPECT_EQ(shown->at(3), QStringLiteral("0201  系统软件"));
    EXPECT_EQ(shown->at(9), QString());
    // Saving the boxes again keeps the unknown element as it was stored.
    EXPECT_EQ(codeListFromBoxes(*shown), QStringLiteral("0101 ;9999 ;0201 ;"));

    QString eleven;
    for (int i = 0; i < 11; ++i)
        eleven += QStringLiteral("110 ;");
    auto many = codeBoxTexts(db, QStringLiteral("xkfl"), eleven);
    ASSERT_TRUE(many.ok());
    EXPECT_EQ(many->size(), kCodeBoxes);
    EXPECT_EQ(many->at(9), QStringLiteral("110  数学"));

    EXPECT_FALSE(codeBoxTexts(db, QStringLiteral("nosuch"), QStringLiteral("1;")).ok());
}
