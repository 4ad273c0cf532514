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
BENCHMARK(BM_ReadSeriesBack)->Arg(70000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Files a series reader must not be undone by: 200 MB of values (refused by size), a million values in
// Latin-1 (read as such), 63 MB of one-letter lines (refused by their number, before any value is made) and one 63 MB
// line (read once through, in one piece).
QByteArray hostileBlock(int kind)
{
    switch (kind) {
    case 0:
        return QByteArray("Guest-0000001-2026\n").repeated(1 << 16);
    case 1:
        return QByteArray("Gu\xE9st-0000001-2026\n").repeated(1000);
    case 2:
        return QByteArray("a\n").repeated(1 << 19);
    default:
        return QByteArray(1 << 20, 'a');
    }
}

void BM_ReadHostileSeries(benchmark::State& state)
{
    SeriesFolder folder;
    const int kind = int(state.range(0));
    const int bytes[] = { 200 << 20, 1000000 * 20, 63 << 20, 63 << 20 };
    {
        QFile file(Series_File::path(QStringLiteral("Hostile")));
        file.open(QIODevice::WriteOnly);
        const QByteArray block = hostileBlock(kind);
        for (int written = 0; written < bytes[kind]; written += int(block.size()))
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
    const bool refused = kind == 0 || kind == 2;
    if (refused != (values < 0))
        state.SkipWithError(refused ? "a hostile series was read" : "a series that fits was refused");
    state.counters["peak_rise_MB"] = double(rise) / 1024;
    state.counters["values"] = double(values);
}
BENCHMARK(BM_ReadHostileSeries)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
