#include "barcode/BRCBarcode.h"
#include "barcode/BarcodeTestSupport.h"

#include <QBuffer>
#include <QDataStream>

#include <gtest/gtest.h>

using barcodetest::freshSettings;

namespace {

// A symbology that keeps one character outside the bars on each side and encodes only letters.
class EdgeDigitsBarcode : public BRCBarcode {
public:
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
    QString initiator() const override { return QStringLiteral("11"); }
    QString terminator() const override { return QStringLiteral("101"); }
    QString _encodeChar(char c) const override
    {
        return c >= 'A' && c <= 'Z' ? QString::number(c - 'A' + 2, 2) + QLatin1Char('0') : QString();
    }

protected:
    std::unique_ptr<BRCBarcode> newInstance() const override { return std::make_unique<EdgeDigitsBarcode>(); }
};

} // namespace

TEST(BRCBarcode, NullContentGivesNoSymbol)
{
    BRCBarcode barcode;
    EXPECT_FALSE(barcode.initWithContent(QString()));
    EXPECT_TRUE(barcode.initWithContent(QStringLiteral("")));
}

TEST(BRCBarcode, InitialiserSetsContentFlagAndNoCheckCharacterButNoWidthYet)
{
    BRCBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("AB"), false));
    EXPECT_EQ(barcode.content(), QStringLiteral("AB"));
    EXPECT_FALSE(barcode.printsCaption());
    EXPECT_EQ(barcode.checkDigit(), -1);
    EXPECT_FLOAT_EQ(barcode.width(), 0.0f); // the bar width is still 0
    EXPECT_FLOAT_EQ(barcode.barWidth(), 0.0f);
    barcode.setBarWidth(2.0f);
    barcode.calculateWidth();
    EXPECT_FLOAT_EQ(barcode.width(), 16.0f); // two characters of four modules
    EXPECT_FLOAT_EQ(barcode.lastBar(), 14.0f);
}

TEST(BRCBarcode, EmptyContentGivesNoSymbolThoughItsModulesAreOnlyTheGuards)
{
    // A symbol without data reads back as nothing: the generator must show none.
    EdgeDigitsBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("")));
    EXPECT_FALSE(barcode.isContentValid());
    EXPECT_EQ(barcode.completeBarcode(), QStringLiteral("11101"));
}

TEST(BRCBarcode, CheckCharacterAddsItsPatternUnlessMinusOne)
{
    EdgeDigitsBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("AB")));
    EXPECT_EQ(barcode.barcode(), QStringLiteral("100110"));
    barcode.setCheckDigit('C');
    EXPECT_EQ(barcode.barcode(), QStringLiteral("1001101000"));
    barcode.setCheckDigit(-1);
    EXPECT_EQ(barcode.barcode(), QStringLiteral("100110"));
}

TEST(BRCBarcode, UnencodableOrNonAsciiContentIsInvalid)
{
    EdgeDigitsBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("AbC")));
    EXPECT_FALSE(barcode.isContentValid());
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("AÉB")));
    EXPECT_FALSE(barcode.isContentValid());
    EXPECT_EQ(barcode.barcode(), QString());
    EXPECT_EQ(barcode.completeBarcode(), QStringLiteral("11101"));
}

TEST(BRCBarcode, CaptionsSplitOffTheOutsideCharacters)
{
    EdgeDigitsBarcode edges;
    ASSERT_TRUE(edges.initWithContent(QStringLiteral("ABCDE")));
    EXPECT_EQ(edges.caption(), QStringLiteral("BCD"));
    EXPECT_EQ(edges.leftCaption(), QStringLiteral("A"));
    EXPECT_EQ(edges.rightCaption(), QStringLiteral("E"));

    BRCBarcode plain;
    ASSERT_TRUE(plain.initWithContent(QStringLiteral("ABCDE")));
    EXPECT_EQ(plain.caption(), QStringLiteral("ABCDE"));
    EXPECT_EQ(plain.leftCaption(), QString());
    EXPECT_EQ(plain.rightCaption(), QString());
    EXPECT_EQ(plain.header(), QStringLiteral(""));
    EXPECT_EQ(plain.footer(), QStringLiteral(""));
}

TEST(BRCBarcode, BarTopTakesOffEveryShownTextWithItsMargin)
{
    Barcode_Gen& settings = freshSettings();
    settings.value_margin = 3.0f;
    settings.header_margin = 5.0f;
    settings.footer_margin = 7.0f;
    settings.TB_margin = 11.0f;

    BRCBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("X"), false));
    barcode.setHeight(200.0f);
    barcode.setCaptionHeight(0.125f); // 9 points
    barcode.setHeaderHeight(0.25f); // 18 points
    barcode.setFooterHeight(0.5f); // 36 points
    EXPECT_FLOAT_EQ(barcode.barTop(0), 200.0f - 22.0f);

    barcode.setPrintsCaption(true);
    EXPECT_FLOAT_EQ(barcode.barTop(0), 178.0f - 12.0f);
    barcode.setPrintsHeader(true);
    EXPECT_FLOAT_EQ(barcode.barTop(5), 166.0f - 23.0f);
    barcode.setPrintsFooter(true);
    EXPECT_FLOAT_EQ(barcode.barTop(9), 143.0f - 43.0f);
}

TEST(BRCBarcode, FontSizesMeasureTheSettingsFonts)
{
    Barcode_Gen& settings = freshSettings();
    BRCBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("X")));
    barcode.setHeader(QStringLiteral(""));
    barcode.setHeaderFontSize(10.0f);
    EXPECT_FLOAT_EQ(barcode.headerWidth(), 0.0f);
    EXPECT_GT(barcode.headerHeight() * 72.0f, 6.0f);

    barcode.setFooter(QStringLiteral("WWWW"));
    barcode.setFooterFontSize(10.0f);
    const float narrow = barcode.footerWidth();
    settings.footer_font.setPointSizeF(30.0);
    barcode.setFooterFontSize(30.0f);
    EXPECT_NEAR(barcode.footerWidth(), 3.0f * narrow, 0.05f * narrow);
    EXPECT_FLOAT_EQ(barcode.footer_fontSize(), 30.0f);
    EXPECT_GT(barcode.footerHeight(), 2.9f * barcode.headerHeight());
}

TEST(BRCBarcode, CopyArchiveAndEqualityKeepTheContent)
{
    EdgeDigitsBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("HELLO"), true));
    barcode.setBarWidth(1.5f);
    barcode.setHeight(44.0f);
    barcode.setCheckDigit('Q');
    barcode.setCaptionFontSize(10.0f);
    barcode.calculateWidth();

    const auto twin = barcode.copy();
    ASSERT_TRUE(twin);
    EXPECT_TRUE(twin->isEqual(barcode));
    EXPECT_EQ(twin->completeBarcode(), barcode.completeBarcode());
    EXPECT_FLOAT_EQ(twin->width(), barcode.width());

    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        barcode.encodeWithCoder(out);
    }
    EdgeDigitsBarcode back;
    QDataStream in(bytes);
    ASSERT_TRUE(back.initWithCoder(in));
    EXPECT_EQ(back.content(), QStringLiteral("HELLO"));
    EXPECT_EQ(back.checkDigit(), 'Q');
    EXPECT_FLOAT_EQ(back.barWidth(), 1.5f);
    EXPECT_FLOAT_EQ(back.height(), 44.0f);
    EXPECT_FLOAT_EQ(back.width(), barcode.width());
    EXPECT_FLOAT_EQ(back.captionHeight(), barcode.captionHeight());
    EXPECT_TRUE(back.printsCaption());

    EdgeDigitsBarcode cut;
    QDataStream shortIn(bytes.left(bytes.size() - 3));
    EXPECT_FALSE(cut.initWithCoder(shortIn));

    EdgeDigitsBarcode other;
    ASSERT_TRUE(other.initWithContent(QStringLiteral("WORLD")));
    EXPECT_FALSE(other.isEqual(barcode));
    EXPECT_TRUE(barcode.description().contains(QStringLiteral("Content: HELLO")));
}
