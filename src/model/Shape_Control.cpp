#include "model/Shape_Control.h"

#include "model/FillStylePattern.h"
#include "model/TSLDrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Point counts of the star variants 1 to 5; other stored values are used as the count itself.
int doubleStarPoints(int variant)
{
    static constexpr int counts[] = { 7, 9, 11, 13, 15 };
    return variant >= 1 && variant <= 5 ? counts[variant - 1] : variant;
}

int polygonPoints(int variant)
{
    static constexpr int counts[] = { 8, 10, 12, 14, 16 };
    return variant >= 1 && variant <= 5 ? counts[variant - 1] : variant;
}

// Corner coordinates are kept in single precision, as the outlines always were.
QPointF singlePrecision(double x, double y)
{
    return { double(float(x)), double(float(y)) };
}

QPainterPath closedPolygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    bool first = true;
    for (const QPointF& p : points) {
        if (first)
            path.moveTo(p);
        else
            path.lineTo(p);
        first = false;
    }
    path.closeSubpath();
    return path;
}

QPainterPath emptyPath()
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    return path;
}

} // namespace

QPainterPath Shape_Control::Rectangle_path() const
{
    QPainterPath path = emptyPath();
    path.addRect(_bounds);
    return path;
}

QPainterPath Shape_Control::Circle_path() const
{
    QPainterPath path = emptyPath();
    path.addEllipse(_bounds);
    return path;
}

QPainterPath Shape_Control::Rounded_Rectangle_path() const
{
    const QRectF r = _bounds.normalized();
    // Each axis keeps its own limit: a narrow box gets flatter corners, not a smaller radius on both axes.
    const double radius = std::isfinite(cor_rad_val_val) && cor_rad_val_val > 0.0f ? cor_rad_val_val : 0.0;
    const double rx = std::min(radius, r.width() / 2.0);
    const double ry = std::min(radius, r.height() / 2.0);
    QPainterPath path = emptyPath();
    if (rx > 0.0 && ry > 0.0)
        path.addRoundedRect(r, rx, ry, Qt::AbsoluteSize);
    else
        path.addRect(r);
    return path;
}

QPainterPath Shape_Control::Triangle_path() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return closedPolygon({ singlePrecision(x, y + h), singlePrecision(x + w / 2, y), singlePrecision(x + w, y + h) });
}

QPainterPath Shape_Control::Diamond_path() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return closedPolygon({ singlePrecision(x, y + h / 2), singlePrecision(x + w / 2, y),
        singlePrecision(x + w, y + h / 2), singlePrecision(x + w / 2, y + h) });
}

QPainterPath Shape_Control::Custom_Polygon() const
{
    const double x = _bounds.x(), y = _bounds.y(), w = _bounds.width(), h = _bounds.height();
    return closedPolygon({ QPointF(x, y), QPointF(x + w / 2, y + h / 4), QPointF(x + w, y),
        QPointF(x + 3 * w / 4, y + h / 2), QPointF(x + w, y + h), QPointF(x + w / 2, y + 3 * h / 4), QPointF(x, y + h),
        QPointF(x + w / 4, y + h / 2) });
}

QPainterPath Shape_Control::Polygon_With_Diffrent_Sides(int n) const
{
    QPainterPath path = emptyPath();
    if (n <= 0)
        return path;
    n = std::min(n, maxStarPoints);
    const double cx = _bounds.x() + _bounds.width() / 2.0;
    const double cy = _bounds.y() + _bounds.height() / 2.0;
    const double rx = _bounds.width() / 2.0;
    const double ry = _bounds.height() / 2.0;
    const double step = 4.0 * M_PI / n;
    for (int k = 0; k < n; ++k) {
        const double a = -M_PI / 2.0 + k * step;
        const QPointF p = singlePrecision(cx + rx * std::cos(a), cy + ry * std::sin(a));
        if (k == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath Shape_Control::bezierPathForDrawing() const
{
    const QString& code = _shape_type;
    if (code == QLatin1String("R"))
        return Rectangle_path();
    if (code == QLatin1String("C"))
        return Circle_path();
    if (code == QLatin1String("RR"))
        return Rounded_Rectangle_path();
    if (code == QLatin1String("T"))
        return Triangle_path();
    if (code == QLatin1String("D"))
        return Diamond_path();
    if (code == QLatin1String("S"))
        return Polygon_With_Diffrent_Sides(5);
    if (code == QLatin1String("DS"))
        return Polygon_With_Diffrent_Sides(doubleStarPoints(double_star_type));
    if (code == QLatin1String("P")) {
        const int n = polygonPoints(polygon_type);
        return n == 8 ? Custom_Polygon() : Polygon_With_Diffrent_Sides(n);
    }
    return emptyPath();
}

bool Shape_Control::isContentsUnderPoint(const QPointF& point) const
{
    const QPainterPath path = bezierPathForDrawing();
    return !path.isEmpty() && path.contains(point);
}

void Shape_Control::drawContentsInView(const TSLDrawingContext& context, bool)
{
    if (!ctrl_is_visible)
        return;
    const QPainterPath path = bezierPathForDrawing();
    if (!path.isEmpty() && context.painter) {
        QPainter& painter = *context.painter;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (isDrawingFill()) {
            if (_fill_type == QLatin1String("G")) {
                const QColor c1 = drawnGradientColor1();
                const QColor c2 = drawnGradientColor2();
                fillPathWithAngledGradient(painter, path, c1, c2, fill_grad_angle());
            } else if (_fill_type == QLatin1String("H")) {
                painter.fillPath(path, drawnHatchBackgroundColor());
                // Without its picture the pattern layer is left out; the hatch colour stays.
                const QImage pattern = fillStylePattern(fill_hatch_type());
                if (!pattern.isNull())
                    painter.fillPath(path, QBrush(pattern));
            } else {
                painter.fillPath(path, drawnFillColor());
            }
        }
        if (isDrawingStroke())
            painter.strokePath(path, borderPen(drawnStrokeColor(), strokeWidth(), strokeBorderType()));
        painter.restore();
    }
    requestCanvasRefresh();
}
