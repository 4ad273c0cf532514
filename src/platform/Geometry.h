#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Rectangle rules of the drawing model, which differ from Qt's in small ways that matter for hit testing
// and for unions of item bounds.
namespace platform {

// A rectangle with no width or no height (or a negative one) is empty.
inline bool rectIsEmpty(const QRectF& r) { return !(r.width() > 0.0) || !(r.height() > 0.0); }

// The minimum edges are inside, the maximum edges are not, so a point on the right or bottom edge
// belongs to the neighbour and never to two rectangles at once.
inline bool pointInRect(const QPointF& p, const QRectF& r)
{
    return p.x() >= r.left() && p.x() < r.left() + r.width() && p.y() >= r.top() && p.y() < r.top() + r.height();
}

// Union in which an empty rectangle counts for nothing; two empty rectangles give the zero rectangle.
QRectF unionRect(const QRectF& a, const QRectF& b);

// The largest rectangle of the size's proportions inside the frame, centred in it; empty when either is.
QRectF fittedRect(const QSizeF& size, const QRectF& frame);

// Grows (positive) or shrinks (negative) a rectangle on every side.
inline QRectF outsetRect(const QRectF& r, double dx, double dy) { return r.adjusted(-dx, -dy, dx, dy); }

// "{{x, y}, {w, h}}", the textual rectangle form of our debug output.
QString stringFromRect(const QRectF& r);

} // namespace platform
