// The PDF form of a barcode picture, checked by a real PDF reader.
#include "barcode/BRCBarcodeImage.h"
#include "barcode/BRCEAN13Barcode.h"
#include "barcode/BarcodeTestSupport.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(BarcodePdf, OnePageOfThePictureSizeThatScannersRead)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdfinfo"))) << "pdfinfo (poppler-utils) is missing";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("pdftoppm"))) << "pdftoppm (poppler-utils) is missing";
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("zbarimg"))) << "zbarimg (zbar-tools) is missing";
    barcodetest::freshSettings(2.0f);
    BRCEAN13Barcode ean;
    ASSERT_TRUE(ean.initWithContent(QStringLiteral("590123412345"), true));
    barcodetest::prepare(ean);
    ean.setWidth(ean.width() + 2.0f * 2.0f + 15.0f);

    const QByteArray pdf = pdfFromBarcode(ean);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    const QString folder = testsupport::makeTempFolder(QStringLiteral("pdf"));
    const QString path = folder + QStringLiteral("/ean.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();

    QString info;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdfinfo"), { path }, &info), 0);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    // Page sizes are whole points.
    EXPECT_NEAR(size.captured(1).toDouble(), ean.width(), 1.0);
    EXPECT_NEAR(size.captured(2).toDouble(), ean.height(), 1.0);

    // Rasterised with a white border for the quiet zone, the page reads back as the same number.
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("pdftoppm"),
                  { QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-singlefile"),
                      path, folder + QStringLiteral("/page") }),
        0);
    QImage page(folder + QStringLiteral("/page.png"));
    ASSERT_FALSE(page.isNull());
    QImage padded(page.width() + 200, page.height() + 200, QImage::Format_RGB32);
    padded.fill(Qt::white);
    {
        QPainter painter(&padded);
        painter.drawImage(100, 100, page);
    }
    ASSERT_TRUE(padded.save(folder + QStringLiteral("/padded.png")));
    QString out;
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("zbarimg"),
                  { QStringLiteral("--nodbus"), QStringLiteral("-q"), folder + QStringLiteral("/padded.png") }, &out),
        0);
    EXPECT_EQ(out.trimmed(), QStringLiteral("EAN-13:5901234123457"));
}
