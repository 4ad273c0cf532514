#include "model/Card_Property.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

namespace {

Card_Property changedSide()
{
    Card_Property side;
    side.setCard_border_chk(true);
    side.setCard_fill_chk(true);
    side.setCard_bordr_clr(QColor(Qt::red));
    side.setCard_fill_clr(QColor::fromRgbF(0.2, 0.4, 0.6, 0.5));
    side.setCard_fill_Grd_1_clr(QColor(Qt::yellow));
    side.setCard_fill_Grd_2_clr(QColor(Qt::cyan));
    side.setCard_hatch_bk_clr(QColor(Qt::gray));
    side.setCard_bor_Stepper(4);
    side.setCard_grad_Stepper(135);
    side.setCard_Cat_index(3);
    side.setCard_alpha_Stepper(0.75f);
    side.setCard_border_style(QStringLiteral("DD"));
    side.setCard_fill_style(QStringLiteral("I"));
    side.setCard_hatch_style(QStringLiteral("Hatch_Cross"));
    side.setCard_Side(QStringLiteral("1"));
    side.setCard_Side_Name(QStringLiteral("B"));
    side.setCard_Shape(QStringLiteral("RR"));
    side.setCard_Name(QStringLiteral("Summer party"));
    side.setCard_Preset(QStringLiteral("Vertical"));
    side.setCard_Category(QStringLiteral("Labels"));
    side.setCard_Sub_Category(QStringLiteral("A6"));
    side.setCard_Create_Mode(QStringLiteral("T"));
    side.setCard_BG_Image_Path(QStringLiteral("/pictures/beach.jpg"));
    side.setCard_BG_Image_Layout(QStringLiteral("Tile"));
    QImage picture(6, 5, QImage::Format_ARGB32);
    picture.fill(QColor(1, 2, 3));
    side.setCard_BG_Image(picture);
    side.setCard_Location(QPointF(3.5, 4.25));
    side.setCard_Size(QSizeF(242.65, 153.07));
    side.setCard_Content_clr(QColor(Qt::darkGreen));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(16.0);
    side.setCard_Content_font(font);
    return side;
}

} // namespace

TEST(CardProperty, NewRecordHoldsTheNewCardValues)
{
    const Card_Property side;
    EXPECT_FALSE(side.Card_border_chk());
    EXPECT_FALSE(side.Card_fill_chk());
    EXPECT_EQ(side.Card_fill_style(), QStringLiteral("S"));
    EXPECT_EQ(side.Card_fill_clr(), QColor(Qt::white));
    EXPECT_EQ(side.Card_fill_Grd_1_clr(), QColor(Qt::white));
    EXPECT_EQ(side.Card_hatch_bk_clr(), QColor(Qt::white));
    EXPECT_EQ(side.Card_bordr_clr(), QColor(Qt::black));
    EXPECT_EQ(side.Card_bor_Stepper(), 1);
    EXPECT_EQ(side.Card_border_style(), QStringLiteral("S"));
    EXPECT_EQ(side.Card_alpha_Stepper(), 1.0f);
    EXPECT_EQ(side.Card_Side(), QStringLiteral("2"));
    EXPECT_EQ(side.Card_Side_Name(), QStringLiteral("F"));
    EXPECT_EQ(side.Card_Shape(), QStringLiteral("R"));
    EXPECT_EQ(side.Card_Name(), QStringLiteral("Untitled"));
    EXPECT_EQ(side.Card_Preset(), QStringLiteral("Horizontal"));
    EXPECT_EQ(side.Card_Category(), QStringLiteral("PVC Card"));
    EXPECT_EQ(side.Card_Sub_Category(), QStringLiteral("CR80-Credit Card Size"));
    EXPECT_EQ(side.Card_Cat_index(), 0);
    EXPECT_EQ(side.Card_Create_Mode(), QStringLiteral("W"));
    EXPECT_TRUE(side.Card_BG_Image().isNull());
    EXPECT_EQ(side.Card_BG_Image_Path(), QStringLiteral(""));
    EXPECT_EQ(side.Card_BG_Image_Layout(), QStringLiteral("Stretch"));
    EXPECT_EQ(side.Card_Location(), QPointF());
    EXPECT_EQ(side.Card_Size(), QSizeF(0, 0));
    EXPECT_EQ(side.Card_Content_clr(), QColor(Qt::black));
    ASSERT_TRUE(side.Card_Content_font());
    EXPECT_EQ(side.Card_Content_font()->pointSizeF(), 14.0);
}

TEST(CardProperty, ArchiveRoundTripKeepsEveryField)
{
    const Card_Property side = changedSide();
    platform::KeyedArchive archive;
    side.encodeWithCoder(archive);
    const auto bytes = archive.toBytes();
    const auto read = platform::KeyedArchive::fromBytes(bytes);
    ASSERT_TRUE(read);
    const Card_Property back = Card_Property::initWithCoder(*read);
    EXPECT_EQ(back, side);
    EXPECT_EQ(back.Card_BG_Image().pixelColor(2, 2), QColor(1, 2, 3));

    const std::vector<QString> keys = archive.keys();
    ASSERT_EQ(keys.size(), 29u);
    EXPECT_EQ(keys[0], QStringLiteral("Card_border_chk"));
    EXPECT_EQ(keys[5], QStringLiteral("Card_alpha_Stepper"));
    EXPECT_EQ(keys[24], QStringLiteral("Card_BG_Image"));
    EXPECT_EQ(keys[25], QStringLiteral("Card_Location"));
    EXPECT_EQ(keys[28], QStringLiteral("Card_Content_font"));
}

TEST(CardProperty, MissingKeysReadAsZeroNotAsNewCardValues)
{
    platform::KeyedArchive archive(QStringLiteral("Card_Property"));
    archive.encodeString(QStringLiteral("Card_Name"), QStringLiteral("Old design"));
    const Card_Property side = Card_Property::initWithCoder(archive);
    EXPECT_EQ(side.Card_Name(), QStringLiteral("Old design"));
    EXPECT_EQ(side.Card_alpha_Stepper(), 0.0f);
    EXPECT_EQ(side.Card_bor_Stepper(), 0);
    EXPECT_TRUE(side.Card_Side().isNull());
    EXPECT_FALSE(side.Card_fill_clr().isValid());
    EXPECT_FALSE(side.Card_Content_font().has_value());
    EXPECT_EQ(side.Card_Size(), QSizeF(0, 0));
}

TEST(CardProperty, CopyIsIndependentOfItsSource)
{
    Card_Property source = changedSide();
    Card_Property copy = source.copyWithZone();
    EXPECT_EQ(copy, source);
    copy.setCard_Name(QStringLiteral("Other"));
    QImage picture = copy.Card_BG_Image();
    picture.fill(Qt::white);
    copy.setCard_BG_Image(picture);
    EXPECT_EQ(source.Card_Name(), QStringLiteral("Summer party"));
    EXPECT_EQ(source.Card_BG_Image().pixelColor(0, 0), QColor(1, 2, 3));
}

TEST(CardProperty, SettersStoreUnknownCodesUnchanged)
{
    Card_Property side;
    side.setCard_fill_style(QStringLiteral("X"));
    side.setCard_alpha_Stepper(100.0f);
    EXPECT_EQ(side.Card_fill_style(), QStringLiteral("X"));
    EXPECT_EQ(side.Card_alpha_Stepper(), 100.0f);
}
