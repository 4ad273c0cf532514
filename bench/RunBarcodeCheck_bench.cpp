// An export of 10,000 cards (the argument), each with a DataMatrix of its record's value, at 150 dpi on every core: the
// time the window waits before the folder box opens, the whole run with its look at the barcodes, the symbols made and
// the memory the run adds. The program's road looks at the barcodes inside the run and keeps each symbol for its card;
// the reference is the road that looked at them on the window's thread before the folder box, making every symbol, and
// let the run make them all again.
#include "../tests/output/BatchTestSupport.h"

#include "barcode/Barcode_Item_Symbol.h"
#include "output/Barcode_Readability.h"
#include "output/Batch_Export.h"

#include "BenchGuestList.h"
#include "output/Record_Fill.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <thread>

#include "BenchMemory.h"

namespace {

std::shared_ptr<const Batch_Snapshot> dataMatrixCards(int kRecords)
{
    const Record_Source source = benchguests::records(kRecords);
    Batch_Snapshot::Side front {
        { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(10, 8, 170, 24)),
            batchtest::boundCode128(QStringLiteral("codes"), QRectF(160, 60, 70, 70), QStringLiteral("DataMatrix")) },
        batchtest::creditCardSide(0)
    };
    return Batch_Snapshot::take(front, {}, false, source, Barcode_Gen());
}

// The look the window made before: every value's symbol made and let go, on the calling thread.
int referenceCheck(const Batch_Snapshot& cards, int dpi)
{
    Barcode_Gen settings = cards.settings();
    int small = 0;
    for (const TSLGraphicPtr& item : cards.side(QStringLiteral("F")).items) {
        const auto* barcode = dynamic_cast<const TSLBarcode*>(item.get());
        if (!barcode)
            continue;
        QHash<QString, bool> byValue;
        for (int record = 0; record < cards.recordCount(); ++record) {
            const std::optional<QString> value = Record_Fill::valueFor(*barcode, record, cards.source(), nullptr);
            if (!value || byValue.contains(*value))
                continue;
            const TSLGraphicPtr copy = barcode->detachedCopy();
            Record_Fill::assignValue(*copy, *value, settings, false);
            small += byValue.insert(*value, bool(static_cast<const TSLBarcode&>(*copy).modulesTooSmall(dpi))).value();
        }
    }
    return small;
}

void exportRun(benchmark::State& state, bool program)
{
    constexpr int dpi = 150;
    const int records = int(state.range(0));
    double windowMs = 0, symbols = 0, riseMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto cards = dataMatrixCards(records);
        QTemporaryDir folder;
        ::malloc_trim(0);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const long long made = Item_Barcode_Drawings_Made();
        state.ResumeTiming();
        QElapsedTimer window;
        window.start();
        if (!program)
            benchmark::DoNotOptimize(referenceCheck(*cards, dpi));
        windowMs = double(window.nsecsElapsed()) / 1e6;
        // The run: the program's look at the barcodes and the texts comes first, on the run's own thread.
        Batch_Export_Result result;
        std::thread run([&] {
            if (program)
                benchmark::DoNotOptimize(Barcode_Readability::lookAtRun(*cards, true, false, dpi, true, nullptr));
            std::atomic<bool> stop { false };
            result = Batch_Export(stop).run(
                { cards, folder.path(), QStringLiteral("png"), QStringLiteral("F"), false, dpi, 0 });
        });
        run.join();
        state.PauseTiming();
        if (result.written != records)
            state.SkipWithError("the cards were not all written");
        symbols = double(Item_Barcode_Drawings_Made() - made);
        riseMb = double(benchmemory::statusField("VmHWM:") - before) / 1024;
        state.ResumeTiming();
    }
    state.counters["window_waits_ms"] = windowMs;
    state.counters["symbols_made"] = symbols;
    state.counters["peak_rise_MB"] = riseMb;
}

void BM_DataMatrixExportLooksAtItsBarcodesInTheRun(benchmark::State& state)
{
    exportRun(state, true);
}
BENCHMARK(BM_DataMatrixExportLooksAtItsBarcodesInTheRun)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

void BM_DataMatrixExportLookingAtItsBarcodesOnTheWindowsThread(benchmark::State& state)
{
    exportRun(state, false);
}
BENCHMARK(BM_DataMatrixExportLookingAtItsBarcodesOnTheWindowsThread)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// The look alone, on one thread, over the same cards: at the barcodes only, as it was, or at the barcodes and the
// texts their box cuts, as every run's look is now. What the texts add to the time a person waits before the run.
void lookBeforeARun(benchmark::State& state, bool texts)
{
    constexpr int dpi = 150;
    for (auto _ : state) {
        state.PauseTiming();
        const auto cards = dataMatrixCards(int(state.range(0)));
        state.ResumeTiming();
        if (texts)
            benchmark::DoNotOptimize(Barcode_Readability::lookAtRun(*cards, true, false, dpi, true, nullptr));
        else
            benchmark::DoNotOptimize(Barcode_Readability::unreadableInRun(*cards, true, false, dpi));
    }
}

void BM_LookAtBarcodesAndCutTexts(benchmark::State& state)
{
    lookBeforeARun(state, true);
}
BENCHMARK(BM_LookAtBarcodesAndCutTexts)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LookAtBarcodesOnly(benchmark::State& state)
{
    lookBeforeARun(state, false);
}
BENCHMARK(BM_LookAtBarcodesOnly)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
