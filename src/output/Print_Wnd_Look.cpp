// The print window's look at every card of a job before it is drawn, and what the person is told of the cards
// afterwards.
#include "output/Print_Wnd.h"

#include "common/Common_Functions.h"
#include "output/Barcode_Readability.h"
#include "output/Run_Log.h"
#include "platform/GuiThread.h"

#include <QProgressDialog>

#include <atomic>

bool Print_Wnd::cardsAllowPrinting(const Print_Job& job)
{
    // Sheets have no pixels of their own: a printer draws a barcode at its own resolution, so only the texts
    // that their box or the card cuts are told.
    const QString& side = job.layout.Print_Card_Side;
    QProgressDialog progress(QStringLiteral("Looking at every card..."), QStringLiteral("Stop"), 0, 1000, this);
    progress.setWindowModality(Qt::WindowModal);
    // The bar shows once the look has lasted five of its ticks.
    progress.setMinimumDuration(int(5 * lookTick_.count()));
    progress.setValue(0);
    std::atomic<bool> stop { false };
    Barcode_Readability::Run_Check check;
    check.stopped = [&stop] { return stop.load(); };
    Run_Look found;
    const auto follow = [&] {
        const int total = check.total.load();
        const int permille = total > 0 ? int(qint64(check.checked.load()) * 1000 / total) : 0;
        stop = stop || progress.wasCanceled(); // before the bar's end resets the dialog
        progress.setValue(permille);
        emit lookFollowed(permille);
    };
    // The window keeps answering while the look goes on, and the bar follows it at every tick.
    platform::whileWindowAnswers(
        [&] {
            found = Barcode_Readability::lookAtRun(
                *job.snapshot, side != QLatin1String("B"), side != QLatin1String("F"), 0, job.useData, &check);
        },
        follow, lookTick_);
    follow();
    progress.reset();
    if (stop.load())
        return false;
    const QString question = Barcode_Readability::runQuestion(found, 0, QStringLiteral("Print the cards anyway?"));
    return question.isEmpty() || Show_YES_NO_MessageBox(question) == 1;
}

void Print_Wnd::tellCardNotes(const Print_Job& printed)
{
    // Without records every card is the design as it stands: its cut texts are told as an export tells them.
    QString notes = printed.useData ? printed.snapshot->fillLog().notes()
                                    : Record_Fill_Log::textsCutNote(printed.snapshot->textsCut());
    // A list beside the file tells of the cards it holds: an earlier job's goes when these are whole.
    const bool listed = printed.useData && !printed.snapshot->fillLog().whole();
    if (!listed && !sheetsFile_.isEmpty())
        Run_Log::removeBeside(sheetsFile_);
    if (notes.isEmpty())
        return;
    if (printed.useData) {
        // Beside the sheets' file; sheets sent to a printer leave theirs among the data folder's logs.
        const QString path = sheetsFile_.isEmpty() ? Run_Log::inPrintLogs() : Run_Log::besideFile(sheetsFile_);
        notes += QStringLiteral("\n\n") + Run_Log::writeAndNote(*printed.snapshot, path);
    }
    Show_MessageBox(notes);
}
