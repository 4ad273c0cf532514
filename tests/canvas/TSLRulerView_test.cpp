// The rulers of a zooming scroll view: shown and hidden, their marks lined up with the canvas at every zoom
// and scroll position, and the six echo lines of a moved or resized rectangle.
#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLRulerView.h"
#include "canvas/TSLZoomingScrollView.h"

#include <QCoreApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct RuledView {
    TSLZoomingScrollView view;
    QWidget* canvas = new QWidget;

    RuledView()
    {
        view.resize(640, 420);
        view.setDocumentView(canvas);
        view.setDocumentSize(QSizeF(243, 154));
        view.show();
        QCoreApplication::processEvents();
    }
    TSLRulerView& horizontal() { return *view.horizontalRulerView(); }
    TSLRulerView& vertical() { return *view.verticalRulerView(); }
    // Where the canvas's point lies, in the scroll view's pixels, and where each ruler puts it.
    QPointF canvasPixel(const QPointF& point) const
    {
        const double f = view.clipView()->factor();
        return QPointF(canvas->mapTo(&view, QPoint(0, 0))) + point * f;
    }
    double horizontalRulerPixel(double x) { return horizontal().pos().x() + horizontal().pixelForLocation(x); }
    double verticalRulerPixel(double y) { return vertical().pos().y() + vertical().pixelForLocation(y); }
};

std::vector<double> sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

} // namespace

TEST(TSLRulerView, RulersShowBesideTheVisibleAreaAndHideAgain)
{
    RuledView ruled;
    EXPECT_FALSE(ruled.view.rulersVisible());
    EXPECT_FALSE(ruled.horizontal().isVisible());
    const QRect without = ruled.view.viewport()->geometry();

    ruled.view.setRulersVisible(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ruled.horizontal().isVisible());
    EXPECT_TRUE(ruled.vertical().isVisible());
    const QRect with = ruled.view.viewport()->geometry();
    EXPECT_EQ(with.width(), without.width() - TSLRulerView::thickness);
    EXPECT_EQ(with.height(), without.height() - TSLRulerView::thickness);
    // Along the top and down the left of the visible area, exactly as long as it.
    EXPECT_EQ(ruled.horizontal().geometry(),
        QRect(with.left(), with.top() - TSLRulerView::thickness, with.width(), TSLRulerView::thickness));
    EXPECT_EQ(ruled.vertical().geometry(),
        QRect(with.left() - TSLRulerView::thickness, with.top(), TSLRulerView::thickness, with.height()));

    ruled.view.setRulersVisible(false);
    EXPECT_FALSE(ruled.horizontal().isVisible());
    EXPECT_EQ(ruled.view.viewport()->geometry(), without);
}

TEST(TSLRulerView, ZeroAndEveryMarkFollowTheCanvasThroughZoomAndScroll)
{
    RuledView ruled;
    ruled.view.setRulersVisible(true);
    const struct {
        double factor;
        int scrollX; // scroll bar values, used when the canvas is larger than the view
        int scrollY;
    } cases[] = { { 1.0, 0, 0 }, { 0.5, 0, 0 }, { 2.0, 0, 0 }, { 4.0, 150, 90 }, { 16.0, 2000, 1200 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.factor);
        ruled.view.setFactor(c.factor);
        ruled.view.horizontalScrollBar()->setValue(c.scrollX);
        ruled.view.verticalScrollBar()->setValue(c.scrollY);
        QCoreApplication::processEvents();
        for (const QPointF point : { QPointF(0, 0), QPointF(100, 50), QPointF(243, 154) }) {
            const QPointF expected = ruled.canvasPixel(point);
            EXPECT_NEAR(ruled.horizontalRulerPixel(point.x()), expected.x(), 1.0) << point.x();
            EXPECT_NEAR(ruled.verticalRulerPixel(point.y()), expected.y(), 1.0) << point.y();
            EXPECT_NEAR(
                ruled.horizontal().locationForPixel(ruled.horizontal().pixelForLocation(point.x())), point.x(), 1e-9);
        }
    }
    // Zoomed out, labelled marks lie further apart in millimetres so they stay readable.
    ruled.view.setFactor(0.1);
    const double coarse = ruled.horizontal().labelStep();
    ruled.view.setFactor(4.0);
    const double fine = ruled.horizontal().labelStep();
    EXPECT_GT(coarse, fine);
    EXPECT_GE(fine * TSLRulerView::pointsPerUnit * 4.0, 40.0);
}

TEST(TSLRulerView, LinesAreMadeMovedAndRemovedFromTheNoLinePosition)
{
    RuledView ruled;
    TSLRulerView& ruler = ruled.horizontal();
    const struct {
        double from;
        double to;
        std::vector<double> after;
    } steps[] = {
        { TSLRulerView::noLine, 10, { 10 } },
        { TSLRulerView::noLine, 30, { 10, 30 } },
        { 10, 15, { 15, 30 } },
        { 30, TSLRulerView::noLine, { 15 } },
        { 15, TSLRulerView::noLine, {} },
    };
    for (const auto& step : steps) {
        ruler.moveRulerlineFromLocation(step.from, step.to);
        EXPECT_EQ(sorted(ruler.rulerLines()), step.after) << step.from << " to " << step.to;
    }
}

TEST(TSLRulerView, EchoPlacesSixLinesFollowsTheRectangleAndRemovesThem)
{
    RuledView ruled;
    ruled.view.setRulersVisible(true);
    const QRectF start(20, 30, 60, 40);
    ruled.view.echoToRulers(QRectF(), start);
    EXPECT_EQ(sorted(ruled.horizontal().rulerLines()), (std::vector<double> { 20, 50, 80 }));
    EXPECT_EQ(sorted(ruled.vertical().rulerLines()), (std::vector<double> { 30, 50, 70 }));

    const QRectF moved(-1, 12.5, 60, 40); // an edge exactly on the no-line position is still a line
    ruled.view.echoToRulers(start, moved);
    EXPECT_EQ(sorted(ruled.horizontal().rulerLines()), (std::vector<double> { -1, 29, 59 }));
    EXPECT_EQ(sorted(ruled.vertical().rulerLines()), (std::vector<double> { 12.5, 32.5, 52.5 }));

    const QRectF resized(-1, 12.5, 100, 10);
    ruled.view.echoToRulers(moved, resized);
    EXPECT_EQ(sorted(ruled.horizontal().rulerLines()), (std::vector<double> { -1, 49, 99 }));
    EXPECT_EQ(sorted(ruled.vertical().rulerLines()), (std::vector<double> { 12.5, 17.5, 22.5 }));

    ruled.view.echoToRulers(resized, QRectF());
    EXPECT_TRUE(ruled.horizontal().rulerLines().empty());
    EXPECT_TRUE(ruled.vertical().rulerLines().empty());
}
