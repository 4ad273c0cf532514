#include "Promotion_Pictures.h"

#include "Drawn_Picture.h"

#include "info/Promotion_Product.h"

#include <QDir>
#include <QPainter>

namespace {

// A sheet of round stickers, one of them half peeled off.
void stickerSheet(QPainter& p)
{
    p.setPen(QPen(QColor(150, 150, 170), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(38, 24, 180, 208), 10, 10);
    const struct {
        QPointF c;
        QColor colour;
    } stickers[] = { { { 88, 78 }, QColor(240, 110, 130) }, { { 168, 78 }, QColor(90, 170, 230) },
        { { 88, 178 }, QColor(250, 200, 60) } };
    for (const auto& s : stickers) {
        p.setPen(QPen(s.colour.darker(130), 3));
        p.setBrush(s.colour);
        p.drawEllipse(s.c, 36, 36);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(drawn::starPath(s.c, 22, 9, 5));
    }
    // The peeled sticker: its empty place, then the sticker lifted at an angle.
    p.setPen(QPen(QColor(200, 200, 210), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(168, 178), 36, 36);
    p.save();
    p.translate(182, 168);
    p.rotate(-25);
    p.setPen(QPen(QColor(70, 150, 90), 3));
    p.setBrush(QColor(110, 200, 130));
    p.drawEllipse(QPointF(0, 0), 36, 36);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-18, -18, 36, 36), 200 * 16, 140 * 16);
    p.restore();
}

// A recipe card with a bowl and the lines of the steps.
void recipeCard(QPainter& p)
{
    p.save();
    p.translate(128, 128);
    p.rotate(-6);
    p.setPen(QPen(QColor(160, 120, 80), 2));
    p.setBrush(QColor(255, 246, 225));
    p.drawRoundedRect(QRectF(-105, -80, 210, 160), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 90, 70));
    p.drawRect(QRectF(-105, -62, 210, 16));
    p.setPen(QPen(QColor(190, 170, 140), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(-90, -28 + i * 20), QPointF(i % 2 ? 0 : 20, -28 + i * 20));
    // The bowl with a spoon in it.
    p.setPen(QPen(QColor(60, 90, 140), 3));
    p.drawLine(QPointF(70, 4), QPointF(92, -40));
    p.setBrush(QColor(120, 160, 220));
    QPainterPath bowl;
    bowl.moveTo(30, 10);
    bowl.arcTo(QRectF(30, -20, 70, 70), 180, 180);
    bowl.closeSubpath();
    p.drawPath(bowl);
    p.restore();
}

// A tall bookmark with a pattern, a punched hole and a tassel.
void bookmark(QPainter& p)
{
    const QRectF mark(92, 20, 72, 216);
    p.setPen(QPen(QColor(80, 60, 120), 3));
    p.setBrush(QColor(150, 120, 210));
    p.drawRoundedRect(mark, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    for (int row = 0; row < 5; ++row)
        p.drawPath(drawn::starPath(QPointF(128, 80 + row * 34), 12, 5, 5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(128, 40), 7, 7);
    // The tassel hangs from the hole to the side of the bookmark.
    p.setPen(QPen(QColor(230, 160, 40), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath cord;
    cord.moveTo(128, 40);
    cord.cubicTo(150, 10, 190, 20, 196, 60);
    p.drawPath(cord);
    p.setBrush(QColor(240, 180, 50));
    QPainterPath tassel;
    tassel.moveTo(196, 60);
    tassel.lineTo(180, 120);
    tassel.lineTo(212, 120);
    tassel.closeSubpath();
    p.drawPath(tassel);
}

} // namespace

bool writePromotionPictures(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const struct {
        const char* kind;
        void (*draw)(QPainter&);
    } pictures[] = { { "S", stickerSheet }, { "R", recipeCard }, { "B", bookmark } };
    for (const auto& picture : pictures) {
        const QString name = Promotion_Product::pictureFileName(QLatin1String(picture.kind));
        if (!drawn::writePicture(QDir(folder).filePath(name), picture.draw))
            return false;
    }
    return true;
}
