#include "output/Batch_Export_Run.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "output/Open_Export_Log.h"
#include "output/Print_Design_Host.h"
#include "output/Send_Modeless.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <thread>

Batch_Export_Result Batch_Export_Run::run(const QString& chosenFolder)
{
    noticePath_.clear();
    noticeMessage_.clear();
    Batch_Export_Result result;
    const QString target = QDir(chosenFolder).filePath(Batch_Export_Folder_Name);
    if (!Batch_Export::makeFolder(target)) {
        Show_MessageBox(QStringLiteral("Unable to continue saving barcode image.\n\nEither Destination Drive is "
                                       "inaccessible or there is no free space available in drive to save "
                                       "barcode image."));
        result.failure = target;
        return result;
    }
    const Card_Export_Settings settings = host_.exportSettings();
    Batch_Export_Job job;
    job.snapshot = host_.takeSnapshot();
    job.snapshot->tellColumnsNotFound();
    job.folder = target;
    job.extension = settings.extension;
    job.cardSide = settings.cardSide;
    job.combined = settings.combined && settings.cardSide == QLatin1String("BOTH");
    job.dpi = settings.dpi;

    result = writeCards(job);
    host_.Select_first_row_value_for_design();
    Card_Value_In_Process = false;
    tell(result, target);
    return result;
}

Batch_Export_Result Batch_Export_Run::writeCards(const Batch_Export_Job& job)
{
    Card_Value_In_Process = true;
    Stop_SMS_Sending_Now = false;
    progress_.startRun(job.snapshot->recordCount());
    progress_.show();

    // The run works on its own threads; the window keeps answering and the bar moves twice a second. Events
    // are taken as they come rather than in an event loop of its own, which ends at once in an application
    // asked to quit and would leave the window frozen until the last card is written.
    Batch_Export exporter(Stop_SMS_Sending_Now);
    Batch_Export_Result result;
    std::atomic<bool> finished { false };
    std::thread runner([&] {
        result = exporter.run(job);
        finished = true;
    });
    QTimer ticks;
    ticks.setInterval(500);
    QObject::connect(
        &ticks, &QTimer::timeout, &progress_, [&] { progress_.update_sending_progress_bar(exporter.started()); });
    ticks.start();
    while (!finished.load())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    runner.join();
    progress_.update_sending_progress_bar(exporter.started());
    progress_.hide();
    return result;
}

QString Batch_Export_Run::finishedMessage(const Batch_Export_Result& result)
{
    const QString note
        = result.notes.isEmpty() ? Record_Fill_Log::pictureNotFoundNote(result.withPictureNotFound) : result.notes;
    // A card that went without part of its data is no success.
    QString text = result.stopped ? QStringLiteral("The export was stopped: %1 of %2 cards have been exported.")
                                        .arg(result.written)
                                        .arg(result.records)
        : note.isEmpty() ? QStringLiteral("Card has been exported successfully.")
                         : QStringLiteral("The cards have been exported, but not all of them are whole.");
    return note.isEmpty() ? text : text + QStringLiteral("\n\n") + note;
}

void Batch_Export_Run::tell(const Batch_Export_Result& result, const QString& folder)
{
    if (!result.succeeded()) {
        Show_MessageBox(result.failure);
        return;
    }
    noticePath_ = folder;
    noticeMessage_ = finishedMessage(result);
    Open_Export_Log::defaultInstance().Open_Export_File_Box(noticePath_, noticeMessage_);
}
