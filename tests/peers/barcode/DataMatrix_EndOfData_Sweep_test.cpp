// DataMatrix values ending in each encodation at every size, filled to one to four characters short of
// the symbol's capacity so that each way of ending (unlatch, shift padding, ASCII in the last codewords,
// the readers' own return to ASCII) comes up; and values of the program's automatic choice near each size's
// capacity. Read by ZXingReader and dmtxread: each symbol reads as its value.
#include "support/Barcode2D_Peers.h"

#include "barcode/BRCDataMatrix.h"
#include "barcode/DataMatrix_Encodation.h"
#include "barcode/DataMatrix_Symbol_Builder.h"
#include "support/TestSupport.h"

#include <QDir>

#include <random>

#include <gtest/gtest.h>

using namespace barcode2d_peers;

namespace {

// Characters each encodation carries in its basic and its shifted sets.
QByteArray alphabet(char letter)
{
    switch (letter) {
    case 'C':
        return "ABCXYZ0189 ;a-";
    case 'T':
        return "abcxyz0189 ;A-";
    case 'X':
        return "ABCXYZ0189 *>\r";
    case 'E':
        return "ABC=;:?@^0189 -";
    case 'B':
        return "ab\xC3\xA9\x01\xFF";
    default:
        return "Ab1234 \xC3\xA9~";
    }
}

// Three modules of quiet zone, three pixels a module.
QImage symbolPicture(const BRCDataMatrix::Symbol& symbol)
{
    constexpr int k = 3;
    QImage image((symbol.W + 6) * k, (symbol.H + 6) * k, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < symbol.H; ++y)
        for (int x = 0; x < symbol.W; ++x)
            if (symbol.dark(x, symbol.H - 1 - y))
                for (int dy = 0; dy < k; ++dy)
                    std::fill_n(image.scanLine((y + 3) * k + dy) + (x + 3) * k, k, 0);
    return image;
}

class DataMatrixEndSweep : public testing::Test {
protected:
    void SetUp() override { folder = testsupport::makeTempFolder(QStringLiteral("dmend")); }
    void TearDown() override
    {
        if (!HasFailure())
            QDir(folder).removeRecursively();
    }
    void add(const QByteArray& value, const std::optional<BRCDataMatrix::Symbol>& symbol, const QString& what)
    {
        ASSERT_TRUE(symbol) << what.toStdString();
        const QString path = savePng(symbolPicture(*symbol), folder, QStringLiteral("%1-%2.png").arg(expected.size()).arg(what));
        ASSERT_FALSE(path.isEmpty());
        expected.insert(path, value);
    }
    // dmtxread reads no symbol of the 144 x 144 size, not even another encoder's: ZXingReader alone reads it.
    void readAll()
    {
        QHash<QString, QByteArray> byDmtx = expected;
        byDmtx.removeIf([](const auto& entry) { return entry.key().contains(QLatin1String("144x144")); });
        for (const auto& [decoder, files] : { std::pair { "ZXingReader", expected }, std::pair { "dmtxread", byDmtx } }) {
            const auto read = QLatin1String(decoder) == QLatin1String("dmtxread")
                ? dmtxDecode(files.keys())
                : zxingDecode(files.keys(), QStringLiteral("DataMatrix"));
            const QStringList wrong = mismatches(files, read);
            EXPECT_TRUE(wrong.isEmpty()) << decoder << ": " << wrong.size() << " of " << files.size() << "\n"
                                         << wrong.mid(0, 10).join(QLatin1Char('\n')).toStdString();
        }
    }

    QString folder;
    QHash<QString, QByteArray> expected;
};

} // namespace

TEST_F(DataMatrixEndSweep, ValuesEndingInEachEncodationAtEverySizeReadBack)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader")));
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("dmtxread")));
    std::mt19937 random(3116);
    for (const auto& size : DataMatrix_Symbol_Builder::sizesByCapacity()) {
        // The largest sizes take long to read: one value each of them, up to four each of the others.
        const int shortBy = size.dataCodewords > 600 ? 1 : 4;
        for (const char letter : QByteArray("ACTXEB")) {
            const QByteArray chars = alphabet(letter);
            QByteArray body;
            // A leading ASCII character puts a latch before the run, as in a value of mixed characters.
            QByteArray value = "#";
            QByteArray letters = "A";
            for (;;) {
                const char c = chars[std::uniform_int_distribution<int>(0, int(chars.size()) - 1)(random)];
                if (!DataMatrix_Encodation::codewords(value + c, letters + letter, size.dataCodewords))
                    break;
                value += c;
                letters += letter;
            }
            for (int cut = 0; cut < shortBy && value.size() - cut > 1; ++cut) {
                const qsizetype n = value.size() - cut;
                const QString what = QStringLiteral("%1x%2-%3-%4").arg(size.rows).arg(size.columns).arg(letter).arg(cut);
                add(value.left(n), BRCDataMatrix::encode(value.left(n), size.columns, size.rows, letters.left(n)), what);
            }
        }
        // The automatic choice over ASCII 32 to 94, a little more and less than the size holds in ASCII.
        for (int i = 0; i < (size.dataCodewords > 600 ? 1 : 3); ++i) {
            const int length = std::max(1, size.dataCodewords * (100 + 10 * i) / 100);
            QByteArray value;
            for (int k = 0; k < length; ++k)
                value += static_cast<char>(std::uniform_int_distribution<int>(32, 94)(random));
            const auto symbol = BRCDataMatrix::encode(value, size.columns, size.rows, {});
            if (symbol)
                add(value, symbol, QStringLiteral("%1x%2-auto-%3").arg(size.rows).arg(size.columns).arg(i));
        }
    }
    for (int i = 0; i < 100; ++i) {
        QByteArray value;
        const int length = std::uniform_int_distribution<int>(1, 60)(random);
        for (int k = 0; k < length; ++k)
            value += static_cast<char>(std::uniform_int_distribution<int>(32, 94)(random));
        add(value, BRCDataMatrix::encode(value, 0, 0, {}), QStringLiteral("auto-%1").arg(i));
    }
    readAll();
}
