// PDF417 symbols of every error level and many sizes, read back by ZXingReader.
#include "support/Barcode2D_Peers.h"

#include "barcode/PDF417_Encoder.h"
#include "barcode/PDF417_View.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QSet>

#include <random>

using namespace barcode2d_peers;

namespace {

// Modules two pixels wide, rows three modules high, as a grey picture on white.
QImage pictureOf(const PDF417_Param& p)
{
    const int bytesPerRow = p.lenBits / p.codeRows;
    QImage image(p.bitColumns * 2, p.codeRows * 6, QImage::Format_Grayscale8);
    for (int row = 0; row < p.codeRows; ++row) {
        for (int module = 0; module < p.bitColumns; ++module) {
            const bool dark = !((p.outBits[row * bytesPerRow + module / 8] >> (7 - module % 8)) & 1);
            for (int dy = 0; dy < 6; ++dy) {
                uchar* line = image.scanLine(row * 6 + dy);
                line[module * 2] = line[module * 2 + 1] = dark ? 0 : 255;
            }
        }
    }
    return image;
}

QByteArray randomLatin1(quint32 seed, int length)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text.append(static_cast<char>(byte(random)));
    return text;
}

} // namespace

TEST(PDF417Peers, EveryLevelAndColumnCountReadsBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    const QString folder = testsupport::makeTempFolder(QStringLiteral("pdf417-peers"));
    QHash<QString, QByteArray> expected;
    QStringList files;
    QSet<int> levels;
    QSet<int> columns;
    QSet<int> rows;
    std::mt19937 random(417);
    int index = 0;
    for (int level = 0; level <= 8; ++level) {
        for (int cols = 1; cols <= 30; ++cols) {
            for (int kind = 0; kind < 3; ++kind) {
                // Data that leaves room for the level's correction codewords.
                const int room = std::max(1, 928 - (2 << level) - 40);
                std::uniform_int_distribution<int> anyLength(
                    1, std::min(room, kind == 1 ? 1800 : 700) / (kind == 2 ? 2 : 1));
                const int length = anyLength(random);
                const QByteArray text = kind == 0 ? randomAscii(random(), length)
                    : kind == 1                   ? randomDigits(random(), length)
                                                  : randomLatin1(random(), length);
                PDF417_Param p;
                PDF417_Init(&p);
                p.text = text.constData();
                p.lenText = static_cast<int>(text.size());
                p.options = optGivenErrorLevel | optGivenColumns | optInvertBits;
                p.errorLevel = level;
                p.codeColumns = cols;
                PDF417_Paint_Code(&p);
                if (p.error) // more codewords than a symbol holds: not a size to test
                    continue;
                levels << p.errorLevel;
                columns << p.codeColumns;
                rows << p.codeRows;
                const QString path = savePng(onWhite(pictureOf(p), 10), folder, QStringLiteral("s%1.png").arg(index++));
                files << path;
                expected.insert(path, text);
            }
        }
    }
    EXPECT_EQ(levels.size(), 9);
    EXPECT_EQ(columns.size(), 30);
    EXPECT_GE(rows.size(), 60);
    ASSERT_GE(files.size(), 700);
    const QStringList wrong = mismatches(expected, zxingDecode(files, QStringLiteral("PDF417")));
    EXPECT_TRUE(wrong.isEmpty()) << wrong.size() << " of " << files.size() << " wrong:\n"
                                 << wrong.mid(0, 30).join(QLatin1Char('\n')).toStdString();
}

TEST(PDF417Peers, ViewPicturesReadBackAtEveryLevel)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("pdf417-view"));
    QHash<QString, QByteArray> expected;
    QStringList files;
    std::mt19937 random(4170);
    for (int level = 0; level <= 8; ++level) {
        for (int k = 0; k < 12; ++k) {
            std::uniform_int_distribution<int> anyLength(1, 300);
            const QString text = k == 0 ? QStringLiteral("Grüße aus Köln, ½ € nicht").left(18)
                                        : QString::fromLatin1(randomAscii(random(), anyLength(random)));
            // Size the frame so that a module is two points wide and a row six points high at 72 dpi.
            PDF417_View probe(QSizeF(100, 20), level);
            probe.setResolution(72);
            ASSERT_EQ(probe.drawWithText(text), PDF417_View::PictureReady);
            const PDF417_Param& p = probe.record();
            PDF417_View view(QSizeF(p.bitColumns * 2, p.codeRows * 6), level);
            view.setResolution(72);
            ASSERT_EQ(view.drawWithText(text), PDF417_View::PictureReady);
            const BarcodePicture picture = view.getImage();
            ASSERT_EQ(picture.image.width(), p.bitColumns * 2);
            const QString path
                = savePng(onWhite(picture.image, 10), folder, QStringLiteral("v%1-%2.png").arg(level).arg(k));
            files << path;
            expected.insert(path, text.toLatin1());
        }
    }
    const QStringList wrong = mismatches(expected, zxingDecode(files, QStringLiteral("PDF417")));
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QLatin1Char('\n')).toStdString();
}
