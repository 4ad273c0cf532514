#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCBarcodeOffscreenView.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BRCUPCABarcode.h"
#include "barcode/Barcode_Text.h"
#include "barcode/BarcodeTestSupport.h"

#include <functional>
#include <thread>

#include <gtest/gtest.h>

using namespace barcodetest;

namespace {

constexpr double kDpi = 720.0; // ten pixels a point
constexpr double kTolerance = 0.25;
// Ink starts and ends a glyph's side bearing away from where its advance does.
constexpr double kBearing = 1.2;

// A symbol whose modules, texts and bar heights a test chooses.
class ScriptedBarcode : public BRCBarcode {
public:
    QString modules;
    QString start;
    QString captionText;
    QString right;
    int leftDigits = 0;
    std::function<float(int)> top;

    QString barcode() const override { return modules; }
    QString initiator() const override { return start; }
    QString caption() const override { return captionText; }
    QString rightCaption() const override { return right; }
    int digitsToLeft() const override { return leftDigits; }
    float barTop(int index) const override { return top ? top(index) : BRCBarcode::barTop(index); }
};

// Dark extent of one column, in points from the bottom: {lowest, highest}; {-1, -1} when none.
std::pair<double, double> columnExtent(const BarcodePicture& picture, double x)
{
    const int col = static_cast<int>(x * picture.scale());
    int first = -1, last = -1;
    for (int row = 0; row < picture.image.height(); ++row) {
        if (isDark(picture.image.pixel(col, row))) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    if (first < 0)
        return { -1.0, -1.0 };
    const double h = picture.size.height();
    return { h - (last + 1) / picture.scale(), h - first / picture.scale() };
}

double descent(const QFont& font)
{
    const Barcode_Text_Size size = Barcode_Measure_Text(QStringLiteral("0"), font);
    return size.height - size.ascent;
}

class OffscreenView : public testing::Test {
protected:
    void SetUp() override
    {
        settings = &freshSettings(0.0f);
        settings->TB_margin = 2.0f;
    }

    // A symbol with no texts shown: bars from the bottom margin up to height less both margins.
    void plain(ScriptedBarcode& barcode, const QString& modules, float barWidth, float width, float height)
    {
        ASSERT_TRUE(barcode.initWithContent(QStringLiteral("X"), false));
        barcode.modules = modules;
        barcode.setBarWidth(barWidth);
        barcode.setWidth(width);
        barcode.setHeight(height);
    }

    Barcode_Gen* settings = nullptr;
};

} // namespace

TEST_F(OffscreenView, BarsFollowTheModulesCentredInTheView)
{
    settings->barcode_clr = QColor(200, 0, 0);
    ScriptedBarcode barcode;
    plain(barcode, QStringLiteral("11x1000111"), 2.0f, 40.0f, 30.0f);
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);
    ASSERT_EQ(picture.image.size(), QSize(400, 300));
    EXPECT_EQ(picture.size, QSizeF(40.0, 30.0));

    const QString modules = barcode.modules;
    for (int i = 0; i < modules.size(); ++i) {
        const double x = 10.0 + (i + 0.5) * 2.0; // 20 points of modules in a 40-point view
        const QRgb middle = pixelAtPoint(picture, x, 15.0);
        if (modules.at(i) == QLatin1Char('1'))
            EXPECT_EQ(QColor(middle), QColor(200, 0, 0)) << i;
        else
            EXPECT_EQ(QColor(middle), QColor(Qt::white)) << i;
    }
    // Bars stand on the bottom margin and end at the top margin.
    EXPECT_EQ(columnExtent(picture, 11.0), std::make_pair(2.0, 28.0));
    EXPECT_EQ(columnExtent(picture, 29.0), std::make_pair(2.0, 28.0));
    EXPECT_EQ(columnExtent(picture, 9.5).first, -1.0);
    EXPECT_EQ(columnExtent(picture, 30.5).first, -1.0);
}

TEST_F(OffscreenView, OnlyBarModulesMakeOneWideBar)
{
    ScriptedBarcode barcode;
    plain(barcode, QStringLiteral("11111"), 3.0f, 15.0f, 20.0f);
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);
    for (double x = 0.05; x < 15.0; x += 0.5)
        EXPECT_EQ(columnExtent(picture, x), std::make_pair(2.0, 18.0)) << x;
}

TEST_F(OffscreenView, EmptyModulesDrawBackgroundAndTextOnly)
{
    settings->bar_back_clr = QColor(255, 255, 200);
    settings->showinTopCheckbox.state = 1;
    settings->value_margin = 4.0f;
    ScriptedBarcode barcode;
    plain(barcode, QString(), 1.0f, 60.0f, 40.0f);
    barcode.setPrintsCaption(true);
    barcode.captionText = QStringLiteral("HI");
    barcode.setCaptionFontSize(10.0f);
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);
    EXPECT_EQ(QColor(pixelAtPoint(picture, 1.0, 39.0)), QColor(255, 255, 200));
    EXPECT_EQ(QColor(picture.image.pixel(picture.image.width() - 1, 0)), QColor(255, 255, 200));

    // With the value on top and no bar drawn: value text at the bottom margin plus the value margin.
    const Ink text = inkIn(picture, 0.0, 40.0);
    ASSERT_FALSE(text.empty);
    EXPECT_NEAR(text.low, 2.0 + 4.0 + descent(settings->value_font), kTolerance);
}

TEST_F(OffscreenView, RunsTakeTheHeightOfTheirLastModuleAndTopValueFollowsTheLastRun)
{
    settings->showinTopCheckbox.state = 1;
    settings->value_margin = 1.0f;
    ScriptedBarcode barcode;
    plain(barcode, QStringLiteral("1101"), 4.0f, 16.0f, 60.0f);
    barcode.top = [](int index) { return 10.0f + 2.0f * static_cast<float>(index); };
    barcode.setPrintsCaption(true);
    barcode.captionText = QStringLiteral("I");
    barcode.setCaptionFontSize(10.0f);
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);

    EXPECT_EQ(columnExtent(picture, 2.0), std::make_pair(2.0, 14.0)); // run ending at module 1
    EXPECT_EQ(columnExtent(picture, 14.0), std::make_pair(2.0, 18.0)); // run ending at module 3
    const Ink text = inkIn(picture, 19.0, 60.0);
    ASSERT_FALSE(text.empty);
    EXPECT_NEAR(text.low, 2.0 + 16.0 + 1.0 + descent(settings->value_font), kTolerance);
}

TEST_F(OffscreenView, OneGroupWithoutLeftTextIsCentredAndStretchedOnlyWhenAsked)
{
    ScriptedBarcode barcode;
    plain(barcode, QString(), 1.0f, 150.0f, 40.0f);
    barcode.setPrintsCaption(true);
    barcode.captionText = QStringLiteral("12345");
    barcode.setCaptionFontSize(10.0f);
    const double w = Barcode_Measure_Text(barcode.captionText, settings->value_font).width;

    // Two points after every character, centred across the view.
    const Ink plainText = inkIn(imageFromBarcode(barcode, kDpi), 0.0, 20.0);
    EXPECT_NEAR(plainText.width(), w + 4 * 2.0, 2.0); // less the outer glyphs' bearings
    EXPECT_NEAR(plainText.centerX(), 75.0 - 1.0, 0.6);

    // Stretched: the characters spread over the symbol's width.
    settings->kerning_value_Checkbox.state = 1;
    const double k = (150.0 - w) / 10.0;
    const Ink stretched = inkIn(imageFromBarcode(barcode, kDpi), 0.0, 20.0);
    EXPECT_NEAR(stretched.width(), 150.0 - 2.0 * k, 2.0); // less the outer glyphs' bearings
    EXPECT_NEAR(stretched.centerX(), 75.0 - k, 0.6);
}

TEST_F(OffscreenView, LeftTextSendsOneGroupDownTheGroupRoadThreePointsLower)
{
    settings->LR_margin = 2.0f;
    ScriptedBarcode barcode;
    plain(barcode, QString(), 1.0f, 100.0f, 40.0f);
    barcode.setContent(QStringLiteral("7"));
    barcode.leftDigits = 1;
    barcode.start = QStringLiteral("101"); // three modules of start pattern
    barcode.setPrintsCaption(true);
    barcode.captionText = QStringLiteral("12345");
    barcode.setCaptionFontSize(10.0f);
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);

    const Ink left = inkIn(picture, 0.0, 20.0, 0.0, 6.0);
    ASSERT_FALSE(left.empty);
    EXPECT_NEAR(left.left, 2.0, kBearing); // firstBar x 0.25 + left margin, plus the glyph's bearing
    const double w = Barcode_Measure_Text(barcode.captionText, settings->value_font).width;
    const double G = 100.0 - 2.0 * 3.0 - 0.0; // one group: both subtractions doubled
    const double k = (G - w) / 10.0;
    const Ink group = inkIn(picture, 0.0, 20.0, 8.0, 100.0);
    ASSERT_FALSE(group.empty);
    EXPECT_NEAR(group.left, 3.0 * k + 3.0 + 2.0, 1.2);
    EXPECT_NEAR(group.width(), w + 4 * 1.3 * k, 2.0);
    EXPECT_NEAR(left.low - group.low, 3.0, kTolerance);
}

TEST_F(OffscreenView, EmptyGroupsDrawNothingAndKeepTheOthersInPlace)
{
    ScriptedBarcode barcode;
    plain(barcode, QString(), 1.0f, 120.0f, 40.0f);
    barcode.setContent(QStringLiteral("7"));
    barcode.leftDigits = 1;
    barcode.setPrintsCaption(true);
    barcode.setCaptionFontSize(10.0f);

    barcode.captionText = QStringLiteral("\t\t");
    const BarcodePicture onlyLeft = imageFromBarcode(barcode, kDpi);
    EXPECT_TRUE(inkIn(onlyLeft, 0.0, 20.0, 10.0, 120.0).empty);

    barcode.captionText = QStringLiteral("AB\t\tCD");
    const BarcodePicture picture = imageFromBarcode(barcode, kDpi);
    const double G = 120.0 / 3.0; // three groups, no start pattern, first bar at 0
    const double k = (G - Barcode_Measure_Text(QStringLiteral("CD"), settings->value_font).width) / 4.0;
    const Ink third = inkIn(picture, 0.0, 20.0, 2.0 * G, 3.0 * G);
    ASSERT_FALSE(third.empty);
    EXPECT_NEAR(third.left, 3.0 * k + 2.0 * G, kBearing);
}

TEST_F(OffscreenView, RetailCaptionsSitBesideAndUnderTheBars)
{
    settings->LR_margin = 3.0f;
    BRCUPCABarcode upc;
    ASSERT_TRUE(upc.initWithContent(QStringLiteral("03600029145"), true));
    prepare(upc, { QString(), QString(), true, false, false, 1.0f, 40.0f });
    const BarcodePicture picture = imageFromBarcode(upc, kDpi);
    const float width = upc.width(); // 95 modules x 1.2

    const Ink left = inkIn(picture, 0.0, 12.0, 0.0, 8.0);
    const Ink right = inkIn(picture, 0.0, 12.0, upc.lastBar() + width * 0.07, upc.lastBar() + width * 0.07 + 15.0);
    const Ink groups = inkIn(picture, 0.0, 12.0, 12.0, upc.lastBar());
    ASSERT_FALSE(left.empty);
    ASSERT_FALSE(right.empty);
    ASSERT_FALSE(groups.empty);
    EXPECT_NEAR(left.left, upc.firstBar() * 0.25 + 3.0, kBearing);
    EXPECT_NEAR(right.left, upc.lastBar() + width * 0.07 + 3.0, kBearing);
    EXPECT_NEAR(left.low - groups.low, 3.0, kTolerance);
    EXPECT_NEAR(right.low - groups.low, 3.0, kTolerance);
}

TEST_F(OffscreenView, LayoutBandsStackFromTheBottomAndBarsFillWhatIsLeft)
{
    settings->value_margin = 3.0f;
    settings->header_margin = 4.0f;
    settings->footer_margin = 5.0f;
    BRCEAN13Barcode ean;
    ASSERT_TRUE(ean.initWithContent(QStringLiteral("400638133393"), true));
    prepare(ean, { QStringLiteral("HEADER"), QStringLiteral("FOOTER"), true, true, true, 1.0f, 30.0f });
    const BarcodePicture picture = imageFromBarcode(ean, kDpi);
    const double H = ean.height();
    const double capH = ean.captionHeight() * 72.0, hdrH = ean.headerHeight() * 72.0, ftrH = ean.footerHeight() * 72.0;

    const double barBottom = 2.0 + ftrH + 5.0 + capH + 3.0;
    const double x = (ean.width() - 95.0) / 2.0 + 0.5; // middle of the first guard bar
    const auto bars = columnExtent(picture, x);
    EXPECT_NEAR(bars.first, barBottom, 0.1);
    EXPECT_NEAR(bars.second, H - 2.0 - hdrH - 4.0, 0.1);
    EXPECT_NEAR(bars.second - bars.first, ean.barTop(0), 0.1);
    EXPECT_NEAR(bars.second - bars.first, 30.0, 0.1);

    const Ink header = inkIn(picture, H - 2.0 - hdrH - 1.0, H);
    const Ink footer = inkIn(picture, 0.0, 2.0 + ftrH + 1.0);
    ASSERT_FALSE(header.empty);
    ASSERT_FALSE(footer.empty);
    EXPECT_GE(header.low, H - 2.0 - hdrH - kTolerance);
    EXPECT_LE(header.high, H - 2.0 + kTolerance);
    EXPECT_GE(footer.low, 2.0 - kTolerance);
    EXPECT_LE(footer.high, 2.0 + ftrH + kTolerance);
}

TEST_F(OffscreenView, HeaderAndFooterFollowTheirAlignmentChoice)
{
    ScriptedBarcode barcode;
    plain(barcode, QString(), 1.0f, 200.0f, 60.0f);
    barcode.setHeader(QStringLiteral("HEAD"));
    barcode.setFooter(QStringLiteral("FOOT"));
    barcode.setPrintsHeader(true);
    barcode.setPrintsFooter(true);
    barcode.setHeaderFontSize(10.0f);
    barcode.setFooterFontSize(10.0f);
    auto header = [&] { return inkIn(imageFromBarcode(barcode, kDpi), 30.0, 60.0); };
    auto footer = [&] { return inkIn(imageFromBarcode(barcode, kDpi), 0.0, 30.0); };

    settings->align_hdr_combo.selectText(QStringLiteral("Left"));
    settings->align_ftr_combo.selectText(QStringLiteral("Right"));
    const Ink left = header();
    EXPECT_NEAR(left.left, 0.0, kBearing);
    EXPECT_NEAR(footer().right, 200.0 - 2.0, kBearing); // the last character's two points of space

    settings->align_hdr_combo.selectText(QStringLiteral("Center"));
    EXPECT_NEAR(header().centerX(), 100.0 - 1.0, 0.6);
    settings->align_hdr_combo.selectText(QStringLiteral("Right"));
    EXPECT_NEAR(header().right, 198.0, kBearing);

    // Any other text keeps the natural alignment, which is the left.
    settings->align_hdr_combo = Barcode_Choice({ QStringLiteral("Middle") }, 0);
    EXPECT_EQ(header(), left);
}

TEST_F(OffscreenView, ShownTextWiderThanTheSymbolWidensTheViewAroundCentredBars)
{
    BRCEAN13Barcode ean;
    ASSERT_TRUE(ean.initWithContent(QStringLiteral("400638133393"), true));
    const QString longHeader = QStringLiteral("With warmest wishes from all of us at number seven");
    prepare(ean, { longHeader, QStringLiteral("F"), true, true, true, 1.0f, 30.0f });
    ASSERT_GT(ean.headerWidth(), ean.width());

    BRCBarcodeOffscreenView view;
    view.initWithBarcode(ean);
    EXPECT_FLOAT_EQ(view.frame().width(), ean.headerWidth());
    const BarcodePicture picture = imageFromBarcode(ean, kDpi);
    const double firstModule = (ean.headerWidth() - 95.0) / 2.0;
    const double barsLow = ean.height() - 2.0 - ean.headerHeight() * 72.0 - ean.barTop(0);
    const Ink bars = inkIn(picture, barsLow + 15.0, barsLow + 16.0);
    EXPECT_NEAR(bars.left, firstModule, 0.1);
    EXPECT_NEAR(bars.right, firstModule + 95.0, 0.1);
    // The left value digit keeps its place from the view's left edge.
    EXPECT_NEAR(inkIn(picture, 0.0, 20.0, 0.0, 6.0).left, ean.firstBar() * 0.25, kBearing);

    // A hidden header does not count.
    ean.setPrintsHeader(false);
    BRCBarcodeOffscreenView hidden;
    hidden.initWithBarcode(ean);
    EXPECT_FLOAT_EQ(hidden.frame().width(), ean.width());
}

TEST_F(OffscreenView, TwoDimensionalPictureHangsCentredBelowTheHeader)
{
    settings->header_margin = 3.0f;
    settings->footer_margin = 3.0f;
    QImage modules(2, 2, QImage::Format_ARGB32);
    modules.fill(Qt::black);
    const BarcodePicture symbol { modules, QSizeF(40.0, 40.0) };
    settings->setHeader(QStringLiteral("TOP"));
    settings->setFooter(QStringLiteral("END"));
    settings->setPrintsHeader(true);
    settings->setPrintsFooter(true);
    settings->setHeaderFontSize(10.0f);
    settings->setFooterFontSize(10.0f);
    const double hdrH = settings->headerHeight() * 72.0;
    const double ftrH = settings->footerHeight() * 72.0;
    settings->setWidth(80.0f);
    settings->setHeight(static_cast<float>(40.0 + hdrH + 3.0 + ftrH + 3.0 + 4.0));

    const BarcodePicture framed = imageFromBarcodeImage(symbol);
    ASSERT_FALSE(framed.isNull());
    EXPECT_EQ(framed.size, QSizeF(settings->width(), settings->height()));
    const double H = settings->height();
    const double symbolTop = H - 2.0 - hdrH - 3.0;
    const auto left = columnExtent(framed, 21.0);
    EXPECT_NEAR(left.first, symbolTop - 40.0, 0.1);
    EXPECT_NEAR(left.second, symbolTop, 0.1);
    EXPECT_EQ(columnExtent(framed, 19.0).first, -1.0);
    EXPECT_EQ(columnExtent(framed, 61.0).first, -1.0);
    const Ink header = inkIn(framed, symbolTop + 1.0, H);
    const Ink footer = inkIn(framed, 0.0, symbolTop - 41.0);
    ASSERT_FALSE(header.empty);
    ASSERT_FALSE(footer.empty);
    EXPECT_GE(header.low, H - 2.0 - hdrH - kTolerance);
    EXPECT_LE(header.high, H - 2.0 + kTolerance);
    EXPECT_GE(footer.low, 2.0 - kTolerance);
    EXPECT_LE(footer.high, 2.0 + ftrH + kTolerance);
    EXPECT_NEAR(header.centerX(), 40.0 - 1.0, 0.6);
    EXPECT_TRUE(imageFromBarcodeImage({}).isNull());
}

TEST_F(OffscreenView, AWorkerThreadDrawsTheSamePicture)
{
    BRCEAN13Barcode ean;
    ASSERT_TRUE(ean.initWithContent(QStringLiteral("590123412345"), true));
    prepare(ean);
    const BarcodePicture here = imageFromBarcode(ean, 300.0);
    BarcodePicture there;
    std::thread worker([&] { there = imageFromBarcode(ean, 300.0); });
    worker.join();
    ASSERT_FALSE(there.isNull());
    EXPECT_EQ(there.image, here.image);
}
