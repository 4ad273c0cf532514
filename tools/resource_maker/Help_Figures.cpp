#include "Help_Figures.h"

#include <QPainter>
#include <QPainterPath>

namespace Help_Figures {

namespace {

const QColor kWindow(241, 244, 250);
const QColor kFrame(90, 100, 120);
const QColor kAccent(60, 110, 200);

// A blank window sketch with a title bar; the painter is left set up for the contents.
QImage windowSketch(QSize size, const QString& title, QPainter& painter)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kFrame, 2));
    painter.setBrush(kWindow);
    painter.drawRoundedRect(QRectF(4, 4, size.width() - 8, size.height() - 8), 8, 8);
    painter.setBrush(QColor(210, 218, 232));
    painter.drawRect(QRectF(4, 4, size.width() - 8, 28));
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold));
    painter.drawText(QRectF(4, 4, size.width() - 8, 28), Qt::AlignCenter, title);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    return image;
}

void button(QPainter& p, const QRectF& r, const QString& text, bool strong = false)
{
    p.setPen(QPen(kFrame, 1.5));
    p.setBrush(strong ? kAccent : QColor(250, 250, 252));
    p.drawRoundedRect(r, 5, 5);
    p.setPen(strong ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}

void cardFace(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kFrame, 1.5));
    QLinearGradient fill(r.topLeft(), r.bottomRight());
    fill.setColorAt(0, QColor(255, 236, 210));
    fill.setColorAt(1, QColor(250, 200, 220));
    p.setBrush(fill);
    p.drawRoundedRect(r, 10, 10);
    p.setPen(QColor(150, 40, 80));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 13, QFont::Bold, true));
    p.drawText(
        r.adjusted(0, 10, 0, -r.height() / 2), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Happy Birthday!"));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    p.setPen(Qt::black);
    p.drawText(r.adjusted(10, r.height() / 2 - 10, -10, -10), Qt::AlignHCenter | Qt::TextWordWrap,
        QStringLiteral("Come and celebrate with us on Saturday"));
}

} // namespace

QImage startScreen()
{
    QPainter p;
    QImage image = windowSketch({ 520, 300 }, QStringLiteral("Tessaline Card"), p);
    button(p, { 40, 70, 200, 44 }, QStringLiteral("New card with the wizard"), true);
    button(p, { 40, 130, 200, 44 }, QStringLiteral("Open a saved design"));
    button(p, { 40, 190, 95, 36 }, QStringLiteral("Help"));
    button(p, { 145, 190, 95, 36 }, QStringLiteral("Exit"));
    cardFace(p, { 280, 70, 210, 140 });
    p.end();
    return image;
}

QImage editorWindow()
{
    QPainter p;
    QImage image = windowSketch({ 620, 380 }, QStringLiteral("Tessaline Card - editor"), p);
    // Tool bar.
    for (int i = 0; i < 10; ++i)
        button(p, { 14.0 + i * 40, 40, 34, 26 }, QString());
    p.drawText(QRectF(420, 40, 190, 26), Qt::AlignVCenter, QStringLiteral("tool bar: files, edit, output"));
    // Tool palette.
    for (int i = 0; i < 8; ++i)
        button(p, { 14, 80.0 + i * 34, 30, 30 }, QString());
    p.save();
    p.translate(10, 370);
    p.rotate(-90);
    p.drawText(QRectF(0, 0, 90, 14), Qt::AlignLeft, QStringLiteral("tools"));
    p.restore();
    // Canvas with the card.
    p.setPen(QPen(kFrame, 1));
    p.setBrush(QColor(225, 228, 235));
    p.drawRect(QRectF(56, 80, 360, 284));
    cardFace(p, { 96, 130, 280, 180 });
    p.setPen(QPen(kAccent, 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(140, 136, 192, 26));
    // Inspector.
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(428, 80, 180, 284));
    const char* rows[] = { "Card size", "Background", "Border", "Text", "Data source", "Alignment" };
    for (int i = 0; i < 6; ++i) {
        button(p, { 436, 90.0 + i * 40, 164, 30 }, QLatin1String(rows[i]));
    }
    p.end();
    return image;
}

QImage cardItems()
{
    QImage image(560, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kFrame, 3));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 20, QFont::Bold));
    p.drawText(QRectF(10, 20, 90, 60), Qt::AlignCenter, QStringLiteral("Aa"));
    p.drawLine(QPointF(110, 75), QPointF(180, 25));
    p.setBrush(QColor(120, 170, 240));
    p.drawRect(QRectF(195, 25, 60, 50));
    p.setBrush(QColor(250, 190, 40));
    p.drawEllipse(QRectF(270, 25, 60, 50));
    p.setBrush(QColor(240, 120, 150));
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 ? 12 : 28;
        const QPointF pt(375 + r * std::cos(a), 50 + r * std::sin(a));
        i ? star.lineTo(pt) : star.moveTo(pt);
    }
    star.closeSubpath();
    p.drawPath(star);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i < 18; ++i)
        p.drawRect(QRectF(420 + i * 7, 25, (i % 3) + 1.5, 50));
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const char* names[] = { "text", "line", "rectangle", "ellipse", "star", "barcode" };
    const double xs[] = { 55, 145, 225, 300, 375, 480 };
    for (int i = 0; i < 6; ++i)
        p.drawText(QRectF(xs[i] - 45, 95, 90, 20), Qt::AlignCenter, QLatin1String(names[i]));
    return image;
}

QImage dataSources()
{
    QPainter p;
    QImage image = windowSketch({ 520, 240 }, QStringLiteral("Data sources"), p);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(24, 50, 160, 170));
    const char* names[] = { "Anna", "Ben", "Carla", "David", "Emma" };
    for (int i = 0; i < 5; ++i)
        p.drawText(QRectF(34, 56.0 + i * 30, 140, 26), Qt::AlignVCenter, QLatin1String(names[i]));
    p.drawText(QRectF(24, 222, 160, 14), Qt::AlignCenter, QStringLiteral("series \"Guests\""));
    p.setPen(QPen(kAccent, 3));
    p.drawLine(QPointF(190, 130), QPointF(270, 130));
    p.drawLine(QPointF(260, 120), QPointF(270, 130));
    p.drawLine(QPointF(260, 140), QPointF(270, 130));
    for (int i = 0; i < 3; ++i)
        cardFace(p, { 290.0 + i * 16, 60.0 + i * 22, 180, 110 });
    p.end();
    return image;
}

QImage printSheet()
{
    QImage image(300, 400, QImage::Format_RGB32);
    image.fill(QColor(230, 230, 230));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(20, 10, 260, 380));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column)
            cardFace(p, { 36.0 + column * 118, 30.0 + row * 88, 110, 78 });
    return image;
}

QImage exportAndMail()
{
    QPainter p;
    QImage image = windowSketch({ 520, 220 }, QStringLiteral("Export and e-mail"), p);
    cardFace(p, { 24, 60, 180, 120 });
    p.setPen(QPen(kAccent, 3));
    p.drawLine(QPointF(215, 120), QPointF(285, 90));
    p.drawLine(QPointF(215, 120), QPointF(285, 160));
    button(p, { 295, 70, 190, 40 }, QStringLiteral("Card_1.png, Card_2.png ..."));
    button(p, { 295, 140, 190, 40 }, QStringLiteral("one mail per record"), true);
    p.end();
    return image;
}

} // namespace Help_Figures
