#include "platform/PngColourWriter.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <zlib.h>

namespace {

// A white card with a frame, a filled box and a line of smooth text: flat areas and blended edges.
QImage cardLike(QImage::Format format)
{
    QImage image(1013, 638, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 139), 6));
    painter.drawRect(8, 8, 995, 620);
    painter.fillRect(790, 40, 190, 190, QColor(0, 128, 128));
    painter.setPen(Qt::black);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
    painter.drawText(40, 100, QStringLiteral("Guest number 4"));
    return image;
}

QImage noise(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    return image.convertToFormat(format);
}

// Translucent shades over a transparent ground, premultiplied as the renderer makes them.
QImage translucent()
{
    QImage image(300, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 10; ++i)
        painter.fillRect(i * 30, 0, 30, 120, QColor(200, 40, 10 * i, 25 * i + 5));
    painter.setBrush(QColor(10, 200, 90, 180));
    painter.drawEllipse(40, 20, 200, 80);
    return image;
}

QImage rows(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x / 37) * 20 % 256, (y / 3) * 40 % 256, (x * y) % 7 == 0 ? 255 : 0);
    }
    return image;
}

// A photograph as a card shows it: smooth shading under fine grain, with runs of rows repeated (as a
// picture enlarged to the card repeats them) and a white band across.
QImage shaded(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator grain(3);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (y % 7 == 3) {
            std::memcpy(line, image.constScanLine(y - 1), size_t(width) * 4);
            continue;
        }
        if (y > height / 2 && y < height / 2 + 9) {
            std::fill(line, line + width, qRgb(255, 255, 255));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const int g = int(grain.bounded(7u)) - 3;
            line[x] = qRgb(qBound(0, 40 + 180 * x / width + g, 255), qBound(0, 90 + 120 * y / height + g, 255),
                qBound(0, 200 - 90 * x / width + g, 255));
        }
    }
    return image;
}

// Our starry night background enlarged to a card 1418 pixels square, as the card's renderer draws it: rows of
// shades and rows nearly covered by the row above take turns.
QImage enlargedPhotograph()
{
    QImage card(1418, 1418, QImage::Format_RGB32);
    card.fill(Qt::white);
    QPainter painter(&card);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, 1418, 1418),
        QImage(QStringLiteral(TESSALINE_TEST_SOURCE_DIR "/../resources/data/Background/Night_Stars.jpg")));
    return card;
}

// The plain encoder's file size for the picture: rows unfiltered, zlib at level 1.
qsizetype plainEncoderBytes(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QByteArray raw;
    for (int y = 0; y < image.height(); ++y) {
        raw.append('\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            raw.append(char(qRed(line[x]))).append(char(qGreen(line[x]))).append(char(qBlue(line[x])));
    }
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.constData()),
        uLong(raw.size()), 1);
    return qsizetype(size) + 57; // signature, header, data and end chunks
}

int colourTypeOf(const QByteArray& png)
{
    return png.size() > 25 ? static_cast<unsigned char>(png.at(25)) : -1;
}

} // namespace

TEST(PngColourWriter, QtReadsEveryPictureBackPixelForPixel)
{
    struct Case {
        const char* name;
        std::function<QImage()> make;
        int colourType; // 2 RGB, 6 RGBA
    };
    const Case cases[] = {
        { "card, premultiplied", [] { return cardLike(QImage::Format_ARGB32_Premultiplied); }, 2 },
        { "card, straight alpha", [] { return cardLike(QImage::Format_ARGB32); }, 2 },
        { "card, no alpha", [] { return cardLike(QImage::Format_RGB32); }, 2 },
        { "photograph-like noise", [] { return noise(333, 97, QImage::Format_ARGB32); }, 2 },
        { "translucent shades", [] { return translucent(); }, 6 },
        { "rows repeating in threes", [] { return rows(211, 90); }, 2 },
        { "enlarged photograph", enlargedPhotograph, 2 },
        { "shades with repeated rows and a white band", [] { return shaded(517, 301); }, 2 },
        { "row wider than the window", [] { return noise(9000, 4, QImage::Format_ARGB32_Premultiplied); }, 2 },
        { "one pixel", [] { return noise(1, 1, QImage::Format_RGB32); }, 2 },
        { "grey picture", [] { return cardLike(QImage::Format_RGB32).convertToFormat(QImage::Format_Grayscale8); }, 2 },
        { "wide translucent",
            [] { return translucent().scaled(9100, 6).convertToFormat(QImage::Format_ARGB32_Premultiplied); }, 6 },
    };
    for (const Case& c : cases) {
        const QImage source = c.make();
        const QByteArray png = platform::PngColourWriter::pngData(source);
        ASSERT_FALSE(png.isEmpty()) << c.name;
        EXPECT_EQ(colourTypeOf(png), c.colourType) << c.name;
        QImage back;
        ASSERT_TRUE(back.loadFromData(png, "PNG")) << c.name;
        ASSERT_EQ(back.size(), source.size()) << c.name;
        // Compared in the source's own terms: premultiplied pixels premultiplied again, so that no rounding
        // of a conversion stands between them.
        const bool premultiplied = source.format() == QImage::Format_ARGB32_Premultiplied;
        const QImage::Format common = premultiplied ? QImage::Format_ARGB32_Premultiplied : QImage::Format_ARGB32;
        const QImage expected = source.convertToFormat(common);
        back = back.convertToFormat(common);
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                differing += reinterpret_cast<const QRgb*>(expected.constScanLine(y))[x]
                    != reinterpret_cast<const QRgb*>(back.constScanLine(y))[x];
        }
        EXPECT_EQ(differing, 0) << c.name;
    }
}

TEST(PngColourWriter, FlatCardIsSmallAndNoisePictureStaysNearItsSize)
{
    const QImage card = cardLike(QImage::Format_ARGB32_Premultiplied);
    const qsizetype raw = qsizetype(card.width()) * card.height() * 3;
    // Flat areas and the white beside the text go in as references: a fraction of the pixels' size.
    EXPECT_LT(platform::PngColourWriter::pngData(card).size(), raw / 30);
    const QImage photo = noise(400, 300, QImage::Format_RGB32);
    // Nothing to find in noise: literals of at most nine bits a byte.
    EXPECT_LT(platform::PngColourWriter::pngData(photo).size(), qsizetype(400) * 300 * 3 * 9 / 8 + 1024);
}

// No file larger than the plain encoder's (rows unfiltered, zlib at its fastest) for the same pixels.
TEST(PngColourWriter, FilesAreNoLargerThanThePlainEncoders)
{
    const struct {
        const char* name;
        QImage image;
    } pictures[] = {
        { "card", cardLike(QImage::Format_RGB32) },
        { "shades", shaded(1013, 638) },
        { "rows repeating in threes", rows(211, 90) },
        { "enlarged photograph", enlargedPhotograph() },
        { "grey picture", cardLike(QImage::Format_RGB32).convertToFormat(QImage::Format_Grayscale8) },
    };
    for (const auto& picture : pictures)
        EXPECT_LE(platform::PngColourWriter::pngData(picture.image).size(), plainEncoderBytes(picture.image))
            << picture.name;
}

TEST(PngColourWriter, ResolutionIsRecordedAndNullPictureGivesNothing)
{
    QImage image = cardLike(QImage::Format_RGB32);
    image.setDotsPerMeterX(11811); // 300 dpi
    image.setDotsPerMeterY(11811);
    QImage back;
    ASSERT_TRUE(back.loadFromData(platform::PngColourWriter::pngData(image), "PNG"));
    EXPECT_EQ(back.dotsPerMeterX(), 11811);
    EXPECT_EQ(back.dotsPerMeterY(), 11811);
    EXPECT_TRUE(platform::PngColourWriter::pngData(QImage()).isEmpty());
}

TEST(PngColourWriter, AlphaOnlyWhenSomePixelIsNotOpaque)
{
    QImage image(70, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    EXPECT_FALSE(platform::PngColourWriter::needsAlpha(image));
    image.setPixel(69, 39, qRgba(0, 0, 0, 0));
    EXPECT_TRUE(platform::PngColourWriter::needsAlpha(image));
    image.setPixel(69, 39, qPremultiply(qRgba(255, 255, 255, 254)));
    EXPECT_TRUE(platform::PngColourWriter::needsAlpha(image));
    EXPECT_FALSE(platform::PngColourWriter::needsAlpha(image.convertToFormat(QImage::Format_RGB32)));
}
