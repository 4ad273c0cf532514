// The export against its floor: the same cards' pixels, already drawn, written as PNG files by the plain
// encoder (libpng, each row unfiltered, zlib at level 1, one file each, no wait for the disk), in the same
// process and run, on one thread and on every core. The ratios are the reference's time over ours: above 1
// the export draws, encodes, writes and flushes its cards in less time than the reference only encodes and
// writes them. Each side runs at least three times, alternated, and the medians are reported; our runs
// start with an empty picture cache, as the first export after opening a design does. Processor time per
// card (every thread, user and system) and bytes per card are reported beside the clock, since on a machine
// shared with other work the clock alone says little.
#include "../tests/output/BatchTestSupport.h"

#include "BenchMemory.h"

#include "model/Card_Background.h"
#include "model/PictureCache.h"
#include "output/Batch_Export.h"
#include "platform/PngColourWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include <png.h>

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

void appendToBuffer(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void noFlush(png_structp)
{
}

// The card as the plain encoder writes it: 8-bit RGB, libpng taking the 32-bit pixels as they are (its own
// row transforms drop the fourth byte and put red first), no row filter, zlib level 1.
QByteArray referencePng(const QImage& card)
{
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendToBuffer, noFlush);
    png_set_IHDR(png, info, png_uint_32(card.width()), png_uint_32(card.height()), 8, PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_set_filler(png, 0, PNG_FILLER_AFTER); // little-endian QRgb: blue, green, red, alpha in memory
    png_set_bgr(png);
    for (int y = 0; y < card.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(card.constScanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct Sample {
    double seconds = 0;
    double cpuSeconds = 0;
    qint64 bytes = 0;
};

qint64 folderBytes(const QString& folder)
{
    qint64 bytes = 0;
    for (QDirIterator files(folder, QDir::Files); files.hasNext();)
        bytes += files.nextFileInfo().size();
    return bytes;
}

// The reference writing `records` files of the cards' pixels on `threads` threads.
Sample referenceRun(const std::vector<QImage>& cards, int records, int threads)
{
    QTemporaryDir folder;
    std::atomic<int> next { 0 };
    auto work = [&] {
        for (int i = next++; i < records; i = next++) {
            const QByteArray png = referencePng(cards[size_t(i) % cards.size()]);
            const QByteArray path
                = QFile::encodeName(QDir(folder.path()).filePath(QStringLiteral("Card_%1.png").arg(i + 1)));
            if (FILE* file = std::fopen(path.constData(), "wb")) {
                std::fwrite(png.constData(), 1, size_t(png.size()), file);
                std::fclose(file);
            }
        }
    };
    Sample sample;
    const double cpuBefore = benchmemory::processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();
    sample.seconds = double(clock.nsecsElapsed()) / 1e9;
    sample.cpuSeconds = benchmemory::processCpuSeconds() - cpuBefore;
    sample.bytes = folderBytes(folder.path());
    return sample;
}

Sample exportRun(const std::shared_ptr<const Batch_Snapshot>& snapshot, int threads, bool* complete)
{
    PictureCache::instance().clear(); // a first export after opening the design makes its pictures itself
    QTemporaryDir folder;
    std::atomic<bool> stop { false };
    Batch_Export exporter(stop);
    Sample sample;
    const double cpuBefore = benchmemory::processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const Batch_Export_Result result
        = exporter.run({ snapshot, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, 300, threads });
    sample.seconds = double(clock.nsecsElapsed()) / 1e9;
    sample.cpuSeconds = benchmemory::processCpuSeconds() - cpuBefore;
    sample.bytes = folderBytes(folder.path());
    *complete = result.succeeded() && result.written == snapshot->recordCount();
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
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
    // Per run (0 one core, 1 every core): wall seconds, processor seconds, bytes.
    std::vector<double> ours[2], reference[2], oursCpu[2], referenceCpu[2];
    double oursBytes = 0, referenceBytes = 0;
    for (auto _ : state) {
        for (int run = 0; run < 2; ++run) {
            const int threads = run == 0 ? 1 : cores;
            bool complete = false;
            const Sample our = exportRun(snapshot, threads, &complete);
            if (!complete)
                state.SkipWithError("the cards were not all written");
            const Sample their = referenceRun(cards, records, threads);
            ours[run].push_back(our.seconds);
            oursCpu[run].push_back(our.cpuSeconds);
            reference[run].push_back(their.seconds);
            referenceCpu[run].push_back(their.cpuSeconds);
            oursBytes = double(our.bytes);
            referenceBytes = double(their.bytes);
        }
    }
    const char* names[2] = { "one_core", "all_cores" };
    for (int run = 0; run < 2; ++run) {
        const std::string name = names[run];
        const double our = median(ours[run]), their = median(reference[run]);
        state.counters["ours_" + name + "_ms"] = 1000 * our;
        state.counters["reference_" + name + "_ms"] = 1000 * their;
        state.counters["ratio_" + name] = their / our;
        state.counters["ours_" + name + "_cpu_ms_per_card"] = 1000 * median(oursCpu[run]) / records;
        state.counters["reference_" + name + "_cpu_ms_per_card"] = 1000 * median(referenceCpu[run]) / records;
    }
    // Cores kept busy in the all-core runs: processor time over the clock.
    state.counters["ours_cores_busy"] = median(oursCpu[1]) / median(ours[1]);
    state.counters["reference_cores_busy"] = median(referenceCpu[1]) / median(reference[1]);
    state.counters["ours_kB_per_card"] = oursBytes / 1024 / records;
    state.counters["reference_kB_per_card"] = referenceBytes / 1024 / records;
    state.counters["size_ratio"] = oursBytes / referenceBytes;
    state.counters["cores"] = cores;
}
BENCHMARK(BM_BatchExportAgainstReference)
    ->Args({ 500, 0 })
    ->Args({ 2000, 0 })
    ->Args({ 500, 1 })
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One drawn card encoded, ours against the reference's encoder. Arguments: photo background (0 or 1), our
// encoder (1) or the reference's (0).
void BM_CardEncodeAgainstReference(benchmark::State& state)
{
    const auto snapshot = invitations(4, state.range(0) != 0);
    const QImage card = snapshot->renderImage(2, QStringLiteral("F"), 300);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png = state.range(1) ? platform::PngColourWriter::pngData(card) : referencePng(card);
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    state.counters["kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_CardEncodeAgainstReference)->ArgsProduct({ { 0, 1 }, { 0, 1 } })->Unit(benchmark::kMillisecond);

} // namespace
