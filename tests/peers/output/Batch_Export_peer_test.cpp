// Cards exported one per record, read back by a real decoder: every sampled card's barcode is its record's value.
#include "../../output/BatchTestSupport.h"

#include "common/Globals.h"
#include "data/SeriesTestSupport.h"
#include "data/Series_File.h"
#include "output/Barcode_Readability.h"
#include "output/Batch_Export.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QHash>
#include <QImage>

#include <algorithm>
#include <cmath>

using namespace batchtest;

namespace {

// File -> text, from ZXingReader's report over many files ("File:" opens a block, "Text:" gives the content).
QHash<QString, QString> readBarcodes(const QStringList& files)
{
    QString out;
    testsupport::runProgram(QStringLiteral("ZXingReader"),
        QStringList { QStringLiteral("-fast"), QStringLiteral("-norotate"), QStringLiteral("-noscale"),
            QStringLiteral("-format"), QStringLiteral("Code128") }
            + files,
        &out);
    QHash<QString, QString> results;
    QString file;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("File:")))
            file = trimmed.mid(5).trimmed();
        else if (trimmed.startsWith(QLatin1String("Text:")) && !file.isEmpty() && !results.contains(file))
            results.insert(file, trimmed.mid(5).trimmed().remove(QLatin1Char('"')));
    }
    return results;
}

} // namespace

TEST(BatchExportPeer, EachCardsBarcodeReadsAsItsRecordsValue)
{
    if (!testsupport::havePeer(QStringLiteral("ZXingReader")))
        GTEST_SKIP() << "ZXingReader is not installed";
    constexpr int records = 60;
    Record_Source source;
    source.useSeries = true;
    QStringList codes;
    for (int i = 0; i < records; ++i)
        codes << QStringLiteral("TS-%1-%2").arg(1000 + i * 7).arg(QChar(QLatin1Char('A' + i % 26)));
    // The backs take a second series through its file, one value holding a line break: each card keeps its row.
    seriestest::SeriesFolder seriesFolder;
    QStringList names = codes;
    names[14] += QStringLiteral("\nsecond line");
    source.series.insert(QStringLiteral("codes"), codes);
    ASSERT_TRUE(Series_File::write(QStringLiteral("names"), names, Series_File::Values::AsGiven));
    source.series.insert(QStringLiteral("names"), Series_File::readBatch(QStringLiteral("names")).value());
    Record_Source withSheet = source;
    withSheet.useSpreadsheet = true;
    for (int i = 0; i < records; ++i) {
        Spreadsheet_Binding_Table::Row row;
        row.insert(QStringLiteral("Extension"), QString::number(i + 1));
        row.insert(QStringLiteral("Column1"), QStringLiteral("Guest %1").arg(i + 1));
        withSheet.rows.append(row);
    }
    const Batch_Snapshot::Side front { { boundCode128(QStringLiteral("codes"), QRectF(12, 70, 220, 70)),
                                           boundText(2, QString(), 1, QRectF(12, 12, 200, 30)) },
        creditCardSide(0) };
    const Batch_Snapshot::Side back { { boundCode128(QStringLiteral("names"), QRectF(12, 12, 220, 70)) },
        creditCardSide(1) };
    const auto snapshot = Batch_Snapshot::take(front, back, true, withSheet, Barcode_Gen());

    const QString folder = testsupport::makeTempFolder(QStringLiteral("peer-cards"));
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    const Batch_Export_Result result
        = exporter.run({ snapshot, folder, QStringLiteral("png"), QStringLiteral("BOTH"), false, 300, 0 });
    ASSERT_TRUE(result.succeeded()) << result.failure.toStdString();
    ASSERT_EQ(result.written, records);

    // A sample of records spread over the run, front and back.
    QStringList files;
    QHash<QString, QString> expected;
    for (int i = 0; i < records; i += i == 14 ? 1 : 7) { // 15 follows the two-line name, which has no symbol
        const QString frontFile = Batch_Export::frontPath(folder, i, QStringLiteral("png"));
        const QStringList sides = QStringList { frontFile, Batch_Export::backPath(frontFile) }.mid(0, i == 14 ? 1 : 2);
        for (const QString& file : sides) {
            files << file;
            expected.insert(file, codes[i]);
            const QImage card(file);
            EXPECT_EQ(card.size(), QSize(qRound(243 * 300 / 72.0), qRound(153 * 300 / 72.0))) << file.toStdString();
        }
    }
    const QHash<QString, QString> read = readBarcodes(files);
    for (const QString& file : files)
        EXPECT_EQ(read.value(file), expected.value(file)) << file.toStdString();
}

TEST(BatchExportPeer, ALinearBarcodeTheLookLetsPassReadsOnEveryCard)
{
    if (!testsupport::havePeer(QStringLiteral("ZXingReader")))
        GTEST_SKIP() << "ZXingReader is not installed";
    Record_Source source;
    source.useSeries = true;
    QStringList codes;
    for (int i = 0; i < 40; ++i)
        codes << QStringLiteral("GUEST-%1-%2").arg(4000 + i * 37).arg(QChar(QLatin1Char('A' + i % 26)));
    source.series.insert(QStringLiteral("codes"), codes);
    const auto snapshot = Batch_Snapshot::take(
        { { boundCode128(QStringLiteral("codes"), QRectF(12, 40, 220, 70)) }, creditCardSide(0) }, {}, false, source,
        Barcode_Gen());
    // The widest symbol of the run sets the resolution: each value's modules are as wide or wider.
    double pixels = 1e9;
    for (int record = 0; record < codes.size(); ++record)
        pixels = std::min(pixels,
            static_cast<const TSLBarcode&>(*snapshot->filledItems(record, QStringLiteral("F"))[0]).modulePixels(1.0));
    const int readable = int(std::ceil(72.0 * 2.0 / pixels));
    ASSERT_TRUE(Barcode_Readability::unreadableInRun(*snapshot, true, false, readable).empty()) << readable;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("peer-linear"));
    std::atomic<bool> stop { false };
    const Batch_Export_Result result
        = Batch_Export(stop).run({ snapshot, folder, QStringLiteral("png"), QStringLiteral("F"), false, readable, 0 });
    ASSERT_EQ(result.written, int(codes.size())) << result.failure.toStdString();
    QHash<QString, QString> expected;
    for (int record = 0; record < codes.size(); ++record)
        expected.insert(Batch_Export::frontPath(folder, record, QStringLiteral("png")), codes[record]);
    EXPECT_EQ(readBarcodes(expected.keys()), expected) << readable;
}
