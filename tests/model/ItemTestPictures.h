#pragma once

#include "model/CardEditorServices.h"
#include "model/TSLGraphic.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

// Rendering items and the card base into pictures, probing their pixels, and keeping a copy of each
// picture in the build folder so that a person can look at it.
namespace itempictures {

// A picture of the given size in pixels, filled with one colour.
inline QImage blank(int width, int height, const QColor& fill = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

// Draws an item as the off-screen renderer does: points scaled to pixels by `scale`.
inline void draw(TSLGraphic& item, QImage& image, double scale = 1.0)
{
    QPainter painter(&image);
    painter.scale(scale, scale);
    TSLDrawingContext context;
    context.painter = &painter;
    context.deviceScale = scale;
    item.drawContentsInView(context, false);
}

// Saves the picture as <build folder>/pictures/<name>.png.
inline void keep(const QImage& image, const QString& name)
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

// True when two colours differ by at most `tolerance` in every channel.
inline bool near(const QColor& a, const QColor& b, int tolerance = 6)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

inline int countPixels(const QImage& image, const std::function<bool(const QColor&)>& test)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

// Same size and the same unpremultiplied colours, whatever the formats.
inline bool sameImage(const QImage& a, const QImage& b)
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

} // namespace itempictures
