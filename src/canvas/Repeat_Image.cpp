#include "canvas/Repeat_Image.h"

#include "common/Window_Look.h"
#include "model/CardEditorServices.h"

#include <QImage>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>

void Draw_Banner_Tiles(QPainter& painter, const QImage& banner, const QRectF& area, const QPointF& tileOrigin)
{
    if (banner.isNull() || area.isEmpty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(banner));
    painter.setBrushOrigin(tileOrigin);
    painter.drawRect(area);
    painter.restore();
}

Repeat_Image::Repeat_Image(QWidget* parent)
    : QLabel(parent)
{
}

QSize Repeat_Image::sizeHint() const
{
    return layout() ? layout()->sizeHint().expandedTo(QLabel::sizeHint()) : QLabel::sizeHint();
}

QSize Repeat_Image::minimumSizeHint() const
{
    return layout() ? layout()->minimumSize().expandedTo(QLabel::minimumSizeHint()) : QLabel::minimumSizeHint();
}

void Repeat_Image::paintEvent(QPaintEvent* event)
{
    const CardEditorServices* services = editorServices();
    if (services) {
        QPainter painter(this);
        // Only the dirty part is filled; the tiles line up with the view's corner all the same.
        Draw_Banner_Tiles(painter, services->bannerImage(), QRectF(event->rect()), QPointF(0, 0));
    }
    QLabel::paintEvent(event);
}

void Repeat_Image::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    if (const CardEditorServices* services = editorServices(); services && !services->bannerImage().isNull())
        applyWindowLook(*this, services->bannerImage());
}
