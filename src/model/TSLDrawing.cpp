#include "model/TSLDrawing.h"

#include "model/TSLGraphic.h"

#include <QFont>
#include <QFontMetricsF>
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

namespace {

constexpr int missingMarkFlags = Qt::AlignCenter | Qt::TextWordWrap;

QRectF missingMarkInside(const QRectF& area)
{
    return area.adjusted(2, 2, -2, -2);
}

} // namespace

MissingMarkText missingMarkText(
    const QRectF& area, const QFont& font, const QPaintDevice* device, const QString& reason, const QString& name)
{
    const QRectF inside = missingMarkInside(area);
    const auto fits = [&](const QFont& sized, const QString& text) {
        // A word longer than the line is not broken: it makes the text wider than the area.
        const QRectF needed
            = QFontMetricsF(sized, device).boundingRect(QRectF(0, 0, inside.width(), 1.0e6), missingMarkFlags, text);
        return needed.width() <= inside.width() + 0.01 && needed.height() <= inside.height() + 0.01;
    };
    // The name matters more than the reason, and both more than a larger size.
    const QStringList choices[]
        = { { reason + QLatin1Char('\n') + name, reason + QLatin1Char(' ') + name }, { name }, { reason } };
    for (const QStringList& texts : choices) {
        for (const double points : { 7.0, 6.0 }) {
            QFont sized = font;
            sized.setPointSizeF(points);
            for (const QString& text : texts) {
                if (fits(sized, text))
                    return { text, sized };
            }
        }
    }
    return { QString(), font };
}

void drawMissingMark(QPainter& painter, const QRectF& area, const QString& reason, const QString& name)
{
    painter.save();
    painter.setPen(QPen(QColor(200, 30, 30), 1.0, Qt::DashLine));
    painter.setBrush(QColor(255, 235, 235, 200));
    painter.drawRect(area);
    const MissingMarkText mark = missingMarkText(area, painter.font(), painter.device(), reason, name);
    if (!mark.text.isEmpty()) {
        painter.setFont(mark.font);
        painter.setPen(QColor(160, 0, 0));
        painter.drawText(missingMarkInside(area), missingMarkFlags, mark.text);
    }
    painter.restore();
}
