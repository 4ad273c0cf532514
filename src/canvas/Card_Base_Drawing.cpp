#include "canvas/Card_Base_Drawing.h"

#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/Card_Property.h"
#include "model/FillStylePattern.h"
#include "model/TSLDrawing.h"

#include <QBrush>
#include <QMutex>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// The card base is painted at every canvas repaint; a fault that keeps happening is logged once.
void logOnce(const QString& message)
{
    static QMutex lock;
    static QSet<QString> logged;
    {
        const QMutexLocker guard(&lock);
        if (logged.contains(message))
            return;
        logged.insert(message);
    }
    Show_NSLog_Message(message);
}

// The background picture's opacity: 1 or more is opaque.
double pictureOpacity(float fraction)
{
    if (std::isnan(fraction))
        return 1.0;
    return std::clamp(static_cast<double>(fraction), 0.0, 1.0);
}

// An absent colour (a record read from an archive without it) paints nothing rather than black.
void fillWithColor(QPainter& painter, const QPainterPath& path, const QColor& color)
{
    if (color.isValid())
        painter.fillPath(path, color);
}

// A brush that repeats a picture from the card's top-left corner.
QBrush tiledBrush(const QImage& picture, const QRectF& cardRect)
{
    QBrush brush(picture);
    brush.setTransform(QTransform::fromTranslate(cardRect.x(), cardRect.y()));
    return brush;
}

void fillBackground(QPainter& painter, const QPainterPath& outline, const QRectF& cardRect, const Card_Property& side)
{
    const QString style = side.Card_fill_style();
    if (style == QLatin1String("G")) {
        fillPathWithAngledGradient(
            painter, outline, side.Card_fill_Grd_1_clr(), side.Card_fill_Grd_2_clr(), side.Card_grad_Stepper());
    } else if (style == QLatin1String("H")) {
        fillWithColor(painter, outline, side.Card_hatch_bk_clr());
        // A missing pattern is logged by the loader; the hatch colour stays on its own.
        const QImage pattern = fillStylePattern(side.Card_hatch_style());
        if (!pattern.isNull())
            painter.fillPath(outline, tiledBrush(pattern, cardRect));
    } else if (style == QLatin1String("I")) {
        const QImage picture = side.Card_BG_Image();
        if (picture.isNull())
            return; // the white outline stays
        painter.save();
        painter.setOpacity(painter.opacity() * pictureOpacity(side.Card_alpha_Stepper()));
        if (side.Card_BG_Image_Layout() == QLatin1String("Tile")) {
            painter.fillPath(outline, tiledBrush(picture, cardRect));
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(cardRect, picture, QRectF(picture.rect()));
        }
        painter.restore();
    } else {
        fillWithColor(painter, outline, side.Card_fill_clr());
    }
}

// The background is one opaque colour, which a filled ground already holds.
bool isSolidFill(const Card_Property& side)
{
    const QString style = side.Card_fill_style();
    return side.Card_fill_chk() && style != QLatin1String("G") && style != QLatin1String("H")
        && style != QLatin1String("I") && side.Card_fill_clr().isValid() && side.Card_fill_clr().alpha() == 255;
}

} // namespace

QColor Card_Base_Ground(const Card_Property& side)
{
    return isSolidFill(side) ? side.Card_fill_clr() : QColor(Qt::white);
}

bool Card_Base_Paints_Over_Ground(const Card_Property& side)
{
    return (side.Card_fill_chk() && !isSolidFill(side)) || (side.Card_border_chk() && side.Card_bordr_clr().isValid());
}

QPainterPath cardOutlinePath(const QRectF& cardRect, int cardShape)
{
    QPainterPath path;
    if (cardShape == 1) {
        const double rx = std::min(10.0, cardRect.width() / 2.0);
        const double ry = std::min(10.0, cardRect.height() / 2.0);
        path.addRoundedRect(cardRect, rx, ry);
    } else if (cardShape == 2) {
        path.addEllipse(cardRect);
    } else {
        path.addRect(cardRect);
    }
    return path;
}

void Card_Base_Drawing(QPainter& painter, const QRectF& cardRect, const Card_Property& side, int cardShape,
    const QRectF& dirtyRect, bool groundPainted)
{
    if (dirtyRect.isEmpty() || cardRect.isEmpty())
        return;
    painter.save();
    try {
        painter.setClipRect(dirtyRect, Qt::IntersectClip);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath outline = cardOutlinePath(cardRect, cardShape);
        if (!groundPainted)
            painter.fillPath(outline, Qt::white);

        if (side.Card_fill_chk() && !(groundPainted && isSolidFill(side)))
            fillBackground(painter, outline, cardRect, side);

        if (side.Card_border_chk() && side.Card_bordr_clr().isValid()) {
            const double width = std::max(0, side.Card_bor_Stepper());
            painter.strokePath(outline, borderPen(side.Card_bordr_clr(), width, side.Card_border_style()));
        }
    } catch (const std::exception& e) {
        logOnce(QStringLiteral("Card_Base_Drawing: %1").arg(QString::fromUtf8(e.what())));
    }
    painter.restore();
}

void Card_Base_Drawing(QPainter& painter, const QRectF& cardRect, const QRectF& dirtyRect, int side)
{
    const CardEditorServices* services = editorServices();
    const Card_Property record
        = services ? services->cardSideProperty(side < 0 ? Card_Front_Or_Back : side) : Card_Property();
    Card_Base_Drawing(painter, cardRect, record, Card_Shape, dirtyRect);
}
