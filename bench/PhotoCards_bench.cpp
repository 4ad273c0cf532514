// A party of 500 guests whose card is a 12-megapixel photo filling a 148 x 105 mm front, with each guest's name
// over it: the cards exported at 300 dpi as JPEG files on every core, and printed two to an A4 sheet into a PDF
// file; and 10,000 printed, whose memory must stay as flat as 500's. Each run starts cold, as a real one does:
// nothing of the photo is held when it begins. Counters: the peak rise of resident memory over the run, the
// bytes written, and for the print the pixels per inch the photo is printed at, as pdfimages reads them.
#include "../tests/output/BatchTestSupport.h"

#include "BenchGuestList.h"
#include "BenchMemory.h"
#include "BenchPrintJob.h"

#include "model/PictureCache.h"
#include "output/Batch_Export.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kGuests = 500;
const QSizeF kCardPoints(148.0 / 25.4 * 72.0, 105.0 / 25.4 * 72.0);

// A 4000 x 3000 photo of our own: a sky-to-meadow gradient with a sun, and fine stripes and rings whose detail
// only a sharp print keeps. Written once per process.
const QString& photoPath()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x) {
                const double ring = std::sin(std::hypot(x - 2600.0, y - 900.0) / 3.0);
                const int detail = int(40 * ring) + ((x / 3 + y / 5) % 2 ? 12 : -12);
                row[x] = qRgb(std::clamp(60 + y / 20 + detail, 0, 255), std::clamp(120 + x / 40 + detail, 0, 255),
                    std::clamp(230 - y / 15 + detail, 0, 255));
            }
        }
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(255, 220, 90));
        painter.drawEllipse(QPointF(2600, 900), 400, 400);
        painter.end();
        const QString file = QDir(folder.path()).filePath(QStringLiteral("party.jpg"));
        photo.save(file, "JPEG", 92);
        return file;
    }();
    return path;
}

// The design as the editor hands it to a run: the photo filling the front, the guest's name over it.
std::shared_ptr<const Batch_Snapshot> partyCards(int guests)
{
    auto photo = batchtest::boundPicture(0, QString(), 0, QRectF(QPointF(0, 0), kCardPoints));
    photo->setFilePath(photoPath());
    photo->_isDrawingStroke = false;
    TSLRenderingSide side = batchtest::creditCardSide(0);
    side.canvasBounds = QRectF(QPointF(0, 0), kCardPoints);
    const Batch_Snapshot::Side front {
        { batchtest::boundText(1, QStringLiteral("names"), 0, QRectF(20, 20, 380, 30)), photo }, side
    };
    return Batch_Snapshot::take(front, {}, false, benchguests::records(guests), Barcode_Gen());
}

qint64 bytesIn(const QString& folder)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// The x pixels per inch of the largest picture pdfimages lists in the file; 0 without pdfimages.
double photoPixelsPerInch(const QString& pdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        return 0;
    QProcess lister;
    lister.start(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf });
    lister.waitForFinished(-1);
    double ppi = 0;
    qint64 largest = 0;
    for (const QByteArray& line : lister.readAllStandardOutput().split('\n').mid(2)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 14 && f[2] == "image" && f[3].toLongLong() * f[4].toLongLong() > largest) {
            largest = f[3].toLongLong() * f[4].toLongLong();
            ppi = f[12].toDouble();
        }
    }
    return ppi;
}

// Starts a run cold: the photo decoded by nothing yet, and the snapshot taken as the run's own.
std::shared_ptr<const Batch_Snapshot> coldStart(int guests)
{
    PictureCache::instance().clear();
    return partyCards(guests);
}

void BM_ExportPhotoCards(benchmark::State& state)
{
    photoPath();
    qint64 rise = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const auto snapshot = coldStart(kGuests);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        state.ResumeTiming();
        std::atomic<bool> stop { false };
        Batch_Export exporter(stop);
        const Batch_Export_Result result
            = exporter.run({ snapshot, folder.path(), QStringLiteral("jpg"), QStringLiteral("F"), false, 300, 0 });
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        if (!result.succeeded() || result.written != kGuests)
            state.SkipWithError("the cards were not all written");
        bytes = bytesIn(folder.path());
    }
    state.counters["cards_per_s"]
        = benchmark::Counter(double(kGuests) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_rise_MB"] = double(rise) / 1024.0;
    state.counters["files_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_ExportPhotoCards)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintPhotoCardsToPdf(benchmark::State& state)
{
    photoPath();
    const int guests = int(state.range(0));
    QTemporaryDir folder;
    const QString pdf = QDir(folder.path()).filePath(QStringLiteral("sheets.pdf"));
    qint64 rise = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Print_Job job = benchprint::tenCardsToAnA4Sheet(guests);
        job.layout.Print_Row = 2;
        job.layout.Print_Col = 1;
        job.layout.setCellSize(float(kCardPoints.width()), float(kCardPoints.height()));
        job.layout.horz_mar = float(595 - kCardPoints.width()) / 2;
        job.layout.vert_mar = float(842 - 2 * kCardPoints.height()) / 3;
        job.useData = true;
        job.snapshot = coldStart(guests);
        const Printing_View view(job);
        QFile file(pdf);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        state.ResumeTiming();
        {
            QPdfWriter writer(&file);
            writer.setResolution(72);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
            if (!view.print(writer, view.numberOfPages(false)))
                state.SkipWithError("the sheets were not all drawn");
        }
        file.close();
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
    }
    state.counters["cards_per_s"]
        = benchmark::Counter(double(guests) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_rise_MB"] = double(rise) / 1024.0;
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / 1e6;
    state.counters["photo_ppi"] = photoPixelsPerInch(pdf);
}
BENCHMARK(BM_PrintPhotoCardsToPdf)
    ->Arg(kGuests)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
