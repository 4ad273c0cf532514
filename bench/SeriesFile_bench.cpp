// Generating a series straight into its file and reading it back: values per second, and how far the
// process's resident memory rises above where it was while a series is written (flat in the count).
#include "common/Globals.h"
#include "data/Series_File.h"
#include "data/Series_Generator.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

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
    qint64 rise = 0;
    for (auto _ : state) {
        ::malloc_trim(0);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const std::optional<QStringList> values = Series_File::readBatch(QStringLiteral("Bench"));
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        if (!values || values->size() != count)
            state.SkipWithError("the series did not read back whole");
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["peak_rise_MB"] = double(rise) / 1024;
    state.counters["file_MB"] = double(QFileInfo(Series_File::path(QStringLiteral("Bench"))).size()) / 1048576;
}
BENCHMARK(BM_ReadSeriesBack)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Files a series reader must not be undone by: 200 MB of values (refused by size) and a million values
// in Latin-1 (read as such).
void BM_ReadHostileSeries(benchmark::State& state)
{
    SeriesFolder folder;
    const bool large = state.range(0) == 0;
    {
        QFile file(Series_File::path(QStringLiteral("Hostile")));
        file.open(QIODevice::WriteOnly);
        const QByteArray block = large ? QByteArray("Guest-0000001-2026\n").repeated(1 << 16)
                                       : QByteArray("Gu\xE9st-0000001-2026\n").repeated(1000);
        for (int written = 0; written < (large ? 200 << 20 : 1000000 * 20); written += int(block.size()))
            file.write(block);
    }
    qint64 rise = 0;
    qint64 values = 0;
    for (auto _ : state) {
        ::malloc_trim(0);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const std::optional<QStringList> read = Series_File::readBatch(QStringLiteral("Hostile"));
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        values = read ? read->size() : -1;
    }
    if (large != (values < 0))
        state.SkipWithError(large ? "the 200 MB series was read" : "the Latin-1 series was refused");
    state.counters["peak_rise_MB"] = double(rise) / 1024;
    state.counters["values"] = double(values);
}
BENCHMARK(BM_ReadHostileSeries)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace
