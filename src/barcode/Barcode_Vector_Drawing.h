#pragma once

#include "model/TSLBarcode_Drawing.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

// A finished barcode as filled rectangles and text runs in points, y down from the top left: what the
// barcode view draws, kept to be drawn into each output at that output's resolution.
class Barcode_Vector_Drawing : public TSLBarcode_Drawing {
public:
    struct Text {
        QString text;
        QFont font;
        QColor color;
        double kern = 0.0; // points after every character
        QPointF baseline; // left end of the baseline
    };

    QSizeF size() const override { return size_; }
    void draw(QPainter& painter) const override;

    QSizeF size_;
    QColor background = Qt::white; // over the whole size
    QColor ink = Qt::black; // of the rectangles
    std::vector<QRectF> rects;
    std::vector<Text> texts;
};
