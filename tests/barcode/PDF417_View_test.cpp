#include "barcode/Barcode_Gen.h"
#include "barcode/PDF417_View.h"

#include <QMimeData>
#include <QPainter>

#include <gtest/gtest.h>

// Rows are at least three modules high: in the frame, or in a taller picture that says the frame is too low.
TEST(PDF417View, RowsAreAtLeastThreeModulesHighInTheFrameOrTheFrameGrows)
{
    const struct {
        QSizeF frame;
        int length;
        bool grows;
    } rows[] = { { { 100, 20 }, 30, false }, { { 200, 30 }, 120, false }, { { 60, 1 }, 200, true },
        { { 100, 1 }, 5, true } };
    for (const auto& [frame, length, grows] : rows) {
        PDF417_View view(frame);
        ASSERT_EQ(view.drawWithText(QString(length, QLatin1Char('H'))), PDF417_View::PictureReady);
        const QSizeF size = view.getImage().size;
        EXPECT_EQ(view.frameTooSmall(), grows);
        EXPECT_EQ(size.height() > frame.height(), grows) << length;
        EXPECT_GE(size.height() / view.record().codeRows, 3.0 * size.width() / view.record().bitColumns - 1e-9);
    }
}

TEST(PDF417View, HelloStretchesOverTheFrame)
{
    PDF417_View view(QSizeF(100, 20));
    view.setResolution(72);
    ASSERT_EQ(view.drawWithText(QStringLiteral("HELLO")), PDF417_View::PictureReady);
    EXPECT_EQ(view.record().bitColumns, 103);
    EXPECT_EQ(view.record().codeRows, 6);
    const BarcodePicture picture = view.getImage();
    EXPECT_EQ(picture.size, QSizeF(100, 20));
    EXPECT_EQ(picture.image.size(), QSize(100, 20));
    // No quiet zone: the start pattern's first bar is the first column, the stop pattern's last bar the last.
    EXPECT_EQ(qGray(picture.image.pixel(0, 10)), 0);
    EXPECT_EQ(qGray(picture.image.pixel(99, 10)), 0);
    const BarcodePicture fine = [] {
        PDF417_View v(QSizeF(100, 20));
        v.setResolution(600);
        v.drawWithText(QStringLiteral("HELLO"));
        return v.getImage();
    }();
    EXPECT_EQ(fine.image.width(), 834);
    EXPECT_EQ(fine.size, QSizeF(100, 20));
}

TEST(PDF417View, EmptyTooLongAndNonLatin1Texts)
{
    PDF417_View view;
    EXPECT_EQ(view.state(), PDF417_View::Empty);
    EXPECT_EQ(view.drawWithText(QString()), PDF417_View::Empty);
    ASSERT_EQ(view.drawWithText(QStringLiteral("ok")), PDF417_View::PictureReady);
    EXPECT_EQ(view.drawWithText(QString(5421, QLatin1Char('A'))), PDF417_View::EncodingFailed);
    EXPECT_TRUE(view.getImage().isNull());
    EXPECT_TRUE(view.makeEPS().isEmpty());
    // Latin-1 text is sent as its bytes; anything beyond it makes no symbol rather than other characters.
    EXPECT_EQ(view.drawWithText(QStringLiteral("Grüße")), PDF417_View::PictureReady);
    EXPECT_EQ(view.drawWithText(QStringLiteral("Привет")), PDF417_View::EncodingFailed);
    EXPECT_TRUE(view.getImage().isNull());

    QImage canvas(50, 20, QImage::Format_RGB32);
    QPainter painter(&canvas);
    view.drawRect(painter, QRectF(0, 0, 50, 20));
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 255, 255));
    view.drawWithText(QString());
    view.drawRect(painter, QRectF(0, 0, 50, 20));
    EXPECT_EQ(canvas.pixel(1, 1), QColor(Qt::lightGray).rgb());
}

TEST(PDF417View, EpsDescribesTheRows)
{
    PDF417_View view(QSizeF(100.4, 20.6));
    ASSERT_EQ(view.drawWithText(QStringLiteral("HELLO")), PDF417_View::PictureReady);
    const QList<QByteArray> lines = view.makeEPS().split('\n');
    ASSERT_EQ(lines.size(), 7 + 6 + 1 + 1);
    EXPECT_EQ(lines[0], "%!PS-Adobe-3.0 EPSF-3.0");
    EXPECT_EQ(lines[1], "%%BoundingBox 0 0 100 21");
    EXPECT_EQ(lines[2], "%%Title pdf417View_EPS_image");
    EXPECT_EQ(lines[3], "%%Creator PDF417_View");
    EXPECT_TRUE(lines[4].startsWith("%%CreationDate "));
    EXPECT_EQ(lines[5], "100.40 20.60 scale");
    EXPECT_EQ(lines[6], "103 6 1 [103 0 0 -6 0 6]{<");
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(lines[7 + row].size(), 26);
        EXPECT_TRUE(lines[7 + row].startsWith("00")); // start pattern bars are 0 bits
    }
    EXPECT_EQ(lines[13], ">}image");
}

TEST(PDF417View, DropsAndDragsOnlyWhenSwitchedOn)
{
    PDF417_View view;
    QMimeData text;
    text.setText(QStringLiteral("DROPPED"));
    EXPECT_EQ(view.draggingEntered(&text, Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_FALSE(view.dragHighlighted());
    view.toggleTargetState();
    EXPECT_EQ(view.draggingEntered(&text, Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    EXPECT_TRUE(view.dragHighlighted());
    EXPECT_TRUE(view.performDragOperation(&text));
    view.concludeDragOperation();
    EXPECT_FALSE(view.dragHighlighted());
    EXPECT_EQ(view.state(), PDF417_View::PictureReady);

    QMimeData picture;
    picture.setImageData(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_EQ(view.draggingEntered(&picture, Qt::CopyAction), Qt::IgnoreAction);

    EXPECT_EQ(view.mouseDown(Qt::NoModifier), nullptr);
    EXPECT_EQ(view.draggingSourceOperationMaskForLocal(false), Qt::IgnoreAction);
    view.toggleSourceState();
    EXPECT_EQ(view.draggingSourceOperationMaskForLocal(true), Qt::CopyAction);
    const auto drag = view.mouseDown(Qt::NoModifier);
    ASSERT_NE(drag, nullptr);
    EXPECT_FALSE(QImage::fromData(drag->data(QStringLiteral("image/tiff")), "TIFF").isNull());
    EXPECT_EQ(view.mouseDown(Qt::AltModifier), nullptr);
}

TEST(PDF417View, RoadUsesTheSettings)
{
    Barcode_Gen& settings = *Barcode_Gen::defaultInstance();
    const int savedDpi = USED_DPI_VALUE;
    USED_DPI_VALUE = 72;
    settings.Pdf_widthText_2D.value = 120;
    settings.pdf_HeightStepper_2D.value = 30;
    settings.pdf_ec_lvl_Stepper.value = 4;
    settings.image_2d = {};
    settings.Draw_PDF_417_Barcode(QStringLiteral("Party at eight"));
    EXPECT_EQ(settings.image_2d.size, QSizeF(120, 30));
    EXPECT_EQ(settings.image_2d.image.size(), QSize(120, 30));
    settings.Draw_PDF_417_Barcode(QString(6000, QLatin1Char('x')));
    EXPECT_TRUE(settings.image_2d.isNull());
    USED_DPI_VALUE = savedDpi;
}
