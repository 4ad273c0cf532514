// The print window's jobs: the size check, the preview and the sheets sent to a printer or a PDF file.
#include "output/Print_Wnd.h"

#include "ui_Print_Wnd.h"

#include "common/Common_Functions.h"
#include "output/Print_Design_Host.h"
#include "output/Printing_View.h"
#include "output/Record_Fill.h"
#include "platform/CheckedSave.h"
#include "platform/UiSeam.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

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
    if (job.Total_Label_Real <= 0) {
        Show_MessageBox(QStringLiteral("There is no barcode to print."));
        return;
    }
    if (!job.snapshot)
        return;
    const Printing_View view(job);
    if (preview) {
        const int pages = view.numberOfPages(true);
        QPrintPreviewDialog previewer(printInfo_.get(), this);
        previewer.setObjectName(QStringLiteral("printPreview"));
        // Each time the preview is drawn it draws every sheet from the first record.
        connect(&previewer, &QPrintPreviewDialog::paintRequested, this, [&view, pages](QPrinter* printer) {
            Printing_View::Prepare_Printer(*printer);
            view.print(*printer, pages);
        });
        platform::ui().runModal(previewer);
    } else if (printSheets(job) && job.useData) {
        const Record_Fill_Log& log = job.snapshot->fillLog();
        const QString notes = Record_Fill_Log::notes(log.recordsWithoutSymbol(), log.recordsWithPictureNotFound());
        if (!notes.isEmpty())
            Show_MessageBox(notes);
    }
    if (job.useData && host_)
        host_->Select_first_row_value_for_design();
}

bool Print_Wnd::printSheets(const Print_Job& job)
{
    const Printing_View view(job);
    const int pages = view.numberOfPages(false);
    if (printInfo_->outputFormat() == QPrinter::PdfFormat)
        return printToPdfFile(view, pages);
    QProgressDialog progress(QStringLiteral("Printing..."), QStringLiteral("Stop"), 0, pages, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    Printing_View::Prepare_Printer(*printInfo_);
    const bool whole = view.print(*printInfo_, pages, [&progress](int done) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    if (!whole && !progress.wasCanceled())
        Show_MessageBox(QStringLiteral("The sheets could not be printed on %1.").arg(printInfo_->printerName()));
    return whole;
}

bool Print_Wnd::printToPdfFile(const Printing_View& view, int pages)
{
    platform::FileRequest request;
    request.kind = platform::FileRequest::Kind::Save;
    request.caption = QStringLiteral("Save the sheets as a PDF file");
    request.filter = QStringLiteral("PDF files (*.pdf)");
    QString path = platform::ui().chooseFile(request);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    platform::CheckedSave file(path);
    bool whole = file.open();
    bool stopped = false;
    if (whole) {
        QProgressDialog progress(QStringLiteral("Writing the sheets..."), QStringLiteral("Stop"), 0, pages, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        QPdfWriter writer(&file.device());
        writer.setCreator(QStringLiteral("Tessaline Card"));
        writer.setResolution(72);
        QPageLayout page = printInfo_->pageLayout();
        page.setMargins(QMarginsF());
        writer.setPageLayout(page);
        whole = view.print(writer, pages, [&progress, &stopped](int done) {
            progress.setValue(done);
            stopped = progress.wasCanceled();
            return !stopped;
        });
    }
    // The PDF engine finishes the file when the writer goes; only then is it put in place.
    if (whole && file.commit())
        return true;
    if (!whole)
        file.abandon();
    if (!stopped)
        Show_MessageBox(QStringLiteral("The sheets could not be written to %1: %2.").arg(path, file.errorString()));
    return false;
}
