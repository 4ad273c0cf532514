#include "barcode/BRCCodabarBarcode.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<BRCCodabarBarcode> make(const QString& value)
{
    auto barcode = std::make_unique<BRCCodabarBarcode>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    barcode->setBarWidth(1.0f);
    barcode->calculateWidth();
    return barcode;
}

} // namespace

TEST(Codabar, StartAndStopLettersAreTypedWithTheValue)
{
    const auto codabar = make(QStringLiteral("A0A"));
    EXPECT_TRUE(codabar->isContentValid());
    EXPECT_EQ(codabar->checkDigit(), -1);
    EXPECT_EQ(codabar->caption(), QStringLiteral("A0A"));
    // Wide elements two modules, and a gap module after each character.
    EXPECT_EQ(codabar->completeBarcode(),
        QStringLiteral("1011001001"
                       "0"
                       "101010011"
                       "0"
                       "1011001001"
                       "0"));
    EXPECT_FLOAT_EQ(codabar->width(), 32.0f);

    // Nothing is added to a value without them, and such a value gives no symbol: a reader would not
    // find where it starts and ends.
    const auto bare = make(QStringLiteral("123"));
    EXPECT_FALSE(bare->isContentValid());
    EXPECT_EQ(bare->completeBarcode().size(), 3 * 10);
}

TEST(Codabar, CharactersOutsideTheSetGiveNoSymbol)
{
    EXPECT_TRUE(make(QStringLiteral("B-$:/.+0123456789D"))->isContentValid());
    for (const char* value : { "a123a", "A12E", "A1 2A", "A*B", "", "AB", "123", "A123", "123D", "A12B34C", "A12C3" })
        EXPECT_FALSE(make(QLatin1String(value))->isContentValid()) << value;
}
