#include "output/Printing_View.h"

#include "common/Common_Functions.h"

#include <QPainter>
#include <QPagedPaintDevice>
#include <QPrinter>

Printing_View::Printing_View(Print_Job job)
    : job_(std::move(job))
    , pictureSize_(job_.snapshot ? job_.snapshot->side(QStringLiteral("F")).rendering.canvasBounds.size() : QSizeF())
{
}

QString Printing_View::previewCapMessage()
{
    return QStringLiteral("For Qualitative and Performance reason, previewer shows print previews of only first 50 "
                          "sheets. However, printing has no such restriction.");
}

int Printing_View::numberOfPages(bool preview) const
{
    const int pages = job_.layout.sheetCount(job_.Total_Label_Real);
    if (preview && pages > previewSheetCap) {
        Show_MessageBox(previewCapMessage());
        return previewSheetCap;
    }
    return pages;
}

std::vector<std::vector<Print_Cell>> Printing_View::planSheets(int pages) const
{
    std::vector<std::vector<Print_Cell>> sheets(size_t(std::max(pages, 0)));
    const Print_Sheet_Layout& layout = job_.layout;
    const int records = job_.records();
    int handedOut = 0; // cells handed out, drawn or skipped
    int next = 0; // the next record
    for (std::vector<Print_Cell>& sheet : sheets) {
        for (int row = 1; row <= layout.rows(); ++row) {
            int column = 1;
            while (column <= layout.cols() && handedOut < job_.Total_Label_Real) {
                if (job_.useData && next >= records) {
                    // The records are used up: the turn is spent, the cell stays for the next one.
                    ++next;
                    ++handedOut;
                    continue;
                }
                sheet.push_back({ row, column, job_.useData ? next : -1 });
                ++next;
                ++handedOut;
                ++column;
            }
        }
    }
    return sheets;
}

void Printing_View::drawCard(QPainter& painter, const Print_Cell& cell) const
{
    const Print_Sheet_Layout& layout = job_.layout;
    const QString& side = layout.Print_Card_Side;
    const Print_Sheet_Layout::Placement place = layout.placement(cell.row, cell.column, pictureSize_);
    const Batch_Snapshot& snapshot = *job_.snapshot;
    snapshot.drawCard(painter, cell.record, side == QLatin1String("B") ? QStringLiteral("B") : QStringLiteral("F"),
        layout.pageRect(place.first));
    if (layout.bothSides())
        snapshot.drawCard(painter, cell.record, QStringLiteral("B"), layout.pageRect(place.second));
}

void Printing_View::drawSheet(QPainter& painter, const std::vector<Print_Cell>& cells) const
{
    const Print_Sheet_Layout& layout = job_.layout;
    painter.fillRect(QRectF(0, 0, layout.paper_width, layout.paper_hight), Qt::white);
    for (const Print_Cell& cell : cells)
        drawCard(painter, cell);
}

void Printing_View::Prepare_Printer(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setResolution(72);
}

bool Printing_View::print(QPagedPaintDevice& device, int pages, const std::function<bool(int)>& progress) const
{
    const std::vector<std::vector<Print_Cell>> sheets = planSheets(pages);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Pictures keep their exact pixels: a barcode squeezed by a lossy encoding may no longer scan.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double scale = device.logicalDpiX() / 72.0; // 1 on a prepared device
    bool whole = true;
    for (size_t page = 0; page < sheets.size(); ++page) {
        if (page > 0 && !device.newPage()) {
            whole = false;
            break;
        }
        painter.save();
        painter.scale(scale, scale);
        drawSheet(painter, sheets[page]);
        painter.restore();
        if (progress && !progress(int(page + 1))) {
            whole = false;
            break;
        }
    }
    painter.end();
    return whole;
}
