// The export against its floor: the same cards' pixels, already drawn, written as PNG files by the plainest
// encoder there is (each row as it is, zlib at level 1, one file each, no wait for the disk), in the same
// process and run, on one thread and on every core. The ratios are the reference's time over ours: above 1
// the export draws, encodes, writes and flushes its cards in less time than the reference only encodes and
// writes them.
#include "../tests/output/BatchTestSupport.h"

#include "model/Card_Background.h"
#include "output/Batch_Export.h"
#include "platform/PngColourWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include <zlib.h>

namespace {

// A camera-like picture: smooth shading under sensor noise, which no encoder finds repeats in.
QImage photoLike(int width, int height)
{
    QImage photo(width, height, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(noise.bounded(24u)) - 12;
            row[x] = qRgb(qBound(0, 60 + 150 * x / width + grain, 255), qBound(0, 90 + 100 * y / height + grain, 255),
                qBound(0, 170 - 80 * x / width + grain, 255));
        }
    }
    return photo;
}

// A 12-megapixel camera photo, written once as a JPEG as a phone would.
const QString& photoFile()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = QDir(folder.path()).filePath(QStringLiteral("photo.jpg"));
        photoLike(4000, 3000).save(file, "JPG", 92);
        return file;
    }();
    return path;
}

// Guests' names, tables and invitation codes on a credit-card front with a Code 128 and its caption; with a
// 12-megapixel photo as the card's background when asked, held as an open design holds it.
std::shared_ptr<const Batch_Snapshot> invitations(int records, bool photo)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names, tables, codes;
    for (int i = 0; i < records; ++i) {
        names << QStringLiteral("Guest number %1").arg(i + 1);
        tables << QStringLiteral("Table %1").arg(i % 40 + 1);
        codes << QStringLiteral("INV-%1").arg(100000 + i);
    }
    source.series.insert(QStringLiteral("names"), names);
    source.series.insert(QStringLiteral("tables"), tables);
    source.series.insert(QStringLiteral("codes"), codes);
    auto barcode = batchtest::boundCode128(QStringLiteral("codes"), QRectF(10, 70, 200, 70));
    barcode->show_hide_val = 1; // the caption under the bars
    TSLRenderingSide side = batchtest::creditCardSide(0);
    if (photo) {
        side.property.setCard_fill_style(QStringLiteral("I"));
        side.property.setCard_BG_Image_Layout(QStringLiteral("Stretch"));
        side.property.setCard_BG_Image_Path(photoFile());
        side.property.setCard_BG_Image(
            cardbackground::held(photoFile(), side.property.Card_BG_Image_Layout(), side.canvasBounds.size()));
    }
    const Batch_Snapshot::Side front {
        { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 200, 24)),
            batchtest::boundText(1, QStringLiteral("tables"), 0, QRectF(10, 36, 200, 20)), barcode },
        side
    };
    return Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
}

QByteArray referencePng(const QImage& card)
{
    const int width = card.width();
    std::vector<uchar> raw(size_t(card.height()) * size_t(width * 3 + 1));
    uchar* out = raw.data();
    for (int y = 0; y < card.height(); ++y) {
        *out++ = 0; // no filter
        const auto* line = reinterpret_cast<const QRgb*>(card.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            *out++ = uchar(qRed(line[x]));
            *out++ = uchar(qGreen(line[x]));
            *out++ = uchar(qBlue(line[x]));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(packedSize), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, raw.data(), uLong(raw.size()), 1);
    packed.truncate(qsizetype(packedSize));
    QByteArray png = platform::png::signature();
    platform::png::appendChunk(png, "IHDR", platform::png::imageHeader(width, card.height(), 8, 2));
    platform::png::appendChunk(png, "IDAT", packed);
    platform::png::appendChunk(png, "IEND", {});
    return png;
}

// Seconds the reference takes to write `records` files of the cards' pixels on `threads` threads.
double referenceSeconds(const std::vector<QImage>& cards, int records, int threads, const QString& folder)
{
    std::atomic<int> next { 0 };
    auto work = [&] {
        for (int i = next++; i < records; i = next++) {
            const QByteArray png = referencePng(cards[size_t(i) % cards.size()]);
            const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("Card_%1.png").arg(i + 1)));
            if (FILE* file = std::fopen(path.constData(), "wb")) {
                std::fwrite(png.constData(), 1, size_t(png.size()), file);
                std::fclose(file);
            }
        }
    };
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();
    return double(clock.nsecsElapsed()) / 1e9;
}

double exportSeconds(const std::shared_ptr<const Batch_Snapshot>& snapshot, int threads, bool* complete)
{
    QTemporaryDir folder;
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    QElapsedTimer clock;
    clock.start();
    const Batch_Export_Result result
        = exporter.run({ snapshot, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, 300, threads });
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    *complete = result.succeeded() && result.written == snapshot->recordCount();
    return seconds;
}

// Arguments: records, photo background (0 or 1).
void BM_BatchExportAgainstReference(benchmark::State& state)
{
    const int records = int(state.range(0));
    const auto snapshot = invitations(records, state.range(1) != 0);
    std::vector<QImage> cards;
    for (int i = 0; i < std::min(records, 32); ++i)
        cards.push_back(snapshot->renderImage(i, QStringLiteral("F"), 300));
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    double ours[2] = { 0, 0 }, reference[2] = { 0, 0 };
    for (auto _ : state) {
        for (int run = 0; run < 2; ++run) {
            const int threads = run == 0 ? 1 : cores;
            bool complete = false;
            ours[run] += exportSeconds(snapshot, threads, &complete);
            if (!complete)
                state.SkipWithError("the cards were not all written");
            QTemporaryDir folder;
            reference[run] += referenceSeconds(cards, records, threads, folder.path());
        }
    }
    const double iterations = double(state.iterations());
    state.counters["ours_one_core_ms"] = 1000 * ours[0] / iterations;
    state.counters["reference_one_core_ms"] = 1000 * reference[0] / iterations;
    state.counters["ours_all_cores_ms"] = 1000 * ours[1] / iterations;
    state.counters["reference_all_cores_ms"] = 1000 * reference[1] / iterations;
    state.counters["ratio_one_core"] = reference[0] / ours[0];
    state.counters["ratio_all_cores"] = reference[1] / ours[1];
    state.counters["cores"] = cores;
}
BENCHMARK(BM_BatchExportAgainstReference)
    ->Args({ 500, 0 })
    ->Args({ 2000, 0 })
    ->Args({ 500, 1 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
