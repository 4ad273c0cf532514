#pragma once

#include "output/Print_Job.h"
#include "output/Printing_View.h"

#include <QBuffer>
#include <QPdfWriter>

// Print jobs of the benchmarks: credit-card-size cards, ten to an A4 sheet in two columns, centred.
namespace benchprint {

inline Print_Job tenCardsToAnA4Sheet(int cards)
{
    Print_Job job;
    job.layout.paper_width = 595.f;
    job.layout.paper_hight = 842.f;
    job.layout.Print_Row = 5;
    job.layout.Print_Col = 2;
    job.layout.auto_center_flag = true;
    job.layout.setCellSize(243.f, 153.f);
    job.layout.horz_mar = (595.f - 2 * 243.f) / 3;
    job.layout.vert_mar = (842.f - 5 * 153.f) / 6;
    job.Total_Label_Real = cards;
    return job;
}

// Prints every sheet of the view into a PDF in memory, at one device unit per point; its size in bytes.
inline qint64 printedPdfBytes(const Printing_View& view)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        view.print(writer, view.numberOfPages(false));
    }
    return pdf.size();
}

} // namespace benchprint
