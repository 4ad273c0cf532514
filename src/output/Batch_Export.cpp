#include "output/Batch_Export.h"

#include "common/Common_Functions.h"
#include "output/Card_Image_File.h"
#include "output/Export_Folder_List.h"
#include "output/Run_Log.h"
#include "platform/QuickFileReplace.h"
#include "platform/RunLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

QString Batch_Export::frontPath(const QString& folder, int record, const QString& extension)
{
    return Card_Image_File::recordPath(folder, record, extension);
}

QString Batch_Export::backPath(const QString& frontPath)
{
    return Card_Image_File::backPath(frontPath);
}

bool Batch_Export::makeFolder(const QString& folder)
{
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

QString Batch_Export::exportRecord(const Batch_Export_Job& job, int record, Canvases& canvases) const
{
    const Batch_Snapshot& snapshot = *job.snapshot;
    const QString front = frontPath(job.folder, record, job.extension);
    auto render = [&](QImage& canvas, const char* side) -> const QImage& {
        if (!snapshot.renderInto(canvas, record, QLatin1String(side), job.dpi, canvases.bases))
            canvas = QImage(); // written as a failure, as a side that renders nothing is
        return canvas;
    };
    if (job.cardSide == QLatin1String("BOTH")) {
        const QImage& backImage = render(canvases.back, "B");
        const QImage& frontImage = render(canvases.front, "F");
        if (job.combined) {
            if (!Card_Image_File::combineInto(canvases.combined, frontImage, backImage))
                canvases.combined = QImage();
            return Card_Image_File::writeForBatch(canvases.combined, front, job.dpi);
        }
        const QString failure = Card_Image_File::writeForBatch(backImage, backPath(front), job.dpi);
        return failure.isEmpty() ? Card_Image_File::writeForBatch(frontImage, front, job.dpi) : failure;
    }
    if (job.cardSide == QLatin1String("F"))
        return Card_Image_File::writeForBatch(render(canvases.front, "F"), front, job.dpi);
    return Card_Image_File::writeForBatch(render(canvases.back, "B"), backPath(front), job.dpi);
}

namespace {

// The files of record i, in the order they are written.
QStringList recordFiles(const Batch_Export_Job& job, int record)
{
    const QString front = Batch_Export::frontPath(job.folder, record, job.extension);
    QStringList files;
    if (job.cardSide == QLatin1String("B") || (job.cardSide == QLatin1String("BOTH") && !job.combined))
        files << Batch_Export::backPath(front);
    if (job.cardSide != QLatin1String("B"))
        files << front;
    return files;
}

} // namespace

QSet<QString> Batch_Export::filesOf(const Batch_Export_Job& job)
{
    QSet<QString> names;
    const int records = job.snapshot ? job.snapshot->recordCount() : 0;
    for (int record = 0; record < records; ++record) {
        for (const QString& file : recordFiles(job, record))
            names.insert(QFileInfo(file).fileName());
    }
    return names;
}

bool Batch_Export::settleEarlierFiles(const Batch_Export_Job& job)
{
    QSet<QString> written = filesOf(job);
    written.insert(Run_Log::exportFileName); // replaced or removed after the run, as its cards are whole or not
    const QStringList left = Export_Folder_List::leftBesides(job.folder, written);
    if (left.isEmpty())
        return true;
    switch (Export_Folder_List::ask(job.folder, int(left.size()))) {
    case Export_Folder_List::Earlier::Cancel:
        return false;
    case Export_Folder_List::Earlier::Remove:
        Export_Folder_List::remove(job.folder, left);
        return true;
    case Export_Folder_List::Earlier::Keep:
        return true;
    }
    return true;
}

void Batch_Export::listFiles(const Batch_Export_Job& job, const std::vector<char>& done, Batch_Export_Result& result)
{
    QStringList written;
    QSet<QString> names;
    for (size_t record = 0; record < done.size(); ++record) {
        if (!done[record])
            continue;
        for (const QString& file : recordFiles(job, int(record))) {
            written << QFileInfo(file).fileName();
            names.insert(written.last());
        }
    }
    const QStringList listed = Export_Folder_List::listedFiles(job.folder);
    const bool earlierExport = !listed.isEmpty();
    QStringList earlier;
    for (const QString& name : listed) {
        if (!names.contains(name) && name != Run_Log::exportFileName)
            earlier << name;
    }
    // The list of cards not whole describes this run's cards: an earlier run's goes when these are whole.
    const QString logPath = QDir(job.folder).filePath(Run_Log::exportFileName);
    QStringList ours = earlier + written;
    if (job.snapshot && Run_Log::needed(*job.snapshot)) {
        QString reason;
        if (Run_Log::write(*job.snapshot, logPath, &reason)) {
            ours << Run_Log::exportFileName;
            result.notes += QStringLiteral("\n\n") + Run_Log::note(logPath);
        } else {
            result.notes += QStringLiteral("\n\nThe list of every card not whole could not be written to %1: %2")
                                .arg(logPath, reason);
        }
    } else if (listed.contains(Run_Log::exportFileName)) {
        Export_Folder_List::remove(job.folder, { Run_Log::exportFileName });
    }
    // A run that wrote nothing into a folder without a list leaves none.
    QString reason;
    if ((!ours.isEmpty() || QFileInfo::exists(QDir(job.folder).filePath(Export_Folder_List::fileName)))
        && !Export_Folder_List::write(job.folder, ours, &reason))
        Show_NSLog_Message(QStringLiteral("the list of the exported cards cannot be written: %1").arg(reason));
    if (!earlierExport)
        return;
    const QString cards = result.written == 1 ? QStringLiteral("the card of this export")
                                              : QStringLiteral("the %1 cards of this export").arg(result.written);
    result.folderNote = earlier.isEmpty()
        ? QStringLiteral("The folder now holds %1 and no card of an earlier export.").arg(cards)
        : QStringLiteral("The folder now holds %1 and %2 of an earlier export.")
              .arg(cards,
                  earlier.size() == 1 ? QStringLiteral("1 card picture")
                                      : QStringLiteral("%1 card pictures").arg(earlier.size()));
}

Batch_Export_Result Batch_Export::run(const Batch_Export_Job& job)
{
    Batch_Export_Result result;
    platform::removeLeftoverPartFiles(job.folder); // of earlier runs killed while they wrote
    result.records = job.snapshot ? job.snapshot->recordCount() : 0;
    started_ = 0;
    std::atomic<int> next { 0 };
    std::atomic<int> written { 0 };
    std::atomic<bool> failed { false };
    std::vector<char> done(size_t(std::max(0, result.records)), 0); // each record's own, set by its worker
    std::mutex failureLock;
    int failedRecord = result.records;
    // The files go to the disk while the next cards are drawn, not all at the end.
    platform::FileFlusher flusher;
    Batch_Card_Bases bases(job.dpi);

    // One record; false when there is none left to take.
    auto exportNext = [&](Canvases& canvases) {
        if (stop_.load() || failed.load())
            return false;
        const int record = next.fetch_add(1);
        if (record >= result.records)
            return false;
        started_.fetch_add(1);
        const QString failure = exportRecord(job, record, canvases);
        if (failure.isEmpty()) {
            written.fetch_add(1);
            done[size_t(record)] = 1;
            for (const QString& file : recordFiles(job, record))
                flusher.add(file, canvases.lane);
            return true;
        }
        failed = true;
        const std::lock_guard<std::mutex> guard(failureLock);
        // Of failures at once, the earliest record's is the one reported.
        if (record < failedRecord) {
            failedRecord = record;
            result.failure = failure;
        }
        return false;
    };

    // Each worker is a chain of tasks on Qt's own thread pool, one record a task. Painting on a thread of
    // that pool, Qt draws a picture on that thread instead of splitting it over the pool, so workers never
    // queue behind each other's pieces of drawing; and drawing that a window sends to the pool meanwhile gets
    // a thread as soon as one record is done, since its tasks go ahead of ours.
    struct Chains {
        QThreadPool* pool = QThreadPool::globalInstance();
        std::function<bool(Canvases&)> exportNext;
        QSemaphore ended;

        static void step(Chains* chains, const std::shared_ptr<Canvases>& canvases)
        {
            if (chains->exportNext(*canvases))
                chains->pool->start([chains, canvases] { step(chains, canvases); });
            else
                chains->ended.release(); // the chain's last touch of the run
        }
    } chains;
    chains.exportNext = exportNext;
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int count = std::clamp(job.threads > 0 ? job.threads : cores, 1, std::max(1, result.records));
    for (int i = 0; i < count; ++i) {
        auto canvases = std::make_shared<Canvases>();
        canvases->lane = i;
        canvases->bases = &bases;
        chains.pool->start([chains = &chains, canvases] { Chains::step(chains, canvases); });
    }
    chains.ended.acquire(count);

    QString unsynced;
    if (!flusher.finish(job.folder, &unsynced) && result.failure.isEmpty())
        result.failure = QStringLiteral("The cards could not be written to \"%1\": %2").arg(job.folder, unsynced);
    result.written = written.load();
    if (job.snapshot) {
        result.withPictureNotFound = job.snapshot->fillLog().recordsWithPictureNotFound();
        result.notes = job.snapshot->fillLog().notes();
        result.sheetNote = job.snapshot->fillLog().sheetNote();
    }
    result.stopped = stop_.load() && result.failure.isEmpty() && result.written < result.records;
    listFiles(job, done, result);
    return result;
}
