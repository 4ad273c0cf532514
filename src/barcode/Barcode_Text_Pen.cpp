#include "barcode/Barcode_Text_Pen.h"

#include "barcode/Barcode_Text.h"
#include "barcode/Barcode_Vector_Drawing.h"

#include <QImage>
#include <QPainter>

Barcode_Text_Pen::Barcode_Text_Pen(QPainter& painter, double viewHeight)
    : painter_(&painter)
    , viewHeight_(viewHeight)
{
}

Barcode_Text_Pen::Barcode_Text_Pen(QImage& picture, const QTransform& toPixels, double viewHeight)
    : picture_(&picture)
    , toPixels_(toPixels)
    , viewHeight_(viewHeight)
{
}

Barcode_Text_Pen::Barcode_Text_Pen(Barcode_Vector_Drawing& drawing, double viewHeight)
    : drawing_(&drawing)
    , viewHeight_(viewHeight)
{
}

void Barcode_Text_Pen::drawAtPoint(
    const QString& text, const QFont& font, const QColor& color, double kern, double x, double y)
{
    const Barcode_Text_Size size = Barcode_Measure_Text(text, font, kern);
    draw(text, font, color, kern, x, viewHeight_ - y - size.height + size.ascent);
}

void Barcode_Text_Pen::drawInRect(const QString& text, const QFont& font, const QColor& color, double kern,
    Barcode_Text_Align align, const QRectF& box)
{
    const Barcode_Text_Size size = Barcode_Measure_Text(text, font, kern);
    double x = box.x();
    if (align == Barcode_Text_Align::Center)
        x += (box.width() - size.width) / 2.0;
    else if (align == Barcode_Text_Align::Right)
        x += box.width() - size.width;
    const double top = viewHeight_ - (box.y() + box.height());
    draw(text, font, color, kern, x, top + size.ascent);
}

void Barcode_Text_Pen::draw(
    const QString& text, const QFont& font, const QColor& color, double kern, double x, double baseline)
{
    if (drawing_) {
        drawing_->addText(text, font, color, kern, QPointF(x, baseline));
        return;
    }
    if (painter_) {
        painter_->setPen(color);
        Barcode_Draw_Text(*painter_, text, font, kern, QPointF(x, baseline));
        return;
    }
    const int index = static_cast<int>(picture_->colorTable().indexOf(color.rgba()));
    if (index >= 0)
        Barcode_Fill_Text(*picture_, toPixels_, text, font, kern, QPointF(x, baseline), static_cast<uint>(index));
}
