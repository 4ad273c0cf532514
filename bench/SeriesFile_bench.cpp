// Generating a series straight into its file and reading it back: values per second, and how far the
// process's resident memory rises above where it was while a series is written (flat in the count).
#include "common/Globals.h"
#include "data/Series_File.h"
#include "data/Series_Generator.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchMemory.h"

namespace {

struct SeriesFolder {
    QTemporaryDir root;
    QString kept = Data_Folder_Path;
    SeriesFolder() { Data_Folder_Path = root.path(); }
    ~SeriesFolder() { Data_Folder_Path = kept; }
};

Series_Generator::Settings sequential(qint64 count)
{
    Series_Generator::Settings s;
    s.mode = Series_Generator::Mode::Sequential;
    s.prefix = QStringLiteral("Guest-");
    s.suffix = QStringLiteral("-2026");
    s.from = QStringLiteral("1");
    s.to = QString::number(count);
    s.padWithZeros = true;
    return s;
}

bool generateInto(const QString& name, qint64 count)
{
    Series_Generator generator(sequential(count));
    Series_File::Writer writer;
    bool ok = writer.open(name);
    while (ok && !generator.atEnd())
        ok = writer.add(generator.next());
    return ok && writer.commit();
}

void BM_GenerateAndWriteSeries(benchmark::State& state)
{
    SeriesFolder folder;
    const qint64 count = state.range(0);
    qint64 rise = 0;
    for (auto _ : state) {
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        if (!generateInto(QStringLiteral("Bench"), count))
            state.SkipWithError("the series could not be written");
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["peak_rise_kB"] = double(rise);
}
BENCHMARK(BM_GenerateAndWriteSeries)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReadSeriesBack(benchmark::State& state)
{
    SeriesFolder folder;
    const qint64 count = state.range(0);
    generateInto(QStringLiteral("Bench"), count);
    for (auto _ : state) {
        const std::optional<QStringList> values = Series_File::readBatch(QStringLiteral("Bench"));
        if (!values || values->size() != count)
            state.SkipWithError("the series did not read back whole");
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ReadSeriesBack)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
