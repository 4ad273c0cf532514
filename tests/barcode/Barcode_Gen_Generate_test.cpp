#include "GeneratorSamples.h"

#include "barcode/BRCBarcode.h"
#include "barcode/BRCCode128Barcode.h"
#include "barcode/Barcode_JapanPost_Picture.h"
#include "common/Globals.h"
#include "model/TSLBarcode.h"

#include <gtest/gtest.h>

using barcodetest::inkIn;
using generatorsamples::kSamples;
using generatorsamples::settingsFor;

namespace {

constexpr float kCentimetre = 0.393701f * 72.0f;

class BarcodeGenerator : public testing::Test {
    generatorsamples::SharedValuesGuard guard_;
};

TEST_F(BarcodeGenerator, EverySymbologyOfTheListMakesAPictureOnTheBatchRoad)
{
    ASSERT_EQ(std::size(kSamples), static_cast<size_t>(Barcode_Type_Titles().size()));
    for (const auto& sample : kSamples) {
        const QString title = QString::fromUtf8(sample.title);
        Barcode_Gen& gen = settingsFor(title, QString::fromUtf8(sample.value));
        const BarcodePicture picture = gen.Get_Image_From_Val(QString::fromUtf8(sample.value), "HEADER", "FOOTER");
        ASSERT_FALSE(picture.isNull()) << sample.title;
        // Bars or modules in the middle band, header on top, footer at the bottom: all inside the picture.
        const double h = picture.size.height();
        EXPECT_FALSE(inkIn(picture, h * 0.35, h * 0.65).empty) << sample.title;
        EXPECT_FALSE(inkIn(picture, h - 14.0, h).empty) << sample.title << " header";
        EXPECT_FALSE(inkIn(picture, 0.0, 14.0).empty) << sample.title << " footer";
        EXPECT_TRUE(gen.barcodeImage.isNull()) << "the batch road never touches the preview";
    }
}

TEST_F(BarcodeGenerator, SymbologyListOrderIsTheOneStoredDesignsUse)
{
    QStringList expected;
    for (const auto& sample : kSamples)
        expected << QString::fromUtf8(sample.title);
    EXPECT_EQ(Barcode_Type_Titles(), expected);
}

TEST_F(BarcodeGenerator, JapanPostBarsLieInsideThePicture)
{
    Barcode_Gen& gen = settingsFor(QStringLiteral("Japan Post Barcode"), QStringLiteral("2630023"));
    const auto symbol = gen.Generate_Barcode_Variable(0, QStringLiteral("2630023"), "HEADER", "FOOTER");
    ASSERT_TRUE(symbol);
    const BarcodePicture picture = gen.Get_Image_From_Val(QStringLiteral("2630023"), "HEADER", "FOOTER");
    ASSERT_FALSE(picture.isNull());
    const auto& japan = dynamic_cast<const Barcode_JapanPost_Picture&>(*symbol);
    // The bar band: above footer, value text and their margins, as tall as the longest bar.
    const float bottom = symbol->footerHeight() * 72.0f + symbol->captionHeight() * 72.0f + gen.footer_margin
        + gen.value_margin + gen.TB_margin;
    const auto bars = inkIn(picture, bottom + 0.5, bottom + japan.barsHeight() - 0.5);
    ASSERT_FALSE(bars.empty);
    EXPECT_GT(bars.width(), 0.8 * symbol->width() - 2.0 * gen.LR_margin - 15.0);
    EXPECT_GT(picture.size.height(), japan.barsHeight() + 30.0);
}

TEST_F(BarcodeGenerator, PausedWhileSettingsLoadAndEmptyValuesMakeNothing)
{
    Barcode_Gen& gen = settingsFor(QStringLiteral("Code 39"), QStringLiteral("ABC"));
    gen.goButtonActionPerformed();
    ASSERT_TRUE(gen.testBarcode);
    const BarcodePicture shown = gen.barcodeImage;
    ASSERT_FALSE(shown.isNull());

    Not_Draw_Only_Prop_Change = true;
    EXPECT_EQ(gen.Generate_Barcode_Variable(1, QStringLiteral("XYZ"), "", ""), gen.testBarcode);
    Not_Draw_Only_Prop_Change = false;
    EXPECT_EQ(gen.barcodeImage.image.cacheKey(), shown.image.cacheKey());

    EXPECT_EQ(gen.Generate_Barcode_Variable(1, QString(), "", ""), nullptr);
    EXPECT_EQ(gen.barcodeImage.image.cacheKey(), shown.image.cacheKey());
}

TEST_F(BarcodeGenerator, InvalidContentAndUnknown2DTitlesBlankThePreview)
{
    Barcode_Gen& ean = settingsFor(QStringLiteral("EAN-13"), QStringLiteral("12345"));
    EXPECT_EQ(ean.Generate_Barcode_Variable(1, QStringLiteral("12345"), "", ""), nullptr);
    EXPECT_TRUE(ean.barcodeImage.isNull());
    EXPECT_TRUE(ean.barcode_error_label_shown);

    Barcode_Gen& aztec = settingsFor(QStringLiteral("QR Code"), QStringLiteral("x"));
    aztec.barcodeTypePopup = Barcode_Choice({ QStringLiteral("AZTEC") }, 0);
    aztec.image_2d = { QImage(4, 4, QImage::Format_ARGB32), QSizeF(4, 4) };
    EXPECT_EQ(aztec.Generate_Barcode_Variable(1, QStringLiteral("x"), "", ""), nullptr);
    EXPECT_TRUE(aztec.image_2d.isNull());
    EXPECT_TRUE(aztec.barcode_error_label_shown);
}

TEST_F(BarcodeGenerator, AQRCodeTooLargeForItsResolutionSaysSo)
{
    for (const int side : { 200, 2000 }) {
        Barcode_Gen& qr = settingsFor(QStringLiteral("QR Code"), QStringLiteral("RSVP"));
        qr.HeightText_2D.value = side;
        USED_DPI_VALUE = 600;
        qr.Generate_Barcode_Variable(1, QStringLiteral("RSVP"), "", "");
        EXPECT_EQ(qr.barcodeImage.isNull(), side == 2000) << side;
        EXPECT_EQ(qr.barcode_too_large, side == 2000) << side;
    }
}

TEST_F(BarcodeGenerator, Code128TitlesChooseTheirCodeSet)
{
    const struct {
        const char* title;
        int set;
    } cases[] = { { "Code 128",
                      BRCCode128Barcode::SetC }, // chosen for the digits { "Code 128 SET A", BRCCode128Barcode::SetA },
        { "Code 128 SET B", BRCCode128Barcode::SetB }, { "Code 128 SET C", BRCCode128Barcode::SetC } };
    for (const auto& c : cases) {
        Barcode_Gen& gen = settingsFor(QString::fromUtf8(c.title), QStringLiteral("1234"));
        const auto symbol = gen.Generate_Barcode_Variable(0, QStringLiteral("1234"), "", "");
        ASSERT_TRUE(symbol) << c.title;
        EXPECT_EQ(dynamic_cast<BRCCode128Barcode&>(*symbol).codeSet(), c.set) << c.title;
    }
}

TEST_F(BarcodeGenerator, LinearSizingAddsTextsMarginsAndSides)
{
    Barcode_Gen& gen = settingsFor(QStringLiteral("Code 39"), QStringLiteral("AB"));
    const auto symbol = gen.Generate_Barcode_Variable(0, QStringLiteral("AB"), "HEADER", "FOOTER");
    ASSERT_TRUE(symbol);
    EXPECT_FLOAT_EQ(symbol->barWidth(), 1.44f); // 20 mils
    const float margin = 0.1f * kCentimetre;
    EXPECT_NEAR(gen.LR_margin, 2.8346472f, 1e-5);
    const float expectedHeight = 0.6f * kCentimetre + symbol->captionHeight() * 72.0f + margin
        + symbol->headerHeight() * 72.0f + margin + symbol->footerHeight() * 72.0f + margin + 2.0f * margin;
    EXPECT_NEAR(symbol->height(), expectedHeight, 1e-3);
    const float bars = static_cast<float>(symbol->completeBarcode().size()) * 1.44f;
    const float widest = std::max({ bars, symbol->headerWidth(), symbol->footerWidth() });
    EXPECT_NEAR(symbol->width(), widest + 5.6692944f + 15.0f, 1e-3);

    // A hidden header takes neither width nor height, and its margin reads 0; no side margin adds no 15.
    gen.hideHeaderCheckbox.state = 1;
    gen.LR_mar_Text.value = 0.0f;
    gen.widthText.enabled = false;
    const auto bare = gen.Generate_Barcode_Variable(0, QStringLiteral("AB"), QString(200, QLatin1Char('W')), "F");
    ASSERT_TRUE(bare);
    EXPECT_EQ(gen.header_margin, 0.0f);
    EXPECT_NE(bare->barWidth(), 1.44f); // the symbol's own
    EXPECT_NEAR(bare->width(), std::max(bare->footerWidth(), bare->completeBarcode().size() * bare->barWidth()), 1e-3);
    EXPECT_NEAR(bare->height(), expectedHeight - symbol->headerHeight() * 72.0f - margin, 1e-3);
}

TEST_F(BarcodeGenerator, QRSizeFloorFollowsTheVersion)
{
    Barcode_Gen gen;
    gen.HeightText_2D.value = 30;
    const struct {
        int version, minimum, size;
    } cases[] = { { 0, 21, 30 }, { 1, 21, 30 }, { 2, 25, 30 }, { 10, 57, 57 }, { 40, 177, 177 } };
    for (const auto& c : cases) {
        gen.Check_And_Set_QR_size_Acc_Version(c.version);
        EXPECT_EQ(gen.HeightStepper_2D_minimum, c.minimum) << c.version;
        EXPECT_EQ(gen.HeightText_2D.value, c.size) << c.version;
    }
}

TEST_F(BarcodeGenerator, BatchRoadFramesEach2DPictureAtItsOwnSizeAndGivesNoneForEmptyValues)
{
    Barcode_Gen& gen = settingsFor(QStringLiteral("QR Code"), QStringLiteral("x"));
    gen.HeightText_2D.value = 200;
    gen.goButtonActionPerformed(); // a large preview first
    const float previewHeight = gen.height();
    gen.HeightText_2D.value = 60;
    const BarcodePicture small = gen.Get_Image_From_Val(QStringLiteral("record 1"), "Dear Ann", "Table 4");
    ASSERT_FALSE(small.isNull());
    EXPECT_LT(small.size.height(), previewHeight - 100.0);
    EXPECT_NEAR(small.size.height(),
        gen.image_2d.size.height() + gen.headerHeight() * 72.0f + gen.footerHeight() * 72.0f
            + 4.0f * 0.1f * kCentimetre,
        0.01);

    EXPECT_TRUE(gen.Get_Image_From_Val(QString(), "Dear Ann", "Table 4").isNull());
    Barcode_Gen& linear = settingsFor(QStringLiteral("Code 39"), QStringLiteral("A"));
    ASSERT_FALSE(linear.Get_Image_From_Val(QStringLiteral("A1"), "", "").isNull());
    EXPECT_TRUE(linear.Get_Image_From_Val(QString(), "", "").isNull());
    EXPECT_FALSE(linear.testBarcode_EXP);
}

TEST_F(BarcodeGenerator, ItemsResolutionAndQRChoicesReachTheSharedValues)
{
    const struct {
        const char* entry;
        const char* custom;
        int dpi;
    } cases[] = { { "Auto", "0", 600 }, { "300", "0", 300 }, { "Custom", "1200", 1200 }, { "Custom", "9000", 2400 },
        { "72", "0", 72 } };
    for (const auto& c : cases) {
        Barcode_Gen& gen = settingsFor(QStringLiteral("QR Code"), QStringLiteral("x"));
        TSLBarcode item;
        gen.Store_Barcode_Prop_In_Item(item);
        item.dpi_val_index = static_cast<int>(Barcode_DPI_Entries().indexOf(QString::fromUtf8(c.entry)));
        item.dpi_custom_val = QString::fromUtf8(c.custom);
        item.qr_version_index = 5;
        item.qr_ec_index = 3;
        item.qr_size_val = 22;
        gen.Set_Barcode_Prop_To_Control(item);
        EXPECT_EQ(USED_DPI_VALUE, c.dpi) << c.entry << c.custom;
        EXPECT_EQ(QR_Version_Val, 5);
        EXPECT_EQ(QR_EC_Level_Val, 3);
        EXPECT_EQ(gen.HeightText_2D.value, 37); // raised to version 5's floor
        const BarcodePicture picture = gen.Get_Image_From_Val(QStringLiteral("RSVP"), "", "");
        ASSERT_FALSE(gen.image_2d.isNull());
        EXPECT_NEAR(gen.image_2d.scale() * 72.0, c.dpi, c.dpi * 0.05) << c.entry << c.custom;
    }
}

TEST_F(BarcodeGenerator, LoadingAndStoringKeepsEverySetting)
{
    TSLBarcode item;
    item.linear_or_2d = 1;
    item.barcode_font_index = static_cast<int>(Barcode_Type_Titles().indexOf(QStringLiteral("PDF417")));
    item.linear_font_val = QStringLiteral("lin");
    item.two_d_font_val = QStringLiteral("two\nlines");
    item.header_val = QStringLiteral("H");
    item.footer_val = QStringLiteral("F");
    item.show_hide_hdr = 1;
    item.show_hide_val = 1;
    item.show_val_on_top = 1;
    item.align_hdr_index = 2;
    item.align_ftr_index = 0;
    item.linear_height_val = 1.5f;
    item.linear_width_val = 13.0f;
    item.qr_size_val = 90;
    item.qr_version_index = 0;
    item.qr_ec_index = 2;
    item.pdf_hgt_val = 40;
    item.pdf_wdt_val = 150;
    item.pdf_ec_val = 4;
    item.dm_module_val = 3;
    item.dm_format_index = 24;
    item.dm_encoding_index = 4;
    item.hdr_margin_val = 0.2f;
    item.ftr_margin_val = 0.3f;
    item.val_margin_val = 0.4f;
    item.TB_marging_val = 0.5f;
    item.LR_margin_val = 0.6f;
    item.value_font_val = QFont(QStringLiteral("DejaVu Sans"), 12);
    item.header_font_val = QFont(QStringLiteral("DejaVu Serif"), 14);
    item.footer_font_val = QFont(QStringLiteral("Liberation Serif"), 9);
    item.barcode_hdr_clr_val = Qt::red;
    item.barcode_ftr_clr_val = Qt::green;
    item.barcode_val_clr_val = Qt::blue;
    item.barcode_back_clr_val = Qt::yellow;
    item.barcode_clr_val = Qt::darkBlue;
    item.dpi_val_index = 1;
    item.dpi_custom_val = QStringLiteral("450");

    Barcode_Gen& gen = settingsFor(QStringLiteral("Code 39"), QStringLiteral("A"));
    gen.Set_Barcode_Prop_To_Control(item);
    TSLBarcode copy;
    gen.Store_Barcode_Prop_In_Item(copy);
    EXPECT_EQ(gen.barcodeTypePopup.text(), QStringLiteral("PDF417"));
    EXPECT_EQ(gen.dm_format_ComboBox.text(), QStringLiteral("C144X144"));
    EXPECT_EQ(copy.linear_or_2d, item.linear_or_2d);
    EXPECT_EQ(copy.barcode_font_index, item.barcode_font_index);
    EXPECT_EQ(copy.two_d_font_val, item.two_d_font_val);
    EXPECT_EQ(copy.linear_font_val, item.linear_font_val);
    EXPECT_EQ(copy.show_hide_hdr, 1);
    EXPECT_EQ(copy.show_hide_val, 1);
    EXPECT_EQ(copy.show_val_on_top, 1);
    EXPECT_EQ(copy.align_hdr_index, 2);
    EXPECT_EQ(copy.align_ftr_index, 0);
    EXPECT_FLOAT_EQ(copy.linear_height_val, 1.5f);
    EXPECT_FLOAT_EQ(copy.linear_width_val, 13.0f);
    EXPECT_EQ(copy.qr_size_val, 90);
    EXPECT_EQ(copy.qr_ec_index, 2);
    EXPECT_EQ(copy.pdf_hgt_val, 40);
    EXPECT_EQ(copy.pdf_wdt_val, 150);
    EXPECT_EQ(copy.pdf_ec_val, 4);
    EXPECT_EQ(copy.dm_module_val, 3);
    EXPECT_EQ(copy.dm_format_index, 24);
    EXPECT_EQ(copy.dm_encoding_index, 4);
    for (auto [got, want] : { std::pair { copy.hdr_margin_val, 0.2f }, { copy.ftr_margin_val, 0.3f },
             { copy.val_margin_val, 0.4f }, { copy.TB_marging_val, 0.5f }, { copy.LR_margin_val, 0.6f } })
        EXPECT_FLOAT_EQ(got, want);
    EXPECT_EQ(copy.value_font_val, item.value_font_val);
    EXPECT_EQ(copy.header_font_val, item.header_font_val);
    EXPECT_EQ(copy.footer_font_val, item.footer_font_val);
    EXPECT_EQ(copy.barcode_hdr_clr_val, item.barcode_hdr_clr_val);
    EXPECT_EQ(copy.barcode_ftr_clr_val, item.barcode_ftr_clr_val);
    EXPECT_EQ(copy.barcode_val_clr_val, item.barcode_val_clr_val);
    EXPECT_EQ(copy.barcode_back_clr_val, item.barcode_back_clr_val);
    EXPECT_EQ(copy.barcode_clr_val, item.barcode_clr_val);
    EXPECT_EQ(copy.dpi_val_index, 1);
    EXPECT_EQ(copy.dpi_custom_val, QStringLiteral("450"));
    EXPECT_EQ(USED_DPI_VALUE, 450);
}

} // namespace
