// Shared main of the benchmarks: a QApplication on the offscreen platform, as the tests have,
// so that text and pictures render without a display.
#include "common/Resources.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    qputenv("TESSALINE_DATA_DIR", dataDir.path().toUtf8());
    QApplication app(argc, argv);
    initTessalineResources();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
