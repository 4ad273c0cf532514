#include "barcode/BRCPlanetBarcode.h"
#include "barcode/BRCPostnetBarcode.h"

#include <gtest/gtest.h>

namespace {

template <typename T> std::unique_ptr<T> make(const QString& value)
{
    auto barcode = std::make_unique<T>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    return barcode;
}

// Heights of the bars in order, one per bar module.
std::vector<float> barHeights(const BRCBarcode& barcode)
{
    std::vector<float> heights;
    const QString modules = barcode.completeBarcode();
    for (int i = 0; i < modules.size(); ++i) {
        if (modules.at(i) == QLatin1Char('1'))
            heights.push_back(barcode.barTop(i));
    }
    return heights;
}

} // namespace

TEST(Postnet, FiveDigitsGetTheirCheckDigitAndFullAndHalfBars)
{
    const auto postnet = make<BRCPostnetBarcode>(QStringLiteral("12345"));
    EXPECT_TRUE(postnet->isContentValid());
    EXPECT_EQ(postnet->checkDigit(), '5');
    EXPECT_EQ(postnet->caption(), QStringLiteral("12345"));
    EXPECT_FLOAT_EQ(postnet->barWidth(), 1.08f);
    EXPECT_FLOAT_EQ(postnet->height(), 9.0f);
    const QString modules = postnet->completeBarcode();
    EXPECT_EQ(modules.size(), 94);
    EXPECT_FLOAT_EQ(postnet->width(), 94 * 1.08f);

    // Frame, 1 = 00011, 2 = 00101, 3 = 00110, 4 = 01001, 5 = 01010, check 5 = 01010, frame.
    const char* expected = "1"
                           "00011"
                           "00101"
                           "00110"
                           "01001"
                           "01010"
                           "01010"
                           "1";
    const std::vector<float> heights = barHeights(*postnet);
    ASSERT_EQ(heights.size(), 32u);
    for (size_t bar = 0; bar < heights.size(); ++bar)
        EXPECT_FLOAT_EQ(heights[bar], expected[bar] == '1' ? 9.0f : 3.6f) << bar;
    EXPECT_FLOAT_EQ(postnet->barBottom(3), 0.0f);
}

TEST(Postnet, CheckDigitBringsTheSumToATen)
{
    EXPECT_EQ(make<BRCPostnetBarcode>(QStringLiteral("55555"))->checkDigit(), '5');
    EXPECT_EQ(make<BRCPostnetBarcode>(QStringLiteral("123456789"))->checkDigit(), '5');
    EXPECT_EQ(make<BRCPostnetBarcode>(QStringLiteral("00000000000"))->checkDigit(), '0');
    EXPECT_EQ(make<BRCPostnetBarcode>(QStringLiteral("123456789"))->completeBarcode().size(), 3 + 10 * 15 + 1);
}

TEST(Postnet, OnlyFiveNineOrElevenDigitsMakeASymbol)
{
    for (const char* value : { "12345", "123456789", "12345678901" })
        EXPECT_TRUE(make<BRCPostnetBarcode>(QLatin1String(value))->isContentValid()) << value;
    for (const char* value : { "", "1234", "123456", "1234567890", "1234a", "12345-6789" }) {
        EXPECT_FALSE(make<BRCPostnetBarcode>(QLatin1String(value))->isContentValid()) << value;
        EXPECT_FALSE(make<BRCPlanetBarcode>(QLatin1String(value))->isContentValid()) << value;
    }
}

TEST(Planet, DigitBarsAreSwappedAndFrameBarsStayFull)
{
    const auto planet = make<BRCPlanetBarcode>(QStringLiteral("12345"));
    const auto postnet = make<BRCPostnetBarcode>(QStringLiteral("12345"));
    EXPECT_TRUE(planet->isContentValid());
    EXPECT_EQ(planet->checkDigit(), postnet->checkDigit());
    EXPECT_EQ(planet->completeBarcode(), postnet->completeBarcode());
    const std::vector<float> swapped = barHeights(*planet);
    const std::vector<float> original = barHeights(*postnet);
    ASSERT_EQ(swapped.size(), original.size());
    EXPECT_FLOAT_EQ(swapped.front(), 9.0f);
    EXPECT_FLOAT_EQ(swapped.back(), 9.0f);
    for (size_t bar = 1; bar + 1 < swapped.size(); ++bar)
        EXPECT_FLOAT_EQ(swapped[bar], original[bar] == 9.0f ? 3.6f : 9.0f) << bar;
}
