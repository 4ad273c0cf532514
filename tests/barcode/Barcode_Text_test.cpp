#include "barcode/Barcode_Text.h"

#include <QFont>
#include <QImage>
#include <QTransform>

#include <gtest/gtest.h>

#include <thread>

namespace {

struct TextCase {
    const char* text;
    double pointSize;
    double scale;
    QImage::Format format;
};

// The text filled in index 1 on a blank picture of the given format, at the given scale.
QImage filled(const TextCase& c)
{
    QImage picture(1400, 400, c.format);
    picture.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    picture.fill(0);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(c.pointSize);
    const QTransform toPixels = QTransform::fromScale(c.scale, c.scale);
    EXPECT_TRUE(Barcode_Fill_Text(picture, toPixels, QString::fromUtf8(c.text), font, 0.5, QPointF(3.0, 30.0), 1));
    return picture;
}

// The same text drawn on a thread that has drawn nothing before, so that no kept glyph is reused.
QImage filledOnFreshThread(const TextCase& c)
{
    QImage result;
    std::thread([&] { result = filled(c); }).join();
    return result;
}

int inkedPixels(const QImage& picture)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelIndex(x, y) != 0 ? 1 : 0;
    return count;
}

} // namespace

// Glyphs kept from one font or scale must never be drawn for another: texts drawn one after another in
// changing fonts, scales and formats match the same texts drawn afresh, pixel for pixel.
TEST(BarcodeText, KeptGlyphsFollowTheFontAndScaleInUse)
{
    const TextCase cases[] = {
        { "Code 128 AbC-09", 10.0, 600.0 / 72.0, QImage::Format_Mono },
        { "Code 128 AbC-09", 14.0, 600.0 / 72.0, QImage::Format_Mono },
        { "Code 128 AbC-09", 10.0, 300.0 / 72.0, QImage::Format_Mono },
        { "Code 128 AbC-09", 10.0, 600.0 / 72.0, QImage::Format_Indexed8 },
        { "caf\xc3\xa9 \xe2\x82\xac 12", 10.0, 600.0 / 72.0, QImage::Format_Mono },
        { "Code 128 AbC-09", 10.0, 600.0 / 72.0, QImage::Format_Mono },
    };
    for (int round = 0; round < 2; ++round) {
        for (const TextCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.text << " at " << c.pointSize << " pt, scale " << c.scale);
            const QImage drawn = filled(c);
            EXPECT_GT(inkedPixels(drawn), 200);
            EXPECT_EQ(drawn, filledOnFreshThread(c));
        }
    }
}

// A bigger font inks more: the second size is not drawn with the first size's glyphs.
TEST(BarcodeText, ALargerFontAfterASmallerOneInksMore)
{
    const QImage small = filled({ "AAAA", 8.0, 600.0 / 72.0, QImage::Format_Mono });
    const QImage large = filled({ "AAAA", 16.0, 600.0 / 72.0, QImage::Format_Mono });
    EXPECT_GT(inkedPixels(large), 3 * inkedPixels(small));
}

// Widths measured one after another in changing fonts match the same widths measured afresh, and a
// wider font gives a wider text.
TEST(BarcodeText, KeptAdvancesFollowTheFontInUse)
{
    struct WidthCase {
        const char* text;
        double pointSize;
    };
    const WidthCase cases[] = { { "Code 128 AbC-09", 10.0 }, { "Code 128 AbC-09", 20.0 },
        { "caf\xc3\xa9 \xe2\x82\xac 12", 10.0 }, { "Code 128 AbC-09", 10.0 } };
    auto width = [](const WidthCase& c) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(c.pointSize);
        return Barcode_Measure_Text(QString::fromUtf8(c.text), font, 0.25).width;
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " at " << c.pointSize << " pt");
        double fresh = 0.0;
        std::thread([&] { fresh = width(c); }).join();
        EXPECT_DOUBLE_EQ(width(c), fresh);
    }
    EXPECT_NEAR(width(cases[1]), 2.0 * width(cases[0]) - 15 * 0.25, 0.1 * width(cases[0]));
}
