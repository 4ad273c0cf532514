// QR Code, DataMatrix and PDF417 pictures as the program makes and writes them, at modules of 1, 2 and
// 3 pixels, read back by real decoders without any flattening or padding: random values up to each
// symbology's capacity, text beyond ASCII, and every DataMatrix encodation. Neither zbarimg (QR Code)
// nor any DataMatrix decoder reads one-pixel modules, not even when another encoder draws them: those
// decoders are given modules of 2 pixels and more; dmtxread misses some 2-pixel symbols that its own
// encoder draws pixel for pixel alike, so it is given 3 and 4.
#include "support/Barcode2D_Peers.h"

#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCDataMatrix.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/BarcodePngWriter.h"
#include "barcode/BarcodeTestSupport.h"
#include "barcode/PDF417_View.h"
#include "barcode/QR_Picture_Encoder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>

#include <random>

#include <gtest/gtest.h>

using namespace barcode2d_peers;

namespace {

constexpr int kSweepValues = 300;

// The value of sweep entry i: ASCII, digits or UTF-8 text beyond ASCII (Latin-1 where the symbology
// carries no more), mostly short, now and then up to maxBytes.
QByteArray sweepValue(std::mt19937& random, int i, int maxBytes, bool latin1Only)
{
    const int kind = i % 3;
    int length = std::uniform_int_distribution<int>(1, 120)(random);
    if (i % 10 == 9)
        length = std::uniform_int_distribution<int>(maxBytes * 3 / 4, maxBytes)(random);
    const auto seed = static_cast<quint32>(random());
    if (kind == 0)
        return randomAscii(seed, length);
    if (kind == 1)
        return randomDigits(seed, length);
    if (latin1Only) {
        QByteArray text = randomAscii(seed, length);
        for (qsizetype k = 0; k < text.size(); k += 5)
            text[k] = static_cast<char>(0xC0 + (k % 60));
        return text;
    }
    return randomUtf8(seed, length);
}

QString writeAsTheProgramDoes(const QImage& picture, const QString& folder, int i)
{
    const QString path = QDir(folder).filePath(QStringLiteral("%1.png").arg(i, 4, 10, QLatin1Char('0')));
    return BarcodePngWriter::write(picture, path) ? path : QString();
}

void expectAllRead(
    const char* decoder, const QHash<QString, QByteArray>& expected, const QHash<QString, QByteArray>& read)
{
    const QStringList wrong = mismatches(expected, read);
    EXPECT_TRUE(wrong.isEmpty()) << decoder << ": " << wrong.size() << " of " << expected.size() << "\n"
                                 << wrong.mid(0, 8).join(QLatin1Char('\n')).toStdString();
}

class Sweep2D : public testing::Test {
protected:
    void SetUp() override
    {
        settings = &barcodetest::freshSettings(2.0f);
        folder = testsupport::makeTempFolder(QStringLiteral("sweep2d"));
    }
    // Pictures that failed stay for a look.
    void TearDown() override
    {
        if (!HasFailure())
            QDir(folder).removeRecursively();
    }

    Barcode_Gen* settings = nullptr;
    QString folder;
};

} // namespace

TEST_F(Sweep2D, QRCodeRoadPicturesReadBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg")));
    // Bytes of version 40 at each level, less the designator's room.
    const int capacity[4] = { 2950, 2328, 1660, 1270 };
    std::mt19937 random(1818);
    QHash<QString, QByteArray> expected;
    QHash<QString, QByteArray> expectedByZbar;
    for (int i = 0; i < kSweepValues; ++i) {
        const int level = i % 4;
        QByteArray value = sweepValue(random, i, capacity[level], false);
        const QString text = QString::fromUtf8(value);
        const auto matrix = QR_Picture_Encoder::encodeWithECLevel(level, 0, text);
        ASSERT_NE(matrix, nullptr) << value.size() << " bytes at level " << level;
        // Modules of k pixels, and as much quiet zone as the side allows at that module size.
        const int k = i % 3 + 1;
        const int n = static_cast<int>(matrix->dimension());
        const int side = k * n + 2 * std::min(4 * k, (n - 1) / 2);
        const BarcodePicture picture = QR_Picture_Encoder::renderDataMatrix(*matrix, side, 72);
        ASSERT_EQ(picture.image.width(), side);
        const QString path = writeAsTheProgramDoes(picture.image, folder, i);
        ASSERT_FALSE(path.isEmpty());
        expected.insert(path, value);
        if (k > 1)
            expectedByZbar.insert(path, value);
    }
    expectAllRead("ZXingReader", expected, zxingDecode(expected.keys(), QStringLiteral("QRCode")));
    expectAllRead("zbarimg", expectedByZbar, zbarDecode(expectedByZbar.keys(), expectedByZbar));
}

TEST_F(Sweep2D, DataMatrixEveryEncodationReadsBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("dmtxread")));
    const QStringList encodations { QStringLiteral("Auto"), QStringLiteral("Ascii"), QStringLiteral("C40"),
        QStringLiteral("Text"), QStringLiteral("Base256") };
    std::mt19937 random(1819);
    QHash<QString, QByteArray> expected;
    QHash<QString, QByteArray> expectedByDmtx;
    for (int i = 0; i < kSweepValues; ++i) {
        const QByteArray value = sweepValue(random, i, 500, false);
        ASSERT_TRUE(settings->dm_encoding_ComboBox.selectText(encodations.at(i % encodations.size())));
        // Modules of 2, 3 and 4 pixels: the road draws one pixel a module at 72 dpi and re-samples.
        USED_DPI_VALUE = 72 * (i % 3 + 2);
        Barcode_module_size = 1;
        settings->image_2d = {};
        settings->Draw_DataMatrix_Barcode(QString::fromUtf8(value));
        ASSERT_FALSE(settings->image_2d.isNull())
            << encodations.at(i % encodations.size()).toStdString() << " " << value.size() << " bytes";
        const QString path = writeAsTheProgramDoes(settings->image_2d.image, folder, i);
        ASSERT_FALSE(path.isEmpty());
        expected.insert(path, value);
        if (i % 3 > 0)
            expectedByDmtx.insert(path, value);
    }
    USED_DPI_VALUE = 600;
    expectAllRead("ZXingReader", expected, zxingDecode(expected.keys(), QStringLiteral("DataMatrix")));
    expectAllRead("dmtxread", expectedByDmtx, dmtxDecode(expectedByDmtx.keys()));
}

TEST_F(Sweep2D, PDF417FramedPicturesReadBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    std::mt19937 random(1820);
    QHash<QString, QByteArray> expected;
    for (int i = 0; i < kSweepValues; ++i) {
        const QByteArray latin1 = sweepValue(random, i, i % 9 >= 6 ? 150 : 600, true);
        const QString text = QString::fromLatin1(latin1);
        // The view's size gives modules of k pixels and rows of 3k at 600 dpi.
        PDF417_View probe(QSizeF(100, 100), i % 9);
        ASSERT_EQ(probe.drawWithText(text), PDF417_View::PictureReady) << latin1.size();
        const int k = i % 3 + 1;
        const double pixel = 72.0 / 600.0;
        PDF417_View view(QSizeF(probe.record().bitColumns * k * pixel, probe.record().codeRows * 3 * k * pixel), i % 9);
        view.setResolution(600);
        ASSERT_EQ(view.drawWithText(text), PDF417_View::PictureReady);
        // Framed with the side and edge margins, header and footer hidden, as the generator frames it.
        const BarcodePicture symbol = view.getImage();
        settings->setPrintsHeader(false);
        settings->setPrintsFooter(false);
        settings->setWidth(static_cast<float>(symbol.size.width()) + 2.0f * settings->LR_margin + 15.0f);
        settings->setHeight(static_cast<float>(symbol.size.height()) + 2.0f * settings->TB_margin);
        const BarcodePicture framed = imageFromBarcodeImage(symbol);
        const QString path = writeAsTheProgramDoes(framed.image, folder, i);
        ASSERT_FALSE(path.isEmpty());
        expected.insert(path, latin1);
    }
    expectAllRead("ZXingReader", expected, zxingDecode(expected.keys(), QStringLiteral("PDF417")));
}

TEST(QRTextBeyondAscii, ZbarInTextModeReadsItAsWritten)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg")));
    barcodetest::freshSettings(2.0f);
    const QString folder = testsupport::makeTempFolder(QStringLiteral("qrtext"));
    // Texts a reader guessing another character set takes for other letters.
    const QStringList texts { QStringLiteral("Ѐx"), QStringLiteral("日本語テキスト"), QStringLiteral("Ça déjà vu"),
        QStringLiteral("Grüße aus Köln"), QStringLiteral("€42 Ωμέγα") };
    for (int i = 0; i < texts.size(); ++i) {
        const auto matrix = QR_Picture_Encoder::encodeWithECLevel(1, 0, texts.at(i));
        ASSERT_NE(matrix, nullptr);
        const int n = static_cast<int>(matrix->dimension());
        const BarcodePicture picture = QR_Picture_Encoder::renderDataMatrix(*matrix, 4 * n + 16, 72);
        const QString path = writeAsTheProgramDoes(picture.image, folder, i);
        QString out;
        QString err;
        testsupport::runProgram(QStringLiteral("zbarimg"),
            { QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("--nodbus"), path }, &out, &err);
        EXPECT_EQ(out.trimmed(), texts.at(i)) << err.toStdString();
    }
    QDir(folder).removeRecursively();
}
