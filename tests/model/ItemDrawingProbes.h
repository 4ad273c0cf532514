#pragma once

// Helpers of the item drawing tests: render one item into a picture as the off-screen renderer would
// (canvas points scaled to pixels), probe its pixels, and keep a copy of each picture to look at.
#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <gtest/gtest.h>

#include <cmath>

namespace itemprobes {

// Counts the refresh requests that drawing makes.
class RefreshCountingEditor : public CardEditorServices {
public:
    RefreshCountingEditor() { setEditorServices(this); }
    ~RefreshCountingEditor() override { setEditorServices(nullptr); }
    QFont defaultTextFont() const override { return QFont(QStringLiteral("DejaVu Sans"), 14); }
    QColor defaultTextColor() const override { return QColor(Qt::black); }
    QPointF nextCascadePoint(const QString&) override { return {}; }
    QRectF frontCanvasBounds() const override { return { 0, 0, 242.65, 153.07 }; }
    void refreshCanvas() override { ++refreshes; }
    int refreshes = 0;
};

// A white picture of size (in points) times scale, with the item drawn on it.
inline QImage render(TSLGraphic& item, QSizeF points, double scale = 1.0, bool beingCreated = false)
{
    QImage image(qCeil(points.width() * scale), qCeil(points.height() * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    TSLDrawingContext context;
    context.painter = &painter;
    context.deviceScale = scale;
    item.drawContentsInView(context, beingCreated);
    painter.end();
    return image;
}

// The pixel under a point given in canvas points.
inline QColor pixelAt(const QImage& image, QPointF point, double scale = 1.0)
{
    return image.pixelColor(int(std::floor(point.x() * scale)), int(std::floor(point.y() * scale)));
}

inline bool isWhite(const QColor& c)
{
    return c.red() > 250 && c.green() > 250 && c.blue() > 250;
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 12)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

inline ::testing::AssertionResult colorNear(const QColor& actual, const QColor& expected, int tolerance = 12)
{
    if (near(actual, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

// The smallest pixel rectangle holding every pixel that is not white; empty when all are white.
inline QRect inkBounds(const QImage& image, QRect within = {})
{
    const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
    int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1, bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!isWhite(image.pixelColor(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

inline int countPixels(const QImage& image, const std::function<bool(const QColor&)>& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// Keeps the picture as <program folder>/pictures/<name>.png for a person to look at.
inline void keepPicture(const QImage& image, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/pictures");
    ASSERT_TRUE(QDir().mkpath(folder));
    QSaveFile file(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(image.save(&file, "PNG"));
    ASSERT_TRUE(file.commit());
}

} // namespace itemprobes
