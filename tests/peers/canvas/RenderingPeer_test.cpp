// Poppler opens the PDF of a side: the page measures the canvas in points and, rasterised at one
// pixel per point, shows the card base and the items where the canvas has them.
#include "canvas/RenderingFixtures.h"

#include "canvas/TSLRenderingView.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace renderingfixtures;

namespace {

const QColor red(220, 0, 0);
const QColor blue(0, 0, 255);

QString writePdf(const QString& name, const QByteArray& pdf)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("rendering")) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    return path;
}

// The "Page size" line of pdfinfo: width and height in points.
QSizeF pageSize(const QString& pdfPath)
{
    QString out;
    if (testsupport::runProgram(QStringLiteral("pdfinfo"), { pdfPath }, &out) != 0)
        return {};
    const QRegularExpression line(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch match = line.match(out);
    if (!match.hasMatch())
        return {};
    return { match.captured(1).toDouble(), match.captured(2).toDouble() };
}

// The first page rasterised at 72 dpi: one pixel per point.
QImage rasterised(const QString& pdfPath)
{
    const QString prefix = pdfPath + QStringLiteral(".page");
    if (testsupport::runProgram(QStringLiteral("pdftoppm"),
            { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-singlefile"),
                pdfPath, prefix })
        != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

} // namespace

TEST(RenderingPeer, PopplerSeesTheCanvasSizeAndTheItemsWhereTheyAre)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdfinfo"))) << "tools/deps.sh installs poppler-utils";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftoppm"))) << "tools/deps.sh installs poppler-utils";

    const TSLGraphicList items = { square(QRectF(30, 30, 20, 20), QColor(250, 220, 0)),
        square(QRectF(20, 20, 40, 40), red), square(QRectF(150, 90, 60, 40), QColor(0, 200, 0), 1),
        square(QRectF(200, 10, 80, 30), QColor(120, 0, 160)) }; // runs off the right edge
    const QByteArray pdf = TSLRenderingView::pdfDataWithGraphics_data(items, side(blue));
    const QString path = writePdf(QStringLiteral("front.pdf"), pdf);
    ASSERT_FALSE(path.isEmpty());

    EXPECT_EQ(pageSize(path), QSizeF(243, 154));
    const QImage page = rasterised(path);
    ASSERT_EQ(page.size(), QSize(243, 154));
    EXPECT_TRUE(near(page.pixelColor(40, 40), QColor(250, 220, 0)));
    EXPECT_TRUE(near(page.pixelColor(23, 23), red));
    EXPECT_TRUE(near(page.pixelColor(57, 57), red));
    EXPECT_TRUE(near(page.pixelColor(63, 40), blue));
    EXPECT_TRUE(near(page.pixelColor(180, 110), blue)); // the non-printing item is not in the PDF
    EXPECT_TRUE(near(page.pixelColor(240, 25), QColor(120, 0, 160)));
    EXPECT_TRUE(near(page.pixelColor(2, 151), blue));
}

TEST(RenderingPeer, BackSidePdfShowsTheBackRecord)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftoppm"))) << "tools/deps.sh installs poppler-utils";
    const QColor backFill(0, 160, 0);
    const QByteArray pdf = TSLRenderingView::pdfDataWithGraphics_data(
        { square(QRectF(100, 50, 30, 30), red) }, side(backFill, QRectF(0, 0, 300, 200), 1));
    const QString path = writePdf(QStringLiteral("back.pdf"), pdf);
    EXPECT_EQ(pageSize(path), QSizeF(300, 200));
    const QImage page = rasterised(path);
    ASSERT_EQ(page.size(), QSize(300, 200));
    EXPECT_TRUE(near(page.pixelColor(10, 10), backFill));
    EXPECT_TRUE(near(page.pixelColor(115, 65), red));
}

TEST(RenderingPeer, FractionalCanvasKeepsItsSizeWithinAPoint)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdfinfo"))) << "tools/deps.sh installs poppler-utils";
    const QByteArray pdf = TSLRenderingView::pdfDataWithGraphics_data({}, side(blue, QRectF(0, 0, 242.65, 153.07)));
    const QSizeF size = pageSize(writePdf(QStringLiteral("fraction.pdf"), pdf));
    EXPECT_NEAR(size.width(), 242.65, 0.5);
    EXPECT_NEAR(size.height(), 153.07, 0.5);
}
