#include "common/Globals.h"
#include "model/Shape_Control.h"
#include "platform/KeyedArchive.h"
#include "support/TestSupport.h"

#include "model/PictureProbes.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <thread>

using namespace pictureprobes;

namespace {

std::shared_ptr<Shape_Control> shape(const QString& code, const QRectF& bounds = { 0, 0, 100, 100 })
{
    auto item = std::make_shared<Shape_Control>();
    item->Set_Shape_Type(code);
    item->_bounds = bounds;
    item->_fillColor = QColor(Qt::red);
    item->_isDrawingStroke = false;
    return item;
}

std::set<std::pair<double, double>> distinctPoints(const QPainterPath& path)
{
    std::set<std::pair<double, double>> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.insert({ std::round(path.elementAt(i).x * 1000) / 1000, std::round(path.elementAt(i).y * 1000) / 1000 });
    return points;
}

QByteArray archiveBytes(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

} // namespace

TEST(ShapeControlOutline, StarStartsAtTheTopCentreAndIsFilledByNonZeroWinding)
{
    auto star = shape(QStringLiteral("S"));
    const QPainterPath path = star->bezierPathForDrawing();
    ASSERT_GE(path.elementCount(), 5);
    EXPECT_EQ(path.fillRule(), Qt::WindingFill);
    EXPECT_DOUBLE_EQ(path.elementAt(0).x, 50.0);
    EXPECT_DOUBLE_EQ(path.elementAt(0).y, 0.0);
    const double a = 54.0 * M_PI / 180.0;
    EXPECT_NEAR(path.elementAt(1).x, 50 + 50 * std::cos(a), 1e-4);
    EXPECT_NEAR(path.elementAt(1).y, 50 + 50 * std::sin(a), 1e-4);

    // The inner pentagon is crossed twice by the outline: filled and hit under the non-zero rule.
    const QImage picture = render(*star, { 100, 100 }, 2.0);
    EXPECT_TRUE(colorNear(pixelAt(picture, { 50, 50 }, 2.0), Qt::red));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 50, 20 }, 2.0), Qt::red)); // the top point
    EXPECT_TRUE(isWhite(pixelAt(picture, { 50, 85 }, 2.0))); // the notch between the lower points
    EXPECT_TRUE(isWhite(pixelAt(picture, { 10, 10 }, 2.0)));
    star->_isDrawingFill = false; // an unfilled shape is hit inside its outline all the same
    EXPECT_TRUE(star->isContentsUnderPoint({ 50, 50 }));
    EXPECT_FALSE(star->isContentsUnderPoint({ 50, 85 }));
    keepPicture(picture, QStringLiteral("shape_star"));
}

TEST(ShapeControlOutline, RoundedRectangleRadiusIsClampedOnEachAxis)
{
    // Radius 10 in a 12 x 40 box: 6 along x, still 10 along y.
    auto narrow = shape(QStringLiteral("RR"), { 0, 0, 12, 40 });
    narrow->cor_rad_val_val = 10.0f;
    EXPECT_FALSE(narrow->isContentsUnderPoint({ 1, 3 })); // outside the 6 x 10 corner, inside a 6 x 6 one
    EXPECT_TRUE(narrow->isContentsUnderPoint({ 2, 6 }));
    EXPECT_TRUE(narrow->isContentsUnderPoint({ 6, 0.5 }));
    EXPECT_TRUE(narrow->isContentsUnderPoint({ 0.5, 20 }));
    const QImage picture = render(*narrow, { 12, 40 }, 10.0);
    EXPECT_TRUE(isWhite(pixelAt(picture, { 1, 3 }, 10.0)));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 2, 6 }, 10.0), Qt::red));
    keepPicture(picture, QStringLiteral("shape_rounded_narrow"));

    // A radius beyond both halves turns the box into its inscribed ellipse.
    auto pill = shape(QStringLiteral("RR"), { 0, 0, 40, 20 });
    pill->cor_rad_val_val = 50.0f;
    EXPECT_FALSE(pill->isContentsUnderPoint({ 3, 3 }));
    EXPECT_TRUE(pill->isContentsUnderPoint({ 20, 1 }));
    EXPECT_TRUE(pill->isContentsUnderPoint({ 1, 10 }));

    // No radius, or a damaged one, gives square corners.
    for (float radius : { 0.0f, -5.0f, std::nanf("") }) {
        auto square = shape(QStringLiteral("RR"), { 0, 0, 40, 20 });
        square->cor_rad_val_val = radius;
        EXPECT_TRUE(square->isContentsUnderPoint({ 0.5, 0.5 })) << radius;
    }
}

TEST(ShapeControlOutline, EveryCodeDrawsWhereItShould)
{
    struct Case {
        const char* name;
        QString code;
        int variant;
        std::vector<QPointF> inside;
        std::vector<QPointF> outside;
    };
    const std::vector<Case> cases = {
        { "rectangle", "R", 1, { { 2, 2 }, { 98, 98 }, { 50, 50 } }, { { 101, 50 } } },
        { "circle", "C", 1, { { 50, 50 }, { 50, 2 }, { 2, 50 } }, { { 5, 5 }, { 95, 95 } } },
        { "rounded", "RR", 1, { { 50, 1 }, { 4, 4 } }, { { 0.5, 0.5 }, { 99.5, 99.5 } } },
        { "triangle", "T", 1, { { 50, 5 }, { 3, 98 }, { 97, 98 }, { 50, 60 } }, { { 10, 10 }, { 90, 10 } } },
        { "diamond", "D", 1, { { 50, 50 }, { 50, 3 }, { 3, 50 }, { 97, 50 }, { 50, 97 } }, { { 10, 10 }, { 90, 90 } } },
        { "eight_point", "P", 1, { { 2, 2 }, { 98, 2 }, { 50, 50 }, { 2, 98 } },
            { { 50, 10 }, { 10, 50 }, { 90, 50 } } },
        { "pentagon", "P", 2, { { 50, 3 }, { 50, 50 }, { 10, 40 } }, { { 5, 5 }, { 95, 95 } } },
        { "star_7", "DS", 1, { { 50, 50 }, { 50, 3 } }, { { 5, 5 } } },
        { "star_11", "DS", 3, { { 50, 50 }, { 50, 3 } }, { { 5, 5 } } },
    };
    for (const Case& c : cases) {
        auto item = shape(c.code);
        item->double_star_type = c.variant;
        item->polygon_type = c.variant;
        const QImage picture = render(*item, { 110, 110 }, 4.0);
        for (const QPointF& p : c.inside) {
            EXPECT_TRUE(colorNear(pixelAt(picture, p, 4.0), Qt::red)) << c.name << " at " << p.x() << "," << p.y();
            EXPECT_TRUE(item->isContentsUnderPoint(p)) << c.name;
        }
        for (const QPointF& p : c.outside) {
            EXPECT_TRUE(isWhite(pixelAt(picture, p, 4.0))) << c.name << " at " << p.x() << "," << p.y();
            EXPECT_FALSE(item->isContentsUnderPoint(p)) << c.name;
        }
        keepPicture(picture, QStringLiteral("shape_") + QString::fromLatin1(c.name));
    }
}

TEST(ShapeControlOutline, VariantsGiveTheirPointCounts)
{
    auto item = shape(QStringLiteral("DS"));
    item->double_star_type = 3;
    EXPECT_EQ(distinctPoints(item->bezierPathForDrawing()).size(), 11u); // an 11-pointed star
    item->double_star_type = 6; // a stored count outside 1 to 5 is the count itself: a triangle traced twice
    EXPECT_EQ(distinctPoints(item->bezierPathForDrawing()).size(), 3u);

    auto polygon = shape(QStringLiteral("P"));
    for (int variant = 2; variant <= 5; ++variant) {
        polygon->polygon_type = variant;
        EXPECT_EQ(distinctPoints(polygon->bezierPathForDrawing()).size(), std::size_t(variant + 3)) << variant;
    }
    polygon->polygon_type = 2;
    const QPainterPath pentagon = polygon->bezierPathForDrawing();
    EXPECT_DOUBLE_EQ(pentagon.elementAt(0).x, 50.0); // top point at the middle of the top edge
    EXPECT_DOUBLE_EQ(pentagon.elementAt(0).y, 0.0);
    polygon->polygon_type = 8; // a stored 8 picks the eight-point outline too
    EXPECT_EQ(polygon->bezierPathForDrawing(), polygon->Custom_Polygon());
    EXPECT_EQ(polygon->Custom_Polygon().elementAt(2).x, 100.0);
    EXPECT_EQ(polygon->Custom_Polygon().elementAt(2).y, 0.0);
}

TEST(ShapeControlOutline, DamagedCountsAreClampedOrEmpty)
{
    auto item = shape(QStringLiteral("P"));
    item->polygon_type = 2'000'000'000; // from a damaged file
    const QPainterPath huge = item->bezierPathForDrawing();
    EXPECT_LE(huge.elementCount(), Shape_Control::maxStarPoints + 1);
    EXPECT_GE(huge.elementCount(), Shape_Control::maxStarPoints);
    render(*item, { 100, 100 }); // draws in bounded time

    for (int count : { 0, -1, -2'000'000'000 }) {
        item->polygon_type = count;
        EXPECT_TRUE(item->bezierPathForDrawing().isEmpty()) << count;
        EXPECT_FALSE(item->isContentsUnderPoint({ 50, 50 })) << count;
        EXPECT_EQ(inkBounds(render(*item, { 100, 100 })), QRect()) << count;
    }
}

TEST(ShapeControlDrawing, UnknownCodeDrawsNothingButAsksForARedrawAndHiddenShapesDoNeither)
{
    FakeEditor editor;
    auto unknown = shape(QStringLiteral("X"));
    unknown->_isDrawingStroke = true;
    EXPECT_EQ(inkBounds(render(*unknown, { 100, 100 })), QRect());
    EXPECT_FALSE(unknown->isContentsUnderPoint({ 50, 50 }));
    EXPECT_EQ(editor.refreshes, 1);

    auto hidden = shape(QStringLiteral("R"));
    hidden->_isDrawingStroke = true;
    hidden->ctrl_is_visible = false;
    EXPECT_EQ(inkBounds(render(*hidden, { 100, 100 })), QRect());
    EXPECT_EQ(editor.refreshes, 1);

    auto shown = shape(QStringLiteral("R"));
    render(*shown, { 100, 100 });
    EXPECT_EQ(editor.refreshes, 2);
}

TEST(ShapeControlDrawing, BorderDashesFollowTheTableInPoints)
{
    // A 4-point border along the top edge, which the rectangle's outline runs from left to right.
    auto item = shape(QStringLiteral("R"), { 10, 10, 100, 40 });
    item->_isDrawingFill = false;
    item->_isDrawingStroke = true;
    item->_strokeColor = QColor(Qt::blue);
    item->_strokeWidth = 4.0;
    const double scale = 4.0;
    auto probe = [&](const QString& code, double along) {
        item->_stroke_border_type = code;
        const QImage picture = render(*item, { 120, 60 }, scale);
        keepPicture(picture, QStringLiteral("shape_border_") + code);
        return pixelAt(picture, { 10 + along, 10 }, scale);
    };
    // "DA": 8 on, 2 off.
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DA"), 4), Qt::blue));
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DA"), 9)));
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DA"), 14), Qt::blue));
    // "DO": 4 on, 6 off.
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DO"), 2), Qt::blue));
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DO"), 7)));
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DO"), 12), Qt::blue));
    // "DD": 24 on, 10 off, 6 on, 10 off.
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DD"), 20), Qt::blue));
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DD"), 29)));
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DD"), 37), Qt::blue));
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DD"), 45)));
    // "DDD": 24 on, 8 off, 8 on, 8 off, 8 on, 8 off.
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DDD"), 28)));
    EXPECT_TRUE(colorNear(probe(QStringLiteral("DDD"), 36), Qt::blue));
    EXPECT_TRUE(isWhite(probe(QStringLiteral("DDD"), 44)));
    // Solid, and any code outside the table.
    EXPECT_TRUE(colorNear(probe(QStringLiteral("S"), 9), Qt::blue));
    EXPECT_TRUE(colorNear(probe(QStringLiteral("ZZ"), 9), Qt::blue));
}

TEST(ShapeControlDrawing, GradientRunsFromTheFirstColourAtItsAngle)
{
    auto item = shape(QStringLiteral("R"), { 0, 0, 100, 60 });
    item->_fill_type = QStringLiteral("G");
    item->_fill_Grad_clr1 = QColor(Qt::red);
    item->_fill_Grad_clr2 = QColor(Qt::blue);
    item->_fill_grad_angle = 0.0;
    QImage picture = render(*item, { 100, 60 });
    EXPECT_TRUE(colorNear(pixelAt(picture, { 0.5, 30 }), Qt::red, 16));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 99.5, 30 }), Qt::blue, 16));
    keepPicture(picture, QStringLiteral("shape_gradient_0"));

    item->_fill_grad_angle = 90.0; // top to bottom: the first colour along the top edge
    picture = render(*item, { 100, 60 });
    EXPECT_TRUE(colorNear(pixelAt(picture, { 50, 0.5 }), Qt::red, 16));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 50, 59.5 }), Qt::blue, 16));
    keepPicture(picture, QStringLiteral("shape_gradient_90"));

    // Within an ellipse the gradient spans the outline's box.
    item->Set_Shape_Type(QStringLiteral("C"));
    item->_fill_grad_angle = 0.0;
    picture = render(*item, { 100, 60 });
    EXPECT_TRUE(colorNear(pixelAt(picture, { 2, 30 }), Qt::red, 24));
    EXPECT_TRUE(isWhite(pixelAt(picture, { 1, 1 })));
}

TEST(ShapeControlDrawing, HatchPatternLiesOverTheHatchColour)
{
    ASSERT_TRUE(QFileInfo::exists(Resource_Path + QStringLiteral("/Fill_Style_Image/Hatch_Diagonal.png")))
        << "the data folder lacks the fill-style pictures";
    auto item = shape(QStringLiteral("C"));
    item->_fill_type = QStringLiteral("H");
    item->_fill_htch_clr = QColor(Qt::yellow);
    item->_fill_hatch_type = QStringLiteral("Hatch_Diagonal");
    const QImage picture = render(*item, { 100, 100 }, 2.0);
    keepPicture(picture, QStringLiteral("shape_hatch"));
    auto yellow = [](const QColor& c) { return near(c, Qt::yellow, 30); };
    auto dark = [](const QColor& c) { return c.red() < 120 && c.green() < 120 && c.blue() < 120; };
    EXPECT_GT(countPixels(picture, yellow), 2000); // the hatch colour shows through the pattern's gaps
    EXPECT_GT(countPixels(picture, dark), 500); // the pattern's lines
    EXPECT_TRUE(isWhite(pixelAt(picture, { 3, 3 }, 2.0))); // nothing outside the outline

    // A missing pattern, or a name that is not a plain file name (even one that leads to a real picture),
    // leaves the hatch colour alone.
    for (const QString& name :
        { QStringLiteral("No_Such_Pattern"), QStringLiteral("../Fill_Style_Image/Hatch_Diagonal"), QStringLiteral(".."),
            QStringLiteral("."), QStringLiteral("a/b"), QStringLiteral("a\\b"), QString() }) {
        item->_fill_hatch_type = name;
        const QImage plain = render(*item, { 100, 100 }, 2.0);
        EXPECT_EQ(countPixels(plain, dark), 0) << name.toStdString();
        EXPECT_TRUE(colorNear(pixelAt(plain, { 50, 50 }, 2.0), Qt::yellow)) << name.toStdString();
    }
}

TEST(ShapeControlDrawing, OpacityAppliesToFillAndBorderAndValuesAboveOneAreOpaque)
{
    auto item = shape(QStringLiteral("R"), { 0, 0, 100, 100 });
    item->_fillColor = QColor(Qt::black);
    item->alpha_val = 0.5f;
    QImage picture = render(*item, { 100, 100 });
    const QColor half = pixelAt(picture, { 50, 50 });
    EXPECT_NEAR(half.red(), 128, 6);
    item->alpha_val = 100.0f; // an old record that stored percent
    picture = render(*item, { 100, 100 });
    EXPECT_TRUE(colorNear(pixelAt(picture, { 50, 50 }), Qt::black, 2));
}

TEST(ShapeControlDrawing, DrawingLeavesTheRecordAsItWas)
{
    for (const char* code : { "R", "C", "RR", "T", "D", "S", "DS", "P", "X" }) {
        auto item = shape(QString::fromLatin1(code));
        item->_isDrawingStroke = true;
        item->_fill_type = QStringLiteral("H");
        item->_fill_hatch_type = QStringLiteral("Hatch_Cross");
        item->polygon_type = 77;
        const QByteArray before = archiveBytes(*item);
        render(*item, { 100, 100 });
        EXPECT_EQ(archiveBytes(*item), before) << code;
    }
}

TEST(ShapeControlDrawing, WorkerThreadDrawsTheSamePicture)
{
    auto item = shape(QStringLiteral("S"));
    item->_fill_type = QStringLiteral("H");
    item->_fill_htch_clr = QColor(Qt::cyan);
    item->_fill_hatch_type = QStringLiteral("Hatch_Cross");
    item->_isDrawingStroke = true;
    item->_stroke_border_type = QStringLiteral("DA");
    const QImage here = render(*item, { 100, 100 }, 3.0);
    QImage there;
    std::thread worker([&] { there = render(*item, { 100, 100 }, 3.0); });
    worker.join();
    EXPECT_EQ(here, there);
}

TEST(ShapeControlOutline, HitTestIgnoresTheBorderAndTheFillSwitch)
{
    auto frame = shape(QStringLiteral("R"), { 10, 10, 100, 60 });
    frame->_isDrawingFill = false;
    frame->_isDrawingStroke = true;
    frame->_strokeWidth = 10.0;
    EXPECT_TRUE(frame->isContentsUnderPoint({ 60, 40 })); // the empty centre of an unfilled box
    EXPECT_TRUE(frame->isContentsUnderPoint({ 12, 40 })); // the inner half of the border
    EXPECT_FALSE(frame->isContentsUnderPoint({ 7, 40 })); // the outer half, drawn but not hit
    const QImage picture = render(*frame, { 120, 80 }, 2.0);
    EXPECT_FALSE(isWhite(pixelAt(picture, { 7, 40 }, 2.0)));
    EXPECT_TRUE(isWhite(pixelAt(picture, { 60, 40 }, 2.0)));

    // Flipping a shape changes nothing about it.
    const QPainterPath before = frame->bezierPathForDrawing();
    frame->flipHorizontally();
    frame->flipVertically();
    frame->setFlippedHorizontally(true);
    frame->setFlippedVertically(true);
    EXPECT_EQ(frame->bezierPathForDrawing(), before);
}
