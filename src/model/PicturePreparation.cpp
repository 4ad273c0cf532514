#include "model/PicturePreparation.h"

#include "model/PictureCache.h"
#include "model/PictureRenditions.h"
#include "model/TSLImage.h"

#include <QSet>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Job {
    PictureSource source;
    ImageAdjustments values;
};

bool shows(const TSLImage& item, const QRectF& area)
{
    if (!item.ctrl_is_visible || item._file_path.isEmpty() || item.pictureSource().isNull()
        || !(item.img_trnsp_val > 0.0f))
        return false;
    return area.isNull() || area.intersects(item.drawingBounds());
}

// The pictures to make: one per source and values, not held yet, small enough to decode beside others.
std::vector<Job> jobsFor(const TSLGraphicList& items, const QRectF& area, qint64 largestDecode)
{
    std::vector<Job> jobs;
    QSet<QByteArray> seen;
    for (const TSLGraphicPtr& graphic : items) {
        const auto* item = dynamic_cast<const TSLImage*>(graphic.get());
        if (!item || !shows(*item, area))
            continue;
        const ImageAdjustments values = item->adjustments();
        const QByteArray key = picturerenditions::adjustedKey(item->pictureSource(), values);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (picturerenditions::isHeld(item->pictureSource(), values))
            continue;
        const QSize pixels = item->pictureSource().pixelSize();
        if (pixels.isEmpty() || qint64(pixels.width()) * pixels.height() * 4 > largestDecode)
            continue;
        jobs.push_back({ item->pictureSource(), values });
    }
    return jobs;
}

} // namespace

void preparePictures(const TSLGraphicList& items, const QRectF& area)
{
    // One preparation at a time in the program keeps the decodes in flight within the bound below; a
    // caller that finds one running leaves its pictures to its drawing.
    static std::atomic<bool> running { false };
    if (running.exchange(true))
        return;
    struct Done {
        ~Done() { running = false; }
    } done;

    const int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    // Decodes running together stay within half the budget, so that making them cannot push out more
    // than the cache would give up for the pictures anyway.
    const qint64 largestDecode = PictureCache::instance().budget() / 2 / threads;
    const std::vector<Job> jobs = jobsFor(items, area, largestDecode);
    if (jobs.size() < 2)
        return; // one picture is made as fast by the drawing itself
    std::atomic<std::size_t> next { 0 };
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++)
            picturerenditions::adjusted(jobs[i].source, jobs[i].values);
    };
    std::vector<std::thread> workers;
    const std::size_t count = std::min<std::size_t>(jobs.size(), std::size_t(threads)) - 1;
    for (std::size_t t = 0; t < count; ++t)
        workers.emplace_back(work);
    work(); // the calling thread takes its share
    for (std::thread& worker : workers)
        worker.join();
}
