#include "canvas/TSLGrid.h"

#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QTransform>
#include <QPen>
#include <QTimer>
#include <QVector>

#include <cmath>

namespace {

// Below this many device pixels between lines the grid would be a grey wash, not a lattice.
constexpr double minimumDevicePixelsBetweenLines = 2.0;

double snapped(double value, double spacing)
{
    return std::floor(value / spacing + 0.5) * spacing;
}

} // namespace

TSLGrid::TSLGrid(QObject* parent)
    : QObject(parent)
{
}

TSLGrid::~TSLGrid()
{
    stopHidingTimer();
}

void TSLGrid::setColor(const QColor& color)
{
    if (color == color_)
        return;
    const bool couldSetColor = canSetColor();
    color_ = color;
    emit colorChanged(color_);
    if (couldSetColor != canSetColor())
        emit canSetColorChanged(canSetColor());
    emit anyChanged();
}

void TSLGrid::setSpacing(double spacing)
{
    if (spacing == spacing_)
        return;

    if (spacing > 0.0 && !isAlwaysShown_) {
        if (!hidingTimer_) {
            hidingTimer_ = new QTimer(this);
            hidingTimer_->setSingleShot(true);
            connect(hidingTimer_, &QTimer::timeout, this, &TSLGrid::stopShowingGridForTimer);
        }
        // Starting a running timer again moves its end to a full showing time from now.
        hidingTimer_->start(static_cast<int>(TSLGridTemporaryShowingTime * 1000));
    }
    storeSpacing(spacing);
}

void TSLGrid::storeSpacing(double spacing)
{
    if (spacing == spacing_)
        return;
    const bool wasUsable = isUsable();
    const bool couldSetColor = canSetColor();
    spacing_ = spacing;
    emit spacingChanged(spacing_);
    if (wasUsable != isUsable())
        emit usableChanged(isUsable());
    if (couldSetColor != canSetColor())
        emit canSetColorChanged(canSetColor());
    emit anyChanged();
}

void TSLGrid::setAlwaysShown(bool flag)
{
    if (flag == isAlwaysShown_)
        return;
    const bool couldSetColor = canSetColor();
    const bool couldSetSpacing = canSetSpacing();
    isAlwaysShown_ = flag;
    stopHidingTimer();

    emit alwaysShownChanged(isAlwaysShown_);
    if (couldSetColor != canSetColor())
        emit canSetColorChanged(canSetColor());
    if (couldSetSpacing != canSetSpacing())
        emit canSetSpacingChanged(canSetSpacing());
    emit anyChanged();
}

void TSLGrid::setConstraining(bool flag)
{
    if (flag == isConstraining_)
        return;
    const bool couldSetSpacing = canSetSpacing();
    isConstraining_ = flag;

    emit constrainingChanged(isConstraining_);
    if (couldSetSpacing != canSetSpacing())
        emit canSetSpacingChanged(canSetSpacing());
    emit anyChanged();
}

bool TSLGrid::isTemporarilyShowing() const
{
    return hidingTimer_ != nullptr;
}

bool TSLGrid::isShowing() const
{
    return isUsable() && (isAlwaysShown_ || isTemporarilyShowing());
}

QPointF TSLGrid::constrainedPoint(const QPointF& p) const
{
    if (!isUsable() || !isConstraining_)
        return p;
    return { snapped(p.x(), spacing_), snapped(p.y(), spacing_) };
}

QRectF TSLGrid::alignedRect(const QRectF& r) const
{
    if (!isUsable())
        return r;
    const double x0 = snapped(r.x(), spacing_);
    const double y0 = snapped(r.y(), spacing_);
    const double x1 = snapped(r.x() + r.width(), spacing_);
    const double y1 = snapped(r.y() + r.height(), spacing_);
    return { x0, y0, x1 - x0, y1 - y0 };
}

void TSLGrid::drawRect(QPainter& painter, const QRectF& rect, double devicePixelsPerPoint) const
{
    if (!isShowing())
        return;
    if (!(spacing_ * devicePixelsPerPoint >= minimumDevicePixelsBetweenLines))
        return;
    if (!std::isfinite(rect.left()) || !std::isfinite(rect.right()) || !std::isfinite(rect.top())
        || !std::isfinite(rect.bottom()))
        return;

    // Lines outside the device cannot show; a caller passing a huge rectangle must not cost more.
    QRectF area = rect;
    if (const QPaintDevice* device = painter.device()) {
        bool invertible = false;
        // The combined transform maps to the device's own coordinates; the device transform would also
        // hold the offset of a widget painted into its window's backing store.
        const QTransform toUser = painter.combinedTransform().inverted(&invertible);
        if (invertible)
            area = area.intersected(toUser.mapRect(QRectF(0, 0, device->width(), device->height())));
    }
    if (area.isEmpty())
        return;

    const double minX = area.left();
    const double maxX = area.right();
    const double minY = area.top();
    const double maxY = area.bottom();

    QVector<QLineF> lines;
    const double firstColumn = std::ceil(minX / spacing_);
    const double lastColumn = std::floor(maxX / spacing_);
    const double firstRow = std::ceil(minY / spacing_);
    const double lastRow = std::floor(maxY / spacing_);
    if (lastColumn >= firstColumn)
        lines.reserve(static_cast<qsizetype>(lastColumn - firstColumn + 1));
    for (double i = firstColumn; i <= lastColumn; i += 1.0)
        lines.append(QLineF(i * spacing_, minY, i * spacing_, maxY));
    for (double j = firstRow; j <= lastRow; j += 1.0)
        lines.append(QLineF(minX, j * spacing_, maxX, j * spacing_));
    if (lines.isEmpty())
        return;

    painter.save();
    QPen pen(color_);
    pen.setWidthF(0.0); // cosmetic: the thinnest line the device draws
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(lines);
    painter.restore();
}

void TSLGrid::stopShowingGridForTimer()
{
    if (!hidingTimer_)
        return;
    stopHidingTimer();
    emit anyChanged();
}

void TSLGrid::stopHidingTimer()
{
    if (!hidingTimer_)
        return;
    hidingTimer_->stop();
    hidingTimer_->deleteLater();
    hidingTimer_ = nullptr;
}
