// The line page of the inspector: filled from a line item, and written back into every selected item of
// the side being edited.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Globals.h"
#include "common/Stepper_Field.h"
#include "editor/Inspector_Codes.h"
#include "editor/TSLWindowController_Forms.h"

#include <QCheckBox>
#include <QComboBox>

#include <algorithm>

namespace {

void selectIndexIfHeld(QComboBox* box, int index)
{
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
}

} // namespace

void TSLWindowController::connectLinePage()
{
    Ui::Inspector_Line& page = forms_->line;
    Line_border_style = page.Line_border_style;
    Line_ori_style = page.Line_ori_style;
    Line_cap_style = page.Line_cap_style;
    page.Line_Wdt_Stepper->setRange(0, 100);
    page.Line_Wdt_Stepper->setDecimals(0);
    page.Line_alpha_Stepper->setRange(0, 100);
    page.Line_alpha_Stepper->setDecimals(0);

    connect(page.Line_clr, &Color_Well::colorChanged, this, &TSLWindowController::Update_Line_Graphics);
    for (Stepper_Field* stepper : { page.Line_Wdt_Stepper, page.Line_alpha_Stepper })
        connect(stepper, &Stepper_Field::valueChanged, this, &TSLWindowController::Update_Line_Graphics);
    for (QComboBox* box : { Line_border_style, Line_ori_style, Line_cap_style })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });
}

void TSLWindowController::Update_Line_Graphics()
{
    const TSLGraphicList items = itemsForWriteBack();
    if (items.empty())
        return;

    const Ui::Inspector_Line& page = forms_->line;
    const QString borderCode = borderCodeForIndex(page.Line_border_style->currentIndex());
    for (const TSLGraphicPtr& item : items) {
        item->_isDrawingStroke = true; // a line is nothing but its stroke
        item->_strokeColor = page.Line_clr->color();
        item->_strokeWidth = int(page.Line_Wdt_Stepper->value());
        if (Print_object_chk)
            item->print_object = Print_object_chk->isChecked() ? 1 : 0;
        if (!borderCode.isEmpty())
            item->_stroke_border_type = borderCode;
        item->_line_cap_style = std::max(page.Line_cap_style->currentIndex(), 0);
        item->_line_ori = std::max(page.Line_ori_style->currentIndex(), 0);
        item->alpha_val_stroke = float(page.Line_alpha_Stepper->value() / 100.0);
    }
    Refresh_Canvas();
}

void TSLWindowController::Show_Line_Properties(const TSLGraphic& item)
{
    const Inspector_Fill_Mute mute;
    Ui::Inspector_Line& page = forms_->line;
    page.Line_Wdt_Stepper->setValue(int(item._strokeWidth));
    page.Line_clr->setColor(item._strokeColor);
    if (const int style = borderIndexForCode(item._stroke_border_type); style >= 0)
        page.Line_border_style->setCurrentIndex(style);
    selectIndexIfHeld(page.Line_ori_style, item._line_ori);
    selectIndexIfHeld(page.Line_cap_style, item._line_cap_style);
    page.Line_alpha_Stepper->setValue(item.alpha_val_stroke * 100.0);
}
