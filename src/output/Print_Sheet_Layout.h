#pragma once

#include "common/Common_Functions.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

// How cards sit on a sheet of paper: cells in rows and columns, the gaps between them, where the block of
// cells stands, where each card picture goes inside its cell, and how many sheets a job takes. The print
// window edits one of these; the sheet preview and the print job draw from copies of it, with the very
// same arithmetic. Lengths are points in single precision, the origin at the sheet's bottom-left corner
// and y growing upwards; pageRect() turns a rectangle into the painter's top-left coordinates.
struct Print_Sheet_Layout {
    float paper_width = 595.f;
    float paper_hight = 842.f;
    // The printer's borders that it cannot print on.
    float Left_Mar = 0.f;
    float Rite_Mar = 0.f;
    float Top_Mar = 0.f;
    float Bot_Mar = 0.f;
    // One cell: the card, or the two sides of a card for "BOTH".
    float label_width = 0.f;
    float label_hight = 0.f;
    // Gaps between columns and between rows.
    float horz_mar = 0.f;
    float vert_mar = 0.f;
    int Print_Row = 1;
    int Print_Col = 1;
    QString Print_Card_Side = QStringLiteral("F"); // "F", "B" or "BOTH"
    QString Print_Card_Algn = QStringLiteral("U"); // for "BOTH": "U" front above back, "L" front left of back
    int label_align_val = 1; // 1 top-left .. 9 bottom-right, row by row
    bool auto_center_flag = false;

    float availWidth() const { return paper_width - Left_Mar - Rite_Mar; }
    float availHeight() const { return paper_hight - Top_Mar - Bot_Mar; }
    int rows() const { return Print_Row < 1 ? 1 : Print_Row; }
    int cols() const { return Print_Col < 1 ? 1 : Print_Col; }
    float blockWidth() const;
    float blockHeight() const;
    bool bothSides() const { return Print_Card_Side == QLatin1String("BOTH"); }

    // The cell size for a card of the given size (points): doubled in height for "BOTH" above each other,
    // in width for "BOTH" side by side.
    void setCellSize(float cardWidth, float cardHeight);

    // Bottom edge of the cells of a row (from 1 at the top) and left edge of a column (from 1 at the left).
    float rowY(int row) const;
    float columnX(int column) const;
    // The rectangle in which the first picture of the cell is placed.
    QRectF cardArea(int row, int column) const;

    struct Placement {
        QRectF first; // the front, or the back for side "B"
        QRectF second; // the back beside or below the front for "BOTH"; empty otherwise
    };
    // Where the pictures of a card of `pictureSize` go in a cell: centred where they are smaller than the
    // cell, never stretched, the back the same way up as the front.
    Placement placement(int row, int column, QSizeF pictureSize) const;

    // 0-based cell index within a sheet, row by row from the top left.
    int cellIndex(int row, int column) const { return (row - 1) * cols() + column - 1; }
    // Sheets for `total` cards, rounded up; 0 for none.
    int sheetCount(int total) const;

    // A rectangle of this layout in top-left, y-down page coordinates.
    QRectF pageRect(const QRectF& rect) const;
};

// The fit rule: after every change of the window, rows and columns are cut down to what fits the
// printable area (never below 1), and with auto centre the gaps share the free space equally.
struct Print_Fit_Input {
    float cardWidthMM = 0.f;
    float cardHeightMM = 0.f;
    float horzGapMM = 0.f;
    float vertGapMM = 0.f;
    int rows = 1;
    int cols = 1;
    bool autoCenter = false;
};

struct Print_Fit_Result {
    int rows = 1;
    int cols = 1;
    bool rowsRewritten = false; // the window's row field must show the new count
    bool colsRewritten = false;
};

// Sets the layout's cell size, gaps, rows and columns from the window's values by the fit rule.
Print_Fit_Result Check_Max_Cell_Value(Print_Sheet_Layout& layout, const Print_Fit_Input& input);

