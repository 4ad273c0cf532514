#pragma once

#include "output/Print_Sheet_Layout.h"

#include <QImage>
#include <QWidget>

#include <vector>

// One sheet of paper with the grid of cells the print settings make: each card place captioned (Card 1,
// Back 1 ...) and, with frames on, outlined. It shows where the cards go, not the cards; its geometry is
// the printed sheet's. Scaled to fit the widget.
class Sample_Preview : public QWidget {
    Q_OBJECT
public:
    explicit Sample_Preview(QWidget* parent = nullptr);

    // The layout to show, the size of the design's card in points (empty: no card to print) and whether
    // card places are framed.
    void setSheet(const Print_Sheet_Layout& layout, QSizeF pictureSize, bool showFrames);

    struct Caption {
        QString text;
        QRectF rect; // page coordinates, points, top-left origin
        bool invalid = false; // drawn in red
    };
    // The captions and frames of the sheet, cell by cell, row by row from the top left.
    std::vector<Caption> captions() const;
    std::vector<QRectF> frames() const;

    // Draws the sheet on a painter in points.
    void paintSheet(QPainter& painter) const;
    // A picture of the sheet as shown.
    QImage imageRepresentation() const;

    // "Front", "Back" and "Card" followed by the cell number; any other text as it is.
    static QString Draw_Label_String(const QString& text, int row, int column, int columns);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Print_Sheet_Layout layout_;
    QSizeF pictureSize_;
    bool showFrames_ = true;
    bool set_ = false;

public:
    // Where the sheet is shown: as large as the view allows, centred across and against the top, so a
    // landscape sheet has no empty band above it.
    QRectF paperOnScreen() const;
};
