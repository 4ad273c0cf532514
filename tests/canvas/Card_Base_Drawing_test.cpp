#include "model/PictureProbes.h"

#include "canvas/Card_Base_Drawing.h"
#include "common/Globals.h"
#include "model/Card_Property.h"
#include "model/FillStylePattern.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace pictureprobes;

namespace {

// The view's own background, so that what the card paints can be told from what it leaves alone.
const QColor viewBackground(120, 120, 120);
const QRectF card(10, 10, 240, 150);

QImage paint(const Card_Property& side, int shape, const QRectF& dirty = QRectF(0, 0, 260, 170))
{
    QImage image = blank(260, 170, viewBackground);
    QPainter painter(&image);
    Card_Base_Drawing(painter, card, side, shape, dirty);
    return image;
}

Card_Property filled(const QString& style)
{
    Card_Property side;
    side.setCard_fill_chk(true);
    side.setCard_fill_style(style);
    return side;
}

// Left half red, right half blue.
QImage halves(int width, int height)
{
    QImage image = blank(width, height, Qt::red);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixelColor(x, y, Qt::blue);
    return image;
}

QColor over(const QColor& top, const QColor& bottom)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a), top.greenF() * a + bottom.greenF() * (1 - a),
        top.blueF() * a + bottom.blueF() * (1 - a));
}

} // namespace

TEST(CardBaseOutline, EachOutlineIsFilledWhiteAndLeavesTheViewOutsideIt)
{
    const Card_Property plain;
    const QImage rectangle = paint(plain, 0);
    keepPicture(rectangle, QStringLiteral("card_base_rectangle"));
    EXPECT_TRUE(near(at(rectangle, 130, 85), Qt::white));
    EXPECT_TRUE(near(at(rectangle, 11, 11), Qt::white));
    EXPECT_TRUE(near(at(rectangle, 248, 158), Qt::white));
    EXPECT_TRUE(near(at(rectangle, 8, 85), viewBackground));
    EXPECT_TRUE(near(at(rectangle, 251, 85), viewBackground));
    EXPECT_TRUE(samePixels(paint(plain, 7), rectangle)); // any other code is a rectangle

    const QImage rounded = paint(plain, 1);
    keepPicture(rounded, QStringLiteral("card_base_rounded"));
    EXPECT_TRUE(near(at(rounded, 11, 11), viewBackground)); // outside the corner arc of radius 10
    EXPECT_TRUE(near(at(rounded, 20, 11), Qt::white));
    EXPECT_TRUE(near(at(rounded, 11, 20), Qt::white));
    EXPECT_TRUE(near(at(rounded, 248, 158), viewBackground));

    const QImage oval = paint(plain, 2);
    keepPicture(oval, QStringLiteral("card_base_oval"));
    EXPECT_TRUE(near(at(oval, 130, 85), Qt::white));
    EXPECT_TRUE(near(at(oval, 30, 25), viewBackground));
    EXPECT_TRUE(near(at(oval, 13, 85), Qt::white));
    EXPECT_TRUE(near(at(oval, 130, 12), Qt::white));
    EXPECT_TRUE(near(at(oval, 230, 150), viewBackground));
}

TEST(CardBaseFill, SolidAndGradientFillTheOutline)
{
    Card_Property solid = filled(QStringLiteral("S"));
    solid.setCard_fill_clr(QColor(200, 30, 40));
    const QImage image = paint(solid, 2);
    keepPicture(image, QStringLiteral("card_base_solid_oval"));
    EXPECT_TRUE(near(at(image, 130, 85), QColor(200, 30, 40)));
    EXPECT_TRUE(near(at(image, 14, 14), viewBackground));

    // Switched off, the stored colour is kept but not drawn.
    solid.setCard_fill_chk(false);
    EXPECT_TRUE(near(at(paint(solid, 0), 130, 85), Qt::white));

    Card_Property gradient = filled(QStringLiteral("G"));
    gradient.setCard_fill_Grd_1_clr(Qt::red);
    gradient.setCard_fill_Grd_2_clr(Qt::blue);
    const QImage across = paint(gradient, 0);
    keepPicture(across, QStringLiteral("card_base_gradient_0"));
    EXPECT_TRUE(near(at(across, 11, 85), Qt::red, 8));
    EXPECT_TRUE(near(at(across, 248, 85), Qt::blue, 8));
    EXPECT_TRUE(near(at(across, 130, 20), at(across, 130, 150), 2)); // no change top to bottom

    gradient.setCard_grad_Stepper(90); // runs from the top down
    const QImage downward = paint(gradient, 0);
    keepPicture(downward, QStringLiteral("card_base_gradient_90"));
    EXPECT_TRUE(near(at(downward, 130, 11), Qt::red, 8));
    EXPECT_TRUE(near(at(downward, 130, 158), Qt::blue, 8));
    EXPECT_TRUE(near(at(downward, 20, 85), at(downward, 240, 85), 2));

    gradient.setCard_grad_Stepper(45);
    const QImage diagonal = paint(gradient, 1);
    keepPicture(diagonal, QStringLiteral("card_base_gradient_45_rounded"));
    const QColor upperLeft = at(diagonal, 25, 20);
    const QColor lowerRight = at(diagonal, 235, 150);
    EXPECT_GT(upperLeft.red(), upperLeft.blue());
    EXPECT_GT(lowerRight.blue(), lowerRight.red());
}

TEST(CardBaseFill, HatchPatternRepeatsOverItsColourFromTheCardCorner)
{
    Card_Property hatch = filled(QStringLiteral("H"));
    hatch.setCard_hatch_bk_clr(Qt::yellow);
    hatch.setCard_hatch_style(QStringLiteral("Hatch_Cross"));
    const QImage pattern = fillStylePattern(QStringLiteral("Hatch_Cross"));
    ASSERT_FALSE(pattern.isNull());

    const QImage image = paint(hatch, 0);
    keepPicture(image, QStringLiteral("card_base_hatch"));
    // Each tile, starting at the card's corner, is the pattern over the hatch colour.
    int patternPixels = 0;
    for (int tile : { 0, 3 })
        for (int y = 0; y < pattern.height(); ++y)
            for (int x = 0; x < pattern.width(); ++x) {
                const QColor expected = over(pattern.pixelColor(x, y), Qt::yellow);
                const int px = 10 + tile * pattern.width() + x;
                const int py = 10 + tile * pattern.height() + y;
                EXPECT_TRUE(near(at(image, px, py), expected, 3)) << px << "," << py;
                patternPixels += near(expected, Qt::yellow, 3) ? 0 : 1;
            }
    EXPECT_GT(patternPixels, 0);

    // A missing pattern, or a name that could reach outside the pattern folder, leaves the colour alone.
    for (const QString& name : { QStringLiteral("No_Such_Pattern"), QStringLiteral("../Fill_Style_Image/Hatch_Cross"),
             QStringLiteral(".."), QString() }) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(fillStylePattern(name).isNull());
        hatch.setCard_hatch_style(name);
        hatch.setCard_border_chk(true);
        hatch.setCard_bor_Stepper(4);
        const QImage plain = paint(hatch, 0);
        EXPECT_EQ(countPixels(plain.copy(20, 20, 200, 120), [](const QColor& c) { return !near(c, Qt::yellow); }), 0);
        EXPECT_TRUE(near(at(plain, 9, 85), Qt::black)); // the border is still drawn
    }
}

TEST(CardBaseFill, PictureStretchedCoversTheWholeCardAndTiledRepeatsInsideTheOutline)
{
    Card_Property picture = filled(QStringLiteral("I"));
    picture.setCard_BG_Image(quarters(4, 4));
    picture.setCard_BG_Image_Layout(QStringLiteral("Stretch"));

    const QImage stretched = paint(picture, 1);
    keepPicture(stretched, QStringLiteral("card_base_picture_stretched_rounded"));
    EXPECT_TRUE(near(at(stretched, 70, 45), Qt::red));
    EXPECT_TRUE(near(at(stretched, 190, 45), Qt::green));
    EXPECT_TRUE(near(at(stretched, 70, 125), Qt::blue));
    EXPECT_TRUE(near(at(stretched, 190, 125), Qt::yellow));
    EXPECT_TRUE(near(at(stretched, 10, 10), Qt::red)); // the corners outside the outline too
    EXPECT_TRUE(near(at(stretched, 249, 159), Qt::yellow));
    EXPECT_TRUE(near(at(stretched, 8, 8), viewBackground));

    picture.setCard_alpha_Stepper(0.5f);
    const QImage faint = paint(picture, 0);
    EXPECT_TRUE(near(at(faint, 70, 45), QColor(255, 128, 128), 3)); // half over the white outline
    picture.setCard_alpha_Stepper(100.0f);
    EXPECT_TRUE(near(at(paint(picture, 0), 70, 45), Qt::red));

    Card_Property tiled = filled(QStringLiteral("I"));
    tiled.setCard_BG_Image(halves(20, 20));
    tiled.setCard_BG_Image_Layout(QStringLiteral("Tile"));
    tiled.setCard_alpha_Stepper(1.0f);
    const QImage tiles = paint(tiled, 0);
    keepPicture(tiles, QStringLiteral("card_base_picture_tiled"));
    for (int tile = 0; tile < 12; ++tile) {
        EXPECT_TRUE(near(at(tiles, 10 + tile * 20 + 5, 60), Qt::red)) << tile;
        EXPECT_TRUE(near(at(tiles, 10 + tile * 20 + 15, 60), Qt::blue)) << tile;
    }

    tiled.setCard_alpha_Stepper(0.5f);
    const QImage faintOval = paint(tiled, 2);
    keepPicture(faintOval, QStringLiteral("card_base_picture_tiled_oval_half"));
    EXPECT_TRUE(near(at(faintOval, 135, 85), QColor(255, 128, 128), 3));
    EXPECT_TRUE(near(at(faintOval, 14, 14), viewBackground)); // tiles stay inside the outline

    tiled.setCard_BG_Image(QImage());
    EXPECT_TRUE(near(at(paint(tiled, 0), 135, 85), Qt::white));
}

TEST(CardBaseBorder, BorderFollowsTheOutlineWithItsDashes)
{
    Card_Property side;
    side.setCard_border_chk(true);
    side.setCard_bordr_clr(Qt::black);
    side.setCard_bor_Stepper(2);

    // Along the top edge from the top-left corner: dash 24, gap 8, dash 8, gap 8, dash 8, gap 8, dash 24.
    side.setCard_border_style(QStringLiteral("DDD"));
    const QImage dashed = paint(side, 0);
    keepPicture(dashed, QStringLiteral("card_base_border_ddd"));
    for (int x : { 22, 46, 62, 76 })
        EXPECT_TRUE(near(at(dashed, x, 10), Qt::black)) << x;
    for (int x : { 38, 54, 70 })
        EXPECT_FALSE(near(at(dashed, x, 10), Qt::black, 60)) << x;

    side.setCard_border_style(QStringLiteral("DA")); // 8 on, 2 off
    const QImage dashes = paint(side, 0);
    EXPECT_TRUE(near(at(dashes, 14, 10), Qt::black));
    EXPECT_FALSE(near(at(dashes, 18, 10), Qt::black, 60));
    EXPECT_TRUE(near(at(dashes, 24, 10), Qt::black));

    side.setCard_border_style(QStringLiteral("XYZ")); // unknown codes are solid
    const QImage solid = paint(side, 0);
    for (int x : { 22, 38, 46, 54, 62, 70, 76 })
        EXPECT_TRUE(near(at(solid, x, 10), Qt::black)) << x;

    side.setCard_border_style(QStringLiteral("S"));
    side.setCard_bor_Stepper(6);
    const QImage oval = paint(side, 2);
    keepPicture(oval, QStringLiteral("card_base_border_oval"));
    EXPECT_TRUE(near(at(oval, 130, 10), Qt::black));
    EXPECT_TRUE(near(at(oval, 10, 85), Qt::black));
    EXPECT_TRUE(near(at(oval, 20, 20), viewBackground)); // no border along the card rectangle's corners
}

TEST(CardBasePartialRepaint, PaintingInPartsDrawsOneOutlineAndStaysInsideTheDirtyArea)
{
    Card_Property side = filled(QStringLiteral("S"));
    side.setCard_fill_clr(QColor(30, 160, 90));
    side.setCard_border_chk(true);
    side.setCard_bor_Stepper(3);
    side.setCard_border_style(QStringLiteral("DA"));

    const QImage whole = paint(side, 2);
    QImage parts = blank(260, 170, viewBackground);
    {
        QPainter painter(&parts);
        Card_Base_Drawing(painter, card, side, 2, QRectF(0, 0, 130, 170));
        Card_Base_Drawing(painter, card, side, 2, QRectF(130, 0, 130, 90));
        Card_Base_Drawing(painter, card, side, 2, QRectF(130, 90, 130, 80));
    }
    keepPicture(parts, QStringLiteral("card_base_painted_in_parts"));
    EXPECT_TRUE(samePixels(parts, whole));

    const QImage left = paint(side, 2, QRectF(0, 0, 130, 170));
    EXPECT_TRUE(near(at(left, 100, 85), QColor(30, 160, 90)));
    EXPECT_EQ(countPixels(left.copy(130, 0, 130, 170), [](const QColor& c) { return c != viewBackground; }), 0);
    EXPECT_TRUE(samePixels(paint(side, 2, QRectF()), blank(260, 170, viewBackground)));
}

TEST(CardBaseCanvasForm, DrawsTheCurrentSidesRecordAndOutlineCode)
{
    FakeEditor editor;
    editor.front = filled(QStringLiteral("S"));
    editor.front.setCard_fill_clr(Qt::red);
    editor.back = filled(QStringLiteral("S"));
    editor.back.setCard_fill_clr(Qt::blue);
    const int savedSide = Card_Front_Or_Back;
    const int savedShape = Card_Shape;

    auto canvasPaint = [] {
        QImage image = blank(260, 170, viewBackground);
        QPainter painter(&image);
        Card_Base_Drawing(painter, card, QRectF(0, 0, 260, 170));
        return image;
    };
    Card_Front_Or_Back = 0;
    Card_Shape = 0;
    QImage image = canvasPaint();
    EXPECT_TRUE(near(at(image, 130, 85), Qt::red));
    EXPECT_TRUE(near(at(image, 12, 12), Qt::red));

    Card_Front_Or_Back = 1;
    Card_Shape = 2;
    image = canvasPaint();
    keepPicture(image, QStringLiteral("card_base_back_side_oval"));
    EXPECT_TRUE(near(at(image, 130, 85), Qt::blue));
    EXPECT_TRUE(near(at(image, 14, 14), viewBackground));

    Card_Front_Or_Back = savedSide;
    Card_Shape = savedShape;
}
