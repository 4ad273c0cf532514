// Linear pictures on whole pixels, within bounds, and postal bars inside the picture the road makes.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/BRCCode39Barcode.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCRoyalMailBarcode.h"
#include "barcode/BarcodePngWriter.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "barcode/BarcodeTestSupport.h"
#include "barcode/JapanPostBarcode.h"

#include <QSet>

#include <limits>
#include <utility>

#include <gtest/gtest.h>

using namespace barcodetest;

namespace {

// The picture row through the middle of the bars, as '1' for dark and '0' for light pixels; any other
// shade (a bar edge between pixels) as '?'.
QString pixelRow(const QImage& image, int y)
{
    QString row;
    for (int x = 0; x < image.width(); ++x) {
        const int grey = qGray(image.pixel(x, y));
        row += grey == 0 ? QLatin1Char('1') : grey == 255 ? QLatin1Char('0') : QLatin1Char('?');
    }
    return row;
}

// The module string with every module repeated to its pixel width.
QString scaled(const QString& modules, int pixels)
{
    QString row;
    for (const QChar module : modules)
        row += QString(pixels, module);
    return row;
}

QString trimmedLight(const QString& row)
{
    const qsizetype first = row.indexOf(QLatin1Char('1'));
    const qsizetype last = row.lastIndexOf(QLatin1Char('1'));
    return first < 0 ? QString() : row.mid(first, last - first + 1);
}

} // namespace

TEST(BarcodePixelGrid, EveryBarEdgeLiesOnAWholePixelAtAnyModuleSize)
{
    freshSettings(2.0f);
    // Module widths in pixels at 600 dpi; fractions are rounded once for the whole symbol.
    struct Case {
        double modulePixels;
        int drawn;
    };
    for (const Case& c : { Case { 1.0, 1 }, Case { 2.0, 2 }, Case { 3.0, 3 }, Case { 1.4, 1 }, Case { 1.5, 2 },
             Case { 2.6, 3 }, Case { 0.3, 1 } }) {
        BRCEAN13Barcode ean;
        ASSERT_TRUE(ean.initWithContent(QStringLiteral("400638133393"), true));
        Layout layout;
        layout.showHeader = layout.showFooter = false;
        layout.barWidth = static_cast<float>(c.modulePixels * 72.0 / 600.0);
        prepare(ean, layout);
        frameLikeTheGenerator(ean);
        const BarcodePicture picture = imageFromBarcode(ean, 600.0);
        ASSERT_FALSE(picture.isNull()) << c.modulePixels;
        // Bars start 2 points above the value text: a row 2 points below the top margin is in them.
        const int y = static_cast<int>(2.0 * 600.0 / 72.0) + 4;
        const QString row = pixelRow(picture.image, y);
        EXPECT_FALSE(row.contains(QLatin1Char('?'))) << c.modulePixels;
        EXPECT_EQ(trimmedLight(row), scaled(ean.completeBarcode(), c.drawn)) << c.modulePixels;
        // At one pixel a module the 95 modules are 95 pixels.
        if (c.drawn == 1) {
            EXPECT_EQ(trimmedLight(row).size(), 95);
        }
        // The rounded row never runs into the picture's edges: its side space is kept in whole modules.
        EXPECT_GE(row.indexOf(QLatin1Char('1')), 7 * c.drawn) << c.modulePixels;
        EXPECT_GE(row.size() - 1 - row.lastIndexOf(QLatin1Char('1')), 7 * c.drawn) << c.modulePixels;
    }
}

TEST(BarcodePixelGrid, ScreenPreviewsGiveEveryModuleTheSameWholeDevicePixelsAtEveryRatio)
{
    freshSettings(2.0f);
    BRCEAN13Barcode ean;
    ASSERT_TRUE(ean.initWithContent(QStringLiteral("400638133393"), true));
    Layout layout;
    layout.showHeader = layout.showFooter = false;
    layout.barWidth = 0.75f;
    prepare(ean, layout);
    frameLikeTheGenerator(ean);
    const auto drawing = drawingFromBarcode(ean);
    // Screen ratio and the device pixels a module then takes on a 96-dpi screen: as many as fit, never a fraction.
    for (const auto& [ratio, modulePixels] : { std::pair(1.0, 1), std::pair(1.5, 1), std::pair(2.0, 2) }) {
        const QImage shown = screenImageOfDrawing(*drawing, 96.0 / 72.0, ratio);
        EXPECT_EQ(shown.devicePixelRatio(), ratio);
        EXPECT_NEAR(shown.deviceIndependentSize().width(), drawing->size().width() * 96.0 / 72.0, 1.0 / ratio);
        EXPECT_EQ(trimmedLight(pixelRow(shown, shown.height() / 3)), scaled(ean.completeBarcode(), modulePixels));
    }
}

TEST(BarcodePixelGrid, PicturesBeyondTheBoundsAreRefused)
{
    freshSettings(2.0f);
    // 5,000 characters of Code 39 at 20 mils: far more than 32,768 pixels across at 600 dpi.
    BRCCode39Barcode longValue;
    ASSERT_TRUE(longValue.initWithContent(QString(5000, QLatin1Char('7')), true));
    prepare(longValue);
    EXPECT_TRUE(imageFromBarcode(longValue).isNull());

    // Stored bar widths of 100,000 mils, and sizes that are not numbers.
    struct Case {
        float barWidth;
        float width;
        float height;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c : { Case { 7200.0f, 0.0f, 40.0f }, Case { 1.44f, nan, 40.0f }, Case { 1.44f, 100.0f, inf },
             Case { nan, 100.0f, 40.0f }, Case { 1.44f, 100.0f, 5.0e6f } }) {
        BRCCode128Barcode code;
        ASSERT_TRUE(code.initWithContent(QStringLiteral("Tessaline"), true));
        Layout layout;
        layout.barWidth = c.barWidth;
        prepare(code, layout);
        if (c.width != 0.0f)
            code.setWidth(c.width);
        code.setHeight(c.height);
        EXPECT_TRUE(imageFromBarcode(code).isNull()) << c.barWidth << " " << c.width << " " << c.height;
    }
    // A resolution that is not a number gives nothing either.
    BRCCode128Barcode code;
    ASSERT_TRUE(code.initWithContent(QStringLiteral("Tessaline"), true));
    prepare(code);
    EXPECT_TRUE(imageFromBarcode(code, std::numeric_limits<double>::infinity()).isNull());
    EXPECT_FALSE(imageFromBarcode(code).isNull());
}

TEST(BarcodePixelGrid, PostalBarsStandInsideThePictureTheRoadMakes)
{
    freshSettings(2.0f);
    // The generator's order: the height asked for is the bars' 0.6 cm plus the shown texts; a postal
    // symbol's own size must not shrink the picture below its texts and bars.
    JapanPostBarcode japan;
    ASSERT_TRUE(japan.initWithContent(QStringLiteral("2630023-1-3"), true));
    Layout layout;
    layout.barHeight = 17.007883f;
    prepare(japan, layout);
    frameLikeTheGenerator(japan);
    const BarcodePicture picture = imageFromBarcode(japan);
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.size.height(), 17.0 + 3.0 * japan.captionHeight() * 72.0);
    // Count the bars crossing the timing band (1.8 tenths of the size above the bottom line): all 67.
    const double bottomLine = (japan.captionHeight() + japan.footerHeight()) * 72.0 + 3 * 2.0;
    const double band = 1.8 * japan.size() / 10.0 / 0.3527777777777777;
    const QString row
        = pixelRow(picture.image, static_cast<int>((picture.size.height() - bottomLine - band) * picture.scale()));
    EXPECT_EQ(row.split(QLatin1Char('0'), Qt::SkipEmptyParts).size(), 67);
    // The long start bar is drawn whole, as tall as the model says.
    int darkRows = 0;
    const int startBar = static_cast<int>(row.indexOf(QLatin1Char('1')));
    ASSERT_GE(startBar, 0);
    for (int r = 0; r < picture.image.height(); ++r)
        darkRows += qGray(picture.image.pixel(startBar, r)) == 0 ? 1 : 0;
    EXPECT_NEAR(darkRows / picture.scale(), japan.barTop(0), 0.5);

    // Royal Mail the same way.
    BRCRoyalMailBarcode royal;
    ASSERT_TRUE(royal.initWithContent(QStringLiteral("SN34RD1A"), true));
    prepare(royal, layout);
    frameLikeTheGenerator(royal);
    const BarcodePicture royalPicture = imageFromBarcode(royal);
    ASSERT_FALSE(royalPicture.isNull());
    const double royalBottom = (royal.captionHeight() + royal.footerHeight()) * 72.0 + 3 * 2.0 + 2.5 * 72.0 / 25.4;
    const QString royalRow = pixelRow(
        royalPicture.image, static_cast<int>((royalPicture.size.height() - royalBottom) * royalPicture.scale()));
    EXPECT_EQ(royalRow.split(QLatin1Char('0'), Qt::SkipEmptyParts).size(), 1 + 9 * 4 + 1);
}

TEST(BarcodePixelGrid, PicturesHoldOnlyTheChosenColoursAndWriteAsASmallPalette)
{
    Barcode_Gen& settings = freshSettings(2.0f);
    struct Case {
        QColor bars, back, value, header, footer;
        int colours;
        int depth;
    };
    const QColor black(Qt::black), white(Qt::white);
    for (const Case& c : { Case { black, white, black, black, black, 2, 1 },
             Case { QColor(200, 0, 0), QColor(255, 255, 180), QColor(0, 0, 160), QColor(0, 90, 0), QColor(0, 90, 0), 4,
                 2 },
             Case { black, QColor(0, 0, 0, 0), QColor(80, 80, 80), black, black, 3, 2 } }) {
        settings.barcode_clr = c.bars;
        settings.bar_back_clr = c.back;
        settings.bar_val_clr = c.value;
        settings.bar_hdr_clr = c.header;
        settings.bar_ftr_clr = c.footer;
        BRCCode128Barcode code;
        ASSERT_TRUE(code.initWithContent(QStringLiteral("Party at 8"), true));
        prepare(code);
        frameLikeTheGenerator(code);
        const QImage image = imageFromBarcode(code).image;
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        EXPECT_EQ(seen.size(), c.colours) << c.colours;
        for (const QColor& chosen : { c.bars, c.back, c.value, c.header })
            EXPECT_TRUE(seen.contains(chosen.alpha() == 0 ? 0u : chosen.rgba())) << chosen.name().toStdString();
        const QByteArray png = BarcodePngWriter::pngData(image);
        ASSERT_GT(png.size(), 26);
        EXPECT_EQ(static_cast<int>(png[24]), c.depth);
        EXPECT_EQ(static_cast<int>(png[25]), 3); // palette
    }
}

TEST(BarcodePixelGrid, TwoColoursMakeAOneBitPictureMoreAOneByteOneAndTranslucentTextKeepsItsBlend)
{
    Barcode_Gen& settings = freshSettings(2.0f);
    struct Case {
        QColor value;
        QImage::Format format;
        bool blended;
    };
    for (const Case& c : { Case { QColor(0, 0, 0), QImage::Format_Mono, false },
             Case { QColor(0, 0, 160), QImage::Format_Indexed8, false },
             Case { QColor(0, 0, 160, 128), QImage::Format_ARGB32_Premultiplied, true } }) {
        settings.bar_val_clr = c.value;
        BRCCode128Barcode code;
        ASSERT_TRUE(code.initWithContent(QStringLiteral("Party at 8"), true));
        prepare(code);
        frameLikeTheGenerator(code);
        const BarcodePicture picture = imageFromBarcode(code);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.image.format(), c.format);
        // The bars are the same on either picture: every module on whole pixels.
        const int modulePixels = static_cast<int>(std::lround(code.barWidth() * picture.scale()));
        const QString bars = trimmedLight(pixelRow(picture.image, picture.image.height() / 3));
        EXPECT_EQ(bars, trimmedLight(scaled(code.completeBarcode(), modulePixels)));
        // The value text is there, blended with the white below it only when it is translucent.
        QSet<QRgb> seen;
        for (int y = 0; y < picture.image.height(); ++y)
            for (int x = 0; x < picture.image.width(); ++x)
                seen.insert(picture.image.pixel(x, y));
        EXPECT_EQ(seen.contains(c.value.rgba()), !c.blended);
        EXPECT_EQ(seen.size(), c.format == QImage::Format_Mono ? 2 : 3);
    }
}

TEST(BarcodePixelGrid, TextOnAOneBitPictureCoversTheSamePixelsAsOnAOneByteOne)
{
    Barcode_Gen& settings = freshSettings(2.0f);
    // Texts of different widths start their glyphs at every place within a byte of pixels.
    for (const QString& value : { QStringLiteral("Party at 8"), QStringLiteral("x"), QStringLiteral("WWW iii 1.23"),
             QStringLiteral("Mm"), QStringLiteral("abcdefghijklmnop") }) {
        std::vector<QImage> pictures;
        for (const QColor& text : { QColor(0, 0, 0), QColor(0, 0, 160) }) {
            settings.bar_val_clr = text;
            BRCCode128Barcode code;
            ASSERT_TRUE(code.initWithContent(value, true));
            prepare(code);
            frameLikeTheGenerator(code);
            pictures.push_back(imageFromBarcode(code).image);
        }
        ASSERT_EQ(pictures[0].format(), QImage::Format_Mono);
        ASSERT_EQ(pictures[1].format(), QImage::Format_Indexed8);
        ASSERT_EQ(pictures[0].size(), pictures[1].size());
        int ink = 0;
        int differing = 0;
        for (int y = 0; y < pictures[0].height(); ++y) {
            for (int x = 0; x < pictures[0].width(); ++x) {
                const bool mono = pictures[0].pixel(x, y) != qRgb(255, 255, 255);
                ink += mono ? 1 : 0;
                differing += mono != (pictures[1].pixel(x, y) != qRgb(255, 255, 255)) ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 0) << value.toStdString();
        EXPECT_EQ(differing, 0) << value.toStdString();
    }
}
