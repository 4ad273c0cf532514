// The print window's jobs: the size check, the preview and the sheets sent to a printer or a PDF file.
#include "output/Print_Wnd.h"

#include "ui_Print_Wnd.h"

#include "common/Common_Functions.h"
#include "output/Open_Export_Log.h"
#include "output/Print_Design_Host.h"
#include "output/Printing_View.h"
#include "output/Record_Fill.h"
#include "platform/CheckedSave.h"
#include "platform/PrintQueue.h"
#include "platform/UiSeam.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QTemporaryDir>

namespace {

QString couldNotPrint(const QString& printer, const QString& reason)
{
    return QStringLiteral("The sheets could not be printed on %1: %2.").arg(printer, reason);
}

// What the bound sheet told of its rows, no fault of any card: said with the sheets, after their words.
QString sheetNote(const Print_Job& job)
{
    const QString note = job.useData && job.snapshot ? job.snapshot->fillLog().sheetNote() : QString();
    return note.isEmpty() ? QString() : QStringLiteral("\n\n") + note;
}

} // namespace

bool Print_Wnd::sizeFitsPaper() const
{
    const Print_Sheet_Layout& l = layout_;
    return l.label_width + l.Left_Mar + l.Rite_Mar + l.horz_mar <= l.paper_width
        && l.label_hight + l.Top_Mar + l.Bot_Mar + l.vert_mar <= l.paper_hight;
}

Print_Job Print_Wnd::currentJob() const
{
    Print_Job job;
    job.layout = layout_;
    job.Total_Label_Real = ui_->Total_Stepper->value();
    job.useData = host_ && (host_->usesSeries() || host_->usesSpreadsheet());
    if (host_)
        job.snapshot = host_->takeSnapshot();
    return job;
}

void Print_Wnd::Execute_Printing(bool preview)
{
    if (!sizeFitsPaper()
        && !Show_YES_NO_MessageBox(QStringLiteral("'Card Size' is bigger than selected 'Paper Size' or drawn label may "
                                                  "be out of margin area.\n\nDo you want to continue?")))
        return;
    const Print_Job job = currentJob();
    if (job.useData && job.snapshot)
        job.snapshot->tellColumnsNotFound();
    if (!canPrint(job) || !cardsAllowPrinting(job))
        return;
    const std::optional<Print_Job> printed = !preview || previewSheets(job) ? printSheets() : std::nullopt;
    if (printed)
        tellCardNotes(*printed);
    if (job.useData && host_)
        host_->Select_first_row_value_for_design();
}

bool Print_Wnd::canPrint(const Print_Job& job)
{
    if (job.Total_Label_Real <= 0)
        Show_MessageBox(QStringLiteral("There is no barcode to print."));
    return job.Total_Label_Real > 0 && job.snapshot;
}

// The preview shows every card of the job on the paper and in the orientation its own buttons choose, each
// time from the first record; the window takes them over. True when its Print was pressed: the window then
// prints as its own Print does, with its copies.
bool Print_Wnd::previewSheets(const Print_Job& job)
{
    Print_Job shown = job;
    // Told once, before the preview opens or when its paper makes the job longer.
    bool capTold = Printing_View(job).numberOfPages(false) > Printing_View::previewSheetCap;
    if (capTold)
        Show_MessageBox(Printing_View::previewCapMessage());
    printInfo_->setDocName(host_ ? host_->designName() : QString());
    QPrintPreviewDialog previewer(printInfo_.get(), this);
    previewer.setObjectName(QStringLiteral("printPreview"));
    // Without records the fit rule makes the window's count one sheet of copies; the preview's paper must not
    // change the count the person chose for the job it shows.
    int total = ui_->Total_Stepper->value();
    const auto follow = [this, &total] {
        followPrinter();
        ui_->Total_Stepper->setValue(total);
    };
    connect(
        &previewer, &QPrintPreviewDialog::paintRequested, this, [this, &shown, &capTold, &follow](QPrinter* printer) {
            follow();
            shown.layout = layout_;
            const Printing_View view(shown);
            const int pages = view.numberOfPages(false);
            if (pages > Printing_View::previewSheetCap && !capTold) {
                capTold = true;
                Show_MessageBox(Printing_View::previewCapMessage());
            }
            Printing_View::Prepare_Printer(*printer);
            view.print(*printer, std::min(pages, int(Printing_View::previewSheetCap)));
        });
    bool printPressed = false;
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : previewer.findChildren<QAction*>()) {
        if (action->text() != print)
            continue;
        disconnect(action, &QAction::triggered, &previewer, nullptr);
        connect(action, &QAction::triggered, &previewer, [&previewer, &printPressed] {
            printPressed = true;
            previewer.accept();
        });
    }
    // Records that change while it is open are shown, and printed from it, as the window now counts them.
    previewFollows_ = [this, &shown, &total, &previewer] {
        total = shown.Total_Label_Real = ui_->Total_Stepper->value();
        if (host_)
            shown.snapshot = host_->takeSnapshot();
        if (auto* pages = previewer.findChild<QPrintPreviewWidget*>())
            pages->updatePreview();
    };
    {
        const auto unfollow = qScopeGuard([this] { previewFollows_ = nullptr; });
        platform::ui().runModal(previewer);
    }
    follow();
    return printPressed;
}

// The job is taken when its sheets start to be drawn, after the file is chosen: records saved while the
// file panel was open are the ones printed, as the window and its notice already count them.
std::optional<Print_Job> Print_Wnd::printSheets()
{
    const bool toFile = printInfo_->outputFormat() == QPrinter::PdfFormat;
    const QString printer = chosenPrinter();
    platform::PrintQueueState state;
    QString path;
    sheetsFile_.clear();
    if (toFile) {
        path = sheetsFile_ = pdfFilePath();
        if (path.isEmpty())
            return std::nullopt;
    } else if (state = platform::printQueueState(printer); !state.found || !state.accepting) {
        Show_MessageBox(couldNotPrint(printer, state.reason));
        return std::nullopt;
    }
    const Print_Job job = currentJob();
    if (!canPrint(job))
        return std::nullopt;
    const Printing_View view(job);
    const int pages = view.numberOfPages(false);
    if (!(toFile ? printToPdfFile(view, pages, path) : printToQueue(view, pages, state)))
        return std::nullopt;
    return job;
}

// The sheets are drawn into a file first: Stop then sends nothing, and the queue's answer can be told.
bool Print_Wnd::printToQueue(const Printing_View& view, int pages, const platform::PrintQueueState& state)
{
    const QString printer = chosenPrinter();
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheets.pdf"));
    const Sheets_Written written = writeSheets(view, pages, path, QStringLiteral("Printing..."));
    if (written.stopped) {
        Show_MessageBox(QStringLiteral("The printing was stopped: nothing was sent to %1.").arg(printer));
        return false;
    }
    if (!folder.isValid() || !written.whole) {
        Show_MessageBox(couldNotPrint(printer, folder.isValid() ? written.error : folder.errorString()));
        return false;
    }
    platform::PrintQueueJob job;
    job.queue = printer;
    job.title = host_ ? host_->designName() : QString();
    job.pdfPath = path;
    job.media = printInfo_->pageLayout().pageSize().key();
    job.copies = ui_->Copies_Stepper->value();
    job.landscape = printInfo_->pageLayout().orientation() == QPageLayout::Landscape;
    const QString refusal = platform::submitPrintJob(job);
    if (!refusal.isEmpty()) {
        Show_MessageBox(couldNotPrint(printer, refusal));
        return false;
    }
    QString sent = pages == 1 ? QStringLiteral("1 sheet was sent to %1").arg(printer)
                              : QStringLiteral("%1 sheets were sent to %2").arg(pages).arg(printer);
    if (job.copies > 1)
        sent += (pages == 1 ? QStringLiteral(", %1 copies of it") : QStringLiteral(", %1 copies of each"))
                    .arg(job.copies);
    // A paused queue keeps the job: told as the system's printer settings tell the queue's state.
    if (state.paused)
        sent += QStringLiteral(".\n\n%1 is paused%2: the sheets wait in its queue until it is resumed")
                    .arg(printer, state.reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(state.reason));
    Show_MessageBox(sent + QLatin1Char('.') + sheetNote(view.job()));
    return true;
}

QString Print_Wnd::pdfFilePath()
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Save;
    request.caption = QStringLiteral("Save the sheets as a PDF file");
    request.filter = QStringLiteral("PDF files (*.pdf)");
    QString path = platform::ui().chooseFile(request);
    if (!path.isEmpty() && QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    return path;
}

bool Print_Wnd::printToPdfFile(const Printing_View& view, int pages, const QString& path)
{
    const Sheets_Written written = writeSheets(view, pages, path, QStringLiteral("Writing the sheets..."));
    if (!written.whole && !written.stopped)
        Show_MessageBox(QStringLiteral("The sheets could not be written to %1: %2.").arg(path, written.error));
    if (written.whole) {
        // Told as a queue's sheets are, with the file to open as an export's.
        const QString name = QFileInfo(path).fileName();
        Open_Export_Log::defaultInstance().Open_Export_File_Box(path,
            (pages == 1 ? QStringLiteral("1 sheet was written to %1.").arg(name)
                        : QStringLiteral("%1 sheets were written to %2.").arg(pages).arg(name))
                + sheetNote(view.job()));
    }
    return written.whole;
}

// Draws the sheets into a PDF file of the paper's size, with a progress window whose Stop ends the drawing
// and leaves no file.
Print_Wnd::Sheets_Written Print_Wnd::writeSheets(
    const Printing_View& view, int pages, const QString& path, const QString& label)
{
    Sheets_Written result;
    platform::CheckedSave file(path);
    result.whole = file.open();
    if (result.whole) {
        QProgressDialog progress(label, QStringLiteral("Stop"), 0, pages, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        QPdfWriter writer(&file.device());
        writer.setCreator(QStringLiteral("Tessaline Card"));
        writer.setTitle(host_ ? host_->designName() : QString());
        writer.setResolution(72);
        QPageLayout page = printInfo_->pageLayout();
        page.setMargins(QMarginsF());
        writer.setPageLayout(page);
        result.whole = view.print(writer, pages, [this, &progress, &result](int done) {
            progress.setValue(done);
            emit sheetDrawn(done);
            result.stopped = progress.wasCanceled();
            return !result.stopped;
        });
    }
    // The PDF engine finishes the file when the writer goes; only then is it put in place.
    if (result.whole && file.commit())
        return result;
    if (!result.whole)
        file.abandon();
    result.whole = false;
    result.error = file.errorString();
    return result;
}
