#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLZoomingScrollView.h"
#include "common/Globals.h"

#include <QComboBox>
#include <QImage>
#include <QPalette>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A 243 x 154 point canvas that paints nothing itself, so the sheet under it shows in a grab.
struct CentredCanvas {
    TSLCenteringClipView clip;
    QWidget* canvas = new QWidget;

    explicit CentredCanvas(QSize visible = QSize(600, 400))
    {
        clip.resize(visible);
        clip.setDocumentView(canvas);
        clip.setDocumentSize(QSizeF(243, 154));
        clip.show();
    }
    QImage grab() { return clip.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

int grey(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y));
}

// Restores the process-wide card outline code after a test changes it.
struct CardShapeGuard {
    int saved = Card_Shape;
    ~CardShapeGuard() { Card_Shape = saved; }
};

} // namespace

TEST(TSLCenteringClipView, SmallCanvasSitsInTheMiddleAtActualSizeAndWhenZoomed)
{
    CentredCanvas view;
    EXPECT_EQ(view.clip.bounds(), QRectF(-179, -123, 600, 400));
    EXPECT_EQ(view.canvas->geometry(), QRect(179, 123, 243, 154));
    // A small canvas cannot be scrolled away from the middle.
    view.clip.scrollToPoint(QPointF(40, -300));
    EXPECT_EQ(view.clip.bounds().topLeft(), QPointF(-179, -123));

    view.clip.setBoundsSize(QSizeF(300, 200));
    EXPECT_DOUBLE_EQ(view.clip.factor(), 2.0);
    EXPECT_EQ(view.clip.bounds(), QRectF(-29, -23, 300, 200));
    EXPECT_EQ(view.canvas->geometry(), QRect(58, 46, 486, 308));
    EXPECT_DOUBLE_EQ(TSLCenteringClipView::scaleOfDocumentView(view.canvas), 2.0);

    // Resizing the visible area keeps the canvas centred at the same zoom.
    view.clip.resize(800, 500);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(view.clip.factor(), 2.0);
    EXPECT_EQ(view.canvas->geometry(), QRect(158, 96, 486, 308));
}

TEST(TSLCenteringClipView, LargeCanvasScrollsBetweenZeroAndItsOverflow)
{
    CentredCanvas view;
    view.clip.setFactor(8.0);
    const QRectF b = view.clip.bounds();
    EXPECT_EQ(b.size(), QSizeF(75, 50));
    EXPECT_EQ(view.canvas->size(), QSize(1944, 1232));

    EXPECT_EQ(view.clip.constrainScrollPoint(QPointF(500, -20)), QPointF(168, 0));
    EXPECT_EQ(view.clip.constrainScrollPoint(QPointF(-3, 500)), QPointF(0, 104));
    EXPECT_EQ(view.clip.constrainScrollPoint(QPointF(12.4, 40.6)), QPointF(12, 41));

    view.clip.scrollToPoint(QPointF(500, 60));
    EXPECT_EQ(view.clip.bounds().topLeft(), QPointF(168, 60));
    EXPECT_EQ(view.canvas->pos(), QPoint(-168 * 8, -60 * 8));

    // Zooming back out re-centres a canvas that no longer fills the view.
    view.clip.setFactor(1.0);
    EXPECT_EQ(view.clip.bounds().topLeft(), QPointF(-179, -123));
}

TEST(TSLCenteringClipView, PaintsGradientDeskAndShadowedSheetInTheCardShape)
{
    CardShapeGuard guard;
    Card_Shape = 0;
    CentredCanvas view;
    const QImage image = view.grab();
    const QColor sheet = view.clip.palette().color(QPalette::Button);

    // Desk: light grey at the top, darker at the bottom.
    EXPECT_NEAR(grey(image, 20, 1), 224, 3);
    EXPECT_NEAR(grey(image, 20, 398), 199, 3);
    EXPECT_GT(grey(image, 20, 100), grey(image, 20, 300));

    // Sheet under the whole canvas, corners included for a rectangle.
    EXPECT_EQ(image.pixelColor(300, 200), sheet);
    EXPECT_EQ(image.pixelColor(180, 124), sheet);
    EXPECT_EQ(image.pixelColor(420, 275), sheet);

    // The shadow falls right and down: darker just outside the right and bottom edges than on the desk
    // far away, and darker there than just outside the left and top edges.
    const int rightOfSheet = grey(image, 179 + 243 + 2, 200);
    const int leftOfSheet = grey(image, 179 - 3, 200);
    const int farDesk = grey(image, 590, 200);
    EXPECT_LT(rightOfSheet, farDesk - 20);
    EXPECT_LT(rightOfSheet, leftOfSheet);
    EXPECT_LT(grey(image, 300, 123 + 154 + 2), grey(image, 300, 123 - 3));

    // An oval card: the canvas's corners show the desk or the shadow, not the sheet; the change shows
    // at the next redraw.
    Card_Shape = 2;
    const QImage oval = view.grab();
    EXPECT_NE(oval.pixelColor(181, 125), sheet);
    EXPECT_EQ(oval.pixelColor(300, 200), sheet);
    EXPECT_EQ(oval.pixelColor(300, 125), sheet); // top middle of the oval
}

TEST(TSLCenteringClipView, ShadowAndSheetFollowTheZoom)
{
    CardShapeGuard guard;
    Card_Shape = 0;
    CentredCanvas view;
    view.clip.setFactor(2.0);
    const QImage image = view.grab();
    const QColor sheet = view.clip.palette().color(QPalette::Button);
    const QRect canvas = view.canvas->geometry(); // (58, 46, 486, 308)
    EXPECT_EQ(image.pixelColor(canvas.left() + 1, canvas.top() + 1), sheet);
    EXPECT_EQ(image.pixelColor(canvas.right() - 1, canvas.bottom() - 1), sheet);
    EXPECT_NE(image.pixelColor(canvas.right() + 3, canvas.center().y()), sheet);
    EXPECT_LT(grey(image, canvas.right() + 2, canvas.center().y()), grey(image, 595, canvas.center().y()) - 20);
}

TEST(TSLZoomingScrollView, PopUpHoldsTheZoomTableAndFollowsTheFactor)
{
    TSLZoomingScrollView view;
    QComboBox* popUp = view.factorPopUpButton();
    ASSERT_NE(popUp, nullptr);
    const QStringList labels = { "10%", "25%", "50%", "75%", "100%", "125%", "150%", "200%", "400%", "800%", "1600%" };
    const std::vector<double> factors = { 0.10000000149011612, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0, 8.0, 16.0 };
    ASSERT_EQ(popUp->count(), labels.size());
    for (int i = 0; i < popUp->count(); ++i) {
        EXPECT_EQ(popUp->itemText(i), labels[i]);
        EXPECT_EQ(popUp->itemData(i).toDouble(), factors[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(popUp->currentText(), QStringLiteral("100%"));

    view.setFactor(0.75);
    EXPECT_EQ(popUp->currentText(), QStringLiteral("75%"));
    EXPECT_DOUBLE_EQ(view.clipView()->factor(), 0.75 * view.screenPixelsPerPoint());
    view.setFactor(0.3); // not in the table: no entry shown
    EXPECT_EQ(popUp->currentIndex(), -1);
    EXPECT_DOUBLE_EQ(view.clipView()->factor(), 0.3 * view.screenPixelsPerPoint());
    view.setFactor(0.1);
    EXPECT_EQ(popUp->currentText(), QStringLiteral("10%"));
    view.setFactor(0); // refused: the view keeps a usable zoom
    EXPECT_DOUBLE_EQ(view.factor(), 0.1);
}

TEST(TSLZoomingScrollView, ChoosingAnEntryZoomsAndTellsTheBoundValue)
{
    TSLZoomingScrollView view;
    view.resize(640, 480);
    auto* canvas = new QWidget;
    view.setDocumentView(canvas);
    view.setDocumentSize(QSizeF(243, 154));
    view.show();
    QCoreApplication::processEvents();

    QSignalSpy chosen(&view, &TSLZoomingScrollView::factorChanged);
    QComboBox* popUp = view.factorPopUpButton();
    popUp->setCurrentIndex(8);
    emit popUp->activated(8);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(view.factor(), 4.0);
    const double pixels = 4.0 * view.screenPixelsPerPoint();
    EXPECT_EQ(canvas->size(), QSize(qRound(243 * pixels), qRound(154 * pixels)));
    emit popUp->activated(8); // the same entry again changes nothing
    EXPECT_EQ(chosen.count(), 1);

    // The pop-up sits at the left end of the horizontal scroll bar, as high as the bar.
    const QScrollBar* bar = view.horizontalScrollBar();
    const QPoint popUpLeft = popUp->mapTo(&view, QPoint(0, 0));
    const QPoint barLeft = bar->mapTo(&view, QPoint(0, 0));
    EXPECT_LT(popUpLeft.x(), barLeft.x());
    EXPECT_GE(barLeft.x(), popUpLeft.x() + popUp->width());
    EXPECT_EQ(popUp->height(), bar->height());
    EXPECT_LE(popUp->width(), popUp->sizeHint().width()); // fitted to its labels, the rest is the bar's
    EXPECT_GT(bar->width(), view.width() / 2);
    EXPECT_TRUE(popUp->isVisible());
}

TEST(TSLZoomingScrollView, AtEveryZoomTheCardMeasuresItsRealSizeTimesTheZoomOnTheScreen)
{
    TSLZoomingScrollView view;
    auto* canvas = new QWidget;
    view.setDocumentView(canvas);
    view.setDocumentSize(QSizeF(100 * 72 / 25.4, 50 * 72 / 25.4)); // a 100 x 50 mm card, in points
    view.show();
    const double pixelsPerMillimetre = view.logicalDpiX() / 25.4;
    for (const double zoom : { 1.0, 0.5, 2.0, 4.0 }) {
        view.setFactor(zoom);
        EXPECT_NEAR(canvas->width(), 100 * pixelsPerMillimetre * zoom, 1.0) << zoom;
        EXPECT_NEAR(canvas->height(), 50 * pixelsPerMillimetre * zoom, 1.0) << zoom;
        EXPECT_EQ(view.factorPopUpButton()->currentText(), QStringLiteral("%1%").arg(zoom * 100)) << zoom;
    }
}

TEST(TSLZoomingScrollView, ScrollBarsCoverTheOverflowAndMoveTheCanvas)
{
    TSLZoomingScrollView view;
    view.resize(640, 480);
    auto* canvas = new QWidget;
    view.setDocumentView(canvas);
    view.setDocumentSize(QSizeF(243, 154));
    view.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0); // centred, nothing to scroll

    view.setFactor(8.0);
    QCoreApplication::processEvents();
    const TSLCenteringClipView* clip = view.clipView();
    const QRectF b = clip->bounds();
    const double f = clip->factor(); // screen pixels per point at 800%
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), qRound((243 - b.width()) * f));
    EXPECT_EQ(view.verticalScrollBar()->maximum(), qRound((154 - b.height()) * f));

    view.horizontalScrollBar()->setValue(800);
    EXPECT_DOUBLE_EQ(clip->bounds().x(), 800 / f);
    EXPECT_EQ(canvas->x(), -800);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    EXPECT_NEAR(clip->bounds().bottom(), 154, 0.5);
}
