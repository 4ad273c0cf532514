#include "output/Batch_Export_Run.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "output/Barcode_Readability.h"
#include "output/Export_Folder_List.h"
#include "output/Open_Export_Log.h"
#include "output/Print_Design_Host.h"
#include "output/Send_Modeless.h"
#include "platform/GuiThread.h"

#include <QDir>
#include <QLabel>

void Batch_Export_Run::whileWindowAnswers(Send_Modeless& progress, const std::function<void()>& work,
    const std::function<int()>& done, std::chrono::milliseconds tick)
{
    platform::whileWindowAnswers(
        work, [&] { progress.update_sending_progress_bar(done()); }, tick);
    progress.update_sending_progress_bar(done());
}

Batch_Export_Result Batch_Export_Run::run(const QString& chosenFolder)
{
    noticePath_.clear();
    noticeMessage_.clear();
    Batch_Export_Result result;
    const Card_Export_Settings settings = host_.exportSettings();
    Batch_Export_Job job;
    job.snapshot = host_.takeSnapshot();
    job.cardSide = settings.cardSide;
    job.dpi = settings.dpi;
    if (!barcodesAllowRun(job)) {
        result.stopped = true;
        return result;
    }
    const QString target = QDir(chosenFolder).filePath(Batch_Export_Folder_Name);
    // The folder is opened once, before anything in it is looked at: the run reaches nothing else, even
    // when the folder is renamed and a link put in its place while the person is asked about it.
    if (Batch_Export::makeFolder(target))
        job.opened = platform::OpenFolder::open(target);
    if (!job.opened) {
        Show_MessageBox(QStringLiteral("Unable to continue saving barcode image.\n\nEither Destination Drive is "
                                       "inaccessible or there is no free space available in drive to save "
                                       "barcode image."));
        result.failure = target;
        return result;
    }
    job.snapshot->tellColumnsNotFound();
    job.folder = target;
    job.extension = settings.extension;
    job.combined = settings.combined && settings.cardSide == QLatin1String("BOTH");

    result = writeCards(job);
    if (result.cancelled) {
        Card_Value_In_Process = false;
        return result;
    }
    host_.Select_first_row_value_for_design();
    Card_Value_In_Process = false;
    tell(result, target);
    return result;
}

bool Batch_Export_Run::barcodesAllowRun(const Batch_Export_Job& job)
{
    Stop_SMS_Sending_Now = false;
    const int records = job.snapshot->recordCount();
    progress_.startRun(records);
    progress_.showWaiting(QStringLiteral("Looking at every card..."));
    progress_.waiting_label->show();
    progress_.show();
    // A symbol's size follows its value: every record's is made, once, and kept for the card that shows it.
    Barcode_Readability::Run_Check check;
    check.stopped = [] { return Stop_SMS_Sending_Now.load(); };
    Run_Look found;
    whileWindowAnswers(
        progress_,
        [&] {
            found = Barcode_Readability::lookAtRun(*job.snapshot, job.cardSide != QLatin1String("B"),
                job.cardSide != QLatin1String("F"), job.dpi, true, &check);
        },
        [&] { return check.total > 0 ? int(qint64(check.checked) * records / check.total) : 0; });
    progress_.showWaiting(QString());
    progress_.waiting_label->hide();
    progress_.hide();
    if (Stop_SMS_Sending_Now.load())
        return false;
    const QString question = Barcode_Readability::runQuestion(found, job.dpi, goOnQuestion());
    return question.isEmpty() || Show_YES_NO_MessageBox(question) == 1;
}

Batch_Export_Result Batch_Export_Run::writeCards(Batch_Export_Job job)
{
    Card_Value_In_Process = true;
    Stop_SMS_Sending_Now = false;
    progress_.startRun(job.snapshot->recordCount());
    progress_.show();

    // What the folder holds of earlier exports is looked at on a worker (a list may name a hundred thousand
    // cards); before anything is written, the person is asked about those of its cards this run leaves.
    Batch_Export_Result result;
    auto earlier = std::make_shared<Export_Folder_List::Look>();
    std::vector<Export_Folder_List::Entry> left;
    whileWindowAnswers(
        progress_,
        [&] {
            *earlier = Export_Folder_List::look(*job.opened);
            left = Batch_Export::earlierLeft(job, *earlier);
        },
        [] { return 0; });
    job.earlier = earlier;
    if (!left.empty() && !Stop_SMS_Sending_Now) {
        switch (Export_Folder_List::ask(job.folder, int(left.size()))) {
        case Export_Folder_List::Earlier::Cancel:
            progress_.hide();
            result.stopped = result.cancelled = true;
            return result;
        case Export_Folder_List::Earlier::Remove:
            job.removeEarlier = true;
            break;
        case Export_Folder_List::Earlier::Keep:
            break;
        }
    }

    // The run works on its own threads; the window keeps answering and the bar moves twice a second.
    Batch_Export exporter(Stop_SMS_Sending_Now);
    whileWindowAnswers(
        progress_, [&] { result = exporter.run(job); }, [&] { return exporter.started(); });
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
    for (const QString& told : { result.folderNote, result.sheetNote, note }) {
        if (!told.isEmpty())
            text += QStringLiteral("\n\n") + told;
    }
    return text;
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
