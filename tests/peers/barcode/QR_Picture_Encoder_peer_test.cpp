// QR Code symbols made by the facade and read back by ZXingReader and zbarimg.
#include "support/Barcode2D_Peers.h"

#include "barcode/QR_Matrix_Encoder.h"
#include "barcode/QR_Picture_Encoder.h"
#include "barcode/QR_Tables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace barcode2d_peers;

namespace {

struct Batch {
    QHash<QString, QByteArray> expected;
    QStringList files;
    QStringList failures;
};

// Encodes bytes at the level and version, draws the picture at three pixels per module, puts it into the batch.
void addSymbol(Batch& batch, const QString& folder, const QString& name, int level, int version,
    const QByteArray& bytes, int expectedVersion)
{
    const auto matrix = QR_Picture_Encoder::encodeCStringWithECLevel(level, version, bytes);
    if (!matrix || matrix->dimension() == 0) {
        batch.failures << name + QStringLiteral(": no symbol");
        return;
    }
    if (expectedVersion > 0 && matrix->dimension() != 4 * expectedVersion + 17) {
        batch.failures << name + QStringLiteral(": %1 modules").arg(matrix->dimension());
        return;
    }
    const int side = static_cast<int>(matrix->dimension()) * 3;
    const BarcodePicture picture = QR_Picture_Encoder::renderDataMatrix(*matrix, side, 72);
    if (picture.isNull() || picture.image.width() != side) {
        batch.failures << name + QStringLiteral(": no picture");
        return;
    }
    const QString path = savePng(onWhite(picture.image, 12), folder, name + QStringLiteral(".png"));
    batch.files << path;
    batch.expected.insert(path, bytes);
}

int capacity(const std::array<int, 160>& table, int version, int level)
{
    return version < 1 ? 0 : table[(version - 1) * 4 + level];
}

} // namespace

TEST(QRPeers, EveryVersionAndLevelReadsBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg")));
    const QString folder = testsupport::makeTempFolder(QStringLiteral("qr-peers"));
    Batch batch;
    std::mt19937 random(20240601);
    for (int version = 1; version <= QR_VERSION_MAX; ++version) {
        for (int level = 0; level < 4; ++level) {
            // Lengths above what the version below holds, so the symbol is of exactly this version.
            auto length = [&](const std::array<int, 160>& table) {
                std::uniform_int_distribution<int> pick(
                    capacity(table, version - 1, level) + 1, capacity(table, version, level));
                return pick(random);
            };
            const QString stem = QStringLiteral("v%1-l%2-").arg(version).arg(level);
            for (int k = 0; k < 2; ++k) {
                addSymbol(batch, folder, stem + QStringLiteral("ascii%1").arg(k), level, version,
                    randomAscii(random(), length(QR_8_BIT_size_array)), version);
            }
            addSymbol(batch, folder, stem + QStringLiteral("digits"), level, version,
                randomDigits(random(), length(QR_Numric_size_array)), version);
            addSymbol(batch, folder, stem + QStringLiteral("utf8"), level, version,
                randomUtf8(random(), length(QR_8_BIT_size_array)), version);
            // Short texts in a large symbol: padding fills most of it.
            const QByteArray greeting = QStringLiteral("Grüße, Привет").toUtf8();
            addSymbol(batch, folder, stem + QStringLiteral("short"), level, version,
                greeting.size() <= capacity(QR_8_BIT_size_array, version, level) ? greeting
                                                                                 : QByteArray("Gr\xc3\xbc\xc3\x9f"),
                greeting.size() <= capacity(QR_8_BIT_size_array, 1, level) ? 0 : version);
        }
    }
    EXPECT_TRUE(batch.failures.isEmpty()) << batch.failures.join(QLatin1Char('\n')).toStdString();
    ASSERT_GE(batch.files.size(), 800);

    const QStringList wrongZXing = mismatches(batch.expected, zxingDecode(batch.files, QStringLiteral("QRCode")));
    EXPECT_TRUE(wrongZXing.isEmpty()) << wrongZXing.size() << " of " << batch.files.size() << " wrong in ZXingReader:\n"
                                      << wrongZXing.mid(0, 30).join(QLatin1Char('\n')).toStdString();
    const QStringList wrongZbar = mismatches(batch.expected, zbarDecode(batch.files, batch.expected));
    EXPECT_TRUE(wrongZbar.isEmpty()) << wrongZbar.size() << " of " << batch.files.size() << " wrong in zbarimg:\n"
                                     << wrongZbar.mid(0, 30).join(QLatin1Char('\n')).toStdString();
}

TEST(QRPeers, AutomaticVersionsMasksAndMixedSegmentsReadBack)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("qr-auto"));
    Batch batch;
    std::mt19937 random(77);
    std::uniform_int_distribution<int> anyLevel(0, 3);
    // Automatic version: the smallest that holds the text is chosen, up to version 40.
    for (int i = 0; i < 120; ++i) {
        const int level = anyLevel(random);
        std::uniform_int_distribution<int> anyLength(1, QR_8_BIT_size_array[156 + level]);
        addSymbol(
            batch, folder, QStringLiteral("auto%1").arg(i), level, 0, randomAscii(random(), anyLength(random)), 0);
    }
    // Texts that cut into many numeric, alphanumeric and byte segments.
    for (int i = 0; i < 120; ++i) {
        QByteArray text;
        std::uniform_int_distribution<int> runLength(1, 30);
        std::uniform_int_distribution<int> kind(0, 2);
        while (text.size() < 400) {
            const int n = runLength(random);
            switch (kind(random)) {
            case 0:
                text += randomDigits(random(), n);
                break;
            case 1:
                text += QByteArray("HELLO WORLD $%*+-./:").left(n);
                break;
            default:
                text += randomUtf8(random(), n);
                break;
            }
        }
        addSymbol(batch, folder, QStringLiteral("mixed%1").arg(i), anyLevel(random), 0, text, 0);
    }
    // Alternating digits and capitals: more segments than a fixed list of 2956 could hold.
    QByteArray alternating;
    std::uniform_int_distribution<int> letter('A', 'Z');
    for (int i = 0; i < 4000; ++i)
        alternating.append(i % 2 ? randomDigits(random(), 1).at(0) : static_cast<char>(letter(random)));
    addSymbol(batch, folder, QStringLiteral("alternating"), 0, 0, alternating, 0);
    EXPECT_TRUE(batch.failures.isEmpty()) << batch.failures.join(QLatin1Char('\n')).toStdString();

    const QStringList wrongZXing = mismatches(batch.expected, zxingDecode(batch.files, QStringLiteral("QRCode")));
    EXPECT_TRUE(wrongZXing.isEmpty()) << wrongZXing.join(QLatin1Char('\n')).toStdString();
    const QStringList wrongZbar = mismatches(batch.expected, zbarDecode(batch.files, batch.expected));
    EXPECT_TRUE(wrongZbar.isEmpty()) << wrongZbar.join(QLatin1Char('\n')).toStdString();
}

TEST(QRPeers, EveryFixedMaskReadsBack)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("qr-masks"));
    Batch batch;
    std::mt19937 random(8);
    for (int mask = 0; mask <= 7; ++mask) {
        for (int version = 1 + mask % 3; version <= QR_VERSION_MAX; version += 3) {
            const int level = (version + mask) % 4;
            const QByteArray text = randomAscii(random(), capacity(QR_8_BIT_size_array, version, level) / 2 + 1);
            QR_Matrix_Encoder encoder;
            encoder.setKanjiAllowed(false);
            ASSERT_TRUE(encoder.EncodeData(level, version, false, mask,
                reinterpret_cast<const unsigned char*>(text.constData()), static_cast<int>(text.size())));
            ASSERT_EQ(encoder.m_nMaskingNo, mask);
            DataMatrix matrix(encoder.m_nSymbolSize);
            for (int x = 0; x < encoder.m_nSymbolSize; ++x)
                for (int y = 0; y < encoder.m_nSymbolSize; ++y)
                    matrix.set(encoder.m_byModuleData[x][y], x, y);
            const QImage image = QR_Picture_Encoder::renderModules(matrix, encoder.m_nSymbolSize * 3);
            const QString path
                = savePng(onWhite(image, 12), folder, QStringLiteral("m%1-v%2.png").arg(mask).arg(version));
            batch.files << path;
            batch.expected.insert(path, text);
        }
    }
    ASSERT_GE(batch.files.size(), 100);
    const QStringList wrongZXing = mismatches(batch.expected, zxingDecode(batch.files, QStringLiteral("QRCode")));
    EXPECT_TRUE(wrongZXing.isEmpty()) << wrongZXing.join(QLatin1Char('\n')).toStdString();
    const QStringList wrongZbar = mismatches(batch.expected, zbarDecode(batch.files, batch.expected));
    EXPECT_TRUE(wrongZbar.isEmpty()) << wrongZbar.join(QLatin1Char('\n')).toStdString();
}
