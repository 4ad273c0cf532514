// Shared main of the benchmarks: a QApplication on the offscreen platform, as the tests have,
// so that text and pictures render without a display.
#include "common/Resources.h"
#if __has_include("platform/MemoryPolicy.h")
#include "platform/MemoryPolicy.h"
#define TESSALINE_HAS_MEMORY_POLICY
#endif

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The child of the series benchmark that reads a series in a fresh process (SeriesFile_bench.cpp).
int readSeriesInThisProcess(const QString& folder);

int main(int argc, char** argv)
{
#ifdef TESSALINE_HAS_MEMORY_POLICY
    platform::returnLargeBlocksToTheSystem(); // as the program starts
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    qputenv("TESSALINE_DATA_DIR", dataDir.path().toUtf8());
    QApplication app(argc, argv);
    initTessalineResources();
    if (const QString folder = qEnvironmentVariable("TESSALINE_BENCH_READ_SERIES"); !folder.isEmpty())
        return readSeriesInThisProcess(folder);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
