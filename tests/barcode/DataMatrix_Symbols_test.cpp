#include "barcode/BRCDataMatrix.h"
#include "barcode/Barcode_Gen.h"

#include <gtest/gtest.h>

TEST(DataMatrixSymbols, FormatNamesAndEncodations)
{
    int W = -1;
    int H = -1;
    BRCDataMatrix::sizeFromFormat(QStringLiteral("C8X18"), &W, &H);
    EXPECT_EQ(W, 18);
    EXPECT_EQ(H, 8);
    BRCDataMatrix::sizeFromFormat(QStringLiteral("Auto"), &W, &H);
    EXPECT_EQ(W + H, 0);
    BRCDataMatrix::sizeFromFormat(QStringLiteral("C20"), &W, &H);
    EXPECT_EQ(W + H, 0);
    EXPECT_EQ(BRCDataMatrix::encodingString(QStringLiteral("C40"), 4), "CCCC");
    EXPECT_EQ(BRCDataMatrix::encodingString(QStringLiteral("Base256"), 2), "BB");
    EXPECT_TRUE(BRCDataMatrix::encodingString(QStringLiteral("Auto"), 3).isEmpty());
    // Bytes an encodation has no value for go in ASCII.
    EXPECT_EQ(BRCDataMatrix::validLetters("ABCa", "CCCC"), "CCCC");
    EXPECT_EQ(BRCDataMatrix::validLetters("\xd0\x80xyz", "CCCCC"), "AACCC");
    EXPECT_EQ(BRCDataMatrix::validLetters("AB*a\r", "XXXXX"), "XXXAX");
    EXPECT_EQ(BRCDataMatrix::validLetters("A=^_a", "EEEEE"), "EEEAA");
    EXPECT_EQ(BRCDataMatrix::validLetters("ab", "Q?"), "AA");
}

TEST(DataMatrixSymbols, EpsOfARectangularSymbol)
{
    const auto symbol = BRCDataMatrix::encode("12345", 18, 8, {});
    ASSERT_TRUE(symbol);
    ASSERT_EQ(symbol->W, 18);
    ASSERT_EQ(symbol->H, 8);
    const QList<QByteArray> lines = BRCDataMatrix::makeEPS("12345", *symbol).split('\n');
    EXPECT_EQ(lines[0], "%!PS-Adobe-3.0 EPSF-3.0");
    EXPECT_EQ(lines[2], "%%BarcodeData: 12345");
    EXPECT_EQ(lines[3], "%%BarcodeSize: 18x8");
    EXPECT_EQ(lines[8], "%%BoundingBox: 0 0 20 10");
    EXPECT_EQ(lines[11], "18 8 1[1 0 0 1 -1 -1]{<");
    // Eight rows of three bytes and a blank (counter 7 each): one line.
    const QList<QByteArray> rows = lines[12].trimmed().split(' ');
    ASSERT_EQ(rows.size(), 8);
    // Row 0 is the solid bottom line: all dark (0 bits), the two filler bits of the last byte set.
    EXPECT_EQ(rows[0], "00003F");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], ">}image");
}

TEST(DataMatrixSymbols, EpsLineBreaksFollowTheCounter)
{
    const auto small = BRCDataMatrix::encode("1", 10, 10, {});
    ASSERT_TRUE(small);
    const QList<QByteArray> lines = BRCDataMatrix::makeEPS("1", *small).split('\n');
    EXPECT_EQ(lines[12].trimmed().split(' ').size(), 10); // all ten rows on one line
    const auto large = BRCDataMatrix::encode(QByteArray(1000, '7'), 132, 132, {});
    ASSERT_TRUE(large);
    const QList<QByteArray> largeLines = BRCDataMatrix::makeEPS("x", *large).split('\n');
    // 17 bytes and a blank per row (counter 18): a line feed after every fifth row, 132 = 26 x 5 + 2.
    EXPECT_EQ(largeLines[12].trimmed().split(' ').size(), 5);
    EXPECT_EQ(largeLines[12 + 26].trimmed().split(' ').size(), 2);
}

TEST(DataMatrixSymbols, PictureSizeFailuresAndUtf8)
{
    const auto symbol = BRCDataMatrix::encode("1", 10, 10, {});
    ASSERT_TRUE(symbol);
    const BarcodePicture picture = BRCDataMatrix::makePicture(*symbol, 3, 72);
    EXPECT_EQ(picture.image.size(), QSize(12, 12));
    EXPECT_EQ(picture.size, QSizeF(30, 30));
    EXPECT_EQ(picture.image.pixel(0, 0), qRgba(255, 255, 255, 255)); // margin: opaque quiet zone
    EXPECT_EQ(qGray(picture.image.pixel(1, 10)), 0); // bottom-left corner of the finder
    EXPECT_EQ(BRCDataMatrix::makePicture(*symbol, 3, 7200).image.width(), 12 * 2400 / 72);

    // Too much for the chosen size: no symbol, not a larger one.
    EXPECT_FALSE(BRCDataMatrix::encode(QByteArray(30, 'x'), 10, 10, {}));
    // Every UTF-8 byte is encoded, also where the library's own encodation choice fails.
    const QByteArray utf8 = QStringLiteral("Grüße, Привет").toUtf8();
    const auto text = BRCDataMatrix::encode(utf8, 0, 0, {});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->encoding.size(), utf8.size());

    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    settings.dm_format_ComboBox.selectText(QStringLiteral("C10X10"));
    settings.image_2d = {};
    settings.Draw_DataMatrix_Barcode(QStringLiteral("too long for ten by ten"));
    EXPECT_TRUE(settings.image_2d.isNull());
    settings.Draw_DataMatrix_Barcode(QStringLiteral("fit"));
    EXPECT_FALSE(settings.image_2d.isNull());
    settings.dm_format_ComboBox.selectText(QStringLiteral("Auto"));
}
