// Cards exported per second, one per record, at 300 dpi: a credit-card-size front with two texts and a
// Code 128 filled from series, a picture and a rectangle, written as PNG files on one thread and on every
// core; and the peak memory of the run, which must not grow with the record count.
#include "../tests/output/BatchTestSupport.h"

#include "BenchMemory.h"

#include "barcode/BarcodePngWriter.h"
#include "model/PictureCache.h"
#include "output/Batch_Export.h"
#include "output/Batch_Export_Run.h"
#include "output/Print_Design_Host.h"
#include "output/Send_Modeless.h"
#include "platform/PngColourWriter.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

std::shared_ptr<const Batch_Snapshot> creditCardSnapshot(int records, const QString& pictureFolder)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names, cities, codes;
    for (int i = 0; i < records; ++i) {
        names << QStringLiteral("Guest number %1").arg(i + 1);
        cities << QStringLiteral("Table %1, Hall %2").arg(i % 40 + 1).arg(QChar(QLatin1Char('A' + i % 5)));
        codes << QStringLiteral("INV-%1").arg(100000 + i);
    }
    source.series.insert(QStringLiteral("names"), names);
    source.series.insert(QStringLiteral("cities"), cities);
    source.series.insert(QStringLiteral("codes"), codes);

    auto picture = batchtest::boundPicture(0, QString(), 0, QRectF(190, 10, 45, 45));
    picture->setFilePath(
        batchtest::writePicture(QDir(pictureFolder).filePath(QStringLiteral("logo.png")), Qt::darkCyan));
    auto rectangle = std::make_shared<Shape_Control>();
    rectangle->ctrl_is_visible = true;
    rectangle->_bounds = QRectF(4, 4, 235, 145);
    rectangle->_isDrawingStroke = true;
    rectangle->_strokeColor = Qt::darkBlue;
    rectangle->_strokeWidth = 1.5;
    const Batch_Snapshot::Side front {
        { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 10, 170, 24)),
            batchtest::boundText(1, QStringLiteral("cities"), 0, QRectF(10, 36, 170, 20)),
            batchtest::boundCode128(QStringLiteral("codes"), QRectF(10, 70, 200, 70)), picture, rectangle },
        batchtest::creditCardSide(0)
    };
    return Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
}

// Arguments: records, threads (0 every core), and 1 when the folder already holds the cards of an export
// made before (the export made again), 0 when it is empty.
void BM_BatchExportCards(benchmark::State& state)
{
    const int records = int(state.range(0));
    QTemporaryDir pictures;
    const auto snapshot = creditCardSnapshot(records, pictures.path());
    qint64 rise = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        QTemporaryDir folder;
        std::atomic<bool> stop { false };
        Batch_Export exporter(stop);
        const Batch_Export_Job job { snapshot, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, 300,
            int(state.range(1)) };
        if (state.range(2) != 0) {
            state.PauseTiming();
            exporter.run(job);
            state.ResumeTiming();
        }
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const double cpuBefore = benchmemory::processCpuSeconds();
        const Batch_Export_Result result = exporter.run(job);
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        cpuSeconds += benchmemory::processCpuSeconds() - cpuBefore;
        if (!result.succeeded() || result.written != records)
            state.SkipWithError("the cards were not all written");
    }
    state.SetItemsProcessed(state.iterations() * records);
    state.counters["cards_per_s"]
        = benchmark::Counter(double(records) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_rise_kB"] = double(rise);
    // Processor time of every thread, user and system: on a machine shared with other work the wall
    // clock says little, this says what a card costs.
    state.counters["cpu_ms_per_card"] = 1000.0 * cpuSeconds / (double(records) * double(state.iterations()));
}
BENCHMARK(BM_BatchExportCards)
    ->Args({ 1000, 1, 0 })
    ->Args({ 1000, 0, 0 })
    ->Args({ 2000, 0, 0 })
    ->Args({ 2000, 0, 1 })
    ->Args({ 10000, 0, 0 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A short export as the export command runs it, the window answering while the cards are written: the time
// from its start to its end, against the time the writing itself takes; what the run adds is the wait after
// its last card.
void BM_ShortExportEndsWithItsLastCard(benchmark::State& state)
{
    const int records = int(state.range(0));
    QTemporaryDir pictures;
    const auto snapshot = creditCardSnapshot(records, pictures.path());
    Send_Modeless progress;
    double writing = 0, whole = 0;
    for (auto _ : state) {
        QTemporaryDir folder;
        std::atomic<bool> stop { false };
        Batch_Export exporter(stop);
        const Batch_Export_Job job { snapshot, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, 300,
            0 };
        QElapsedTimer clock;
        clock.start();
        qint64 written = 0;
        Batch_Export_Result result;
        Batch_Export_Run::whileWindowAnswers(
            progress,
            [&] {
                result = exporter.run(job);
                written = clock.nsecsElapsed();
            },
            [&] { return exporter.started(); });
        whole += double(clock.nsecsElapsed()) / 1e6;
        writing += double(written) / 1e6;
        if (!result.succeeded() || result.written != records)
            state.SkipWithError("the cards were not all written");
    }
    state.counters["run_ms"] = whole / double(state.iterations());
    state.counters["writing_ms"] = writing / double(state.iterations());
    state.counters["after_last_card_ms"] = (whole - writing) / double(state.iterations());
}
BENCHMARK(BM_ShortExportEndsWithItsLastCard)->Arg(20)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

namespace {

// The open design as the export command sees it: the credit-card front over the guests, exported as PNG.
class BenchDesign final : public Print_Design_Host {
public:
    explicit BenchDesign(std::shared_ptr<const Batch_Snapshot> snapshot)
        : snapshot_(std::move(snapshot))
    {
    }
    void Check_Series_Or_Excel_Use_or_not() override { }
    void keepSources(bool, bool) override { }
    bool usesSeries() const override { return true; }
    bool usesSpreadsheet() const override { return false; }
    int recordCount() const override { return snapshot_->recordCount(); }
    void onRecordsChanged(std::function<void()>) override { }
    std::shared_ptr<const Batch_Snapshot> takeSnapshot() const override { return snapshot_; }
    void Select_first_row_value_for_design() override { }
    Card_Export_Settings exportSettings() const override
    {
        Card_Export_Settings settings;
        settings.dpi = 150; // the Code 128 readable: no question before the run
        return settings;
    }
    QString designName() const override { return QStringLiteral("Guests"); }
    QString designIdentity() const override { return QStringLiteral("bench-guests"); }

private:
    std::shared_ptr<const Batch_Snapshot> snapshot_;
};

// The person at the window: the export-finished notice closed at once, Keep for any question.
class ClosesTheNotice final : public platform::UiResponder {
public:
    ClosesTheNotice() { platform::setUiResponder(this); }
    ~ClosesTheNotice() override { platform::setUiResponder(nullptr); }
    int showMessage(const platform::MessageRequest&) override { return 2; }
    int runModal(QDialog&) override { return 0; }
    QString chooseFile(const platform::FileRequest&) override { return {}; }
};

double threadCpuMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The window's thread during a whole export as the export command runs it, the cards' pictures made afresh:
// its processor time, and the longest it went without taking an event (a timer due every millisecond
// measures the gaps). Arguments: records, and 1 when the folder already holds the same export's cards and
// list (the export made again into its own folder), 0 for a first export into an empty folder.
void BM_WindowThreadDuringExport(benchmark::State& state)
{
    const int records = int(state.range(0));
    QTemporaryDir pictures;
    BenchDesign design(creditCardSnapshot(records, pictures.path()));
    Send_Modeless progress;
    ClosesTheNotice person;
    double cpu = 0, longest = 0, seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir chosen;
        if (state.range(1) != 0)
            Batch_Export_Run(design, progress).run(chosen.path());
        PictureCache::instance().clear(); // as the first export after opening the design
        state.ResumeTiming();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 gap = 0;
        QTimer ticks;
        ticks.setInterval(1);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = std::max(gap, now - last);
            last = now;
        });
        const double cpuBefore = threadCpuMs();
        clock.start();
        ticks.start();
        const Batch_Export_Result result = Batch_Export_Run(design, progress).run(chosen.path());
        ticks.stop();
        cpu += threadCpuMs() - cpuBefore;
        seconds += double(clock.nsecsElapsed()) / 1e9;
        longest = std::max(longest, double(gap) / 1e6);
        if (!result.succeeded() || result.written != records)
            state.SkipWithError("the cards were not all written");
    }
    state.counters["window_cpu_ms"] = cpu / double(state.iterations());
    state.counters["longest_freeze_ms"] = longest;
    state.counters["run_s"] = seconds / double(state.iterations());
}
BENCHMARK(BM_WindowThreadDuringExport)
    ->Args({ 100000, 0 })
    ->Args({ 100000, 1 })
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One card's picture made from its record, without writing it.
void BM_BatchRenderCard(benchmark::State& state)
{
    QTemporaryDir pictures;
    const auto snapshot = creditCardSnapshot(1000, pictures.path());
    int record = 0;
    for (auto _ : state) {
        const QImage image = snapshot->renderImage(record, QStringLiteral("F"), 300);
        benchmark::DoNotOptimize(image.constBits());
        record = (record + 1) % 1000;
    }
    state.counters["cards_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchRenderCard)->Unit(benchmark::kMillisecond);

// One rendered card's PNG bytes.
void BM_BatchCardPng(benchmark::State& state)
{
    QTemporaryDir pictures;
    const auto snapshot = creditCardSnapshot(10, pictures.path());
    const QImage image = snapshot->renderImage(3, QStringLiteral("F"), 300);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png
            = state.range(0) ? platform::PngColourWriter::pngData(image) : BarcodePngWriter::pngData(image);
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    state.counters["png_kB"] = double(bytes) / 1024.0;
    state.counters["format"] = double(image.format());
}
BENCHMARK(BM_BatchCardPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
