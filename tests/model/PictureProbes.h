#pragma once

#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

// Rendering items and the card base into pictures, small pictures for the adjustment tests, pixel
// probes, and keeping a copy of each picture in the build folder so that a person can look at it.
namespace pictureprobes {

inline QImage filled(int width, int height, const QColor& color, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(width, height, format);
    image.fill(color);
    return image;
}

// A picture of the given size in pixels, filled with one colour, in the format the renderer paints into.
inline QImage blank(int width, int height, const QColor& fill = Qt::white)
{
    return filled(width, height, fill, QImage::Format_ARGB32_Premultiplied);
}

// Draws an item as the off-screen renderer does: points scaled to pixels by `scale`.
inline void draw(TSLGraphic& item, QImage& image, double scale = 1.0, bool beingCreated = false)
{
    QPainter painter(&image);
    painter.scale(scale, scale);
    TSLDrawingContext context;
    context.painter = &painter;
    context.deviceScale = scale;
    item.drawContentsInView(context, beingCreated);
}

// A white picture of size (in points) times scale, with the item drawn on it.
inline QImage render(TSLGraphic& item, QSizeF points, double scale = 1.0, bool beingCreated = false)
{
    QImage image = blank(qCeil(points.width() * scale), qCeil(points.height() * scale));
    draw(item, image, scale, beingCreated);
    return image;
}

// A picture where every pixel differs: colour gradients across, alpha stepping down, including fully
// transparent pixels that still hold a colour (ARGB32 keeps it).
inline QImage varied(int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                qRgba((x * 255) / (width - 1), (y * 255) / (height - 1), (x * 7 + y * 13) % 256,
                    y == 0 ? 0 : 255 - (x * 3) % 256));
    return image;
}

// Left half one colour, right half another: an edge between columns width / 2 - 1 and width / 2.
inline QImage edge(int width, int height, const QColor& left, const QColor& right)
{
    QImage image = filled(width, height, left);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixelColor(x, y, right);
    return image;
}

// A picture in four coloured quarters: red top-left, green top-right, blue bottom-left, yellow
// bottom-right, so a turn or a mirror shows where each corner went.
inline QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixelColor(x, y,
                bottom ? (right ? QColor(Qt::yellow) : QColor(Qt::blue))
                       : (right ? QColor(Qt::green) : QColor(Qt::red)));
        }
    return image;
}

inline QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The unpremultiplied colour of a pixel, whatever the picture's format.
inline QRgb colorAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).rgba();
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

// True when two colours differ by at most `tolerance` in every channel.
inline bool near(const QColor& a, const QColor& b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

// As near(), with both colours in the failure message; the wider default suits antialiased drawing.
inline ::testing::AssertionResult colorNear(const QColor& actual, const QColor& expected, int tolerance = 12)
{
    if (near(actual, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

// Largest difference between two colours over the four channels (unpremultiplied).
inline int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)),
        std::abs(qAlpha(a) - qAlpha(b)) });
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

// True when both pictures have the same size and the same unpremultiplied pixels, whatever the formats.
inline bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < ca.height(); ++y)
        for (int x = 0; x < ca.width(); ++x)
            if (ca.pixel(x, y) != cb.pixel(x, y))
                return false;
    return true;
}

// Keeps the picture as <build folder>/pictures/<name>.png for a person to look at.
inline void keepPicture(const QImage& image, const QString& name)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/pictures");
    ASSERT_TRUE(QDir().mkpath(folder));
    QSaveFile file(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(image.save(&file, "PNG"));
    ASSERT_TRUE(file.commit());
}

// Writes a picture file for an item to read; returns its path.
inline QString writePicture(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    QSaveFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(image.save(&file, "PNG"));
    EXPECT_TRUE(file.commit());
    return path;
}

// The main window as far as items and the card base see it: counts refresh requests and control resets,
// and hands out a record per side.
class FakeEditor : public CardEditorServices {
public:
    FakeEditor() { setEditorServices(this); }
    ~FakeEditor() override { setEditorServices(nullptr); }
    QFont defaultTextFont() const override { return QFont(QStringLiteral("DejaVu Sans"), 12); }
    QColor defaultTextColor() const override { return Qt::black; }
    QPointF nextCascadePoint(const QString&) override { return {}; }
    QRectF frontCanvasBounds() const override { return { 0, 0, 240, 150 }; }
    void refreshCanvas() override
    {
        ++refreshes;
        refreshedOnGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    Card_Property cardSideProperty(int frontOrBack) const override { return frontOrBack == 0 ? front : back; }
    void resetImageEditingControls() override { ++controlResets; }

    int refreshes = 0;
    bool refreshedOnGuiThread = false;
    int controlResets = 0;
    Card_Property front;
    Card_Property back;
};

} // namespace pictureprobes
