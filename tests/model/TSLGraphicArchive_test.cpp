#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLError.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"
#include "platform/KeyedArchive.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QStringList kinds = { QStringLiteral("TSLGraphic"), QStringLiteral("Shape_Control"), QStringLiteral("TSLLine"),
    QStringLiteral("TSLText"), QStringLiteral("TSLImage"), QStringLiteral("TSLBarcode"),
    QStringLiteral("TSLSignature") };

QFont fontOf(const char* family, double size, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

// Every one of the 93 values moved away from its default, so a field the archive forgets shows.
void changeEveryField(TSLGraphic& g)
{
    g._bounds = QRectF(12.5, -3.25, 140.75, 66.5);
    g.ctrl_is_locked = true;
    g._isDrawingFill = false;
    g._fillColor = QColor::fromRgbF(0.1, 0.2, 0.3, 0.4);
    g._isDrawingStroke = false;
    g._strokeColor = QColor::fromRgbF(0.5, 0.6, 0.7, 0.8);
    g._strokeWidth = 3.5;
    g._stroke_border_type = QStringLiteral("DDD");
    g._fill_type = QStringLiteral("H");
    g._fill_Grad_clr1 = QColor(Qt::red);
    g._fill_Grad_clr2 = QColor(Qt::green);
    g._fill_grad_angle = 45.0;
    g._fill_htch_clr = QColor(Qt::blue);
    g._fill_hatch_type = QStringLiteral("Hatch_Diagonal");
    g._isFlippedHorizontally = true;
    g._isFlippedVertically = true;
    g.invert_clr = true;
    g.gray_Scale = true;
    g.Sepia = true;
    g.img_trnsp_val = 55.5f;
    g.hue_val = 1.25f;
    g.sat_val = 1.5f;
    g.brt_val = 0.25f;
    g.con_val = 2.0f;
    g.srp_val = 0.75f;
    g.ev_val = -1.5f;
    g.blr_val = 4.0f;
    g.data_source_type = 2;
    g.rotate_image = 90.0f;
    g._file_path = QStringLiteral("/pictures/photo.png");
    g.sign_or_fingureprint = QStringLiteral("F");
    g.batch_list_name = QStringLiteral("Guests");
    g.batch_list_index = 3;
    g._line_ori = 2;
    g._line_cap_style = 1;
    g.alpha_val = 0.5f;
    g.alpha_val_stroke = 0.25f;
    g.text_ctrl_font = fontOf("DejaVu Sans", 18.5, true);
    g.txt_clr = QColor(Qt::magenta);
    g._Text_contents = std::make_shared<TSLTextStorage>(
        TSLTextStorage { QString::fromUtf8("Grüße 😀"), fontOf("DejaVu Serif", 12, false), QColor(Qt::darkGreen) });
    g._shape_type = QStringLiteral("DS");
    g.cor_rad_val_val = 7.5f;
    QImage picture(8, 4, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30, 255));
    picture.setPixelColor(3, 2, QColor(200, 100, 50, 128));
    g._barcode_image = picture;
    g.linear_or_2d = 1;
    g.barcode_font_index = 7;
    g.linear_font_val = QStringLiteral("4006381333931");
    g.two_d_font_val = QString::fromUtf8("Привет");
    g.header_val = QStringLiteral("Top");
    g.footer_val = QStringLiteral("Bottom");
    g.show_hide_hdr = 1;
    g.show_hide_ftr = 1;
    g.show_hide_val = 1;
    g.show_val_on_top = 1;
    g.align_hdr_index = 2;
    g.align_ftr_index = 0;
    g.linear_height_val = 1.25f;
    g.linear_width_val = 13.0f;
    g.qr_size_val = 120;
    g.qr_version_index = 5;
    g.qr_ec_index = 3;
    g.pdf_hgt_val = 4;
    g.pdf_wdt_val = 6;
    g.pdf_ec_val = 5;
    g.dm_module_val = 3;
    g.dm_format_index = 9;
    g.dm_encoding_index = 4;
    g.hdr_margin_val = 0.2f;
    g.ftr_margin_val = 0.3f;
    g.val_margin_val = 0.4f;
    g.TB_marging_val = 0.5f;
    g.LR_margin_val = 0.6f;
    g.value_font_val = fontOf("Liberation Sans", 9, false);
    g.header_font_val = fontOf("Liberation Serif", 11, true);
    g.footer_font_val = fontOf("DejaVu Sans Mono", 8, false);
    g.barcode_hdr_clr_val = QColor(Qt::cyan);
    g.barcode_ftr_clr_val = QColor(Qt::yellow);
    g.barcode_val_clr_val = QColor(Qt::gray);
    g.barcode_back_clr_val = QColor(Qt::darkBlue);
    g.barcode_clr_val = QColor(Qt::darkRed);
    g.dpi_val_index = 4;
    g.dpi_custom_val = QStringLiteral("600");
    g.barcode_unit_val = 2;
    g.text_alignmnet = 2;
    g.text_transfrom_case = 3;
    g.text_kerning = 1.5f;
    g.print_object = 1;
    g.control_ID = QStringLiteral("PARTY_TITLE");
    g.excel_binding = true;
    g.excel_col_indx = 4;
    g.Text_Value = QStringLiteral("You are invited");
    g.ctrl_is_visible = false;
    g.double_star_type = 4;
    g.polygon_type = 5;
}

platform::KeyedArchive archiveOf(const TSLGraphic& g)
{
    platform::KeyedArchive archive;
    g.encodeWithCoder(archive);
    return archive;
}

} // namespace

TEST(TSLGraphicArchive, WritesExactlyTheNinetyThreeKeysInRecordOrder)
{
    const QStringList keys = TSLGraphic::archiveKeys();
    ASSERT_EQ(keys.size(), 93);
    EXPECT_EQ(keys.first(), QStringLiteral("_bounds"));
    EXPECT_EQ(keys.at(39), QStringLiteral("_Text_contents"));
    EXPECT_EQ(keys.at(42), QStringLiteral("_barcode_image"));
    EXPECT_EQ(keys.at(85), QStringLiteral("print_object"));
    EXPECT_EQ(keys.last(), QStringLiteral("polygon_type"));
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), 93);

    TSLText text;
    const std::vector<QString> written = archiveOf(text).keys();
    EXPECT_EQ(QStringList(written.begin(), written.end()), keys);
}

TEST(TSLGraphicArchive, EveryKindRoundTripsEveryValueThroughBytes)
{
    for (const QString& kind : kinds) {
        TSLGraphicPtr original = TSLGraphic::newGraphicOfClass(kind);
        ASSERT_TRUE(original) << kind.toStdString();
        changeEveryField(*original);
        const platform::KeyedArchive written = archiveOf(*original);

        for (auto format : { platform::PropertyList::Format::Binary, platform::PropertyList::Format::Xml }) {
            const QByteArray bytes = platform::PropertyList::toBytes(written.toPlist(), format);
            const auto plist = platform::PropertyList::fromBytes(bytes);
            ASSERT_TRUE(plist);
            const auto archive = platform::KeyedArchive::fromPlist(*plist);
            ASSERT_TRUE(archive);
            TSLGraphicPtr back = TSLGraphic::initWithCoder(*archive);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->className(), kind);
            // Written again, the item gives the same archive: no value was lost or changed on the way.
            EXPECT_EQ(archiveOf(*back).toPlist(), written.toPlist()) << kind.toStdString();

            EXPECT_EQ(back->_bounds, original->_bounds);
            EXPECT_EQ(back->_fillColor, original->_fillColor);
            EXPECT_EQ(back->_strokeWidth, 3.5);
            EXPECT_EQ(back->text_ctrl_font->family(), QStringLiteral("DejaVu Sans"));
            EXPECT_EQ(back->text_ctrl_font->pointSizeF(), 18.5);
            EXPECT_TRUE(back->text_ctrl_font->bold());
            ASSERT_TRUE(back->_Text_contents);
            EXPECT_EQ(back->_Text_contents->string, QString::fromUtf8("Grüße 😀"));
            EXPECT_EQ(back->_barcode_image.pixelColor(3, 2), QColor(200, 100, 50, 128));
            EXPECT_EQ(back->two_d_font_val, QString::fromUtf8("Привет"));
            EXPECT_EQ(back->control_ID, QStringLiteral("PARTY_TITLE"));
            EXPECT_FALSE(back->ctrl_is_visible);
            EXPECT_EQ(back->polygon_type, 5);
            EXPECT_EQ(back->img_trnsp_val, 55.5f);
        }
    }
}

TEST(TSLGraphicArchive, DoublesComeBackAtFloatPrecision)
{
    TSLGraphic g;
    g._strokeWidth = 0.1;
    g._fill_grad_angle = 33.333333333;
    TSLGraphicPtr back = TSLGraphic::initWithCoder(archiveOf(g));
    EXPECT_EQ(back->_strokeWidth, static_cast<double>(0.1f));
    EXPECT_EQ(back->_fill_grad_angle, static_cast<double>(33.333333333f));
}

TEST(TSLGraphicArchive, MissingKeysReadAsZeroNotAsDefaults)
{
    platform::KeyedArchive older(QStringLiteral("TSLText"));
    older.encodeRect(QStringLiteral("_bounds"), QRectF(1, 2, 3, 4));
    older.encodeString(QStringLiteral("Text_Value"), QStringLiteral("Old card"));
    TSLGraphicPtr g = TSLGraphic::initWithCoder(older);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->_bounds, QRectF(1, 2, 3, 4));
    EXPECT_EQ(g->Text_Value, QStringLiteral("Old card"));
    EXPECT_FALSE(g->ctrl_is_visible); // hidden, not the new-item YES
    EXPECT_FALSE(g->_isDrawingFill);
    EXPECT_EQ(g->img_trnsp_val, 0.0f);
    EXPECT_EQ(g->sat_val, 0.0f);
    EXPECT_EQ(g->align_hdr_index, 0);
    EXPECT_TRUE(g->_shape_type.isNull());
    EXPECT_FALSE(g->_fillColor.isValid());
    EXPECT_FALSE(g->text_ctrl_font.has_value());
    EXPECT_FALSE(g->_Text_contents);
}

TEST(TSLGraphicArchive, AColourOutOfRangeReadsAsNoColourAndSavesAsItReads)
{
    platform::KeyedArchive stored(QStringLiteral("TSLBarcode"));
    platform::PlistDict huge;
    huge.insert(QStringLiteral("$type"), QStringLiteral("color"));
    huge.insert(QStringLiteral("rgba"), platform::PlistArray { 131072.0, 131072.0, 131072.0, 1.0 });
    stored.encodeValue(QStringLiteral("barcode_hdr_clr_val"), huge);
    const TSLGraphicPtr first = TSLGraphic::initWithCoder(stored);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->barcode_hdr_clr_val.isValid());
    const QByteArray written = archiveOf(*first).toBytes();
    const auto again = platform::KeyedArchive::fromBytes(written);
    ASSERT_TRUE(again);
    const TSLGraphicPtr second = TSLGraphic::initWithCoder(*again);
    ASSERT_TRUE(second);
    EXPECT_EQ(archiveOf(*second).toBytes(), written);
}

TEST(TSLGraphicArchive, LineDirectionFlagsFollowTheRecordAndOlderArchivesReadAsNo)
{
    TSLLine line;
    line._bounds = QRectF(10, 20, 30, 40);
    line._pointsRight = true;
    line._pointsDown = false;
    const platform::KeyedArchive written = archiveOf(line);
    const std::vector<QString> keys = written.keys();
    ASSERT_EQ(keys.size(), 95u);
    EXPECT_EQ(QStringList(keys.begin(), keys.begin() + 93), TSLGraphic::archiveKeys());
    EXPECT_EQ(keys[93], QStringLiteral("_pointsRight"));
    EXPECT_EQ(keys[94], QStringLiteral("_pointsDown"));

    const auto bytes = written.toBytes();
    const auto read = platform::KeyedArchive::fromBytes(bytes);
    ASSERT_TRUE(read);
    auto back = std::dynamic_pointer_cast<TSLLine>(TSLGraphic::initWithCoder(*read));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->_pointsRight);
    EXPECT_FALSE(back->_pointsDown);
    EXPECT_EQ(back->beginPoint(), QPointF(10, 60)); // rises from left to right, as drawn
    EXPECT_EQ(back->endPoint(), QPointF(40, 20));

    // An archive from before the flags were kept: both read as NO.
    platform::KeyedArchive older(QStringLiteral("TSLLine"));
    for (const QString& key : TSLGraphic::archiveKeys()) {
        if (written.containsValueForKey(key))
            older.encodeValue(key, written.decodeValue(key));
    }
    auto olderLine = std::dynamic_pointer_cast<TSLLine>(TSLGraphic::initWithCoder(older));
    ASSERT_TRUE(olderLine);
    EXPECT_FALSE(olderLine->_pointsRight);
    EXPECT_FALSE(olderLine->_pointsDown);
}

TEST(TSLGraphicArchive, OnlyLinesWriteKeysBeyondTheRecord)
{
    for (const QString& kind : kinds) {
        if (kind == QLatin1String("TSLLine"))
            continue;
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(kind);
        const std::vector<QString> written = archiveOf(*item).keys();
        EXPECT_EQ(QStringList(written.begin(), written.end()), TSLGraphic::archiveKeys()) << kind.toStdString();
    }
}

TEST(TSLGraphicArchive, UnknownClassGivesNothing)
{
    platform::KeyedArchive archive(QStringLiteral("NSWindow"));
    EXPECT_FALSE(TSLGraphic::initWithCoder(archive));
}

TEST(TSLGraphicDefaults, NewItemHoldsTheRecordDefaults)
{
    TSLGraphic g;
    EXPECT_TRUE(g._isDrawingFill);
    EXPECT_TRUE(g._isDrawingStroke);
    EXPECT_EQ(g._fillColor, QColor(Qt::white));
    EXPECT_EQ(g._strokeColor, QColor(Qt::black));
    EXPECT_EQ(g._strokeWidth, 1.0);
    EXPECT_EQ(g._stroke_border_type, QStringLiteral("S"));
    EXPECT_EQ(g.img_trnsp_val, 100.0f);
    EXPECT_EQ(g.sat_val, 1.0f);
    EXPECT_EQ(g.con_val, 1.0f);
    EXPECT_TRUE(g._file_path.endsWith(QStringLiteral("/no.png")));
    EXPECT_EQ(g.linear_height_val, 0.6f);
    EXPECT_EQ(g.linear_width_val, 20.0f);
    EXPECT_EQ(g.qr_size_val, 60);
    EXPECT_EQ(g.pdf_ec_val, 2);
    EXPECT_EQ(g.value_font_val->pointSizeF(), 10.0);
    EXPECT_EQ(g.dpi_custom_val, QStringLiteral("0"));
    EXPECT_EQ(g.barcode_unit_val, 1);
    EXPECT_EQ(g.Text_Value, QStringLiteral("Text here"));
    EXPECT_TRUE(g.ctrl_is_visible);
    EXPECT_EQ(g.double_star_type, 1);
    EXPECT_EQ(g.cor_rad_val_val, 10.0f);
    EXPECT_EQ(g.align_hdr_index, 1);
}

TEST(TSLGraphicCopy, CopiesGeometryFillAndStrokeOnly)
{
    TSLText text;
    changeEveryField(text);
    TSLGraphicPtr copy = text.copyWithZone();
    ASSERT_EQ(copy->className(), QStringLiteral("TSLText"));
    EXPECT_EQ(copy->_bounds, text._bounds);
    EXPECT_EQ(copy->_fillColor, text._fillColor);
    EXPECT_EQ(copy->_fill_hatch_type, text._fill_hatch_type);
    EXPECT_EQ(copy->_fill_grad_angle, text._fill_grad_angle);
    EXPECT_EQ(copy->Text_Value, QStringLiteral("Text here")); // text fields are not copied
    EXPECT_EQ(copy->control_ID, QStringLiteral(""));
    EXPECT_TRUE(copy->ctrl_is_visible);

    TSLLine line;
    line._pointsRight = true;
    auto lineCopy = std::dynamic_pointer_cast<TSLLine>(line.copyWithZone());
    ASSERT_TRUE(lineCopy);
    EXPECT_TRUE(lineCopy->_pointsRight);

    TSLImage image;
    QImage red(4, 4, QImage::Format_ARGB32);
    red.fill(Qt::red);
    image.setContents(red);
    auto imageCopy = std::dynamic_pointer_cast<TSLImage>(image.copyWithZone());
    ASSERT_TRUE(imageCopy);
    EXPECT_EQ(imageCopy->contents().pixelColor(0, 0), QColor(Qt::red));
    QImage blue = imageCopy->contents();
    blue.fill(Qt::blue);
    imageCopy->setContents(blue);
    EXPECT_EQ(image.contents().pixelColor(0, 0), QColor(Qt::red)); // a separate duplicate
    EXPECT_EQ(imageCopy->contents().pixelColor(0, 0), QColor(Qt::blue));
}

TEST(TSLGraphicOpacity, FractionsReplaceAlphaAndValuesAboveOneActAsOne)
{
    TSLGraphic g;
    g.alpha_val = 100.0f;
    EXPECT_EQ(g.fillColor().alphaF(), 1.0f);
    g.alpha_val = 0.5f;
    EXPECT_NEAR(g.fillColor().alphaF(), 0.5, 0.01);
    EXPECT_NEAR(g.fillColor().alphaF(), 0.5, 0.01); // absolute, not multiplied on each read
    EXPECT_NEAR(g._fillColor.alphaF(), 0.5, 0.01); // stored back for direct readers
    EXPECT_NEAR(g.fill_Grad_clr1().alphaF(), 0.5, 0.01);
    EXPECT_NEAR(g.fill_Grad_clr2().alphaF(), 0.5, 0.01);
    EXPECT_NEAR(g.fill_hatch_bk_clr().alphaF(), 0.5, 0.01);
    g.alpha_val_stroke = -3.0f;
    EXPECT_EQ(g.strokeColor().alphaF(), 0.0f);
}

TEST(TSLGraphicText, TextContentsIsMadeOnceFromTheSeed)
{
    TSLText text;
    text.Text_Value = QStringLiteral("Happy Birthday");
    EXPECT_EQ(text.Text_contents().string, QStringLiteral("Happy Birthday"));
    EXPECT_EQ(text.Text_contents().foregroundColor, QColor(Qt::black));
    EXPECT_EQ(text.Text_contents().font.pointSizeF(), 14.0);
    text.Text_Value = QStringLiteral("Changed later");
    EXPECT_EQ(text.Text_contents().string, QStringLiteral("Happy Birthday"));
}

TEST(TSLGraphicPasteboard, RoundTripsItemsInOrder)
{
    TSLGraphicList items;
    for (const QString& kind : kinds) {
        items.push_back(TSLGraphic::newGraphicOfClass(kind));
        items.back()->control_ID = kind;
    }
    const QByteArray data = TSLGraphic::pasteboardDataWithGraphics(items);
    EXPECT_TRUE(data.startsWith("bplist00"));
    TSLError error;
    const auto back = TSLGraphic::graphicsWithPasteboardData(data, &error);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ((*back)[i]->className(), kinds[int(i)]);
        EXPECT_EQ((*back)[i]->control_ID, kinds[int(i)]);
    }

    const auto empty = TSLGraphic::graphicsWithPasteboardData(TSLGraphic::pasteboardDataWithGraphics({}), &error);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(TSLGraphicPasteboard, GarbageOrANonArrayRootGivesCodeTwo)
{
    platform::PlistDict dict;
    dict.insert(QStringLiteral("graphics"), platform::PlistArray {});
    const QByteArray notAnArray = platform::PropertyList::toBinary(dict);
    for (const QByteArray& data : { QByteArray("not a property list at all"), QByteArray(), notAnArray,
             QByteArray("bplist00\xff\xff\xff", 11) }) {
        TSLError error;
        EXPECT_FALSE(TSLGraphic::graphicsWithPasteboardData(data, &error));
        EXPECT_EQ(error.code, 2);
        EXPECT_EQ(error.domain, QStringLiteral("TessalineErrorDomain"));
        EXPECT_FALSE(error.localizedDescription.isEmpty());
    }
    EXPECT_FALSE(TSLGraphic::graphicsWithPasteboardData(QByteArray("junk"), nullptr));
}

TEST(TSLGraphicPasteboard, ElementsThatAreNotItemsAreSkipped)
{
    platform::PlistArray array;
    array.push_back(QStringLiteral("a string"));
    TSLText text;
    text.control_ID = QStringLiteral("kept");
    array.push_back(archiveOf(text).toPlist());
    array.push_back(platform::KeyedArchive(QStringLiteral("Unknown")).toPlist());
    TSLError error;
    const auto back = TSLGraphic::graphicsWithPasteboardData(platform::PropertyList::toBinary(array), &error);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 1u);
    EXPECT_EQ(back->front()->control_ID, QStringLiteral("kept"));
}

TEST(TSLGraphicPasteboard, PictureItemsReloadTheirFileOnlyWhenItExists)
{
    const QString path = qEnvironmentVariable("TESSALINE_DATA_DIR") + QStringLiteral("/paste-picture.png");
    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(path));
    TSLImage present;
    present._file_path = path;
    TSLImage missing;
    missing._file_path = path + QStringLiteral(".gone");
    const auto back = TSLGraphic::graphicsWithPasteboardData(
        TSLGraphic::pasteboardDataWithGraphics(
            { std::make_shared<TSLImage>(present), std::make_shared<TSLImage>(missing) }),
        nullptr);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ(static_cast<TSLImage&>(*(*back)[0]).contents().size(), QSize(5, 3));
    EXPECT_TRUE(static_cast<TSLImage&>(*(*back)[1]).contents().isNull());
    EXPECT_EQ((*back)[1]->_file_path, missing._file_path);
}
