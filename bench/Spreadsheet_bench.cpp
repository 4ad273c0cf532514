// Reading a workbook of 500,000 cells (100,000 rows of 5 columns, every cell a shared string) into rows,
// beside the bound of plain `unzip -p` of the same worksheet part.
#include "data/SpreadsheetWriter.h"
#include "data/Spreadsheet_Globals.h"

#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int rowCount = 100000;
constexpr int columnCount = 5;

struct Workbook {
    QTemporaryDir folder;
    QString path;

    Workbook()
    {
        SpreadsheetWriter::Rows rows;
        rows.reserve(rowCount);
        for (int r = 0; r < rowCount; ++r) {
            QStringList row;
            for (int c = 0; c < columnCount; ++c)
                row.append(QStringLiteral("Guest %1 field %2").arg(r).arg(c));
            rows.append(row);
        }
        path = folder.filePath(QStringLiteral("guests.xlsx"));
        SpreadsheetWriter::WriteWorkbook(path, rows, true);
    }
};

Workbook& workbook()
{
    static Workbook book;
    return book;
}

void BM_ReadWorkbookIntoRows(benchmark::State& state)
{
    const QString path = workbook().path;
    qint64 cells = 0;
    for (auto _ : state) {
        SpreadsheetWriter::ReadWorkbook(path, true);
        Excel_Sheet_Number = 1;
        SpreadsheetWriter::ReadData_only_column();
        const SpreadsheetWriter::Rows rows = SpreadsheetWriter::ReadWorkbook(path, false);
        cells = qint64(rows.size()) * (rows.isEmpty() ? 0 : rows.first().size());
        benchmark::DoNotOptimize(rows.size());
    }
    if (cells != qint64(rowCount) * columnCount)
        state.SkipWithError("the workbook did not read whole");
    state.counters["cells_per_second"]
        = benchmark::Counter(double(cells), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadWorkbookIntoRows)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UnzipWorksheetPart(benchmark::State& state)
{
    const QString path = workbook().path;
    for (auto _ : state) {
        QProcess unzip;
        unzip.setStandardOutputFile(QProcess::nullDevice());
        unzip.start(
            QStringLiteral("unzip"), { QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml") });
        if (!unzip.waitForFinished(60000) || unzip.exitCode() != 0) {
            state.SkipWithError("unzip is missing or failed");
            break;
        }
    }
    state.counters["cells_per_second"]
        = benchmark::Counter(double(rowCount) * columnCount, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_UnzipWorksheetPart)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
