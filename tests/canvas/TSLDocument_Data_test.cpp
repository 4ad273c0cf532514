#include "canvas/TSLDocument_Data.h"
#include "canvas/TSLRenderingView.h"
#include "model/Shape_Control.h"
#include "model/TSLDocument.h"
#include "model/TSLError.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(TSLDocumentData, GivesOwnTypePdfAndTiffOfTheFrontList)
{
    TSLDocument document;
    TSLRenderingSide side;
    side.canvasBounds = QRectF(0, 0, 243, 154);

    TSLError error;
    EXPECT_FALSE(dataOfType(document, TSLTIFFTypeName, side, &error).has_value());
    EXPECT_EQ(error.code, 3);

    auto shape = std::make_shared<Shape_Control>();
    shape->setBounds(QRectF(10, 10, 50, 30));
    document.insertGraphic(shape, 0);

    const auto tiff = dataOfType(document, TSLTIFFTypeName, side, &error);
    ASSERT_TRUE(tiff);
    const QImage picture = QImage::fromData(*tiff, "TIFF");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), shape->drawingBounds().size().toSize());

    const auto pdf = dataOfType(document, TSLPDFTypeName, side, &error);
    ASSERT_TRUE(pdf);
    EXPECT_TRUE(pdf->startsWith("%PDF"));

    EXPECT_TRUE(dataOfType(document, TSLDocumentNewTypeName, side, &error).has_value());
    EXPECT_FALSE(dataOfType(document, QStringLiteral("public.plain-text"), side, &error).has_value());
}
