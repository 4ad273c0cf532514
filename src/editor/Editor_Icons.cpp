#include "editor/Editor_Icons.h"

#include "common/Window_Look.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace {

constexpr int canvasSize = 48; // drawn at twice the usual size, so they stay crisp when scaled down
const QColor paper(255, 255, 255);

// The colour as an icon draws it on the window: its own where it stands out enough for a shape (3:1), else
// moved towards the palette's text colour until it does (a dark theme's window is near black).
QColor shownOnWindow(const QColor& colour)
{
    const QColor background = smallWindowBackground();
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    for (int step = 0; step < 10; ++step) {
        const double t = step / 10.0;
        const QColor mixed = QColor::fromRgbF(float(colour.redF() + (text.redF() - colour.redF()) * t),
            float(colour.greenF() + (text.greenF() - colour.greenF()) * t),
            float(colour.blueF() + (text.blueF() - colour.blueF()) * t));
        if (contrastRatio(mixed, background) >= 3.0)
            return mixed;
    }
    return text;
}

QColor ink()
{
    return shownOnWindow(QColor(52, 73, 94));
}

QColor accent()
{
    return shownOnWindow(QColor(41, 128, 185));
}

QColor warning()
{
    return shownOnWindow(QColor(192, 57, 43));
}

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QImage image(canvasSize, canvasSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink(), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

QPolygonF star(const QPointF& centre, double outer, double inner, int points)
{
    QPolygonF polygon;
    for (int i = 0; i < points * 2; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = -M_PI / 2 + i * M_PI / points;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

QPolygonF regular(const QPointF& centre, double radius, int corners)
{
    QPolygonF polygon;
    for (int i = 0; i < corners; ++i) {
        const double angle = -M_PI / 2 + i * 2 * M_PI / corners;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

void page(QPainter& p, const QRectF& r)
{
    p.setBrush(paper);
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(Qt::NoBrush);
}

void picture(QPainter& p)
{
    page(p, QRectF(7, 10, 34, 28));
    p.setBrush(accent());
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({ QPointF(10, 35), QPointF(20, 22), QPointF(28, 31), QPointF(32, 26), QPointF(38, 35) }));
    p.setBrush(QColor(241, 196, 15));
    p.drawEllipse(QPointF(31, 17), 3.5, 3.5);
}

void arrow(QPainter& p, const QPointF& from, const QPointF& to)
{
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    p.drawLine(to, to - u * 8 + n * 6);
    p.drawLine(to, to - u * 8 - n * 6);
}

} // namespace

QIcon toolIcon(int toolCode)
{
    const QPointF c(24, 24);
    switch (toolCode) {
    case 0:
        return drawn([](QPainter& p) {
            p.setBrush(ink());
            p.drawPolygon(QPolygonF({ QPointF(14, 8), QPointF(14, 38), QPointF(21, 31), QPointF(26, 42),
                QPointF(31, 40), QPointF(26, 29), QPointF(35, 29) }));
        });
    case 1:
        return drawn([](QPainter& p) { p.drawLine(QPointF(9, 39), QPointF(39, 9)); });
    case 2:
        return drawn([](QPainter& p) {
            QFont font(QStringLiteral("DejaVu Serif"));
            font.setPixelSize(34);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRectF(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("T"));
        });
    case 3:
        return drawn([](QPainter& p) { p.drawRect(QRectF(8, 12, 32, 24)); });
    case 4:
        return drawn([](QPainter& p) { p.drawEllipse(QRectF(7, 11, 34, 26)); });
    case 5:
        return drawn([](QPainter& p) { p.drawRoundedRect(QRectF(8, 12, 32, 24), 8, 8); });
    case 6:
        return drawn([](QPainter& p) {
            p.drawPolygon(QPolygonF({ QPointF(24, 8), QPointF(41, 38), QPointF(7, 38) }));
        });
    case 7:
        return drawn([](QPainter& p) {
            p.drawPolygon(QPolygonF({ QPointF(24, 6), QPointF(41, 24), QPointF(24, 42), QPointF(7, 24) }));
        });
    case 8:
        return drawn(picture);
    case 9:
        return drawn([](QPainter& p) {
            page(p, QRectF(13, 5, 28, 23));
            p.save();
            p.translate(-4, 9);
            picture(p);
            p.restore();
        });
    case 10:
        return drawn([](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(ink());
            const int widths[] = { 2, 1, 3, 1, 2, 3, 1, 2, 1, 3, 2 };
            double x = 7;
            for (int i = 0; i < 11; ++i) {
                if (i % 2 == 0)
                    p.drawRect(QRectF(x, 10, widths[i] * 1.6, 28));
                x += widths[i] * 1.6 + 1.2;
            }
        });
    case 11:
        return drawn([](QPainter& p) {
            QPainterPath path(QPointF(6, 32));
            path.cubicTo(QPointF(12, 8), QPointF(18, 40), QPointF(24, 24));
            path.cubicTo(QPointF(28, 14), QPointF(32, 36), QPointF(42, 20));
            p.drawPath(path);
            p.drawLine(QPointF(6, 40), QPointF(42, 40));
        });
    case 12:
        return drawn([](QPainter& p) {
            p.setPen(QPen(ink(), 2.2, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 5; ++i) {
                const double rx = 5 + i * 3.5, ry = 7 + i * 4;
                p.drawArc(QRectF(24 - rx, 26 - ry, rx * 2, ry * 2), 20 * 16, 320 * 16);
            }
        });
    case 13:
        return drawn([c](QPainter& p) { p.drawPolygon(star(c + QPointF(0, 2), 18, 7.5, 5)); });
    case 14:
        return drawn([c](QPainter& p) {
            p.drawPolygon(star(c, 19, 10, 8));
            p.drawPolygon(star(c, 9, 4, 8));
        });
    case 15:
        return drawn([c](QPainter& p) { p.drawPolygon(regular(c, 17, 6)); });
    default:
        return QIcon();
    }
}

QIcon commandIcon(const QString& name)
{
    if (name == QLatin1String("new"))
        return drawn([](QPainter& p) {
            page(p, QRectF(11, 6, 26, 36));
            p.setPen(QPen(accent(), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(24, 17), QPointF(24, 31));
            p.drawLine(QPointF(17, 24), QPointF(31, 24));
        });
    if (name == QLatin1String("open"))
        return drawn([](QPainter& p) {
            p.setBrush(QColor(241, 196, 15));
            p.drawPolygon(QPolygonF({ QPointF(5, 12), QPointF(18, 12), QPointF(22, 16), QPointF(43, 16),
                QPointF(43, 38), QPointF(5, 38) }));
        });
    if (name == QLatin1String("save") || name == QLatin1String("saveas"))
        return drawn([name](QPainter& p) {
            p.setBrush(accent());
            p.drawRoundedRect(QRectF(8, 8, 32, 32), 3, 3);
            p.setBrush(paper);
            p.drawRect(QRectF(14, 8, 20, 11));
            p.drawRect(QRectF(14, 27, 20, 13));
            if (name == QLatin1String("saveas")) {
                p.setPen(QPen(warning(), 3.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(30, 44), QPointF(45, 29));
            }
        });
    if (name == QLatin1String("undo") || name == QLatin1String("redo"))
        return drawn([name](QPainter& p) {
            if (name == QLatin1String("redo")) {
                p.translate(48, 0);
                p.scale(-1, 1);
            }
            QPainterPath path(QPointF(38, 36));
            path.cubicTo(QPointF(40, 18), QPointF(24, 14), QPointF(12, 20));
            p.drawPath(path);
            arrow(p, QPointF(18, 19), QPointF(10, 21));
        });
    if (name == QLatin1String("cut"))
        return drawn([](QPainter& p) {
            p.drawEllipse(QPointF(15, 36), 6, 6);
            p.drawEllipse(QPointF(33, 36), 6, 6);
            p.drawLine(QPointF(19, 31), QPointF(34, 6));
            p.drawLine(QPointF(29, 31), QPointF(14, 6));
        });
    if (name == QLatin1String("copy"))
        return drawn([](QPainter& p) {
            page(p, QRectF(8, 6, 22, 28));
            page(p, QRectF(18, 14, 22, 28));
        });
    if (name == QLatin1String("paste"))
        return drawn([](QPainter& p) {
            p.setBrush(QColor(202, 164, 114));
            p.drawRoundedRect(QRectF(9, 9, 30, 34), 3, 3);
            p.setBrush(paper);
            p.drawRect(QRectF(17, 5, 14, 8));
            page(p, QRectF(16, 18, 18, 20));
        });
    if (name == QLatin1String("delete"))
        return drawn([](QPainter& p) {
            p.drawLine(QPointF(10, 12), QPointF(38, 12));
            p.drawLine(QPointF(19, 12), QPointF(21, 7));
            p.drawLine(QPointF(21, 7), QPointF(27, 7));
            p.drawLine(QPointF(27, 7), QPointF(29, 12));
            p.drawPolygon(QPolygonF({ QPointF(13, 16), QPointF(35, 16), QPointF(32, 42), QPointF(16, 42) }));
        });
    if (name == QLatin1String("front") || name == QLatin1String("back"))
        return drawn([name](QPainter& p) {
            const bool front = name == QLatin1String("front");
            p.setBrush(front ? paper : accent());
            p.drawRect(QRectF(6, 6, 24, 24));
            p.setBrush(front ? accent() : paper);
            p.drawRect(QRectF(18, 18, 24, 24));
            if (!front) {
                p.setBrush(paper);
                p.drawRect(QRectF(6, 6, 24, 24));
            }
        });
    if (name == QLatin1String("lock") || name == QLatin1String("unlock"))
        return drawn([name](QPainter& p) {
            const bool open = name == QLatin1String("unlock");
            p.drawArc(QRectF(15, 6, 18, 22), 0, open ? 150 * 16 : 180 * 16);
            if (!open)
                p.drawLine(QPointF(33, 17), QPointF(33, 22));
            p.drawLine(QPointF(15, 17), QPointF(15, 22));
            p.setBrush(QColor(241, 196, 15));
            p.drawRoundedRect(QRectF(10, 21, 28, 21), 3, 3);
        });
    if (name == QLatin1String("export"))
        return drawn([](QPainter& p) {
            page(p, QRectF(8, 12, 24, 30));
            p.setPen(QPen(accent(), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            arrow(p, QPointF(22, 26), QPointF(42, 8));
        });
    if (name == QLatin1String("print"))
        return drawn([](QPainter& p) {
            page(p, QRectF(14, 6, 20, 12));
            p.setBrush(QColor(149, 165, 166));
            p.drawRoundedRect(QRectF(6, 17, 36, 17), 3, 3);
            page(p, QRectF(14, 28, 20, 14));
        });
    if (name == QLatin1String("mail"))
        return drawn([](QPainter& p) {
            page(p, QRectF(6, 12, 36, 25));
            p.drawPolyline(QPolygonF({ QPointF(7, 13), QPointF(24, 27), QPointF(41, 13) }));
        });
    if (name == QLatin1String("series"))
        return drawn([](QPainter& p) {
            for (int i = 0; i < 4; ++i) {
                p.drawEllipse(QPointF(10, 11 + i * 9), 1.5, 1.5);
                p.drawLine(QPointF(17, 11 + i * 9), QPointF(40, 11 + i * 9));
            }
        });
    if (name == QLatin1String("spreadsheet"))
        return drawn([](QPainter& p) {
            p.drawRect(QRectF(7, 9, 34, 30));
            for (int row = 1; row < 3; ++row)
                p.drawLine(QPointF(7, 9 + row * 10), QPointF(41, 9 + row * 10));
            p.drawLine(QPointF(19, 9), QPointF(19, 39));
            p.drawLine(QPointF(30, 9), QPointF(30, 39));
            p.fillRect(QRectF(8, 10, 33, 9), QColor(accent().red(), accent().green(), accent().blue(), 70));
        });
    if (name == QLatin1String("help"))
        return drawn([](QPainter& p) {
            p.drawEllipse(QPointF(24, 24), 17, 17);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(24);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRectF(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("?"));
        });
    if (name == QLatin1String("exit"))
        return drawn([](QPainter& p) {
            p.setPen(QPen(warning(), 3.5, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(9, 10, 30, 30), 120 * 16, 300 * 16);
            p.drawLine(QPointF(24, 6), QPointF(24, 23));
        });
    return QIcon();
}
