#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCEAN8Barcode.h"
#include "barcode/BRCUPCABarcode.h"
#include "barcode/BRCUPCEBarcode.h"
#include "barcode/BarcodeTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Module strings below were printed by an independent encoder as hexadecimal rows.
QString modulesFromHex(const char* hex, int modules)
{
    QString bits;
    for (const QChar c : QString::fromLatin1(hex)) {
        bool ok = false;
        const int value = QString(c).toInt(&ok, 16);
        if (ok)
            bits += QStringLiteral("%1").arg(value, 4, 2, QLatin1Char('0'));
    }
    return bits.left(modules);
}

template <typename T> std::unique_ptr<T> make(const QString& value)
{
    auto barcode = std::make_unique<T>();
    EXPECT_TRUE(barcode->initWithContent(value, true));
    barcode->setBarWidth(1.0f);
    barcode->calculateWidth();
    return barcode;
}

} // namespace

TEST(UPCEAN, PatternSetsDeriveFromSetA)
{
    EXPECT_EQ(BRCAbstractUPCEANBarcode::swapHandedness(QStringLiteral("0001101")), QStringLiteral("1110010"));
    EXPECT_EQ(BRCAbstractUPCEANBarcode::swapParity(QStringLiteral("0001101")), QStringLiteral("0100111"));
    EXPECT_EQ(BRCAbstractUPCEANBarcode::swapParity(QStringLiteral("0001011")), QStringLiteral("0010111"));
}

TEST(EAN13, TwelveDigitsGetTheirCheckDigitCaptionsAndModules)
{
    const auto ean = make<BRCEAN13Barcode>(QStringLiteral("400638133393"));
    EXPECT_TRUE(ean->isContentValid());
    EXPECT_EQ(ean->checkDigit(), '1');
    EXPECT_EQ(ean->caption(), QStringLiteral("  006381\t333931"));
    EXPECT_EQ(ean->leftCaption(), QStringLiteral("4"));
    EXPECT_EQ(ean->rightCaption(), QStringLiteral(""));
    EXPECT_EQ(ean->completeBarcode(), modulesFromHex("A3 53 AF 7A 25 9A A1 42 85 D2 16 6A", 95));
    EXPECT_FLOAT_EQ(ean->width(), 95.0f * 1.2f);
    EXPECT_FLOAT_EQ(ean->firstBar(), 11.4f);
    EXPECT_FLOAT_EQ(ean->lastBar(), 95.0f * 1.2f * 0.9f - 1.0f);

    EXPECT_EQ(make<BRCEAN13Barcode>(QStringLiteral("590123412345"))->checkDigit(), '7');
}

TEST(EAN13, AGivenCheckDigitMustBeRight)
{
    const auto right = make<BRCEAN13Barcode>(QStringLiteral("4006381333931"));
    EXPECT_TRUE(right->isContentValid());
    EXPECT_EQ(right->content(), QStringLiteral("400638133393"));
    EXPECT_EQ(right->completeBarcode(), make<BRCEAN13Barcode>(QStringLiteral("400638133393"))->completeBarcode());

    const auto wrong = make<BRCEAN13Barcode>(QStringLiteral("4006381333932"));
    EXPECT_FALSE(wrong->isContentValid());
    EXPECT_EQ(wrong->checkDigit(), '2'); // the given digit is kept
}

TEST(EAN13, WrongLengthsAndCharactersGiveNoSymbol)
{
    for (const char* value : { "12345", "40063813339", "40063813339310", "4006381333a3", "4006381333931\n" })
        EXPECT_FALSE(make<BRCEAN13Barcode>(QLatin1String(value))->isContentValid()) << value;
    const auto foreign = make<BRCEAN13Barcode>(QStringLiteral("40063813339٣"));
    EXPECT_FALSE(foreign->isContentValid());
    // Short content encodes what it has without reading past its end.
    EXPECT_LT(make<BRCEAN13Barcode>(QStringLiteral("123"))->completeBarcode().size(), 95);
    EXPECT_FLOAT_EQ(make<BRCEAN13Barcode>(QStringLiteral(""))->width(), 0.0f);
}

TEST(UPCA, ElevenDigitsGetTheirCheckDigitCaptionsAndModules)
{
    const auto upc = make<BRCUPCABarcode>(QStringLiteral("03600029145"));
    EXPECT_TRUE(upc->isContentValid());
    EXPECT_EQ(upc->checkDigit(), '2');
    EXPECT_EQ(upc->caption(), QStringLiteral("36000\t29145"));
    EXPECT_EQ(upc->leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(upc->rightCaption(), QStringLiteral("2"));
    EXPECT_EQ(upc->completeBarcode(), modulesFromHex("A3 5E AF 1A 34 6A B6 74 CD 72 76 CA", 95));

    EXPECT_TRUE(make<BRCUPCABarcode>(QStringLiteral("036000291452"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCABarcode>(QStringLiteral("036000291453"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCABarcode>(QStringLiteral("0360002914520"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCABarcode>(QStringLiteral("0360002914X"))->isContentValid());
}

TEST(EAN8, SevenDigitsGetTheirCheckDigitCaptionsAndModules)
{
    const auto ean = make<BRCEAN8Barcode>(QStringLiteral("9638507"));
    EXPECT_TRUE(ean->isContentValid());
    EXPECT_EQ(ean->checkDigit(), '4');
    EXPECT_EQ(ean->caption(), QStringLiteral(" 9638\t5074"));
    EXPECT_EQ(ean->leftCaption(), QString());
    EXPECT_EQ(ean->rightCaption(), QString());
    EXPECT_EQ(ean->completeBarcode(), modulesFromHex("A2 D7 BD 6E A9 DC A2 5C A", 67));
    EXPECT_FLOAT_EQ(ean->width(), 67.0f * 1.2f);
}

TEST(EAN8, DigitsOnlyAndAGivenCheckDigitMustBeRight)
{
    const auto right = make<BRCEAN8Barcode>(QStringLiteral("96385074"));
    EXPECT_TRUE(right->isContentValid());
    EXPECT_EQ(right->completeBarcode(), make<BRCEAN8Barcode>(QStringLiteral("9638507"))->completeBarcode());
    EXPECT_FALSE(make<BRCEAN8Barcode>(QStringLiteral("96385075"))->isContentValid());
    EXPECT_FALSE(make<BRCEAN8Barcode>(QStringLiteral("963850X"))->isContentValid());
    EXPECT_FALSE(make<BRCEAN8Barcode>(QStringLiteral("96-8507"))->isContentValid());
    EXPECT_FALSE(make<BRCEAN8Barcode>(QStringLiteral("963850"))->isContentValid());
    EXPECT_FALSE(make<BRCEAN8Barcode>(QStringLiteral("963850740"))->isContentValid());
}

TEST(UPCE, SevenCharactersGetTheCheckDigitOfTheExpandedNumber)
{
    const auto upc = make<BRCUPCEBarcode>(QStringLiteral("0123456"));
    EXPECT_TRUE(upc->isContentValid());
    EXPECT_EQ(upc->checkDigit(), '5'); // check digit of UPC-A 01234500006
    EXPECT_EQ(upc->caption(), QStringLiteral("123456"));
    EXPECT_EQ(upc->leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(upc->rightCaption(), QStringLiteral("5"));
    EXPECT_EQ(upc->completeBarcode(), modulesFromHex("AC C9 BD 3A E5 7A A", 51));
    EXPECT_FLOAT_EQ(upc->width(), 51.0f * 1.2f);
}

TEST(UPCE, NumberSystemOneFlipsEveryParity)
{
    const auto one = make<BRCUPCEBarcode>(QStringLiteral("1123456"));
    EXPECT_TRUE(one->isContentValid());
    EXPECT_EQ(one->completeBarcode(), modulesFromHex("A6 49 A1 3A C4 2A A", 51));
    const auto zero = make<BRCUPCEBarcode>(QStringLiteral("0123456"));
    zero->setCheckDigit(one->checkDigit()); // the same check digit under number system 0
    for (int i = 1; i <= 6; ++i)
        EXPECT_NE(zero->parityForDigit(i), one->parityForDigit(i)) << i;
}

TEST(UPCE, EightCharactersMustCarryTheRightCheckDigit)
{
    const auto right = make<BRCUPCEBarcode>(QStringLiteral("01234565"));
    EXPECT_TRUE(right->isContentValid());
    EXPECT_EQ(right->content(), QStringLiteral("0123456"));
    EXPECT_EQ(right->completeBarcode(), make<BRCUPCEBarcode>(QStringLiteral("0123456"))->completeBarcode());
    EXPECT_FALSE(make<BRCUPCEBarcode>(QStringLiteral("01234566"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCEBarcode>(QStringLiteral("0123A565"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCEBarcode>(QStringLiteral("2123456"))->isContentValid());
    EXPECT_FALSE(make<BRCUPCEBarcode>(QStringLiteral("012345"))->isContentValid());
}

TEST(UPCE, ElevenUpcaDigitsAreSuppressedWhenTheNumberAllows)
{
    const auto fromUpca = make<BRCUPCEBarcode>(QStringLiteral("01234500006"));
    EXPECT_TRUE(fromUpca->isContentValid());
    EXPECT_EQ(fromUpca->content(), QStringLiteral("0123456"));
    EXPECT_EQ(fromUpca->checkDigit(), '5');
    // Product digits that cannot be dropped: no symbol rather than one for another number.
    EXPECT_FALSE(make<BRCUPCEBarcode>(QStringLiteral("03600029145"))->isContentValid());
}

TEST(UPCE, UpcaToUpceDropsOnlyZeros)
{
    // Manufacturer 12100, product 00345: manufacturer's first two, product's last three, manufacturer's third.
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012100003451")), QStringLiteral("123451"));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012300000451")), QStringLiteral("123453"));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012340000051")), QStringLiteral("123454"));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012345000065")), QStringLiteral("123456"));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("01210000345")), QStringLiteral(""));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012100103451")), QStringLiteral(""));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012345678951")), QStringLiteral(""));
    EXPECT_EQ(BRCUPCEBarcode::UPCAToUPCE(QStringLiteral("012345000041")), QStringLiteral(""));
    // Every suppressed form expands back to the number it came from.
    for (const char* upca : { "012100003451", "012300000451", "012340000051", "012345000065" }) {
        const QString six = BRCUPCEBarcode::UPCAToUPCE(QLatin1String(upca));
        EXPECT_EQ(BRCUPCEBarcode::UPCEToUPCA(QByteArray("0") + six.toLatin1()), QByteArray(upca).left(11)) << upca;
    }
}
