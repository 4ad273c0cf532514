#include "common/Screen_Pixmap.h"

#include <utility>

QPixmap fittedScreenPixmap(const QImage& picture, const QSize& box, qreal ratio)
{
    if (picture.isNull() || box.isEmpty() || !(ratio > 0.0))
        return {};
    QImage fitted = picture.scaled(box * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(fitted));
}
