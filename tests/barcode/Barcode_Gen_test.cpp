#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/Barcode_Text.h"
#include "barcode/BarcodeTestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

using barcodetest::freshSettings;

TEST(BarcodeGen, OneInstanceHeldByBothGlobalsWithConstructionValues)
{
    Barcode_Gen* gen = Barcode_Gen::defaultInstance();
    EXPECT_EQ(gen, Barcode_Gen::defaultInstance());
    EXPECT_EQ(barcode_gen_def_inst, gen);
    EXPECT_EQ(Barcode_Gen_Var, gen);
    EXPECT_EQ(&Barcode_Settings(), gen);

    const Barcode_Gen fresh;
    for (const QFont* font : { &fresh.value_font, &fresh.header_font, &fresh.footer_font }) {
        EXPECT_EQ(font->family(), QStringLiteral("Times New Roman"));
        EXPECT_DOUBLE_EQ(font->pointSizeF(), 10.0);
    }
    for (float margin :
        { fresh.value_margin, fresh.header_margin, fresh.footer_margin, fresh.TB_margin, fresh.LR_margin })
        EXPECT_FLOAT_EQ(margin, 0.1f);
    EXPECT_EQ(USED_DPI_VALUE, 600);
    EXPECT_EQ(Barcode_module_size, 1);
    EXPECT_EQ(QR_Version_Val, 0);
    EXPECT_EQ(QR_EC_Level_Val, 0);
    EXPECT_EQ(Measument_Unit_Is.load(), 1);
}

TEST(BarcodeGen, StartValuesAreTheItemDefaults)
{
    const Barcode_Gen gen;
    EXPECT_EQ(gen.liner_or_2D_font, 0);
    EXPECT_EQ(gen.barcodeTypePopup.index(), 0);
    EXPECT_FALSE(Barcode_Type_Is_2D(gen.barcodeTypePopup.text()));
    EXPECT_EQ(gen.dataText, QStringLiteral("0123"));
    EXPECT_EQ(gen.dataText_2D, QStringLiteral("0123"));
    EXPECT_EQ(gen.HeaderText, QStringLiteral("HEADER"));
    EXPECT_EQ(gen.FooterText, QStringLiteral("FOOTER"));
    EXPECT_EQ(gen.align_hdr_combo.text(), QStringLiteral("Center"));
    EXPECT_EQ(gen.align_ftr_combo.text(), QStringLiteral("Center"));
    EXPECT_FLOAT_EQ(gen.HeightText.value, 0.6f);
    EXPECT_FLOAT_EQ(gen.widthText.value, 20.0f);
    EXPECT_EQ(gen.HeightText_2D.value, 60);
    EXPECT_EQ(gen.Pdf_widthText_2D.value, 100);
    EXPECT_EQ(gen.pdf_HeightStepper_2D.value, 20);
    EXPECT_EQ(gen.pdf_ec_lvl_Stepper.value, 2);
    EXPECT_EQ(gen.dm_moduleStepper_2D.value, 2);
    EXPECT_EQ(gen.dm_format_ComboBox.text(), QStringLiteral("Auto"));
    EXPECT_EQ(gen.dm_encoding_ComboBox.text(), QStringLiteral("Auto"));
    EXPECT_EQ(gen.qr_version_ComboBox.text(), QStringLiteral("Auto"));
    EXPECT_EQ(gen.DPI_ComboBox.text(), QStringLiteral("Auto"));
    EXPECT_EQ(gen.barcode_clr, QColor(Qt::black));
    EXPECT_EQ(gen.bar_back_clr, QColor(Qt::white));
    EXPECT_TRUE(gen.image_2d.isNull());
}

TEST(BarcodeGen, EntryListsKeepTheIndexesItemsStore)
{
    EXPECT_EQ(Barcode_QR_Version_Entries().size(), 41);
    EXPECT_EQ(Barcode_QR_Version_Entries().at(40), QStringLiteral("V40"));
    EXPECT_EQ(Barcode_DM_Format_Entries().size(), 31);
    EXPECT_EQ(Barcode_DM_Format_Entries().at(24), QStringLiteral("C144X144"));
    EXPECT_EQ(Barcode_DM_Format_Entries().at(30), QStringLiteral("C16X48"));
    EXPECT_EQ(Barcode_DM_Encoding_Entries().at(4), QStringLiteral("Base256"));
    EXPECT_EQ(Barcode_Align_Entries().at(1), QStringLiteral("Center"));
    const QStringList& titles = Barcode_Type_Titles();
    for (const char* title : { "UPCA", "UPCE", "EAN-8", "EAN-13", "QR Code", "PDF417", "DataMatrix",
             "Royal Mail Barcode (RM4SCC / CBC)", "Japan Post Barcode" })
        EXPECT_TRUE(titles.contains(QLatin1String(title))) << title;
    EXPECT_EQ(titles.size(), 22);
}

TEST(BarcodeGen, ChoiceSelectsWithinItsEntriesOnly)
{
    Barcode_Choice choice(Barcode_Align_Entries(), 2);
    EXPECT_EQ(choice.text(), QStringLiteral("Right"));
    choice.select(3); // a stale index from an item selects nothing
    EXPECT_EQ(choice.index(), -1);
    EXPECT_EQ(choice.text(), QString());
    EXPECT_TRUE(choice.selectText(QStringLiteral("Left")));
    EXPECT_EQ(choice.index(), 0);
    EXPECT_FALSE(choice.selectText(QStringLiteral("Middle")));
    EXPECT_EQ(choice.index(), -1);
}

TEST(BarcodeGen, CaptionFlagFollowsTheValueBoxAndSetsThePositionBox)
{
    Barcode_Gen gen;
    gen.captionCheckbox = { 0, false };
    gen.showinTopCheckbox.enabled = true;
    EXPECT_FALSE(gen.Get_Print_State());
    EXPECT_TRUE(gen.showinTopCheckbox.enabled);
    gen.captionCheckbox.state = 1;
    gen.showinTopCheckbox.enabled = false;
    EXPECT_FALSE(gen.Get_Print_State());
    EXPECT_FALSE(gen.showinTopCheckbox.enabled);

    gen.captionCheckbox = { 1, true };
    gen.showinTopCheckbox.enabled = true;
    EXPECT_FALSE(gen.Get_Print_State());
    EXPECT_FALSE(gen.showinTopCheckbox.enabled);

    gen.captionCheckbox = { 0, true };
    EXPECT_TRUE(gen.Get_Print_State());
    EXPECT_TRUE(gen.showinTopCheckbox.enabled);
}

TEST(BarcodeGen, FramingTextsAnswerEmptyOrNoneBeforeBeingSet)
{
    Barcode_Gen gen;
    EXPECT_TRUE(gen.caption().isNull());
    EXPECT_EQ(gen.header(), QStringLiteral(""));
    EXPECT_FALSE(gen.header().isNull());
    EXPECT_EQ(gen.footer(), QStringLiteral(""));
    gen.setContent(QStringLiteral("payload"));
    gen.setHeader(QStringLiteral("top"));
    EXPECT_EQ(gen.caption(), QStringLiteral("payload"));
    EXPECT_EQ(gen.header(), QStringLiteral("top"));
}

TEST(BarcodeGen, FontSizeSettersMeasureWithTheSettingsFontsNotTheSizeGiven)
{
    Barcode_Gen gen;
    gen.setHeader(QStringLiteral("Season's Greetings"));
    gen.setHeaderFontSize(24.0f);
    EXPECT_FLOAT_EQ(gen.header_fontSize(), 24.0f);
    const double capHeight = Barcode_Cap_Height(gen.header_font);
    EXPECT_GT(capHeight, 5.0); // a 10-point serif face
    EXPECT_LT(capHeight, 8.0);
    EXPECT_FLOAT_EQ(gen.headerHeight(), static_cast<float>(1.35 * capHeight / 72.0));
    const float tenPointWidth = gen.headerWidth();
    EXPECT_FLOAT_EQ(tenPointWidth,
        static_cast<float>(Barcode_Measure_Text(QStringLiteral("Season's Greetings"), gen.header_font).width));

    // A bigger header font gives a wider, taller header at the next measurement.
    gen.header_font.setPointSizeF(20.0);
    gen.setHeaderFontSize(20.0f);
    EXPECT_NEAR(gen.headerWidth(), 2.0f * tenPointWidth, 0.05 * tenPointWidth);
    EXPECT_NEAR(gen.headerHeight(), 2.0f * static_cast<float>(1.35 * capHeight / 72.0), 0.02);

    // A new header is measured only at the next font-size call.
    gen.setHeader(QStringLiteral("Hi"));
    EXPECT_NEAR(gen.headerWidth(), 2.0f * tenPointWidth, 0.05 * tenPointWidth);
    gen.setHeaderFontSize(20.0f);
    EXPECT_LT(gen.headerWidth(), tenPointWidth);

    gen.setCaptionFontSize(8.0f);
    EXPECT_FLOAT_EQ(gen.caption_fontSize(), 8.0f);
    EXPECT_FLOAT_EQ(gen.captionHeight(), static_cast<float>(1.35 * capHeight / 72.0));

    gen.setFooterFontSize(10.0f); // no footer set: the empty string
    EXPECT_FLOAT_EQ(gen.footerWidth(), 0.0f);
    EXPECT_GT(gen.footerHeight(), 0.0f);
}

TEST(BarcodeGen, BlankImageEmptiesThePictureAndShowsTheErrorLabel)
{
    Barcode_Gen gen;
    gen.image_2d = { QImage(10, 10, QImage::Format_ARGB32), QSizeF(10, 10) };
    gen.barcodeImage = gen.image_2d;
    gen.Set_Blank_Image();
    EXPECT_TRUE(gen.image_2d.isNull());
    EXPECT_TRUE(gen.barcodeImage.isNull());
    EXPECT_TRUE(gen.barcode_error_label_shown);
}

namespace {

// A 2 x 2 checkerboard of one-point modules, as a 2-D road would hand over.
BarcodePicture checkerboard(int modules, double pointsPerModule)
{
    QImage image(modules, modules, QImage::Format_ARGB32);
    for (int y = 0; y < modules; ++y)
        for (int x = 0; x < modules; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return { image, QSizeF(modules * pointsPerModule, modules * pointsPerModule) };
}

} // namespace

TEST(BarcodeGen, IncreaseDpiKeepsPointsAndScalesPixelsWithSharpModules)
{
    Barcode_Gen gen;
    const BarcodePicture qr = checkerboard(6, 10.0); // 60 x 60 points
    const BarcodePicture high = gen.Increase_DPI(qr, 600.0);
    ASSERT_FALSE(high.isNull());
    EXPECT_EQ(high.image.size(), QSize(500, 500));
    EXPECT_EQ(high.size, QSizeF(60.0, 60.0));
    EXPECT_NEAR(high.image.dotsPerMeterX() * 0.0254, 600.0, 0.5);
    // No interpolation: every pixel is black or white, and module 1 of row 0 is white all through.
    for (int x = 0; x < 500; x += 7)
        for (int y = 0; y < 500; y += 11) {
            const QRgb p = high.image.pixel(x, y);
            EXPECT_TRUE(qGray(p) == 0 || qGray(p) == 255) << x << "," << y;
        }
    EXPECT_EQ(qGray(high.image.pixel(84, 5)), 255);
    EXPECT_EQ(qGray(high.image.pixel(82, 5)), 0);

    const BarcodePicture odd = gen.Increase_DPI({ QImage(100, 100, QImage::Format_ARGB32), QSizeF(100, 100) }, 300.0);
    EXPECT_EQ(odd.image.size(), QSize(417, 417));
    EXPECT_EQ(odd.size, QSizeF(100, 100));

    const BarcodePicture same = gen.Increase_DPI({ QImage(10, 10, QImage::Format_ARGB32), QSizeF(20.5, 7.2) }, 72.0);
    EXPECT_EQ(same.image.size(), QSize(21, 8));
}

TEST(BarcodeGen, IncreaseDpiRefusesAnInvalidPictureWithALogLine)
{
    Barcode_Gen gen;
    testing::internal::CaptureStderr();
    const BarcodePicture none = gen.Increase_DPI({}, 600.0);
    const BarcodePicture sizeless = gen.Increase_DPI({ QImage(4, 4, QImage::Format_ARGB32), QSizeF() }, 600.0);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(sizeless.isNull());
    EXPECT_NE(log.find("Invalid image"), std::string::npos);
}
