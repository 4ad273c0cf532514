// A 48-megapixel phone photo (8000 x 6000) as a card background: the memory the open design holds for it,
// and one and ten A4 sheets of ten cards printed into a PDF (time, the PDF's size, the peak memory).
#include "model/Card_Background.h"
#include "model/PictureCache.h"
#include "output/Printing_View.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchPrintJob.h"

#include <malloc.h>

#include "BenchMemory.h"

namespace {

// The photo, written once: a gradient with some fine detail, so that it compresses as photos do.
const QString& phonePhoto()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = QDir(folder.path()).filePath(QStringLiteral("phone.jpg"));
        QImage photo(8000, 6000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x * 255 / 8000, y * 255 / 6000, ((x ^ y) & 15) * 8 + 64);
        }
        photo.save(file, "JPG", 90);
        return file;
    }();
    return path;
}

Card_Property photoSide()
{
    Card_Property side;
    side.setCard_fill_chk(true);
    side.setCard_fill_style(QStringLiteral("I"));
    side.setCard_BG_Image_Layout(QStringLiteral("Stretch"));
    side.setCard_BG_Image_Path(phonePhoto());
    side.setCard_BG_Image(cardbackground::held(phonePhoto(), side.Card_BG_Image_Layout(), QSizeF(243, 153)));
    return side;
}

void BM_BackgroundHeldByAnOpenDesign(benchmark::State& state)
{
    qint64 held = 0;
    qint64 rise = 0;
    phonePhoto();
    for (auto _ : state) {
        ::malloc_trim(0);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        const Card_Property side = photoSide();
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
        held = side.Card_BG_Image().sizeInBytes();
    }
    state.counters["held_MB"] = double(held) / 1048576;
    state.counters["peak_rise_MB"] = double(rise) / 1024;
}
BENCHMARK(BM_BackgroundHeldByAnOpenDesign)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintSheetsWithAPhotoBackground(benchmark::State& state)
{
    const int sheets = int(state.range(0));
    Batch_Snapshot::Side front;
    front.rendering.canvasBounds = QRectF(0, 0, 243, 153);
    front.rendering.property = photoSide();
    Print_Job job = benchprint::tenCardsToAnA4Sheet(10 * sheets);
    job.snapshot = Batch_Snapshot::take(front, {}, false, Record_Source(), Barcode_Gen());
    const Printing_View view(job);
    qint64 bytes = 0;
    qint64 rise = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PictureCache::instance().clear(); // each print reads the photo again, as a new job does
        ::malloc_trim(0);
        benchmemory::resetPeak();
        const qint64 before = benchmemory::statusField("VmRSS:");
        state.ResumeTiming();
        bytes = benchprint::printedPdfBytes(view);
        rise = std::max(rise, benchmemory::statusField("VmHWM:") - before);
    }
    state.counters["pdf_MB"] = double(bytes) / 1048576;
    state.counters["peak_rise_MB"] = double(rise) / 1024;
}
BENCHMARK(BM_PrintSheetsWithAPhotoBackground)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

} // namespace
