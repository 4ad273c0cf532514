#include "platform/Geometry.h"

#include <algorithm>

namespace platform {

QRectF fittedRect(const QSizeF& size, const QRectF& frame)
{
    if (size.isEmpty() || frame.isEmpty())
        return QRectF();
    const double scale = std::min(frame.width() / size.width(), frame.height() / size.height());
    const QSizeF fitted = size * scale;
    return QRectF(frame.center() - QPointF(fitted.width() / 2.0, fitted.height() / 2.0), fitted);
}

QRectF unionRect(const QRectF& a, const QRectF& b)
{
    if (rectIsEmpty(a))
        return rectIsEmpty(b) ? QRectF() : b;
    if (rectIsEmpty(b))
        return a;
    const double left = std::min(a.left(), b.left());
    const double top = std::min(a.top(), b.top());
    const double right = std::max(a.left() + a.width(), b.left() + b.width());
    const double bottom = std::max(a.top() + a.height(), b.top() + b.height());
    return QRectF(left, top, right - left, bottom - top);
}

QString stringFromRect(const QRectF& r)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(r.x(), 0, 'g', 17)
        .arg(r.y(), 0, 'g', 17)
        .arg(r.width(), 0, 'g', 17)
        .arg(r.height(), 0, 'g', 17);
}

} // namespace platform
