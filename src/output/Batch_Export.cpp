#include "output/Batch_Export.h"

#include "editor/TSLWindowController.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

QImage Combined_Card_Image(const QImage& front, const QImage& back)
{
    if (front.isNull() || back.isNull())
        return QImage();
    QImage combined(front.width(), front.height() * 2, QImage::Format_ARGB32_Premultiplied);
    combined.fill(Qt::transparent);
    QPainter painter(&combined);
    painter.drawImage(0, 0, front);
    painter.drawImage(0, front.height(), back);
    return combined;
}

QString Batch_Export::frontPath(const QString& folder, int record, const QString& extension)
{
    return QDir(folder).filePath(QStringLiteral("Card_%1.%2").arg(record + 1).arg(extension));
}

QString Batch_Export::backPath(const QString& frontPath)
{
    return TSLWindowController::Create_Back_Card_Path(frontPath);
}

bool Batch_Export::makeFolder(const QString& folder)
{
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

QString Batch_Export::exportRecord(const Batch_Export_Job& job, int record) const
{
    const Batch_Snapshot& snapshot = *job.snapshot;
    const QString front = frontPath(job.folder, record, job.extension);
    auto write = [&job](const QImage& image, const QString& path) -> QString {
        QString reason;
        if (TSLWindowController::Save_gen_image(image, path, &reason, job.dpi))
            return QString();
        return QStringLiteral("Card could not be exported to \"%1\": %2").arg(path, reason);
    };
    if (job.cardSide == QLatin1String("BOTH")) {
        const QImage backImage = snapshot.renderImage(record, QStringLiteral("B"), job.dpi);
        const QImage frontImage = snapshot.renderImage(record, QStringLiteral("F"), job.dpi);
        if (job.combined)
            return write(Combined_Card_Image(frontImage, backImage), front);
        const QString failure = write(backImage, backPath(front));
        return failure.isEmpty() ? write(frontImage, front) : failure;
    }
    if (job.cardSide == QLatin1String("F"))
        return write(snapshot.renderImage(record, QStringLiteral("F"), job.dpi), front);
    return write(snapshot.renderImage(record, QStringLiteral("B"), job.dpi), backPath(front));
}

Batch_Export_Result Batch_Export::run(const Batch_Export_Job& job)
{
    Batch_Export_Result result;
    result.records = job.snapshot ? job.snapshot->recordCount() : 0;
    started_ = 0;
    std::atomic<int> next { 0 };
    std::atomic<int> written { 0 };
    std::atomic<bool> failed { false };
    std::mutex failureLock;
    int failedRecord = result.records;

    auto work = [&] {
        for (;;) {
            if (stop_.load() || failed.load())
                return;
            const int record = next.fetch_add(1);
            if (record >= result.records)
                return;
            started_.fetch_add(1);
            const QString failure = exportRecord(job, record);
            if (failure.isEmpty()) {
                written.fetch_add(1);
                continue;
            }
            failed = true;
            const std::lock_guard<std::mutex> guard(failureLock);
            // Of failures at once, the earliest record's is the one reported.
            if (record < failedRecord) {
                failedRecord = record;
                result.failure = failure;
            }
        }
    };

    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int count = std::clamp(job.threads > 0 ? job.threads : cores, 1, std::max(1, result.records));
    std::vector<std::thread> workers;
    for (int i = 1; i < count; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();

    result.written = written.load();
    result.stopped = stop_.load() && result.failure.isEmpty() && result.written < result.records;
    return result;
}
