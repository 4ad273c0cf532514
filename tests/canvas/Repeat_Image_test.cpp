// Banner views tile the main window's banner from their own top-left corner, wherever they lie in the
// window, and fill only what is asked; their own picture is drawn over the tiles.
#include "canvas/Repeat_Image.h"

#include "CanvasTestSupport.h"

#include <QPainter>
#include <QPixmap>

namespace {

// A 4 x 3 banner whose top-left pixel alone is red, so every tile corner shows.
QImage markedBanner()
{
    QImage banner(4, 3, QImage::Format_ARGB32);
    banner.fill(QColor(0, 0, 200));
    banner.setPixelColor(0, 0, QColor(255, 0, 0));
    return banner;
}

bool isTileCorner(const QColor& colour)
{
    return colour == QColor(255, 0, 0);
}

} // namespace

TEST(BannerTiles, TilesStartAtTheGivenOriginAndFillOnlyTheArea)
{
    QImage canvas(20, 12, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        Draw_Banner_Tiles(painter, markedBanner(), QRectF(2, 1, 10, 8), QPointF(1, 2));
    }
    EXPECT_EQ(canvas.pixelColor(1, 0), QColor(Qt::white)); // outside the area
    EXPECT_EQ(canvas.pixelColor(12, 5), QColor(Qt::white));
    // Corners at (1 + 4i, 2 + 3j) inside the area, nowhere else.
    for (int y = 1; y < 9; ++y) {
        for (int x = 2; x < 12; ++x) {
            const bool corner = (x - 1) % 4 == 0 && (y - 2) % 3 == 0;
            EXPECT_EQ(isTileCorner(canvas.pixelColor(x, y)), corner) << x << "," << y;
        }
    }

    QImage untouched(5, 5, QImage::Format_ARGB32);
    untouched.fill(Qt::white);
    {
        QPainter painter(&untouched);
        Draw_Banner_Tiles(painter, QImage(), QRectF(0, 0, 5, 5), QPointF());
    }
    EXPECT_EQ(untouched.pixelColor(2, 2), QColor(Qt::white));
}

TEST(BannerTiles, TwoViewsEachStartTheirTilesAtTheirOwnCorner)
{
    canvastest::FakeEditor editor;
    editor.banner = markedBanner();
    setEditorServices(&editor);
    QWidget window;
    window.resize(60, 40);
    Repeat_Image first(&window);
    first.setGeometry(0, 0, 13, 10);
    Repeat_Image second(&window);
    second.setGeometry(23, 17, 13, 10); // not on the first view's tile lattice
    window.show();

    const QImage shot = window.grab().toImage();
    for (const Repeat_Image* view : { &first, &second }) {
        const QPoint corner = view->geometry().topLeft();
        EXPECT_TRUE(isTileCorner(shot.pixelColor(corner)));
        EXPECT_TRUE(isTileCorner(shot.pixelColor(corner + QPoint(4, 3))));
        EXPECT_FALSE(isTileCorner(shot.pixelColor(corner + QPoint(1, 0))));
        EXPECT_EQ(shot.pixelColor(corner + QPoint(2, 1)), QColor(0, 0, 200));
    }
    setEditorServices(nullptr);
}

TEST(BannerTiles, TheViewsOwnPictureIsDrawnOverTheTiles)
{
    canvastest::FakeEditor editor;
    editor.banner = markedBanner();
    setEditorServices(&editor);
    Repeat_Image view;
    view.resize(12, 9);
    QPixmap picture(4, 4);
    picture.fill(QColor(0, 180, 0));
    view.setPixmap(picture);
    view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view.setContentsMargins(0, 0, 0, 0);
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(0, 180, 0)); // the picture covers the first tile corner
    EXPECT_TRUE(isTileCorner(shot.pixelColor(4, 3)));
    setEditorServices(nullptr);
}
