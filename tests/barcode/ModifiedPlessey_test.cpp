#include "barcode/BRCModifiedPlesseyBarcode.h"
#include "barcode/BRCModifiedPlesseyHexBarcode.h"

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

TEST(ModifiedPlessey, DigitsMostSignificantBitFirstWithTheirCheckDigit)
{
    const auto msi = make<BRCModifiedPlesseyBarcode>(QStringLiteral("1234"));
    EXPECT_TRUE(msi->isContentValid());
    EXPECT_EQ(msi->checkDigit(), '4');
    EXPECT_EQ(msi->caption(), QStringLiteral("1234"));
    // A 1 bit is "110", a 0 bit "100"; start "110", stop "1001".
    EXPECT_EQ(msi->completeBarcode(),
        QStringLiteral("110"
                       "100100100110"
                       "100100110100"
                       "100100110110"
                       "100110100100"
                       "100110100100"
                       "1001"));
    EXPECT_FLOAT_EQ(msi->width(), 3.0f + 5 * 12.0f + 4.0f);
}

TEST(ModifiedPlessey, CheckDigitDoublesEveryOtherDigitFromTheRight)
{
    const struct {
        const char* value;
        char check;
    } cases[] = { { "1234567", '4' }, { "80523", '4' }, { "0", '0' }, { "5", '9' }, { "", '0' } };
    for (const auto& c : cases)
        EXPECT_EQ(make<BRCModifiedPlesseyBarcode>(QLatin1String(c.value))->checkDigit(), c.check) << c.value;
}

TEST(ModifiedPlessey, EmptyValueGivesNoSymbol)
{
    EXPECT_FALSE(make<BRCModifiedPlesseyBarcode>(QStringLiteral(""))->isContentValid());
    EXPECT_FALSE(make<BRCModifiedPlesseyHexBarcode>(QStringLiteral(""))->isContentValid());
    EXPECT_TRUE(make<BRCModifiedPlesseyBarcode>(QStringLiteral("0"))->isContentValid());
}

TEST(ModifiedPlessey, HexTakesTheLettersAToF)
{
    const auto hex = make<BRCModifiedPlesseyHexBarcode>(QStringLiteral("a"));
    EXPECT_TRUE(hex->isContentValid());
    EXPECT_EQ(hex->content(), QStringLiteral("A"));
    // A is 1010; it counts 10, doubled 20, so the check digit is 8.
    EXPECT_EQ(hex->checkDigit(), '8');
    EXPECT_EQ(hex->barcode(),
        QStringLiteral("110100110100"
                       "110100100100"));
    // 1 doubled is 2, F counts 15: 17, so 3.
    EXPECT_EQ(make<BRCModifiedPlesseyHexBarcode>(QStringLiteral("F1"))->checkDigit(), '3');

    EXPECT_TRUE(make<BRCModifiedPlesseyHexBarcode>(QStringLiteral("09afAF"))->isContentValid());
    EXPECT_FALSE(make<BRCModifiedPlesseyBarcode>(QStringLiteral("09af"))->isContentValid());
    for (const char* value : { "G", "1 2", "-1" }) {
        EXPECT_FALSE(make<BRCModifiedPlesseyHexBarcode>(QLatin1String(value))->isContentValid()) << value;
        EXPECT_FALSE(make<BRCModifiedPlesseyBarcode>(QLatin1String(value))->isContentValid()) << value;
    }
}
