#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

class QPainter;
class QPaintDevice;
class QPainterPath;
class QRectF;

// Drawing conventions shared by every item kind and the card base.

// A pen of the given width with the dash pattern of a border code ("S", "DA", "DO", "DD", "DDD"),
// phase 0. The pattern is in points; Qt counts dashes in pen widths, so it is divided here.
QPen borderPen(const QColor& color, double width, const QString& borderType);

// Fills a path with a linear gradient from c1 to c2 at an angle in degrees (0 runs left to right,
// 90 bottom to top, as on screen with y growing downward), spanning the path's bounds.
void fillPathWithAngledGradient(
    QPainter& painter, const QPainterPath& path, const QColor& c1, const QColor& c2, double angleDegrees);

// What a missing mark writes inside an area of the device: the reason over the name, or both on one line,
// else the name alone, else the reason alone, in the largest of a few small sizes that shows it whole.
// Lines break only between words; where nothing fits, nothing is written (the frame marks the place).
struct MissingMarkText {
    QString text;
    QFont font;
};
MissingMarkText missingMarkText(
    const QRectF& area, const QFont& font, const QPaintDevice* device, const QString& reason, const QString& name);

// The canvas's mark for an item that cannot show what it stands for (a picture that cannot be found, a
// spreadsheet column the sheet lacks): a red dashed frame over a pale fill, with the reason ("Column
// missing:") and the name written inside as missingMarkText lays them out.
void drawMissingMark(QPainter& painter, const QRectF& area, const QString& reason, const QString& name);
