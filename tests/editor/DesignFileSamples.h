#pragma once

#include "editor/Design_File_Format.h"
#include "model/Shape_Control.h"
#include "model/TSLBarcode.h"
#include "model/TSLImage.h"
#include "model/TSLLine.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"

namespace designsamples {

// A design with items of every kind on both sides, both records changed and a binding table.
inline DesignFileContent richDesign()
{
    DesignFileContent content;
    content.front.setCard_border_chk(true);
    content.front.setCard_bordr_clr(QColor(200, 10, 30));
    content.front.setCard_bor_Stepper(3);
    content.front.setCard_border_style(QStringLiteral("DD"));
    content.front.setCard_fill_chk(true);
    content.front.setCard_fill_style(QStringLiteral("G"));
    content.front.setCard_fill_Grd_1_clr(QColor(Qt::yellow));
    content.front.setCard_fill_Grd_2_clr(QColor(Qt::cyan));
    content.front.setCard_grad_Stepper(45);
    content.front.setCard_alpha_Stepper(0.5f);
    content.front.setCard_Shape(QStringLiteral("RR"));
    content.front.setCard_Name(QString::fromUtf8("Grüße party"));
    content.front.setCard_Location(QPointF(0, 0));
    content.front.setCard_Size(QSizeF(242.65, 153.07));
    content.front.setCard_Cat_index(2);
    content.front.setCard_Content_clr(QColor(Qt::darkBlue));
    content.back.setCard_Side_Name(QStringLiteral("B"));
    content.back.setCard_fill_chk(true);
    content.back.setCard_fill_style(QStringLiteral("H"));
    content.back.setCard_hatch_style(QStringLiteral("Hatch_Cross"));
    content.back.setCard_hatch_bk_clr(QColor(Qt::lightGray));
    content.back.setCard_Size(QSizeF(242.65, 153.07));
    content.excelBindingUse = true;
    content.excelSourcePath = QStringLiteral("/home/guest/list.xlsx");
    content.columnTitles = { QStringLiteral("#"), QStringLiteral("Name"), QStringLiteral("Table") };
    content.rows = { { { QStringLiteral("Extension"), QStringLiteral("1") }, { QStringLiteral("Column1"), QStringLiteral("Ada") },
                         { QStringLiteral("Column2"), QStringLiteral("4") } },
        { { QStringLiteral("Extension"), QStringLiteral("2") }, { QStringLiteral("Column1"), QStringLiteral("Émile") },
            { QStringLiteral("Column2"), QStringLiteral("7") } } };

    int n = 0;
    for (const char* kind : { "TSLText", "Shape_Control", "TSLLine", "TSLImage", "TSLBarcode", "TSLSignature" }) {
        for (TSLGraphicList* side : { &content.frontItems, &content.backItems }) {
            TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QString::fromLatin1(kind));
            item->_bounds = QRectF(10 + n, 20 + n, 60, 30);
            item->control_ID = QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(n);
            item->Text_Value = QStringLiteral("Value %1").arg(n);
            item->data_source_type = n % 3;
            ++n;
            side->push_back(item);
        }
    }
    return content;
}

} // namespace designsamples
