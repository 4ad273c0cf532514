// The check a picture passes when it is brought in, on files sent to hold the program up, and on a photo of
// the largest camera size: each judged from its first bytes or its coded data, against the reading of its
// header alone, the least any reader does before it decodes.
#include "common/File_Functions.h"
#include "common/Globals.h"
#include "model/PictureCache.h"
#include "model/PictureSource.h"

#include "model/CraftedPictures.h"

#include <QFileInfo>
#include <QImageReader>

#include <benchmark/benchmark.h>

namespace {

// 0 a JPEG whose last scan is repeated 1,000 times, 1 a PNG of 100 x 100 pixels whose data inflate to 5 GB,
// 2 a progressive 4:4:4 JPEG of 70 million pixels cut in half, 3 a JPEG cut inside its header, 4 a
// 102-million-pixel camera JPEG, 5 a progressive JPEG of 12000 x 12000 grey pixels in 100 scans, 6 a whole
// progressive 4:4:4 JPEG of 70 million pixels.
QString hostileFile(int kind)
{
    Prepare_Resource_Folder();
    const QString path = Resource_Path + QStringLiteral("/bench_hostile_%1").arg(kind);
    if (QFileInfo::exists(path))
        return path;
    QByteArray bytes;
    switch (kind) {
    case 0:
        bytes = picturefiles::flatJpeg({ 4096, 4096 }, 1, 1, true, 1000);
        break;
    case 1:
        bytes = picturefiles::inflatingPng({ 100, 100 }, 5'000'000'000);
        break;
    case 2:
        bytes = picturefiles::flatJpeg({ 8400, 8400 }, 3, 1, true);
        bytes = bytes.left(bytes.size() / 2) + "\xFF\xD9";
        break;
    case 3:
        bytes = picturefiles::flatJpeg({ 40, 20 }, 3, 2, false).left(30);
        break;
    case 4:
        bytes = picturefiles::flatJpeg({ 11648, 8736 }, 3, 2, false);
        break;
    case 5:
        bytes = picturefiles::hundredScanJpeg();
        break;
    default:
        bytes = picturefiles::fullColourProgressiveJpeg();
        break;
    }
    picturefiles::write(path, bytes);
    return path;
}

void BM_PictureCheckHostile(benchmark::State& state)
{
    const QString path = hostileFile(int(state.range(0)));
    bool taken = false;
    for (auto _ : state) {
        PictureCache::instance().clear();
        taken = PictureSource::check(path).usable();
    }
    state.counters["taken"] = taken; // only the whole photos (4 to 6) should be
}
BENCHMARK(BM_PictureCheckHostile)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void BM_PictureHeaderHostile(benchmark::State& state)
{
    const QString path = hostileFile(int(state.range(0)));
    for (auto _ : state) {
        QImageReader reader(path);
        benchmark::DoNotOptimize(reader.size());
    }
}
BENCHMARK(BM_PictureHeaderHostile)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

} // namespace
