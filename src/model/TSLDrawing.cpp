#include "model/TSLDrawing.h"

#include "model/TSLGraphic.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cmath>

QPen borderPen(const QColor& color, double width, const QString& borderType)
{
    QPen pen(color);
    pen.setWidthF(width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    const std::vector<double> pattern = dashPatternForBorderType(borderType);
    if (!pattern.empty()) {
        // A zero-width (cosmetic) pen draws one device pixel wide; its dashes still count in points.
        const double unit = width > 0.0 ? width : 1.0;
        QList<qreal> dashes;
        for (double length : pattern)
            dashes << length / unit;
        pen.setDashPattern(dashes);
        pen.setDashOffset(0.0);
    }
    return pen;
}

void fillPathWithAngledGradient(
    QPainter& painter, const QPainterPath& path, const QColor& c1, const QColor& c2, double angleDegrees)
{
    const QRectF r = path.boundingRect();
    const double radians = angleDegrees * M_PI / 180.0;
    const double dx = std::cos(radians);
    // The card is drawn top-down, as on a flipped canvas: positive angles turn from the x axis towards the
    // bottom, so at 90 degrees the first colour lies along the top edge.
    const double dy = std::sin(radians);
    // Project the rectangle's corners on the direction so the gradient spans the whole shape.
    const QPointF center = r.center();
    const double halfExtent = std::abs(dx) * r.width() / 2.0 + std::abs(dy) * r.height() / 2.0;
    QLinearGradient gradient(center - QPointF(dx, dy) * halfExtent, center + QPointF(dx, dy) * halfExtent);
    gradient.setColorAt(0.0, c1);
    gradient.setColorAt(1.0, c2);
    painter.fillPath(path, gradient);
}

void drawMissingMark(QPainter& painter, const QRectF& area, const QString& text)
{
    painter.save();
    painter.setPen(QPen(QColor(200, 30, 30), 1.0, Qt::DashLine));
    painter.setBrush(QColor(255, 235, 235, 200));
    painter.drawRect(area);
    QFont font = painter.font();
    font.setPointSizeF(7.0);
    painter.setFont(font);
    painter.setPen(QColor(160, 0, 0));
    painter.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWrapAnywhere, text);
    painter.restore();
}
