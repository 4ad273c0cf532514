// Reading workbooks into rows: 500,000 and 2,000,000 cells (5 columns, every cell a shared string, or every
// cell a number) with
// time and peak memory beside the cells' own text, against plain `unzip -p` of the same worksheet part
// and openpyxl in read-only mode; the same part inflated by `unzip -p` and read through pugixml's document
// tree, for the choice of XML reader; and how fast and small each hostile workbook is refused.
#include "data/SpreadsheetWriter.h"
#include "data/Read_Progress.h"
#include "data/Spreadsheet_Globals.h"

#include <QProcess>
#include <QTemporaryDir>

#include <minizip/zip.h>
#include <pugixml.hpp>

#include <benchmark/benchmark.h>

#include <limits>
#include <malloc.h>
#include <map>

#include "BenchMemory.h"

namespace {

constexpr int columnCount = 5;

struct Workbook {
    QTemporaryDir folder;
    QString path;
    qint64 textBytes = 0; // the cells' characters as the rows hold them (UTF-16)

    explicit Workbook(int rowCount, bool numbers = false)
    {
        SpreadsheetWriter::Rows rows;
        rows.reserve(rowCount);
        for (int r = 0; r < rowCount; ++r) {
            QStringList row;
            for (int c = 0; c < columnCount; ++c) {
                row.append(numbers ? QString::number(r * 1.25 + c) : QStringLiteral("Guest %1 field %2").arg(r).arg(c));
                textBytes += row.last().size() * 2;
            }
            rows.append(row);
        }
        path = folder.filePath(QStringLiteral("guests.xlsx"));
        SpreadsheetWriter::WriteWorkbook(path, rows, true);
    }
};

Workbook& workbook(int rowCount, bool numbers = false)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<Workbook>> books;
    auto& book = books[{ rowCount, numbers }];
    if (!book)
        book = std::make_unique<Workbook>(rowCount, numbers);
    return *book;
}

// Opens a workbook of one cell, so that what the last read kept open is given back before the next.
void forgetOpenWorkbook()
{
    static Workbook& tiny = workbook(1);
    SpreadsheetWriter::ReadWorkbook(tiny.path, true);
    ::malloc_trim(0);
}

SpreadsheetWriter::Rows readAllRows(const QString& path)
{
    SpreadsheetWriter::ReadWorkbook(path, true);
    Excel_Sheet_Number = 1;
    SpreadsheetWriter::ReadData_only_column();
    return SpreadsheetWriter::ReadWorkbook(path, false);
}

// Second argument 1: read as the program reads a large workbook, on a worker beside a progress window; third
// argument 1: every cell a number.
void BM_ReadWorkbookIntoRows(benchmark::State& state)
{
    const int rowCount = int(state.range(0));
    const Workbook& book = workbook(rowCount, state.range(2) != 0);
    setBackgroundReadBytes(state.range(1) ? -1 : std::numeric_limits<std::int64_t>::max());
    qint64 cells = 0;
    qint64 rise = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetOpenWorkbook();
        state.ResumeTiming();
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const SpreadsheetWriter::Rows rows = readAllRows(book.path);
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        cells = qint64(rows.size()) * (rows.isEmpty() ? 0 : rows.first().size());
        benchmark::DoNotOptimize(rows.size());
    }
    if (cells != qint64(rowCount) * columnCount)
        state.SkipWithError("the workbook did not read whole");
    state.counters["cells_per_second"]
        = benchmark::Counter(double(cells), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rise_MB"] = double(rise) / 1024;
    state.counters["text_MB"] = double(book.textBytes) / 1048576;
}
BENCHMARK(BM_ReadWorkbookIntoRows)
    ->Args({ 100000, 0, 0 })
    ->Args({ 100000, 1, 0 })
    ->Args({ 400000, 0, 0 })
    ->Args({ 100000, 0, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A peer program's time on the same workbook.
void runPeer(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    for (auto _ : state) {
        QProcess peer;
        peer.setStandardOutputFile(QProcess::nullDevice());
        peer.start(program, arguments);
        if (!peer.waitForFinished(600000) || peer.exitCode() != 0) {
            state.SkipWithError("the peer is missing or failed");
            break;
        }
    }
    state.counters["cells_per_second"]
        = benchmark::Counter(double(state.range(0)) * columnCount, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_UnzipWorksheetPart(benchmark::State& state)
{
    runPeer(state, QStringLiteral("unzip"),
        { QStringLiteral("-p"), workbook(int(state.range(0)), state.range(1) != 0).path,
            QStringLiteral("xl/worksheets/sheet1.xml") });
}
BENCHMARK(BM_UnzipWorksheetPart)
    ->Args({ 100000, 0 })
    ->Args({ 400000, 0 })
    ->Args({ 100000, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The worksheet and its shared strings inflated by `unzip -p`, parsed into pugixml's tree (which reads UTF-16
// too) and walked into rows as our reader fills them: what the streaming reader would cost as a tree reader.
QByteArray unzipPart(const QString& path, const QString& part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), { QStringLiteral("-p"), path, part });
    unzip.waitForFinished(600000);
    return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

void BM_PugixmlTreeOfUnzippedParts(benchmark::State& state)
{
    const QString path = workbook(int(state.range(0))).path;
    qint64 rise = 0;
    qint64 cells = 0;
    for (auto _ : state) {
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        QStringList strings;
        {
            const QByteArray part = unzipPart(path, QStringLiteral("xl/sharedStrings.xml"));
            pugi::xml_document document;
            document.load_buffer(part.constData(), std::size_t(part.size()));
            for (const pugi::xml_node item : document.document_element().children("si"))
                strings.append(QString::fromUtf8(item.child("t").text().get()));
        }
        const QByteArray part = unzipPart(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        pugi::xml_document document;
        if (!document.load_buffer(part.constData(), std::size_t(part.size()))) {
            state.SkipWithError("unzip or pugixml failed");
            break;
        }
        SpreadsheetWriter::Rows rows;
        for (const pugi::xml_node row : document.document_element().child("sheetData").children("row")) {
            QStringList values;
            for (const pugi::xml_node cell : row.children("c")) {
                const char* value = cell.child("v").text().get();
                values.append(std::string_view(cell.attribute("t").value()) == "s" ? strings.value(std::atoi(value))
                                                                                   : QString::fromUtf8(value));
            }
            rows.append(values);
        }
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        cells = qint64(rows.size()) * (rows.isEmpty() ? 0 : rows.first().size());
    }
    if (cells != state.range(0) * columnCount)
        state.SkipWithError("the workbook did not read whole");
    state.counters["cells_per_second"]
        = benchmark::Counter(double(cells), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rise_MB"] = double(rise) / 1024;
}
BENCHMARK(BM_PugixmlTreeOfUnzippedParts)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenpyxlReadOnly(benchmark::State& state)
{
    const QString script = QStringLiteral("import openpyxl,sys\n"
                                          "book = openpyxl.load_workbook(sys.argv[1], read_only=True)\n"
                                          "rows = [list(r) for r in book.worksheets[0].iter_rows(values_only=True)]\n");
    runPeer(state, QStringLiteral("/usr/bin/python3"),
        { QStringLiteral("-c"), script, workbook(int(state.range(0))).path });
}
BENCHMARK(BM_OpenpyxlReadOnly)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Hostile workbooks, written part by part in blocks so that making them costs no memory.
struct HostileBook {
    QTemporaryDir folder;
    QString path;
    explicit HostileBook(int kind)
    {
        path = folder.filePath(QStringLiteral("hostile.xlsx"));
        zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
        auto part = [&](const QString& name, const QByteArray& head, const QByteArray& block, qint64 blocks,
                        const QByteArray& tail) {
            zip_fileinfo info {};
            zipOpenNewFileInZip64(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                Z_BEST_COMPRESSION, 1);
            zipWriteInFileInZip(zip, head.constData(), unsigned(head.size()));
            for (qint64 i = 0; i < blocks; ++i)
                zipWriteInFileInZip(zip, block.constData(), unsigned(block.size()));
            zipWriteInFileInZip(zip, tail.constData(), unsigned(tail.size()));
            zipCloseFileInZip(zip);
        };
        const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
        const QByteArray head = "<worksheet><sheetData>";
        const QByteArray tail = "</sheetData></worksheet>";
        switch (kind) {
        case 0: // 65 million empty cells in one row
            part(sheet, head + "<row>", QByteArray("<c/>").repeated(1 << 16), 1000, "</row>" + tail);
            break;
        case 1: { // 10 million cells of 10 columns
            QByteArray rows;
            for (int r = 1; r <= 1000; ++r) {
                rows += "<row>";
                for (int c = 0; c < 10; ++c)
                    rows += "<c><v>" + QByteArray::number(r * 10 + c) + "</v></c>";
                rows += "</row>";
            }
            part(sheet, head, rows, 1000, tail);
            break;
        }
        case 2: // 65,000 entries
            for (int i = 0; i < 65000; ++i)
                part(QStringLiteral("xl/media/p%1.xml").arg(i), "<p/>", {}, 0, {});
            part(sheet, head, {}, 0, tail);
            break;
        case 3: // 900 MB of blanks
            part(sheet, head, QByteArray(1 << 20, ' '), 900, tail);
            break;
        default: // a 24 MB shared string that begins a reference and never ends it
            part(QStringLiteral("xl/sharedStrings.xml"), "<sst><si><t>&", QByteArray(1 << 20, 'x'), 24,
                "</t></si></sst>");
            part(sheet, head, "<row><c r=\"A1\" t=\"s\"><v>0</v></c></row>", 1, tail);
            break;
        }
        zipClose(zip, nullptr);
    }
};

void BM_RefuseHostileWorkbook(benchmark::State& state)
{
    static std::map<int, std::unique_ptr<HostileBook>> books;
    auto& book = books[int(state.range(0))];
    if (!book)
        book = std::make_unique<HostileBook>(int(state.range(0)));
    qint64 rise = 0;
    bool refused = true;
    for (auto _ : state) {
        forgetOpenWorkbook();
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const SpreadsheetWriter::Rows rows = readAllRows(book->path);
        refused = refused && !SpreadsheetWriter::lastError().isEmpty();
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
    }
    // The many-entries workbook is harmless once it is not unpacked: it reads, quickly.
    if (!refused && state.range(0) != 2)
        state.SkipWithError("the hostile workbook was not refused");
    state.counters["peak_rise_MB"] = double(rise) / 1024;
    state.counters["file_kB"] = double(QFileInfo(book->path).size()) / 1024;
}
BENCHMARK(BM_RefuseHostileWorkbook)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
