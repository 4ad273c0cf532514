#include "output/Promotion_Pattern.h"

#include "editor/TSLWindowController.h"

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
    const TSLWindowController* editor = TSLWindowController::defaultInstance();
    return editor ? editor->promotion_pattern_image : QImage();
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
