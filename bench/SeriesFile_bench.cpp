// Generating a series straight into its file and reading it back: values per second, and how far the
// process's resident memory rises above where it was while a series is written (flat in the count).
#include "common/Globals.h"
#include "data/Series_File.h"
#include "data/Series_Generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

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

// Our writing and reading of a million values against a few lines of Python doing the same on the same
// machine, in the same run: the same bytes written with one flush to the disk, then read into a list of
// lines, each read in a fresh process of its own (ours is this program started again), the file being in
// the system's cache for both. The ratios are Python's time over ours; medians of the iterations.
void BM_SeriesAgainstPythonReference(benchmark::State& state)
{
    static const char* const writer = R"(
import os, sys, time
path, count = sys.argv[1], int(sys.argv[2])
start = time.perf_counter()
with open(path, 'w', encoding='utf-8', newline='\n') as f:
    for i in range(1, count + 1):
        f.write(f'Guest-{i:07d}-2026\n')
    f.flush()
    os.fsync(f.fileno())
print(time.perf_counter() - start)
)";
    static const char* const reader = R"(
import sys, time
path, count = sys.argv[1], int(sys.argv[2])
start = time.perf_counter()
with open(path, encoding='utf-8', newline='\n') as f:
    values = [line.rstrip('\n') for line in f]
read = time.perf_counter() - start
assert len(values) == count
print(read)
)";
    SeriesFolder folder;
    const qint64 count = state.range(0);
    // Seconds a fresh process took to read the series; negative when it failed.
    auto run = [](const QString& program, const QStringList& arguments, const QString& readFolder) {
        QProcess process;
        if (!readFolder.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("TESSALINE_BENCH_READ_SERIES"), readFolder);
            process.setProcessEnvironment(environment);
        }
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitCode() != 0)
            return -1.0;
        return process.readAllStandardOutput().trimmed().split('\n').last().toDouble();
    };
    std::vector<double> ours[2], python[2];
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (!generateInto(QStringLiteral("Bench"), count))
            state.SkipWithError("the series could not be written");
        ours[0].push_back(double(clock.nsecsElapsed()) / 1e9);
        const QString pythonPath = Series_File::path(QStringLiteral("Python"));
        python[0].push_back(run(QStringLiteral("/usr/bin/python3"),
            { QStringLiteral("-c"), QString::fromLatin1(writer), pythonPath, QString::number(count) }, {}));
        ours[1].push_back(run(QCoreApplication::applicationFilePath(), {}, Data_Folder_Path));
        python[1].push_back(run(QStringLiteral("/usr/bin/python3"),
            { QStringLiteral("-c"), QString::fromLatin1(reader), pythonPath, QString::number(count) }, {}));
        if (ours[1].back() < 0 || python[0].back() < 0 || python[1].back() < 0) {
            state.SkipWithError("a reading process failed");
            break;
        }
        QFile mine(Series_File::path(QStringLiteral("Bench")));
        QFile theirs(pythonPath);
        if (!mine.open(QIODevice::ReadOnly) || !theirs.open(QIODevice::ReadOnly) || mine.readAll() != theirs.readAll())
            state.SkipWithError("the two files differ");
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    const double write[2] = { median(ours[0]), median(python[0]) }, read[2] = { median(ours[1]), median(python[1]) };
    state.counters["ours_write_ms"] = 1000 * write[0];
    state.counters["python_write_ms"] = 1000 * write[1];
    state.counters["ours_read_ms"] = 1000 * read[0];
    state.counters["python_read_ms"] = 1000 * read[1];
    state.counters["ratio_write"] = write[1] / write[0];
    state.counters["ratio_read"] = read[1] / read[0];
}
BENCHMARK(BM_SeriesAgainstPythonReference)->Arg(1000000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

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

// Reads the series "Bench" of the folder as the batch runs read it and prints the seconds the read took;
// fails when nothing was read. The fresh process of the comparison above.
int readSeriesInThisProcess(const QString& folder)
{
    Data_Folder_Path = folder;
    QElapsedTimer clock;
    clock.start();
    const std::optional<QStringList> values = Series_File::readBatch(QStringLiteral("Bench"));
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!values || values->isEmpty())
        return 1;
    std::printf("%.6f\n", seconds);
    return 0;
}
