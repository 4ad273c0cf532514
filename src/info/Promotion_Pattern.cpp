#include "info/Promotion_Pattern.h"

#include "platform/DataFolder.h"

#include <QDir>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>

Promotion_Pattern::Promotion_Pattern(QWidget* parent)
    : QWidget(parent)
{
}

void Promotion_Pattern::setImage(const QImage& image)
{
    image_ = image;
    update();
}

QImage Promotion_Pattern::pattern()
{
    // Read once, from the installed resources the main window reads its sample pictures from.
    static const QImage tile
        = QImageReader(QDir(platform::installedResourceDir()).filePath(QStringLiteral("pattern_1.jpg"))).read();
    return tile;
}

void Promotion_Pattern::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage tile = pattern();
    if (!tile.isNull()) {
        painter.save();
        painter.fillRect(event->rect(), QBrush(tile));
        painter.restore();
    }
    if (image_.isNull())
        return;
    const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_);
}
