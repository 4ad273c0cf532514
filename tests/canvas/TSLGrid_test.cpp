#include "canvas/Grid_Wizard.h"
#include "canvas/TSLGrid.h"
#include "support/TestSupport.h"
#include "ui_Grid_Wizard.h"

#include <QColorDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor paper(Qt::white);

// Draws the grid over a white picture of the given size in points, at a scale in pixels per point.
QImage drawnGrid(const TSLGrid& grid, const QRectF& rect, QSize pixels, double pixelsPerPoint = 1.0)
{
    QImage image(pixels, QImage::Format_ARGB32);
    image.fill(paper);
    QPainter painter(&image);
    painter.scale(pixelsPerPoint, pixelsPerPoint);
    grid.drawRect(painter, rect, pixelsPerPoint);
    return image;
}

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != paper)
                ++count;
    return count;
}

// The columns of one row that hold ink.
std::vector<int> inkedColumns(const QImage& image, int row)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, row) != paper)
            columns.push_back(x);
    return columns;
}

} // namespace

TEST(TSLGrid, ConstrainedPointRoundsToNearestLineOnlyWhenConstrainingAndUsable)
{
    TSLGrid grid;
    EXPECT_EQ(grid.spacing(), 9.0);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 4.5)), QPointF(13.4, 4.5)); // not constraining by default

    grid.setConstraining(true);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 4.5)), QPointF(9, 9));
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.5, 4.4)), QPointF(18, 0));
    EXPECT_EQ(grid.constrainedPoint(QPointF(-13.5, -4.6)), QPointF(-9, -9)); // halves go upwards
    EXPECT_EQ(grid.constrainedPoint(QPointF(-13.6, -4.4)), QPointF(-18, 0));

    grid.storeSpacing(0);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 4.5)), QPointF(13.4, 4.5));
    grid.storeSpacing(-5);
    EXPECT_EQ(grid.constrainedPoint(QPointF(13.4, 4.5)), QPointF(13.4, 4.5));
}

TEST(TSLGrid, AlignedRectSnapsBothCornersIndependently)
{
    TSLGrid grid;
    grid.storeSpacing(10);
    // Whether or not the grid constrains.
    EXPECT_EQ(grid.alignedRect(QRectF(11, 16, 3, 40)), QRectF(10, 20, 0, 40));
    EXPECT_EQ(grid.alignedRect(QRectF(-6, -14, 12, 8)), QRectF(-10, -10, 20, 0));
    grid.setConstraining(true);
    EXPECT_EQ(grid.alignedRect(QRectF(24, 5, 27, 16)), QRectF(20, 10, 30, 10));
}

TEST(TSLGrid, DerivedStatesFollowSpacingShowingAndConstraining)
{
    TSLGrid grid;
    QSignalSpy usable(&grid, &TSLGrid::usableChanged);
    QSignalSpy canColor(&grid, &TSLGrid::canSetColorChanged);
    QSignalSpy canSpacing(&grid, &TSLGrid::canSetSpacingChanged);
    QSignalSpy shown(&grid, &TSLGrid::alwaysShownChanged);

    EXPECT_TRUE(grid.isUsable());
    EXPECT_TRUE(grid.canAlign());
    EXPECT_FALSE(grid.canSetColor());
    EXPECT_FALSE(grid.canSetSpacing());

    grid.setAlwaysShown(true);
    EXPECT_TRUE(grid.canSetColor());
    EXPECT_TRUE(grid.canSetSpacing());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_TRUE(shown.at(0).at(0).toBool());
    EXPECT_EQ(canColor.count(), 1);
    EXPECT_EQ(canSpacing.count(), 1);

    grid.setSpacing(0);
    EXPECT_FALSE(grid.isUsable());
    EXPECT_FALSE(grid.canAlign());
    EXPECT_FALSE(grid.canSetColor()); // even though always shown
    EXPECT_TRUE(grid.canSetSpacing());
    ASSERT_EQ(usable.count(), 1);
    EXPECT_FALSE(usable.at(0).at(0).toBool());
    EXPECT_EQ(canColor.count(), 2);

    grid.setConstraining(true);
    grid.setAlwaysShown(false);
    EXPECT_TRUE(grid.canSetSpacing());
    EXPECT_EQ(canSpacing.count(), 1); // shown or constraining held all along
    grid.setConstraining(false);
    EXPECT_FALSE(grid.canSetSpacing());
    EXPECT_EQ(canSpacing.count(), 2);
}

TEST(TSLGrid, EveryChangeIsAnnouncedAsAnyButRepeatsAreNot)
{
    TSLGrid grid;
    QSignalSpy any(&grid, &TSLGrid::anyChanged);
    grid.setColor(Qt::red);
    grid.setColor(Qt::red);
    EXPECT_EQ(any.count(), 1);
    grid.setAlwaysShown(true);
    grid.setAlwaysShown(true);
    EXPECT_EQ(any.count(), 2);
    grid.setConstraining(true);
    grid.setConstraining(true);
    EXPECT_EQ(any.count(), 3);
    grid.setSpacing(12);
    grid.setSpacing(12);
    EXPECT_EQ(any.count(), 4);
    EXPECT_EQ(grid.color(), QColor(Qt::red));
}

TEST(TSLGrid, DrawsOnlyTheLinesInsideTheRectangleInItsColour)
{
    TSLGrid grid;
    grid.storeSpacing(10);
    grid.setColor(QColor(0, 0, 200));
    grid.setAlwaysShown(true);

    // A rectangle from 5 to 25: the lines at 10 and 20 only, none at 0 or 30.
    const QImage image = drawnGrid(grid, QRectF(5, 5, 20, 20), QSize(32, 32));
    const std::vector<int> columns = inkedColumns(image, 15);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_NEAR(columns[0], 10, 1);
    EXPECT_NEAR(columns[1], 20, 1);
    EXPECT_EQ(image.pixelColor(columns[0], 15), QColor(0, 0, 200));
    // Lines end at the rectangle: nothing drawn left of 5 or below 25.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (x < 4 || y < 4 || x > 26 || y > 26) {
                ASSERT_EQ(image.pixelColor(x, y), paper) << x << "," << y;
            }
        }
    }

    // A rectangle far larger than the picture draws the same lines the picture can show.
    const QImage huge = drawnGrid(grid, QRectF(-1e7, -1e7, 2e7, 2e7), QSize(32, 32));
    const std::vector<int> all = inkedColumns(huge, 15);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_NEAR(all[3], 30, 1);

    // Cosmetic lines stay one pixel wide when zoomed.
    const QImage zoomed = drawnGrid(grid, QRectF(5, 5, 20, 20), QSize(64, 64), 2.0);
    EXPECT_EQ(inkedColumns(zoomed, 30).size(), 2u);
}

TEST(TSLGrid, DrawsNothingWhenHiddenUnusableOrTooDenseToSee)
{
    TSLGrid grid;
    const QRectF area(0, 0, 100, 100);
    EXPECT_EQ(inkedPixels(drawnGrid(grid, area, QSize(100, 100))), 0); // hidden

    grid.setAlwaysShown(true);
    EXPECT_GT(inkedPixels(drawnGrid(grid, area, QSize(100, 100))), 0);

    // Spacing 9 at 10% zoom: less than a pixel apart.
    EXPECT_EQ(inkedPixels(drawnGrid(grid, area, QSize(10, 10), 0.1)), 0);
    // Spacing 1 at actual size is a wash; at 200% the lines are two pixels apart and drawn.
    grid.setSpacing(1);
    EXPECT_EQ(inkedPixels(drawnGrid(grid, QRectF(0, 0, 40, 40), QSize(40, 40))), 0);
    EXPECT_GT(inkedPixels(drawnGrid(grid, QRectF(0, 0, 20, 20), QSize(40, 40), 2.0)), 0);
    // A huge rectangle with a tiny spacing must not try to draw millions of lines.
    grid.setSpacing(0.001);
    EXPECT_EQ(inkedPixels(drawnGrid(grid, QRectF(-1e7, -1e7, 2e7, 2e7), QSize(10, 10))), 0);

    grid.setSpacing(0);
    EXPECT_EQ(inkedPixels(drawnGrid(grid, area, QSize(100, 100), 4.0)), 0);
}

TEST(TSLGrid, SpacingChangeWhileHiddenShowsTheGridForOneSecondAfterTheLastChange)
{
    TSLGrid grid;

    grid.setSpacing(9); // the same spacing: no showing
    EXPECT_FALSE(grid.isTemporarilyShowing());
    EXPECT_FALSE(grid.isShowing());

    QElapsedTimer clock;
    grid.setSpacing(12);
    clock.start();
    EXPECT_TRUE(grid.isShowing());
    EXPECT_GT(inkedPixels(drawnGrid(grid, QRectF(0, 0, 50, 50), QSize(50, 50))), 0);

    QTest::qWait(600);
    // When the showing ends, measured from the second change: the end must have moved to a full second after it.
    QElapsedTimer sinceSecond;
    qint64 hiddenAfter = -1;
    QObject::connect(&grid, &TSLGrid::anyChanged, [&] {
        if (sinceSecond.isValid() && !grid.isShowing() && hiddenAfter < 0)
            hiddenAfter = sinceSecond.elapsed();
    });
    sinceSecond.start(); // before the change, so that the showing's own timer cannot have started earlier
    grid.setSpacing(15);
    QTest::qWait(600);
    // A loaded machine may sleep far longer than asked; only then may the showing already have ended.
    if (sinceSecond.elapsed() < 900) {
        EXPECT_TRUE(grid.isShowing()) << "hidden " << clock.elapsed() << " ms after the first change";
    }

    ASSERT_TRUE(QTest::qWaitFor([&] { return hiddenAfter >= 0; }, 20000));
    EXPECT_GE(hiddenAfter, 950);
    EXPECT_FALSE(grid.isShowing());
    EXPECT_EQ(inkedPixels(drawnGrid(grid, QRectF(0, 0, 50, 50), QSize(50, 50))), 0);

    // Spacing 0 is not worth showing.
    grid.setSpacing(0);
    EXPECT_FALSE(grid.isTemporarilyShowing());
}

TEST(TSLGrid, ShowingForGoodEndsTheTemporaryShowing)
{
    TSLGrid grid;
    grid.setSpacing(20);
    ASSERT_TRUE(grid.isTemporarilyShowing());
    grid.setAlwaysShown(true);
    EXPECT_FALSE(grid.isTemporarilyShowing());
    EXPECT_TRUE(grid.isShowing());

    QSignalSpy any(&grid, &TSLGrid::anyChanged);
    QTest::qWait(1300);
    EXPECT_EQ(any.count(), 0); // no late end of a showing that was stopped
    EXPECT_TRUE(grid.isShowing());

    // While always shown, a spacing change starts no showing of its own.
    grid.setSpacing(30);
    EXPECT_FALSE(grid.isTemporarilyShowing());
    grid.setAlwaysShown(false);
    EXPECT_FALSE(grid.isShowing());
}

TEST(GridWizard, RunsModallyWithTheSmallWindowBackgroundAndItsColourWell)
{
    testsupport::ScriptedResponder responder;
    Grid_Wizard* wizard = Grid_Wizard::defaultInstance();
    ASSERT_EQ(wizard, Grid_Wizard::defaultInstance());
    EXPECT_EQ(wizard->palette().color(QPalette::Window), QColor(241, 244, 250));

    // Both buttons close the window; OK with 1, Cancel with 0.
    int okResult = -1;
    bool valueBesideSlider = false;
    responder.modalRuns.push_back([&](QDialog& dialog) {
        dialog.show(); // the spacing's value stands beside its slider
        valueBesideSlider = wizard->form().Grid_Space_value->x() >= wizard->form().Grid_Space_slidr->geometry().right();
        wizard->form().OK_Btn->click();
        okResult = dialog.result();
        return okResult;
    });
    wizard->Open_Wnd();
    ASSERT_EQ(responder.dialogsRun.size(), 1u);
    EXPECT_EQ(responder.dialogsRun[0], QStringLiteral("Grid_Wizard"));
    EXPECT_EQ(okResult, 1);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_TRUE(valueBesideSlider);

    int cancelResult = -1;
    responder.modalRuns.push_back([&](QDialog& dialog) {
        wizard->form().Cancel_Btn->click();
        cancelResult = dialog.result();
        return cancelResult;
    });
    wizard->Open_Wnd();
    EXPECT_EQ(cancelResult, 0);

    // The colour well: a picked colour is announced; a cancelled picker changes nothing.
    QSignalSpy picked(wizard, &Grid_Wizard::colorWellChanged);
    responder.modalRuns.push_back([](QDialog& dialog) {
        static_cast<QColorDialog&>(dialog).setCurrentColor(QColor(10, 120, 30));
        return 1;
    });
    wizard->form().Grid_clr->click();
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).value<QColor>(), QColor(10, 120, 30));
    EXPECT_EQ(wizard->colorWellColor(), QColor(10, 120, 30));

    responder.modalRuns.push_back([](QDialog& dialog) {
        static_cast<QColorDialog&>(dialog).setCurrentColor(QColor(200, 0, 0));
        return 0;
    });
    wizard->form().Grid_clr->click();
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(wizard->colorWellColor(), QColor(10, 120, 30));
    auto* spacing = wizard->form().Grid_Opt_box->findChild<QSlider*>(QStringLiteral("Grid_Space_slidr"));
    ASSERT_TRUE(spacing);
    QTest::keyClick(spacing, Qt::Key_End); // the slider shows the spacing it stands at
    EXPECT_EQ(wizard->form().Grid_Space_value->text(), QStringLiteral("72 pt"));
}
