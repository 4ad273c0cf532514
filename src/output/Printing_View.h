#pragma once

#include "output/Print_Job.h"

#include <functional>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

// Draws the sheets of a print job: a grid of cells, each holding the design or the next record's card,
// drawn item by item as vectors, so a PDF keeps text as text, shapes as paths and a picture shared by
// every card as one embedded image. Every pass
// over the sheets starts again at the first record and goes in sheet order, so a preview drawn again shows
// the same records. Records are made from the job's snapshot; the editor's items are never touched.
class Printing_View {
public:
    explicit Printing_View(Print_Job job);

    static constexpr int previewSheetCap = 50;
    static QString previewCapMessage();

    // Sheets of the job; a preview is capped at 50 sheets, with a notice.
    int numberOfPages(bool preview) const;

    // Which cells of each sheet get a card and which record, sheet by sheet from the first; a cell whose
    // record is used up is skipped and the next turn takes the same cell, so no sheet has holes.
    std::vector<std::vector<Print_Cell>> planSheets(int pages) const;

    // Draws the job's sheets into a printer or PDF writer whose units are points over the whole sheet
    // (Prepare_Printer); `progress` is told the sheets done and ends the job early when it answers false.
    // Returns false when ended early or when the device cannot be drawn on.
    bool print(QPagedPaintDevice& device, int pages, const std::function<bool(int)>& progress = {}) const;
    // A printer drawing the whole sheet, one unit per point, as the card's own PDF is made.
    static void Prepare_Printer(QPrinter& printer);

    // One sheet, in points on a top-left, y-down page.
    void drawSheet(QPainter& painter, const std::vector<Print_Cell>& cells) const;

    const Print_Job& job() const { return job_; }

private:
    Print_Job job_;
    QSizeF pictureSize_;

    void drawCard(QPainter& painter, const Print_Cell& cell) const;
};
