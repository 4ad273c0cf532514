#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QTransform>

class Barcode_Vector_Drawing;
class QImage;
class QPainter;

enum class Barcode_Text_Align { Natural, Left, Center, Right };

// Text drawing for a barcode view, in the view's points with the origin at the lower left; text is set
// on one line whose box is ascent plus descent high. It draws through a painter whose origin is the
// view's top left, or straight into the pixels of a picture of one byte a pixel, each colour as its
// index in the picture's colour table (the colour must be in the table, opaque).
class Barcode_Text_Pen {
public:
    Barcode_Text_Pen(QPainter& painter, double viewHeight);
    // toPixels maps the view's points, y down, to the picture's pixels by a move and one scale.
    Barcode_Text_Pen(QImage& picture, const QTransform& toPixels, double viewHeight);
    // Keeps the texts in the drawing, to be drawn at each output's resolution.
    Barcode_Text_Pen(Barcode_Vector_Drawing& drawing, double viewHeight);

    // The lower-left corner of the line box at (x, y).
    void drawAtPoint(const QString& text, const QFont& font, const QColor& color, double kern, double x, double y);
    // In the box whose lower-left corner is (x, y), from its top, aligned across its width.
    void drawInRect(const QString& text, const QFont& font, const QColor& color, double kern, Barcode_Text_Align align,
        const QRectF& box);

private:
    void draw(const QString& text, const QFont& font, const QColor& color, double kern, double x, double baseline);

    QPainter* painter_ = nullptr;
    QImage* picture_ = nullptr;
    Barcode_Vector_Drawing* drawing_ = nullptr;
    QTransform toPixels_;
    double viewHeight_;
};
