// Every symbology of the barcode dialog's list made on the batch road, header and footer included,
// and read back by a real decoder wherever one reads the symbology.
#include "support/Barcode2D_Peers.h"

#include "barcode/GeneratorSamples.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using generatorsamples::kSamples;

namespace {

// The bytes ZXingReader reads from one picture file, restricted to one format; empty when it reads none.
// Without its downscaled passes: those stop the decoder on an assertion of its own when they find a
// linear symbol the full-size pass found already.
QByteArray zxingBytes(const QString& path, const char* format)
{
    QString out;
    testsupport::runProgram(QStringLiteral("ZXingReader"),
        { QStringLiteral("-noscale"), QStringLiteral("-norotate"), QStringLiteral("-format"),
            QString::fromLatin1(format), path },
        &out);
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Bytes:")))
            return QByteArray::fromHex(line.mid(6).trimmed().remove(QLatin1Char(' ')).toLatin1());
    }
    return {};
}

TEST(GeneratorPeers, EverySymbologyReadsBackThroughTheBatchRoad)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "zxing-cpp-tools is not installed";
    generatorsamples::SharedValuesGuard guard;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("generator-peers"));
    int read = 0;
    for (const auto& sample : kSamples) {
        if (!*sample.zxingFormat)
            continue;
        const QString title = QString::fromUtf8(sample.title);
        const QString value = QString::fromUtf8(sample.value);
        for (const int dpi : { 300, 600 }) {
            Barcode_Gen& gen = generatorsamples::settingsFor(title, value);
            USED_DPI_VALUE = dpi;
            const BarcodePicture picture
                = gen.Get_Image_From_Val(value, QStringLiteral("Dear Ann"), QStringLiteral("Table 4"));
            ASSERT_FALSE(picture.isNull()) << sample.title;
            const QString path = barcode2d_peers::savePng(barcode2d_peers::onWhite(picture.image, 100), folder,
                QStringLiteral("%1-%2.png").arg(&sample - kSamples).arg(dpi));
            ASSERT_FALSE(path.isEmpty());
            EXPECT_EQ(zxingBytes(path, sample.zxingFormat), QByteArray(sample.decoded))
                << sample.title << " at " << dpi << " dpi";
            ++read;
        }
    }
    EXPECT_EQ(read, 2 * 15);
}

TEST(GeneratorPeers, DataMatrixBase256AndTheLargestSizeReadBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("dmtxread"))) << "dmtx-utils is not installed";
    generatorsamples::SharedValuesGuard guard;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("generator-datamatrix"));
    QString long1500;
    for (int i = 0; long1500.size() < 1500; ++i)
        long1500 += QStringLiteral("Guest %1; ").arg(i);
    long1500.truncate(1500);
    const struct {
        const char* format;
        const char* encoding;
        QString value;
    } cases[] = {
        { "Auto", "Base256", QStringLiteral("Grüße aus Köln, 2026") },
        { "C16X48", "Base256", QStringLiteral("abc") },
        { "C32X32", "Base256", QString(40, QLatin1Char('x')) },
        { "Auto", "Base256", QString(300, QLatin1Char('7')) }, // a two-byte length
        { "C144X144", "Auto", QStringLiteral("Party at eight") },
        { "C144X144", "Ascii", long1500 },
        { "C144X144", "Base256", long1500.left(1200) },
    };
    QStringList files;
    QHash<QString, QByteArray> expected;
    for (const auto& c : cases) {
        Barcode_Gen& gen = generatorsamples::settingsFor(QStringLiteral("DataMatrix"), c.value);
        gen.dm_format_ComboBox.selectText(QString::fromLatin1(c.format));
        gen.dm_encoding_ComboBox.selectText(QString::fromLatin1(c.encoding));
        gen.dm_moduleStepper_2D.value = 1;
        USED_DPI_VALUE = 300;
        const BarcodePicture picture = gen.Get_Image_From_Val(c.value, QString(), QString());
        ASSERT_FALSE(picture.isNull()) << c.format << " " << c.encoding;
        const QString path = barcode2d_peers::savePng(
            barcode2d_peers::onWhite(gen.image_2d.image, 40), folder, QStringLiteral("%1.png").arg(&c - cases));
        // dmtxread takes the 144 x 144 size's error-correction blocks in another order than ZXingReader
        // (which follows the standard's rotation of the two shorter blocks), so only ZXingReader reads it.
        if (QLatin1String(c.format) != QLatin1String("C144X144")) {
            files << path;
            expected.insert(path, c.value.toUtf8());
        }
        EXPECT_EQ(zxingBytes(path, "DataMatrix"), c.value.toUtf8()) << c.format << " " << c.encoding;
    }
    EXPECT_EQ(barcode2d_peers::mismatches(expected, barcode2d_peers::dmtxDecode(files)), QStringList());
}

} // namespace
