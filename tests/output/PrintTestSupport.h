#pragma once

#include "BatchTestSupport.h"

#include "model/Shape_Control.h"
#include "output/Printing_View.h"
#include "support/TestSupport.h"

#include <QPrinter>

namespace printtest {

// A credit-card-size design: two texts and a Code 128 bound to series, a picture used on every card and
// a rectangle. Record i's names are "Name<i>" and "Town<i>", its barcode value "CODE<i>".
inline Batch_Snapshot::Side mergedFront(const QString& picturePath)
{
    using namespace batchtest;
    Batch_Snapshot::Side side { {}, creditCardSide(0) };
    side.items.push_back(boundText(1, QStringLiteral("names"), 0, QRectF(10, 8, 150, 22)));
    side.items.push_back(boundText(1, QStringLiteral("towns"), 0, QRectF(10, 32, 150, 22)));
    side.items.push_back(boundCode128(QStringLiteral("codes"), QRectF(10, 70, 160, 70)));
    auto picture = boundPicture(0, QString(), 0, QRectF(185, 10, 48, 36));
    picture->setFilePath(picturePath);
    side.items.push_back(picture);
    auto rectangle = std::make_shared<Shape_Control>();
    rectangle->ctrl_is_visible = true;
    rectangle->_bounds = QRectF(185, 60, 48, 80);
    side.items.push_back(rectangle);
    return side;
}

inline Record_Source mergedRecords(int count)
{
    Record_Source source;
    source.useSeries = true;
    QStringList names, towns, codes;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Name%1").arg(i);
        towns << QStringLiteral("Town%1").arg(i);
        codes << QStringLiteral("CODE%1").arg(i);
    }
    source.series.insert(QStringLiteral("names"), names);
    source.series.insert(QStringLiteral("towns"), towns);
    source.series.insert(QStringLiteral("codes"), codes);
    return source;
}

// A job of `total` cards of `records` records on A4 with the given grid, drawn from the merged design.
inline Print_Job mergedJob(int records, int total, int rows, int cols, const QString& side = QStringLiteral("F"))
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("printjob"));
    const QString picture = batchtest::writePicture(folder + QStringLiteral("/logo.png"), QColor(30, 90, 200));
    const Batch_Snapshot::Side front = mergedFront(picture);
    Batch_Snapshot::Side back { { batchtest::boundText(1, QStringLiteral("towns"), 0, QRectF(20, 60, 150, 22)) },
        batchtest::creditCardSide(1) };
    Print_Job job;
    job.layout.paper_width = 595.2756f;
    job.layout.paper_hight = 841.8898f;
    job.layout.Print_Card_Side = side;
    job.layout.Print_Row = rows;
    job.layout.Print_Col = cols;
    job.layout.label_align_val = 5;
    job.layout.setCellSize(243.f, 153.f);
    job.Total_Label_Real = total;
    job.useData = records > 0;
    job.snapshot = Batch_Snapshot::take(front, back, true, mergedRecords(records), Barcode_Gen());
    return job;
}

// Prints the job into a PDF file; returns the sheets drawn.
inline int printToPdf(const Print_Job& job, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    Printing_View::Prepare_Printer(printer);
    const Printing_View view(job);
    const int pages = view.numberOfPages(false);
    view.print(printer, pages);
    return pages;
}

} // namespace printtest
