// The picture the barcode dialog hands out for an item is read back by a real scanner.
#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Globals.h"
#include "model/TSLGraphic.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// The picture as a card prints it: on white paper, a 2-D symbol with clear space around it (a linear
// picture brings its own margins).
QString scan(const BarcodePicture& picture, const QString& name, bool twoD)
{
    const int quiet = twoD ? std::max(picture.image.width(), picture.image.height()) / 8 : 0;
    QImage printed(picture.image.size() + QSize(2 * quiet, 2 * quiet), QImage::Format_RGB32);
    printed.fill(Qt::white);
    QPainter painter(&printed);
    painter.drawImage(quiet, quiet, picture.image);
    painter.end();
    const QString path = QDir(testsupport::makeTempFolder(QStringLiteral("barcode-dialog"))).filePath(name);
    EXPECT_TRUE(printed.save(path));
    QString out;
    QString err;
    const int code = testsupport::runProgram(
        QStringLiteral("ZXingReader"), { QStringLiteral("-fast"), QStringLiteral("-norotate"), path }, &out, &err);
    if (code != 0)
        out += err;
    return out;
}

TEST(BarcodeDialogPeer, HandedOutPicturesScanAsTheItemsValue)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader is not installed";
    testsupport::ScriptedResponder ui;
    const struct {
        const char* title;
        int linear_or_2d;
        QString linear;
        QString twoD;
        QString expected;
    } cases[] = {
        { "EAN-13", 0, QStringLiteral("400638133393"), QString(), QStringLiteral("4006381333931") },
        { "Code 128", 0, QStringLiteral("Party-2024 at 8pm"), QString(), QStringLiteral("Party-2024 at 8pm") },
        { "Code 39", 0, QStringLiteral("TABLE 12"), QString(), QStringLiteral("TABLE 12") },
        { "QR Code", 1, QString(), QStringLiteral("Party at eight, Hall 2"), QStringLiteral("Party at eight, Hall 2") },
        { "DataMatrix", 1, QString(), QStringLiteral("RSVP 0123"), QStringLiteral("RSVP 0123") },
        { "PDF417", 1, QString(), QStringLiteral("Table 12"), QStringLiteral("Table 12") },
    };
    for (const auto& c : cases) {
        const TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode"));
        item->barcode_font_index = Barcode_Type_Titles().indexOf(QLatin1String(c.title));
        item->linear_or_2d = c.linear_or_2d;
        item->linear_font_val = c.linear;
        item->two_d_font_val = c.twoD;
        ui.modalRuns.push_back([](QDialog&) { return 1; });
        ASSERT_EQ(Barcode_Dialog::defaultInstance()->Open_Wnd(*item), 1) << c.title;
        ASSERT_FALSE(Barcode_output_image.isNull()) << c.title;
        const QString out
            = scan(Barcode_output_image, QStringLiteral("%1.png").arg(item->barcode_font_index), c.linear_or_2d == 1);
        EXPECT_TRUE(out.contains(QStringLiteral("Text:       \"%1\"").arg(c.expected))) << c.title << "\n"
                                                                                        << out.toStdString();
        EXPECT_EQ(item->barcode_font_index, Barcode_Type_Titles().indexOf(QLatin1String(c.title)));
    }
}

} // namespace
