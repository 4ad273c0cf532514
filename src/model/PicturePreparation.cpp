#include "model/PicturePreparation.h"

#include "model/PictureCache.h"
#include "model/PictureRenditions.h"
#include "model/TSLImage.h"

#include <QSet>

#include <algorithm>
#include <functional>
#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Job {
    PictureSource source;
    ImageAdjustments values;
};

struct DeviceCopyJob {
    PictureSource source;
    ImageAdjustments values;
    QSize devicePixels;
};

bool shows(const TSLImage& item, const QRectF& area)
{
    if (!item.ctrl_is_visible || item._file_path.isEmpty() || item.pictureSource().isNull()
        || !(item.img_trnsp_val > 0.0f))
        return false;
    return area.isNull() || area.intersects(item.drawingBounds());
}

// The picture items the drawing of the area will show a picture for.
std::vector<const TSLImage*> shownPictureItems(const TSLGraphicList& items, const QRectF& area)
{
    std::vector<const TSLImage*> shown;
    for (const TSLGraphicPtr& graphic : items) {
        const auto* item = dynamic_cast<const TSLImage*>(graphic.get());
        if (item && shows(*item, area))
            shown.push_back(item);
    }
    return shown;
}

// The pictures to make: one per source and values, not held yet, small enough to decode beside others.
std::vector<Job> jobsFor(const std::vector<const TSLImage*>& items, qint64 largestDecode)
{
    std::vector<Job> jobs;
    QSet<QByteArray> seen;
    for (const TSLImage* item : items) {
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

// The screen copies to make: one per picture and size in device pixels, not held yet, of pictures that
// are held or are being made.
std::vector<DeviceCopyJob> deviceCopyJobsFor(
    const std::vector<const TSLImage*>& items, const QTransform& toDevice, const std::vector<Job>& made)
{
    QSet<QByteArray> adjustedSoon;
    for (const Job& job : made)
        adjustedSoon.insert(picturerenditions::adjustedKey(job.source, job.values));
    std::vector<DeviceCopyJob> jobs;
    QSet<QByteArray> seen;
    for (const TSLImage* item : items) {
        const ImageAdjustments values = item->adjustments();
        const QSize pixels = item->devicePixelsUnder(toDevice);
        const PictureSource& source = item->pictureSource();
        if (!picturerenditions::needsDeviceCopy(source, values, pixels))
            continue;
        const QByteArray adjusted = picturerenditions::adjustedKey(source, values);
        const QByteArray key = picturerenditions::deviceCopyKey(source, values, pixels);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (picturerenditions::isDeviceCopyHeld(source, values, pixels))
            continue;
        if (!adjustedSoon.contains(adjusted) && !picturerenditions::isHeld(source, values))
            continue; // too large to decode beside others: the drawing makes it
        jobs.push_back({ source, values, pixels });
    }
    return jobs;
}

// Runs make(i) for every i below count on the calling thread and up to threads - 1 more.
void runSideBySide(std::size_t count, int threads, const std::function<void(std::size_t)>& make)
{
    std::atomic<std::size_t> next { 0 };
    auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            make(i);
    };
    std::vector<std::thread> workers;
    const std::size_t helpers = std::min<std::size_t>(count, std::size_t(threads)) - 1;
    for (std::size_t t = 0; t < helpers; ++t)
        workers.emplace_back(work);
    work(); // the calling thread takes its share
    for (std::thread& worker : workers)
        worker.join();
}

} // namespace

void preparePictures(const TSLGraphicList& items, const QRectF& area, const std::optional<QTransform>& toDevice)
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
    const std::vector<const TSLImage*> shown = shownPictureItems(items, area);
    const std::vector<Job> jobs = jobsFor(shown, largestDecode);
    // One picture alone is made as fast by the drawing itself.
    if (jobs.size() >= 2) {
        runSideBySide(
            jobs.size(), threads, [&](std::size_t i) { picturerenditions::adjusted(jobs[i].source, jobs[i].values); });
    }
    if (!toDevice)
        return;
    // Scaling a large picture down for the screen costs about as much as reading it: a side of many
    // picture items at as many sizes gets its copies side by side too.
    const std::vector<DeviceCopyJob> copies = deviceCopyJobsFor(shown, *toDevice, jobs);
    if (copies.size() >= 2) {
        runSideBySide(copies.size(), threads, [&](std::size_t i) {
            picturerenditions::forDevice(copies[i].source, copies[i].values, copies[i].devicePixels);
        });
    }
}
