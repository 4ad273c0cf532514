// A folder of twenty 12-megapixel camera photos shown in the main window's background strip: the time from
// listing the folder to the strip's first paint, cold (no picture read before), by the program's road (headers
// only, photos' thumbnails read off the window's thread) and by two references: the road that checked every
// file whole before listing it and painted every thumbnail it showed on the window's thread, with and without
// the look at the coded data that the whole check makes.
#include "model/PictureCache.h"
#include "model/PictureSource.h"
#include "profiles/Browser_Picture_Model.h"
#include "profiles/Picture_Browser_View.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int photos = 20;

// The photos, written once: a gradient with fine detail, so that they compress as camera photos do.
const QStringList& cameraPhotos()
{
    static QTemporaryDir folder;
    static const QStringList paths = [] {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x * 255 / 4000, y * 255 / 3000, ((x ^ y) & 15) * 8 + 64);
        }
        const QString first = QDir(folder.path()).filePath(QStringLiteral("photo01.jpg"));
        photo.save(first, "JPG", 90);
        QStringList written { first };
        for (int i = 2; i <= photos; ++i) {
            written << QDir(folder.path()).filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
            QFile::copy(first, written.last());
        }
        return written;
    }();
    return paths;
}

enum class Road { Program, WholeCheck, DecodeCheck };

void listAndPaint(benchmark::State& state, Road road)
{
    const QStringList& paths = cameraPhotos();
    double thumbnailsShown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PictureCache::instance().clear();
        Browser_Picture_Model model;
        model.setDevicePixelRatio(1.0);
        Picture_Browser_View strip; // as the main window sets its strip up
        strip.setIconSize(Browser_Picture_Model::thumbnailSize() * 0.6);
        strip.setGridSize(QSize());
        strip.setModel(&model);
        strip.resize(1000, 130);
        if (road != Road::Program)
            model.setReadsThumbnailsInBackground(false);
        int shown = 0;
        if (road == Road::Program)
            QObject::connect(&model, &QAbstractItemModel::dataChanged, [&shown] { ++shown; });
        else
            shown = photos;
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        for (const QString& path : paths) {
            const QString name = QFileInfo(path).fileName();
            if (road == Road::Program) {
                model.appendPicture(path, name, name);
                continue;
            }
            const bool usable = road == Road::WholeCheck
                ? PictureSource::check(path).usable()
                : PictureSource::checkHeader(path).usable() && !PictureSource::forFile(path).working().isNull();
            if (usable)
                model.append(Browser_Picture_Object::initWithImage_Path(path, name, name));
        }
        strip.grab(); // the first paint
        state.PauseTiming();
        // Until the thumbnails that first paint showed are all drawn (at once on the references' roads).
        int painted = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            painted += strip.viewport()->rect().intersects(strip.visualRect(model.index(row)));
        while (shown < painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        thumbnailsShown = double(clock.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["thumbnails_shown_ms"] = thumbnailsShown;
}

void BM_BackgroundStripFirstPaint(benchmark::State& state)
{
    listAndPaint(state, Road::Program);
}
BENCHMARK(BM_BackgroundStripFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_BackgroundStripFirstPaintCheckingEveryFileWhole(benchmark::State& state)
{
    listAndPaint(state, Road::WholeCheck);
}
BENCHMARK(BM_BackgroundStripFirstPaintCheckingEveryFileWhole)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_BackgroundStripFirstPaintDecodingEveryFile(benchmark::State& state)
{
    listAndPaint(state, Road::DecodeCheck);
}
BENCHMARK(BM_BackgroundStripFirstPaintDecodingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
