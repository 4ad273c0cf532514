#include "barcode/BRCCode128Barcode.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<BRCCode128Barcode> make(int set, const QString& value)
{
    auto barcode = std::make_unique<BRCCode128Barcode>();
    barcode->setCodeSet(set);
    EXPECT_TRUE(barcode->initWithContent(value, true));
    barcode->setBarWidth(1.0f);
    barcode->calculateWidth();
    return barcode;
}

const QString kStop = QStringLiteral("1100011101011");
const QString kShift = QStringLiteral("11110100010"); // value 98

} // namespace

TEST(Code128, SetCWritesDigitPairsAfterPaddingAnOddCount)
{
    const auto code128 = make(BRCCode128Barcode::SetC, QStringLiteral("12345"));
    EXPECT_TRUE(code128->isContentValid());
    // 012345: pairs 01, 23, 45; check (105 + 1x1 + 2x23 + 3x45) mod 103 = 81.
    EXPECT_EQ(code128->checkDigit(), 81);
    EXPECT_EQ(code128->completeBarcode(),
        QStringLiteral("11010011100"
                       "11001101100"
                       "11101101110"
                       "10111011000"
                       "10010111100")
            + kStop);
    EXPECT_FLOAT_EQ(code128->width(), 5 * 11.0f + 13.0f);
    EXPECT_EQ(code128->caption(), QStringLiteral("12345"));
}

TEST(Code128, AutomaticSetFollowsTheContent)
{
    EXPECT_EQ(make(BRCCode128Barcode::SetChosen, QStringLiteral("123456"))->codeSet(), BRCCode128Barcode::SetC);
    EXPECT_EQ(make(BRCCode128Barcode::SetChosen, QStringLiteral(""))->codeSet(), BRCCode128Barcode::SetC);
    EXPECT_EQ(make(BRCCode128Barcode::SetChosen, QStringLiteral("Hello"))->codeSet(), BRCCode128Barcode::SetB);
    EXPECT_EQ(make(BRCCode128Barcode::SetChosen, QStringLiteral("A\tB"))->codeSet(), BRCCode128Barcode::SetA);
    // Three control characters outweigh two lower-case letters.
    EXPECT_EQ(make(BRCCode128Barcode::SetChosen, QStringLiteral("ab\t\x01\x02"))->codeSet(), BRCCode128Barcode::SetA);
    // An odd count of digits in set C would gain a leading zero that scanners report.
    const auto odd = make(BRCCode128Barcode::SetChosen, QStringLiteral("12345"));
    EXPECT_EQ(odd->codeSet(), BRCCode128Barcode::SetB);
    EXPECT_EQ(odd->completeBarcode().size(), 11 * 7 + 13);
}

TEST(Code128, CharacterOfTheOtherSetIsShiftedAndCountedInTheCheck)
{
    // Set A: 'A' is 33; 'b' is SHIFT and 66 of set B; (103 + 1x33 + 2x98 + 3x66) mod 103 = 15.
    const auto setA = make(BRCCode128Barcode::SetA, QStringLiteral("Ab"));
    EXPECT_TRUE(setA->isContentValid());
    EXPECT_EQ(setA->checkDigit(), 15);
    EXPECT_EQ(setA->completeBarcode(),
        QStringLiteral("11010000100"
                       "10100011000")
            + kShift
            + QStringLiteral("10010000110"
                             "10111001100")
            + kStop);

    // Set B: a tab is SHIFT and 73 of set A; (104 + 1x65 + 2x98 + 3x73 + 4x66) mod 103 = 24.
    const auto setB = make(BRCCode128Barcode::SetB, QStringLiteral("a\tb"));
    EXPECT_TRUE(setB->isContentValid());
    EXPECT_EQ(setB->checkDigit(), 24);
    EXPECT_EQ(setB->completeBarcode(),
        QStringLiteral("11010010000"
                       "10010110000")
            + kShift
            + QStringLiteral("10000110100"
                             "10010000110"
                             "11101001100")
            + kStop);
    EXPECT_EQ(setB->_encodeChar('\t'), kShift + QStringLiteral("10000110100"));
    EXPECT_TRUE(setB->_canEncodeChar('a', BRCCode128Barcode::SetB));
    EXPECT_FALSE(setB->_canEncodeChar('a', BRCCode128Barcode::SetA));
}

TEST(Code128, ContentASetCannotCarryGivesNoSymbol)
{
    for (const char* value : { "12a4", "1 2", "+12" }) {
        const auto setC = make(BRCCode128Barcode::SetC, QLatin1String(value));
        EXPECT_FALSE(setC->isContentValid()) << value;
        EXPECT_TRUE(setC->barcode().isEmpty()) << value;
    }
    // An empty value gives no symbol in any set.
    for (const int set :
        { BRCCode128Barcode::SetA, BRCCode128Barcode::SetB, BRCCode128Barcode::SetC, BRCCode128Barcode::SetChosen })
        EXPECT_FALSE(make(set, QStringLiteral(""))->isContentValid()) << set;
    for (const int set : { BRCCode128Barcode::SetA, BRCCode128Barcode::SetB, BRCCode128Barcode::SetChosen })
        EXPECT_FALSE(make(set, QStringLiteral("naïve"))->isContentValid()) << set;

    auto unknown = std::make_unique<BRCCode128Barcode>();
    unknown->setCodeSet(7);
    ASSERT_TRUE(unknown->initWithContent(QStringLiteral("ABC"), true));
    EXPECT_FALSE(unknown->isContentValid());
    EXPECT_TRUE(unknown->initiator().isEmpty());
}

TEST(Code128, NumberPairsAreSymbolValues)
{
    BRCCode128Barcode code128;
    EXPECT_EQ(code128._encodeNumberPair(QStringLiteral("81")), QStringLiteral("10010111100"));
    EXPECT_EQ(code128._encodeNumberPair(QStringLiteral("0")), QStringLiteral("11011001100"));
    EXPECT_TRUE(code128._encodeNumberPair(QStringLiteral("103")).isEmpty());
    EXPECT_TRUE(code128._encodeNumberPair(QStringLiteral("-1")).isEmpty());
    EXPECT_TRUE(code128._shiftCharacterForSet(BRCCode128Barcode::SetC).isEmpty());
}

TEST(Code128, CopyKeepsTheCodeSet)
{
    const auto original = make(BRCCode128Barcode::SetA, QStringLiteral("ab"));
    const auto twin = original->copy();
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->completeBarcode(), original->completeBarcode());
    EXPECT_EQ(twin->checkDigit(), original->checkDigit());
}
