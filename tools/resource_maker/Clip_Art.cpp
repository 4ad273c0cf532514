#include "Clip_Art.h"

#include "Drawn_Picture.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>

namespace {

QPainterPath heartPath(const QRectF& box)
{
    const double w = box.width(), h = box.height(), x = box.x(), y = box.y();
    QPainterPath path;
    path.moveTo(x + w / 2, y + h * 0.3);
    path.cubicTo(x + w * 0.5, y, x, y, x, y + h * 0.32);
    path.cubicTo(x, y + h * 0.6, x + w * 0.35, y + h * 0.75, x + w / 2, y + h);
    path.cubicTo(x + w * 0.65, y + h * 0.75, x + w, y + h * 0.6, x + w, y + h * 0.32);
    path.cubicTo(x + w, y, x + w * 0.5, y, x + w / 2, y + h * 0.3);
    return path;
}

void balloons(QPainter& p)
{
    const struct {
        QPointF c;
        QColor colour;
    } balls[] = { { { 90, 80 }, QColor(230, 60, 70) }, { { 165, 70 }, QColor(60, 130, 220) },
        { { 128, 120 }, QColor(250, 190, 40) } };
    p.setPen(QPen(QColor(90, 90, 90), 2));
    for (const auto& b : balls)
        p.drawLine(b.c + QPointF(0, 50), QPointF(128, 245));
    for (const auto& b : balls) {
        p.setPen(Qt::NoPen);
        p.setBrush(b.colour);
        p.drawEllipse(b.c, 40, 50);
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawEllipse(b.c + QPointF(-14, -20), 9, 14);
    }
}

void cake(QPainter& p)
{
    p.setPen(QPen(QColor(120, 70, 40), 3));
    p.setBrush(QColor(245, 215, 170));
    p.drawRoundedRect(QRectF(40, 130, 176, 90), 12, 12);
    p.setBrush(QColor(240, 120, 160));
    p.drawRoundedRect(QRectF(40, 120, 176, 30), 12, 12);
    for (int i = 0; i < 3; ++i) {
        const double x = 80 + i * 48;
        p.setBrush(QColor(120, 180, 240));
        p.drawRect(QRectF(x - 6, 70, 12, 50));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 170, 0));
        p.drawEllipse(QPointF(x, 58), 7, 12);
        p.setPen(QPen(QColor(120, 70, 40), 3));
    }
}

void gift(QPainter& p)
{
    p.setPen(QPen(QColor(40, 60, 120), 3));
    p.setBrush(QColor(70, 110, 200));
    p.drawRect(QRectF(48, 100, 160, 130));
    p.setBrush(QColor(90, 140, 230));
    p.drawRect(QRectF(38, 80, 180, 30));
    p.setBrush(QColor(230, 50, 60));
    p.drawRect(QRectF(118, 80, 20, 150));
    p.drawEllipse(QRectF(80, 40, 48, 40));
    p.drawEllipse(QRectF(128, 40, 48, 40));
}

void daisy(QPainter& p)
{
    p.setPen(QPen(QColor(40, 120, 40), 6));
    p.drawLine(QPointF(128, 128), QPointF(128, 250));
    p.setPen(QPen(QColor(200, 200, 200), 1));
    p.setBrush(Qt::white);
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(128, 110);
        p.rotate(i * 30);
        p.drawEllipse(QRectF(-12, -80, 24, 64));
        p.restore();
    }
    p.setBrush(QColor(250, 200, 30));
    p.drawEllipse(QPointF(128, 110), 26, 26);
}

void tulip(QPainter& p)
{
    p.setPen(QPen(QColor(40, 120, 40), 6));
    p.drawLine(QPointF(128, 130), QPointF(128, 250));
    p.setBrush(QColor(60, 150, 60));
    p.setPen(Qt::NoPen);
    QPainterPath leaf;
    leaf.moveTo(128, 240);
    leaf.quadTo(70, 200, 80, 150);
    leaf.quadTo(110, 190, 128, 240);
    p.drawPath(leaf);
    QPainterPath bloom;
    bloom.moveTo(80, 60);
    bloom.lineTo(104, 90);
    bloom.lineTo(128, 50);
    bloom.lineTo(152, 90);
    bloom.lineTo(176, 60);
    bloom.quadTo(180, 140, 128, 140);
    bloom.quadTo(76, 140, 80, 60);
    p.setBrush(QColor(220, 40, 110));
    p.drawPath(bloom);
}

void heart(QPainter& p)
{
    QLinearGradient fill(0, 40, 0, 230);
    fill.setColorAt(0, QColor(255, 90, 110));
    fill.setColorAt(1, QColor(190, 20, 50));
    p.setPen(QPen(QColor(140, 10, 30), 3));
    p.setBrush(fill);
    p.drawPath(heartPath(QRectF(28, 40, 200, 190)));
}

void twoHearts(QPainter& p)
{
    p.setPen(QPen(QColor(140, 10, 30), 3));
    p.setBrush(QColor(240, 120, 150));
    p.drawPath(heartPath(QRectF(20, 40, 140, 130)));
    p.setBrush(QColor(220, 40, 70));
    p.drawPath(heartPath(QRectF(96, 96, 140, 130)));
}

void star(QPainter& p)
{
    p.setPen(QPen(QColor(170, 120, 0), 4));
    p.setBrush(QColor(255, 210, 40));
    p.drawPath(drawn::starPath(QPointF(128, 134), 115, 48, 5));
}

void partyHat(QPainter& p)
{
    QPainterPath cone;
    cone.moveTo(128, 30);
    cone.lineTo(208, 220);
    cone.lineTo(48, 220);
    cone.closeSubpath();
    p.setPen(QPen(QColor(80, 40, 120), 3));
    p.setBrush(QColor(150, 80, 210));
    p.drawPath(cone);
    p.setClipPath(cone);
    p.setPen(QPen(QColor(255, 220, 60), 14));
    for (int y = 70; y < 240; y += 45)
        p.drawLine(QPointF(20, y + 30), QPointF(240, y - 30));
    p.setClipping(false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 70, 90));
    p.drawEllipse(QPointF(128, 30), 18, 18);
}

void confetti(QPainter& p)
{
    const QColor colours[] = { QColor(230, 60, 70), QColor(60, 130, 220), QColor(250, 190, 40), QColor(60, 170, 90),
        QColor(160, 80, 210) };
    p.setPen(Qt::NoPen);
    // A fixed scatter, so every build draws the same picture.
    for (int i = 0; i < 60; ++i) {
        const double x = 16 + (i * 73) % 224;
        const double y = 16 + (i * 131) % 224;
        p.save();
        p.translate(x, y);
        p.rotate((i * 47) % 180);
        p.setBrush(colours[i % 5]);
        if (i % 3 == 0)
            p.drawEllipse(QPointF(0, 0), 6, 6);
        else
            p.drawRect(QRectF(-8, -3, 16, 6));
        p.restore();
    }
}

void snowflake(QPainter& p)
{
    p.setPen(QPen(QColor(70, 140, 210), 8, Qt::SolidLine, Qt::RoundCap));
    p.translate(128, 128);
    for (int i = 0; i < 6; ++i) {
        p.drawLine(QPointF(0, 0), QPointF(0, -105));
        p.drawLine(QPointF(0, -60), QPointF(-26, -85));
        p.drawLine(QPointF(0, -60), QPointF(26, -85));
        p.rotate(60);
    }
}

void sun(QPainter& p)
{
    p.setPen(QPen(QColor(245, 150, 20), 8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(QPointF(128 + 70 * std::cos(a), 128 + 70 * std::sin(a)),
            QPointF(128 + 110 * std::cos(a), 128 + 110 * std::sin(a)));
    }
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(QPointF(128, 128), 58, 58);
}

} // namespace

bool writeClipArt(const QString& folder)
{
    const struct {
        const char* category;
        const char* name;
        void (*draw)(QPainter&);
    } pictures[] = {
        { "birthday", "Balloons", balloons },
        { "birthday", "Cake", cake },
        { "birthday", "Gift", gift },
        { "flowers", "Daisy", daisy },
        { "flowers", "Tulip", tulip },
        { "love", "Heart", heart },
        { "love", "Two Hearts", twoHearts },
        { "party", "Star", star },
        { "party", "Party Hat", partyHat },
        { "party", "Confetti", confetti },
        { "seasons", "Snowflake", snowflake },
        { "seasons", "Sun", sun },
    };
    for (const auto& picture : pictures) {
        const QDir category(QDir(folder).filePath(QLatin1String(picture.category)));
        if (!QDir().mkpath(category.path()))
            return false;
        if (!drawn::writePicture(category.filePath(QLatin1String(picture.name) + QStringLiteral(".png")), picture.draw))
            return false;
    }
    return true;
}
