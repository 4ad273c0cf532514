#include "model/TSLLine.h"
#include "platform/KeyedArchive.h"

#include "model/PictureProbes.h"

#include <gtest/gtest.h>

using namespace pictureprobes;

namespace {

std::shared_ptr<TSLLine> lineFrom(QPointF begin, QPointF end, double width = 1.0)
{
    auto line = std::make_shared<TSLLine>();
    line->_strokeWidth = width;
    line->_strokeColor = QColor(Qt::blue);
    line->setBeginPoint(begin);
    line->setEndPoint(end);
    return line;
}

// Records the values an undo observer hears of.
class RecordingObserver : public TSLGraphicObserver {
public:
    struct Change {
        QString key;
        QVariant oldValue;
        QVariant newValue;
    };
    void graphicValueChanged(
        TSLGraphic&, const QString& key, const QVariant& oldValue, const QVariant& newValue) override
    {
        changes.push_back({ key, oldValue, newValue });
    }
    std::vector<Change> changes;
    const Change* last(const QString& key) const
    {
        for (auto it = changes.rbegin(); it != changes.rend(); ++it)
            if (it->key == key)
                return &*it;
        return nullptr;
    }
};

} // namespace

TEST(TSLLineGeometry, EndPointsComeFromTheBoundsAndTheFlags)
{
    TSLLine line; // flags never set: from the lower-right corner to the upper-left one
    line._bounds = QRectF(20, 30, 50, 50);
    EXPECT_EQ(line.beginPoint(), QPointF(70, 80));
    EXPECT_EQ(line.endPoint(), QPointF(20, 30));

    line.setBeginPoint({ 10, 10 });
    line.setEndPoint({ 100, 50 });
    EXPECT_EQ(line.bounds(), QRectF(10, 10, 90, 40));
    EXPECT_TRUE(line._pointsRight);
    EXPECT_TRUE(line._pointsDown);

    line.setEndPoint({ 0, 0 }); // past the begin point: the flags turn, the begin point stays
    EXPECT_EQ(line.bounds(), QRectF(0, 0, 10, 10));
    EXPECT_FALSE(line._pointsRight);
    EXPECT_FALSE(line._pointsDown);
    EXPECT_EQ(line.beginPoint(), QPointF(10, 10));
    EXPECT_EQ(line.endPoint(), QPointF(0, 0));

    bool right = true;
    bool down = true;
    EXPECT_EQ(TSLLine::boundsWithBeginPoint({ 5, 5 }, { 5, 9 }, &right, &down), QRectF(5, 5, 0, 4));
    EXPECT_FALSE(right); // equal coordinates do not point right
    EXPECT_TRUE(down);

    // A move of the whole line keeps its direction.
    line.setBounds(line.bounds().translated(100, 0));
    EXPECT_EQ(line.beginPoint(), QPointF(110, 10));
}

TEST(TSLLineHandles, TwoHandlesAtTheEndsAndDraggingNeverSwapsThem)
{
    auto line = lineFrom({ 10, 10 }, { 100, 50 });
    EXPECT_EQ(line->handleUnderPoint({ 11, 12 }), 1);
    EXPECT_EQ(line->handleUnderPoint({ 98, 48 }), 2);
    EXPECT_EQ(line->handleUnderPoint({ 55, 30 }), 0);
    EXPECT_EQ(line->handleUnderPoint({ 100, 10 }), 0); // a corner of the box that is no end point

    EXPECT_EQ(line->resizeByMovingHandle(2, { 0, 60 }), 2);
    EXPECT_EQ(line->beginPoint(), QPointF(10, 10));
    EXPECT_EQ(line->endPoint(), QPointF(0, 60));
    EXPECT_EQ(line->resizeByMovingHandle(1, { 30, 70 }), 1);
    EXPECT_EQ(line->beginPoint(), QPointF(30, 70));
    EXPECT_EQ(line->endPoint(), QPointF(0, 60));
    const QRectF before = line->bounds();
    EXPECT_EQ(line->resizeByMovingHandle(5, { 500, 500 }), 5);
    EXPECT_EQ(line->bounds(), before);
    EXPECT_EQ(TSLLine::creationSizingHandle(), 2);
}

TEST(TSLLineHitTest, ToleranceIsHalfTheWidthPlusTwoAlongTheVertical)
{
    auto line = lineFrom({ 0, 0 }, { 100, 50 }, 4.0);
    EXPECT_TRUE(line->isContentsUnderPoint({ 50, 29 })); // 4 below the line at x = 50
    EXPECT_FALSE(line->isContentsUnderPoint({ 50, 30 }));
    EXPECT_TRUE(line->isContentsUnderPoint({ 50, 21 }));
    EXPECT_FALSE(line->isContentsUnderPoint({ 50, 20 }));
    // Outside the box misses, even within the tolerance of an end point.
    EXPECT_FALSE(line->isContentsUnderPoint({ -1, 0 }));
    EXPECT_FALSE(line->isContentsUnderPoint({ 100, 50 }));

    // A steep line is missed by a click inside its box but far from it.
    auto steep = lineFrom({ 0, 0 }, { 10, 100 });
    EXPECT_TRUE(steep->isContentsUnderPoint({ 5, 50 }));
    EXPECT_FALSE(steep->isContentsUnderPoint({ 9, 10 }));

    // Horizontal and vertical lines have a box without area; they are reached within the tolerance.
    auto vertical = lineFrom({ 10, 0 }, { 10, 100 }, 2.0);
    EXPECT_TRUE(vertical->isContentsUnderPoint({ 10, 50 }));
    EXPECT_TRUE(vertical->isContentsUnderPoint({ 13, 50 }));
    EXPECT_FALSE(vertical->isContentsUnderPoint({ 13.5, 50 }));
    EXPECT_FALSE(vertical->isContentsUnderPoint({ 10, 101 }));
    auto horizontal = lineFrom({ 0, 40 }, { 100, 40 }, 2.0);
    EXPECT_TRUE(horizontal->isContentsUnderPoint({ 50, 37 }));
    EXPECT_FALSE(horizontal->isContentsUnderPoint({ 50, 36.5 }));
    EXPECT_FALSE(horizontal->isContentsUnderPoint({ 100, 40 }));
}

TEST(TSLLineDrawing, RunsBetweenTheCornersTheFlagsName)
{
    const double scale = 3.0;
    struct Case {
        bool right, down;
        QPointF from, to;
        const char* name;
    };
    for (const Case& c : { Case { false, false, { 90, 90 }, { 10, 10 }, "line_up_left" },
             Case { true, false, { 10, 90 }, { 90, 10 }, "line_up_right" },
             Case { false, true, { 90, 10 }, { 10, 90 }, "line_down_left" },
             Case { true, true, { 10, 10 }, { 90, 90 }, "line_down_right" } }) {
        TSLLine line;
        line._bounds = QRectF(10, 10, 80, 80);
        line._pointsRight = c.right;
        line._pointsDown = c.down;
        line._strokeWidth = 3.0;
        EXPECT_EQ(line.beginPoint(), c.from);
        EXPECT_EQ(line.endPoint(), c.to);
        const QImage picture = render(line, { 100, 100 }, scale);
        keepPicture(picture, QString::fromLatin1(c.name));
        for (double t : { 0.1, 0.5, 0.9 }) {
            const QPointF onLine = c.from + (c.to - c.from) * t;
            EXPECT_TRUE(colorNear(pixelAt(picture, onLine, scale), Qt::black)) << c.name << " t=" << t;
        }
        // The other diagonal stays empty away from the crossing point.
        const QPointF otherCorner(c.from.x(), c.to.y());
        EXPECT_TRUE(isWhite(pixelAt(picture, otherCorner + (QPointF(50, 50) - otherCorner) * 0.2, scale))) << c.name;
    }
}

TEST(TSLLineDrawing, CapsAndDashesEndAsTheCapCodeSays)
{
    const double scale = 4.0;
    auto line = lineFrom({ 20, 50 }, { 80, 50 }, 10.0);
    line->_strokeColor = QColor(Qt::black);
    auto at = [&](int cap, QPointF p) {
        line->_line_cap_style = cap;
        return pixelAt(render(*line, { 100, 100 }, scale), p, scale);
    };
    EXPECT_TRUE(isWhite(at(0, { 17, 50 }))); // butt: ends at the end point
    EXPECT_TRUE(colorNear(at(1, { 17, 50 }), Qt::black)); // round: a half disc beyond it
    EXPECT_TRUE(isWhite(at(1, { 16, 46 })));
    EXPECT_TRUE(colorNear(at(2, { 16, 46 }), Qt::black)); // square: half the width beyond it
    EXPECT_TRUE(isWhite(at(7, { 17, 50 }))); // an unknown code ends as butt
    EXPECT_EQ(line->penCapStyle(), Qt::FlatCap);

    // "DO" (4 on, 6 off) with butt caps leaves the gaps open; square caps grow each dash by the half
    // width on both ends and close them.
    line->_stroke_border_type = QStringLiteral("DO");
    line->_strokeWidth = 2.0;
    line->_line_cap_style = 0;
    QImage picture = render(*line, { 100, 100 }, scale);
    keepPicture(picture, QStringLiteral("line_dashed_butt"));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 22, 50 }, scale), Qt::black));
    EXPECT_TRUE(isWhite(pixelAt(picture, { 27, 50 }, scale)));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 32, 50 }, scale), Qt::black));
    line->_line_cap_style = 1;
    picture = render(*line, { 100, 100 }, scale);
    keepPicture(picture, QStringLiteral("line_dashed_round"));
    EXPECT_TRUE(colorNear(pixelAt(picture, { 24.6, 50 }, scale), Qt::black)); // the round end of the first dash
    EXPECT_TRUE(isWhite(pixelAt(picture, { 27, 50 }, scale)));
}

TEST(TSLLineDrawing, NeverFillsAlwaysStrokesAndTakesTheStrokeOpacity)
{
    FakeEditor editor;
    auto line = lineFrom({ 0, 0 }, { 100, 100 }, 6.0);
    line->_isDrawingFill = true;
    line->_fillColor = QColor(Qt::red);
    line->_isDrawingStroke = false; // a line strokes all the same
    line->_strokeColor = QColor(Qt::black);
    line->alpha_val_stroke = 0.5f;
    const QImage picture = render(*line, { 100, 100 });
    EXPECT_EQ(countPixels(picture, [](const QColor& c) { return c.red() > 200 && c.green() < 80; }), 0);
    EXPECT_NEAR(pixelAt(picture, { 50, 50 }).red(), 128, 8);
    EXPECT_TRUE(isWhite(pixelAt(picture, { 80, 20 })));
    EXPECT_EQ(editor.refreshes, 1);

    line->ctrl_is_visible = false;
    EXPECT_EQ(inkBounds(render(*line, { 100, 100 })), QRect());
    EXPECT_EQ(editor.refreshes, 1); // a hidden line asks for nothing
}

TEST(TSLLineUndo, ObserversHearOfEndPointsAndUndoRestoresTheFlags)
{
    auto line = lineFrom({ 10, 10 }, { 100, 50 });
    const QSet<QString> keys = line->keysForValuesToObserveForUndo();
    EXPECT_FALSE(keys.contains(QStringLiteral("bounds")));
    EXPECT_TRUE(keys.contains(QStringLiteral("beginPoint")));
    EXPECT_TRUE(keys.contains(QStringLiteral("endPoint")));
    EXPECT_TRUE(keys.contains(QStringLiteral("strokeWidth")));

    RecordingObserver observer;
    line->addObserver(&observer);
    line->resizeByMovingHandle(2, { 0, 0 });
    const RecordingObserver::Change* endChange = observer.last(QStringLiteral("endPoint"));
    ASSERT_TRUE(endChange);
    EXPECT_EQ(endChange->oldValue.toPointF(), QPointF(100, 50));
    EXPECT_EQ(endChange->newValue.toPointF(), QPointF(0, 0));
    EXPECT_FALSE(observer.last(QStringLiteral("beginPoint"))); // the begin point did not move

    // Undo puts the old value back through the key.
    line->setValueForKey(QStringLiteral("endPoint"), endChange->oldValue);
    EXPECT_EQ(line->endPoint(), QPointF(100, 50));
    EXPECT_EQ(line->beginPoint(), QPointF(10, 10));
    EXPECT_TRUE(line->_pointsRight);
    EXPECT_TRUE(line->_pointsDown);

    // A move is heard as both ends moving.
    observer.changes.clear();
    line->setBounds(line->bounds().translated(5, 5));
    ASSERT_TRUE(observer.last(QStringLiteral("beginPoint")));
    EXPECT_EQ(observer.last(QStringLiteral("beginPoint"))->newValue.toPointF(), QPointF(15, 15));
    ASSERT_TRUE(observer.last(QStringLiteral("endPoint")));
    line->removeObserver(&observer);

    EXPECT_EQ(line->presentablePropertyNameForKey(QStringLiteral("beginPoint")), QStringLiteral("Start Point"));
    EXPECT_EQ(line->presentablePropertyNameForKey(QStringLiteral("endPoint")), QStringLiteral("End Point"));
    const QVariantMap properties = line->properties();
    EXPECT_FALSE(properties.contains(QStringLiteral("bounds")));
    EXPECT_EQ(properties.value(QStringLiteral("beginPoint")).toString(), QStringLiteral("{15, 15}"));
    EXPECT_EQ(properties.value(QStringLiteral("endPoint")).toString(), QStringLiteral("{105, 55}"));
}

TEST(TSLLineDrawing, DrawingLeavesTheRecordAsItWas)
{
    auto line = lineFrom({ 0, 30 }, { 100, 0 }, 3.0);
    line->_stroke_border_type = QStringLiteral("DDD");
    line->_line_cap_style = 1;
    platform::KeyedArchive before;
    line->encodeWithCoder(before);
    render(*line, { 100, 100 });
    platform::KeyedArchive after;
    line->encodeWithCoder(after);
    EXPECT_EQ(after.toBytes(), before.toBytes());
}
