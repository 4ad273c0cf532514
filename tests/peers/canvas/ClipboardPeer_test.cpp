// Other programs read what a copy puts on the clipboard: poppler opens the PDF flavour as one page the size
// of the card with the copied items where the canvas has them, and the TIFF flavour is a picture of them.
#include "canvas/CanvasTestSupport.h"
#include "canvas/RenderingFixtures.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>

using canvastest::CanvasTest;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = testsupport::makeTempFolder(QStringLiteral("clipboard-peer")) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

TEST_F(CanvasTest, PopplerReadsTheCopiedItemsFromThePdfFlavour)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdfinfo"))) << "tools/deps.sh installs poppler-utils";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftoppm"))) << "tools/deps.sh installs poppler-utils";

    const auto red = addRect({ 20, 20, 30, 20 });
    const auto blue = addRect({ 150, 80, 40, 40 });
    const auto left = addRect({ 100, 10, 20, 20 }); // not copied
    for (const auto& [item, colour] : { std::pair { red, QColor(220, 0, 0) }, std::pair { blue, QColor(0, 0, 220) },
             std::pair { left, QColor(0, 200, 0) } }) {
        item->Set_Shape_Type(QStringLiteral("R"));
        item->_isDrawingFill = true;
        item->_fillColor = colour;
        item->alpha_val = 1.0f;
    }
    view.changeSelectionIndexes({ 0, 1 });
    view.copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    const QString pdf = writeFile(QStringLiteral("copied.pdf"), data->data(QStringLiteral("application/pdf")));
    ASSERT_FALSE(pdf.isEmpty());

    QString info;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdfinfo"), { pdf }, &info), 0) << info.toStdString();
    const QRegularExpressionMatch size
        = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_EQ(QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()), QSizeF(243, 154));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));

    const QString prefix = pdf + QStringLiteral(".page");
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                  { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-singlefile"),
                      pdf, prefix }),
        0);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_EQ(page.size(), QSize(243, 154));
    using renderingfixtures::near;
    EXPECT_TRUE(near(page.pixelColor(35, 30), QColor(220, 0, 0)));
    EXPECT_TRUE(near(page.pixelColor(170, 100), QColor(0, 0, 220)));
    EXPECT_FALSE(near(page.pixelColor(110, 20), QColor(0, 200, 0), 60)); // only the selection was copied

    const QImage tiff = QImage::fromData(data->data(QStringLiteral("image/tiff")));
    ASSERT_FALSE(tiff.isNull());
    EXPECT_TRUE(near(tiff.pixelColor(18, 13), QColor(220, 0, 0))); // (35, 30) of the canvas
    QGuiApplication::clipboard()->clear();
}
