// The picture the barcode dialog hands out for an item is read back by a real scanner.
#include "barcode/Barcode_Dialog.h"
#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Globals.h"
#include "barcode/Barcode_Vector_Drawing.h"
#include "model/TSLGraphic.h"
#include "support/Barcode2D_Peers.h"
#include "support/TestSupport.h"
#include "ui_Barcode_Gen.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

#include <QTest>

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

// Values with a carriage return, CR LF, a line separator or a tab, loaded into the dialog and taken by OK
// without an edit: the item keeps each value as it was, and the drawing it gets reads as that value.
TEST(BarcodeDialogPeer, OkWithoutAnEditKeepsLineBreaksAndTabsAndTheSymbolReadsAsThem)
{
    ASSERT_TRUE(testsupport::havePeer(QStringLiteral("ZXingReader"))) << "ZXingReader is not installed";
    testsupport::ScriptedResponder ui;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("barcode-dialog-breaks"));
    const struct {
        const char* title;
        const char* format;
    } symbologies[] = { { "QR Code", "QRCode" }, { "PDF417", "PDF417" }, { "DataMatrix", "DataMatrix" },
        { "Code 128", "Code128" } };
    const QString breaks[]
        = { QStringLiteral("\r"), QStringLiteral("\r\n"), QString(QChar(0x2028)), QStringLiteral("\t") };
    QHash<QString, QHash<QString, QByteArray>> expected;
    int n = 0;
    for (const auto& symbology : symbologies) {
        const bool twoD = Barcode_Type_Is_2D(QLatin1String(symbology.title));
        for (const QString& mark : breaks) {
            const QString value = QStringLiteral("Table 12") + mark + QStringLiteral("Seat 4");
            // PDF417 carries Latin-1 and Code 128 ASCII: a line separator has no symbol there.
            const bool drawn = mark.front().unicode() < 128 || symbology.title == QLatin1String("QR Code")
                || symbology.title == QLatin1String("DataMatrix");
            const TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLBarcode"));
            item->barcode_font_index = Barcode_Type_Titles().indexOf(QLatin1String(symbology.title));
            item->linear_or_2d = twoD ? 1 : 0;
            (twoD ? item->two_d_font_val : item->linear_font_val) = value;
            ui.modalRuns.push_back([](QDialog& dialog) {
                dialog.setResult(0); // OK refusing a value leaves it so
                QTest::mouseClick(static_cast<Barcode_Dialog&>(dialog).form().OK_btn, Qt::LeftButton);
                return dialog.result();
            });
            const int answer = Barcode_Dialog::defaultInstance()->Open_Wnd(*item);
            const QString row
                = QStringLiteral("%1 %2").arg(QLatin1String(symbology.title)).arg(int(mark.back().unicode()));
            EXPECT_EQ(twoD ? item->two_d_font_val : item->linear_font_val, value) << row.toStdString();
            EXPECT_EQ(answer, drawn ? 1 : 0) << row.toStdString();
            if (!drawn || !Barcode_output_drawing)
                continue;
            const QSizeF size = Barcode_output_drawing->size() * (300.0 / 72.0);
            QImage card(size.toSize() + QSize(80, 80), QImage::Format_RGB32);
            card.fill(Qt::white);
            QPainter painter(&card);
            painter.translate(40, 40);
            painter.scale(300.0 / 72.0, 300.0 / 72.0);
            Barcode_output_drawing->draw(painter);
            painter.end();
            const QString path = barcode2d_peers::savePng(card, folder, QStringLiteral("%1.png").arg(n++));
            expected[QLatin1String(symbology.format)].insert(path, value.toUtf8());
        }
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QStringList wrong
            = barcode2d_peers::mismatches(it.value(), barcode2d_peers::zxingDecode(it.value().keys(), it.key()));
        EXPECT_TRUE(wrong.isEmpty()) << it.key().toStdString() << ": " << wrong.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
