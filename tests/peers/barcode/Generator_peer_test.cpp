// Every symbology of the barcode dialog's list made on the batch road, header and footer included,
// and read back by a real decoder wherever one reads the symbology.
#include "Barcode2D_Peers.h"

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

} // namespace
