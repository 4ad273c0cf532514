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

QString Batch_Export::exportRecord(const Batch_Export_Job& job, const platform::OpenFolder& folder, int record,
    Canvases& canvases, std::vector<Export_Folder_List::Entry>& files) const
{
    const Batch_Snapshot& snapshot = *job.snapshot;
    const QString front = frontPath(job.folder, record, job.extension);
    auto render = [&](QImage& canvas, const char* side) -> const QImage& {
        if (!snapshot.renderInto(canvas, record, QLatin1String(side), job.dpi, canvases.bases))
            canvas = QImage(); // written as a failure, as a side that renders nothing is
        return canvas;
    };
    // Each file by its name in the open folder; the path names it in a failure.
    auto write = [&](const QImage& image, const QString& path) {
        Export_Folder_List::Entry entry { QFileInfo(path).fileName(), {} };
        const QString failure
            = Card_Image_File::writeForBatch(image, folder.place(entry.name), path, job.dpi, &entry.identity);
        if (failure.isEmpty())
            files.push_back(std::move(entry));
        return failure;
    };
    if (job.cardSide == QLatin1String("BOTH")) {
        const QImage& backImage = render(canvases.back, "B");
        const QImage& frontImage = render(canvases.front, "F");
        if (job.combined) {
            if (!Card_Image_File::combineInto(canvases.combined, frontImage, backImage))
                canvases.combined = QImage();
            return write(canvases.combined, front);
        }
        const QString failure = write(backImage, backPath(front));
        return failure.isEmpty() ? write(frontImage, front) : failure;
    }
    if (job.cardSide == QLatin1String("F"))
        return write(render(canvases.front, "F"), front);
    return write(render(canvases.back, "B"), backPath(front));
}

namespace {

QString listFailure(const platform::OpenFolder& folder, const QString& reason)
{
    return QStringLiteral("The list of the exported cards could not be written to \"%1\": %2")
        .arg(folder.filePath(Export_Folder_List::fileName), reason);
}

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

std::vector<Export_Folder_List::Entry> Batch_Export::earlierLeft(
    const Batch_Export_Job& job, const Export_Folder_List::Look& look)
{
    QSet<QString> written = filesOf(job);
    written.insert(Run_Log::exportFileName); // replaced or removed after the run, as its cards are whole or not
    return Export_Folder_List::leftBesides(look, written);
}

void Batch_Export::finishList(const Batch_Export_Job& job, const platform::OpenFolder& folder,
    Export_Folder_List::Writer& list, const Earlier& earlier, Batch_Export_Result& result)
{
    // The list of cards not whole describes this run's cards: an earlier run's goes when these are whole.
    const QString logPath = folder.filePath(Run_Log::exportFileName);
    QString reason;
    if (job.snapshot && Run_Log::needed(*job.snapshot)) {
        Export_Folder_List::Entry log { Run_Log::exportFileName, {} };
        if (Run_Log::write(*job.snapshot, folder.place(log.name), &reason, &log.identity)
            && list.add({ log }, &reason)) {
            result.notes += QStringLiteral("\n\n") + Run_Log::note(logPath);
        } else {
            result.notes += QStringLiteral("\n\nThe list of every card not whole could not be written to %1: %2")
                                .arg(logPath, reason);
        }
    } else {
        for (const Export_Folder_List::Entry& entry : earlier.look.files) {
            if (entry.name == Run_Log::exportFileName)
                Export_Folder_List::remove(folder, { entry });
        }
    }
    if (!list.finish(&reason))
        Show_NSLog_Message(QStringLiteral("the list of the exported cards cannot be written: %1").arg(reason));

    QStringList sentences { Export_Folder_List::keptNote(
        Export_Folder_List::keptBesides(earlier.look.changed, earlier.ours),
        Export_Folder_List::keptBesides(earlier.look.unproven, earlier.ours)) };
    if (!earlier.look.files.empty()) {
        const qsizetype left = qsizetype(earlier.left.size()) - earlier.removed.size();
        const QString cards = result.written == 1 ? QStringLiteral("the card of this export")
                                                  : QStringLiteral("the %1 cards of this export").arg(result.written);
        sentences << (left == 0
                ? QStringLiteral("The folder now holds %1 and no card of an earlier export.").arg(cards)
                : QStringLiteral("The folder now holds %1 and %2 of an earlier export.")
                      .arg(cards,
                          left == 1 ? QStringLiteral("1 card picture") : QStringLiteral("%1 card pictures").arg(left)));
    }
    if (list.keepsNoList())
        sentences << Export_Folder_List::noListNote(folder.path());
    sentences.removeAll(QString());
    result.folderNote = sentences.join(QLatin1Char(' '));
}

Batch_Export_Result Batch_Export::run(const Batch_Export_Job& job)
{
    Batch_Export_Result result;
    result.records = job.snapshot ? job.snapshot->recordCount() : 0;
    started_ = 0;
    QString reason;
    const std::shared_ptr<const platform::OpenFolder> folder
        = job.opened ? job.opened : platform::OpenFolder::open(job.folder, &reason);
    if (!folder) {
        result.failure = QStringLiteral("The cards could not be written to \"%1\": %2").arg(job.folder, reason);
        return result;
    }
    platform::removeLeftoverPartFiles(folder->handle()); // of earlier runs killed while they wrote

    // The earlier exports' files: those the person chose to remove go before any card is written, the others
    // stay on the list, begun anew with them, to which each card is added as soon as it is written.
    Earlier earlier;
    earlier.look = job.earlier ? *job.earlier : Export_Folder_List::look(*folder);
    earlier.ours = filesOf(job);
    earlier.ours.insert(Run_Log::exportFileName);
    earlier.left = Export_Folder_List::leftBesides(earlier.look, earlier.ours);
    if (job.removeEarlier)
        earlier.removed = Export_Folder_List::remove(*folder, earlier.left);
    std::vector<Export_Folder_List::Entry> carried;
    for (const Export_Folder_List::Entry& entry : earlier.look.files) {
        if (!earlier.removed.contains(entry.name))
            carried.push_back(entry);
    }
    Export_Folder_List::Writer list(folder, std::move(carried));
    if (earlier.look.listed && !list.begin(&reason)) {
        result.failure = listFailure(*folder, reason);
        return result;
    }

    std::atomic<int> next { 0 };
    std::atomic<int> written { 0 };
    std::atomic<bool> failed { false };
    std::mutex failureLock;
    int failedRecord = result.records;
    // The files go to the disk while the next cards are drawn, not all at the end.
    platform::FileFlusher flusher(16, folder->handle());
    Batch_Card_Bases bases(job.dpi);

    // One record; false when there is none left to take.
    auto exportNext = [&](Canvases& canvases) {
        if (stop_.load() || failed.load())
            return false;
        const int record = next.fetch_add(1);
        if (record >= result.records)
            return false;
        started_.fetch_add(1);
        std::vector<Export_Folder_List::Entry> files;
        QString failure = exportRecord(job, *folder, record, canvases, files);
        // The card is on the list before the worker takes the next one: a run killed after it leaves a
        // list that names it.
        QString listed;
        if (!list.add(files, &listed) && failure.isEmpty())
            failure = listFailure(*folder, listed);
        if (failure.isEmpty()) {
            written.fetch_add(1);
            for (const Export_Folder_List::Entry& file : files)
                flusher.add(file.name, canvases.lane);
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
    if (!flusher.finish(folder->path(), &unsynced) && result.failure.isEmpty())
        result.failure = QStringLiteral("The cards could not be written to \"%1\": %2").arg(job.folder, unsynced);
    result.written = written.load();
    if (job.snapshot) {
        result.withPictureNotFound = job.snapshot->fillLog().recordsWithPictureNotFound();
        result.notes = job.snapshot->fillLog().notes();
        result.sheetNote = job.snapshot->fillLog().sheetNote();
    }
    result.stopped = stop_.load() && result.failure.isEmpty() && result.written < result.records;
    finishList(job, *folder, list, earlier, result);
    return result;
}
