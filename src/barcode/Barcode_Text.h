#pragma once

#include <QFont>
#include <QString>

class QImage;
class QPainter;
class QPointF;
class QTransform;

// Text measurement and drawing for barcode pictures, in points (1/72 inch) whatever the screen's
// resolution, so that sizes worked out before drawing match what is drawn. Safe on any thread.
// Extra space ("kern", in points) follows every character, the last one included; texts with extra
// space are set character by character, because the painter drops a font's own letter spacing.

// The font as barcode texts are set: no hinting (fractional advances, the same at every scale) and no
// pair kerning.
QFont Barcode_Text_Font(const QFont& font);

// Cap height of the font in points.
double Barcode_Cap_Height(const QFont& font);
// 1.35 x the cap height, in inches: the height a line of value, header or footer text takes.
double Barcode_Line_Height_Inches(const QFont& font);

struct Barcode_Text_Size {
    double width = 0.0; // advance of the whole text, extra space included
    double height = 0.0; // the line box: ascent plus descent
    double ascent = 0.0;
};
Barcode_Text_Size Barcode_Measure_Text(const QString& text, const QFont& font, double kern = 0.0);

// Draws one line of text with its baseline starting at the point; the painter's unit must be the point
// on a 72-dot device (a QImage of 72 dots per inch under a scale, or a PDF writer at 72). Edges are
// blended only while the painter's text antialiasing is on.
void Barcode_Draw_Text(QPainter& painter, const QString& text, const QFont& font, double kern, const QPointF& baseline);
// The same text with hard edges straight into a picture's pixels, of 32 bits (value a colour) or of one
// byte or one bit (mono, the first pixel highest) a pixel (value an index into its colour table);
// toPixels maps points to the picture's pixels by a move and one scale. False, drawing nothing, for any
// other transform or picture.
bool Barcode_Fill_Text(QImage& picture, const QTransform& toPixels, const QString& text, const QFont& font, double kern,
    const QPointF& baseline, uint value);
