#include "barcode/BRCIndustrialTwoOfFiveBarcode.h"
#include "barcode/BRCInterleavedTwoOfFiveBarcode.h"

#include <gtest/gtest.h>

namespace {

template <typename T> std::unique_ptr<T> make(const QString& value)
{
    auto barcode = std::make_unique<T>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    barcode->setBarWidth(1.0f);
    barcode->calculateWidth();
    return barcode;
}

} // namespace

TEST(Interleaved2of5, AnOddCountGetsALeadingZero)
{
    const auto itf = make<BRCInterleavedTwoOfFiveBarcode>(QStringLiteral("123"));
    EXPECT_TRUE(itf->isContentValid());
    EXPECT_EQ(itf->caption(), QStringLiteral("123"));
    // 01 and 23: the first digit of a pair in the bars, the second in the spaces; wide three modules.
    EXPECT_EQ(itf->completeBarcode(),
        QStringLiteral("1010"
                       "100010111011101000"
                       "100011100010101110"
                       "11101"));
    EXPECT_EQ(itf->completeBarcode(), make<BRCInterleavedTwoOfFiveBarcode>(QStringLiteral("0123"))->completeBarcode());
}

TEST(Interleaved2of5, OnlyDigitsMakeASymbol)
{
    // An empty value makes only the guards, which read as nothing: no symbol.
    EXPECT_FALSE(make<BRCInterleavedTwoOfFiveBarcode>(QStringLiteral(""))->isContentValid());
    EXPECT_FALSE(make<BRCIndustrialTwoOfFiveBarcode>(QStringLiteral(""))->isContentValid());
    EXPECT_TRUE(make<BRCInterleavedTwoOfFiveBarcode>(QStringLiteral("0123456789"))->isContentValid());
    for (const char* value : { "12a4", "12 34", "-1234" }) {
        EXPECT_FALSE(make<BRCInterleavedTwoOfFiveBarcode>(QLatin1String(value))->isContentValid()) << value;
        EXPECT_FALSE(make<BRCIndustrialTwoOfFiveBarcode>(QLatin1String(value))->isContentValid()) << value;
    }
    EXPECT_TRUE(BRCInterleavedTwoOfFiveBarcode::_getBarForDigit('0', 0));
    EXPECT_FALSE(BRCInterleavedTwoOfFiveBarcode::_getBarForDigit('0', 2));
    EXPECT_TRUE(BRCInterleavedTwoOfFiveBarcode::_getBarForDigit('x', 2));
}

TEST(Industrial2of5, BarsCarryTheDigitsBetweenItsOwnStartAndStop)
{
    const auto industrial = make<BRCIndustrialTwoOfFiveBarcode>(QStringLiteral("10"));
    EXPECT_TRUE(industrial->isContentValid());
    // Start wide, wide, narrow bar; each digit five bars (wide three modules) with narrow spaces;
    // stop wide, narrow, wide bar. No pairing and no padding.
    EXPECT_EQ(industrial->completeBarcode(),
        QStringLiteral("1110111010"
                       "11101010101110"
                       "10101110111010"
                       "111010111"));
    EXPECT_FLOAT_EQ(industrial->width(), 10.0f + 2 * 14.0f + 9.0f);
    EXPECT_EQ(make<BRCIndustrialTwoOfFiveBarcode>(QStringLiteral("123"))->barcode().size(), 3 * 14);
}
