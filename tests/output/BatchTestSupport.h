#pragma once

#include "barcode/Barcode_Entries.h"
#include "barcode/Barcode_Gen.h"
#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLText.h"
#include "output/Batch_Snapshot.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace batchtest {

inline std::shared_ptr<TSLText> boundText(int sourceType, const QString& series, int column, const QRectF& bounds)
{
    auto text = std::make_shared<TSLText>();
    text->ctrl_is_visible = true;
    text->_bounds = bounds;
    text->Text_contents().string = QStringLiteral("typed");
    text->Text_contents().font = QFont(QStringLiteral("DejaVu Sans"), 14);
    text->data_source_type = sourceType;
    text->batch_list_name = series;
    text->excel_col_indx = column;
    return text;
}

inline std::shared_ptr<TSLImage> boundPicture(int sourceType, const QString& series, int column, const QRectF& bounds)
{
    auto picture = std::make_shared<TSLImage>();
    picture->ctrl_is_visible = true;
    picture->_bounds = bounds;
    picture->data_source_type = sourceType;
    picture->batch_list_name = series;
    picture->excel_col_indx = column;
    return picture;
}

// A barcode of the symbology of that title (a Code 128 unless said) with the generator's start values, bound
// to a series.
inline std::shared_ptr<TSLBarcode> boundCode128(
    const QString& series, const QRectF& bounds, const QString& title = QStringLiteral("Code 128"))
{
    auto barcode = std::make_shared<TSLBarcode>();
    Barcode_Gen defaults;
    defaults.barcodeTypePopup.select(int(Barcode_Type_Titles().indexOf(title)));
    defaults.liner_or_2D_font = Barcode_Type_Is_2D(title) ? 1 : 0;
    defaults.hideHeaderCheckbox.state = 1;
    defaults.hideFooterCheckbox.state = 1;
    defaults.Store_Barcode_Prop_In_Item(*barcode);
    barcode->ctrl_is_visible = true;
    barcode->_bounds = bounds;
    barcode->data_source_type = 1;
    barcode->batch_list_name = series;
    return barcode;
}

inline TSLRenderingSide creditCardSide(int frontOrBack)
{
    TSLRenderingSide side;
    side.frontOrBack = frontOrBack;
    side.canvasBounds = QRectF(0, 0, 243, 153); // 85.6 mm x 54 mm in points
    side.property.setCard_fill_chk(true);
    side.property.setCard_fill_clr(QColor(Qt::white));
    return side;
}

inline QString writePicture(const QString& path, const QColor& colour)
{
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(path, "PNG");
    return path;
}

} // namespace batchtest
