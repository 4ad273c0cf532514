#include "barcode/Barcode_Gen.h"
#include "barcode/QR_Matrix_Encoder.h"
#include "barcode/QR_Picture_Encoder.h"

#include <gtest/gtest.h>

namespace {

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y);
}

} // namespace

TEST(QRPictureEncoder, CapacityCheckAndAutomaticVersion)
{
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QStringLiteral("0123"))->dimension(), 21);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(17, QLatin1Char('a')))->dimension(), 21);
    // Automatic picks the smallest version that holds the text, not version 1 only.
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(18, QLatin1Char('a')))->dimension(), 25);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(26, QLatin1Char('A')))->dimension(), 25);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(2953, QLatin1Char('a')))->dimension(), 177);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(2954, QLatin1Char('a'))), nullptr);
    // A requested version limits the text to its capacity.
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 1, QString(18, QLatin1Char('a'))), nullptr);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 2, QString(18, QLatin1Char('a')))->dimension(), 25);
    // Out-of-range settings give nothing instead of reading past the tables.
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(4, 0, QStringLiteral("x")), nullptr);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 41, QStringLiteral("x")), nullptr);
    // A side beyond the picture bounds draws nothing rather than asking for gigabytes.
    const auto small = QR_Picture_Encoder::encodeWithECLevel(0, 0, QStringLiteral("0123"));
    EXPECT_TRUE(QR_Picture_Encoder::renderModules(*small, 40000).isNull());
    EXPECT_TRUE(QR_Picture_Encoder::renderDataMatrix(*small, 30000, 72).isNull());
    EXPECT_FALSE(QR_Picture_Encoder::renderModules(*small, 4096).isNull());
    // An empty text makes a matrix of no modules, which draws no picture.
    const auto empty = QR_Picture_Encoder::encodeWithECLevel(0, 0, QString());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->dimension(), 0);
    EXPECT_TRUE(QR_Picture_Encoder::renderDataMatrix(*empty, 60, 600).isNull());
}

TEST(QRPictureEncoder, MixedTextsAreMeasuredBySegmentsNotAsBytes)
{
    // Digits in their own mode take far less room than as bytes: these fit versions 26 and 25.
    struct Case {
        int count;
        int level;
        int dimension;
    };
    for (const Case& c : { Case { 1300, 3, 26 * 4 + 17 }, Case { 3000, 0, 25 * 4 + 17 } }) {
        const auto matrix
            = QR_Picture_Encoder::encodeWithECLevel(c.level, 0, QString(c.count, QLatin1Char('1')) + QLatin1Char('a'));
        ASSERT_NE(matrix, nullptr) << c.count;
        EXPECT_EQ(matrix->dimension(), c.dimension) << c.count;
    }
    // A requested version still refuses what its segments do not fit.
    EXPECT_EQ(
        QR_Picture_Encoder::encodeWithECLevel(3, 25, QString(1300, QLatin1Char('1')) + QLatin1Char('a')), nullptr);
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(7100, QLatin1Char('1')) + QLatin1Char('a')), nullptr);
}

TEST(QRPictureEncoder, TextBeyondAsciiOpensWithTheUtf8Designator)
{
    QR_Matrix_Encoder plain;
    plain.setKanjiAllowed(false);
    const QByteArray text = QStringLiteral("Grüße").toUtf8();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    ASSERT_TRUE(plain.EncodeSourceData(bytes, static_cast<int>(text.size()), 0));
    QR_Matrix_Encoder marked;
    marked.setKanjiAllowed(false);
    marked.setUtf8Designator(true);
    ASSERT_TRUE(marked.EncodeSourceData(bytes, static_cast<int>(text.size()), 0));
    // Mode 0111 and assignment 26 (00011010), then the same byte segment.
    EXPECT_EQ(marked.m_ncDataCodeWordBit, plain.m_ncDataCodeWordBit + 12);
    EXPECT_EQ(marked.m_byDataCodeWord[0], 0x71);
    EXPECT_EQ(marked.m_byDataCodeWord[1] >> 4, 0xA);
    EXPECT_EQ(plain.m_byDataCodeWord[0] >> 4, 0x4); // byte mode first
    // The facade marks text beyond ASCII only: an ASCII text keeps the smallest symbol.
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(17, QLatin1Char('a')))->dimension(), 21);
    // 17 bytes fill version 1 exactly; the designator's 12 bits take the same bytes into version 2.
    EXPECT_EQ(QR_Picture_Encoder::encodeWithECLevel(0, 0, QString(8, QChar(0xE9)) + QLatin1Char('a'))->dimension(), 25);
}

TEST(QRPictureEncoder, Utf8TextThatAlsoReadsAsShiftJisStaysInByteMode)
{
    // Katakana in UTF-8 (E3 83 ..) are valid Shift JIS pairs too; coded as Kanji a reader gets other text.
    for (const QString& text : { QStringLiteral("ドドド"), QStringLiteral("カードをどうぞ 日本") }) {
        const QByteArray utf8 = text.toUtf8();
        QR_Matrix_Encoder bytesOnly;
        bytesOnly.setKanjiAllowed(false);
        bytesOnly.setUtf8Designator(true);
        ASSERT_TRUE(bytesOnly.EncodeData(
            1, 0, true, -1, reinterpret_cast<const unsigned char*>(utf8.constData()), static_cast<int>(utf8.size())));
        const auto matrix = QR_Picture_Encoder::encodeWithECLevel(1, 0, text);
        ASSERT_NE(matrix, nullptr);
        ASSERT_EQ(matrix->dimension(), bytesOnly.m_nSymbolSize) << text.toStdString();
        int different = 0;
        for (int x = 0; x < bytesOnly.m_nSymbolSize; ++x)
            for (int y = 0; y < bytesOnly.m_nSymbolSize; ++y)
                different += matrix->valueAt(x, y) != (bytesOnly.m_byModuleData[x][y] == 1 ? 1 : 0);
        EXPECT_EQ(different, 0) << text.toStdString();
    }
}

TEST(QRPictureEncoder, PictureMarginsAndColours)
{
    const auto matrix = QR_Picture_Encoder::encodeWithECLevel(0, 0, QStringLiteral("0123"));
    const QImage image = QR_Picture_Encoder::renderModules(*matrix, 60);
    ASSERT_EQ(image.size(), QSize(60, 60));
    // s = 2, margins of 9: the finder's corner module covers (9, 9) to (10, 10).
    EXPECT_EQ(pixel(image, 8, 8), qRgba(255, 255, 255, 255)); // quiet zone, opaque
    EXPECT_EQ(pixel(image, 9, 9), qRgba(0, 0, 0, 255));
    EXPECT_EQ(pixel(image, 10, 10), qRgba(0, 0, 0, 255));
    EXPECT_EQ(pixel(image, 11, 11), qRgba(255, 255, 255, 255)); // light ring of the finder, opaque
    EXPECT_EQ(pixel(image, 51, 51), qRgba(255, 255, 255, 255));
    EXPECT_EQ(pixel(image, 9 + 42 - 1, 9), qRgba(0, 0, 0, 255));

    const QImage odd = QR_Picture_Encoder::renderModules(*matrix, 61);
    EXPECT_EQ(pixel(odd, 9, 9), qRgba(0, 0, 0, 255));
    EXPECT_EQ(pixel(odd, 50, 9), qRgba(0, 0, 0, 255));
    EXPECT_EQ(pixel(odd, 51, 9), qRgba(255, 255, 255, 255)); // right margin of 10

    const auto version2 = QR_Picture_Encoder::encodeWithECLevel(0, 2, QStringLiteral("0123"));
    const QImage full = QR_Picture_Encoder::renderModules(*version2, 100);
    EXPECT_EQ(pixel(full, 0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(pixel(full, 99, 0), qRgba(0, 0, 0, 255));
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(qGray(pixel(image, 9 + 2 * x, 9 + 2 * y)) == 0, matrix->valueAt(x, y) == 1);
}

TEST(QRPictureEncoder, SideBelowTheModuleCountDrawsOnePixelPerModule)
{
    const auto matrix = QR_Picture_Encoder::encodeWithECLevel(3, 5, QStringLiteral("small side"));
    ASSERT_EQ(matrix->dimension(), 37);
    for (int side : { 0, 1, 20, 36 }) {
        const QImage image = QR_Picture_Encoder::renderModules(*matrix, side);
        ASSERT_EQ(image.size(), QSize(37, 37)) << side;
        for (int y = 0; y < 37; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(qGray(pixel(image, x, y)) == 0, matrix->valueAt(x, y) == 1);
    }
}

TEST(QRPictureEncoder, ResolutionIsClampedAndKeepsThePointSize)
{
    const auto matrix = QR_Picture_Encoder::encodeWithECLevel(0, 0, QStringLiteral("0123"));
    const BarcodePicture at600 = QR_Picture_Encoder::renderDataMatrix(*matrix, 60, 600);
    EXPECT_EQ(at600.image.width(), 500);
    EXPECT_EQ(at600.size, QSizeF(60, 60));
    EXPECT_EQ(QR_Picture_Encoder::renderDataMatrix(*matrix, 60, 10).image.width(), 60);
    EXPECT_EQ(QR_Picture_Encoder::renderDataMatrix(*matrix, 60, 100000).image.width(), 2000);
    // A side too large to allocate fails cleanly.
    EXPECT_TRUE(QR_Picture_Encoder::renderDataMatrix(*matrix, 2000000000, 72).isNull());
}

TEST(QRPictureEncoder, AesRoundTripAndPassphraseLimit)
{
    const QString text = QStringLiteral("Grüße, Привет — party at 8");
    const auto cipher = QR_Picture_Encoder::AESEncryptString(text, QStringLiteral("secret"));
    ASSERT_TRUE(cipher);
    EXPECT_EQ(cipher->size(), (text.toUtf8().size() / 16 + 1) * 16);
    EXPECT_EQ(QR_Picture_Encoder::AESDecryptString(*cipher, QStringLiteral("secret")), text);
    const auto wrong = QR_Picture_Encoder::AESDecryptString(*cipher, QStringLiteral("Secret"));
    EXPECT_TRUE(!wrong || *wrong != text);
    try {
        QR_Picture_Encoder::AESEncryptString(text, QString(33, QLatin1Char('p')));
        FAIL() << "a 33-character passphrase was taken";
    } catch (const QR_Invalid_Passphrase& e) {
        EXPECT_STREQ(e.what(), "passphrase too long: 33");
    }
    EXPECT_TRUE(QR_Picture_Encoder::AESEncryptString(text, QString(32, QLatin1Char('p'))));
    // The encrypting variant carries the whole ciphertext, zero bytes included.
    const auto matrix = QR_Picture_Encoder::encodeWithECLevel(1, 0, text, QStringLiteral("secret"));
    ASSERT_NE(matrix, nullptr);
    EXPECT_GT(matrix->dimension(), 0);
}

TEST(QRPictureEncoder, MatrixTextAndColourValue)
{
    DataMatrix matrix(2);
    matrix.set(1, 1, 0);
    matrix.set(1, 0, 1);
    EXPECT_EQ(matrix.description(), QStringLiteral("01\n10\n"));
    EXPECT_EQ(QR_Picture_Encoder::hexadecimalValueOfAnNSColor(QColor(255, 0, 0)), 0xFFFF0000u);
    EXPECT_EQ(QR_Picture_Encoder::hexadecimalValueOfAnNSColor(QColor::fromRgbF(0, 0.5f, 1, 0)), 0x00007FFFu);
}

TEST(QRPictureEncoder, RoadFillsTheSettingsPicture)
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    const int savedDpi = USED_DPI_VALUE;
    USED_DPI_VALUE = 72;
    QR_Version_Val = 0;
    QR_EC_Level_Val = 0;
    settings.HeightText_2D.value = 60;
    settings.image_2d = {};
    settings.Draw_QR_Barcode(QStringLiteral("0123"));
    EXPECT_EQ(settings.image_2d.image.size(), QSize(60, 60));
    settings.image_2d = {};
    QR_Version_Val = 1;
    settings.Draw_QR_Barcode(QString(18, QLatin1Char('a')));
    EXPECT_TRUE(settings.image_2d.isNull());
    QR_Version_Val = 0;
    USED_DPI_VALUE = savedDpi;
}
