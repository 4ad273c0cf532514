#pragma once

#include <QColor>
#include <QPen>
#include <QString>

class QPainter;
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

// The canvas's mark for an item that cannot show what it stands for (a picture that cannot be found, a
// spreadsheet column the sheet lacks): a red dashed frame over a pale fill, with the reason written inside.
void drawMissingMark(QPainter& painter, const QRectF& area, const QString& text);
