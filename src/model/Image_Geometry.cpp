#include "model/Image_Geometry.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

QImage imageRotated(const QImage& picture, float angle, int margin)
{
    if (!std::isfinite(angle))
        return {};
    const float a = std::fmod(angle, 360.0f);
    if (a == 0.0f || picture.isNull())
        return picture;
    // Qt's y axis points down, so a positive QTransform angle turns clockwise as seen.
    if (a == 90.0f || a == -270.0f)
        return picture.transformed(QTransform().rotate(270));
    if (a == 270.0f || a == -90.0f)
        return picture.transformed(QTransform().rotate(90));
    if (a == 180.0f || a == -180.0f)
        return picture.transformed(QTransform().rotate(180));

    const int side = std::max(picture.width(), picture.height()) + margin;
    QImage turned(side, side, QImage::Format_ARGB32_Premultiplied);
    if (turned.isNull())
        return {};
    turned.fill(Qt::transparent);
    QPainter painter(&turned);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(side / 2.0, side / 2.0);
    painter.rotate(-double(a));
    painter.drawImage(QPointF(-picture.width() / 2.0, -picture.height() / 2.0), picture);
    painter.end();
    return turned;
}

QSize rotatedSize(const QSize& size, float angle, int margin)
{
    if (!std::isfinite(angle))
        return {};
    const float a = std::fmod(angle, 360.0f);
    if (a == 0.0f || a == 180.0f || a == -180.0f || size.isEmpty())
        return size;
    if (a == 90.0f || a == -270.0f || a == 270.0f || a == -90.0f)
        return size.transposed();
    const int side = std::max(size.width(), size.height()) + margin;
    return { side, side };
}

namespace imagefilters {

QSize fittedSize(const QSize& size, const QSize& limit)
{
    if (limit.isEmpty() || size.isEmpty())
        return {};
    if (size.width() <= limit.width() && size.height() <= limit.height())
        return size;
    const double scale = std::min(double(limit.width()) / size.width(), double(limit.height()) / size.height());
    const int width = std::clamp(int(std::lround(size.width() * scale)), 1, limit.width());
    const int height = std::clamp(int(std::lround(size.height() * scale)), 1, limit.height());
    return { width, height };
}

QImage fittedWithin(const QImage& picture, const QSize& limit)
{
    if (limit.isEmpty())
        return {};
    if (picture.width() <= limit.width() && picture.height() <= limit.height())
        return picture;
    const QSize size = fittedSize(picture.size(), limit);
    return picture.scaled(size.width(), size.height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace imagefilters
