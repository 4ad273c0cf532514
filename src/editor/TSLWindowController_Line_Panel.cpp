// The line page of the inspector: filled from a line item; each control writes its own value into every
// selected item of the side being edited.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Globals.h"
#include "common/Stepper_Field.h"
#include "editor/Inspector_Codes.h"
#include "editor/TSLWindowController_Forms.h"
#include "model/TSLLine.h"

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

    // Each control writes its own value only.
    connect(page.Line_clr, &Color_Well::colorChanged, this,
        [this] { Update_Line_Graphics(QStringLiteral("strokeColor")); });
    connect(page.Line_Wdt_Stepper, &Stepper_Field::valueChanged, this,
        [this] { Update_Line_Graphics(QStringLiteral("strokeWidth")); });
    connect(page.Line_alpha_Stepper, &Stepper_Field::valueChanged, this,
        [this] { Update_Line_Graphics(QStringLiteral("alpha_val_stroke")); });
    for (QComboBox* box : { Line_border_style, Line_ori_style, Line_cap_style })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });
}

QVariant TSLWindowController::linePageValue(const QString& key) const
{
    const Ui::Inspector_Line& page = forms_->line;
    if (key == QLatin1String("strokeColor"))
        return page.Line_clr->color();
    if (key == QLatin1String("strokeWidth"))
        return double(int(page.Line_Wdt_Stepper->value()));
    if (key == QLatin1String("_stroke_border_type")) {
        const QString code = borderCodeForIndex(page.Line_border_style->currentIndex());
        return code.isEmpty() ? QVariant() : QVariant(code);
    }
    if (key == QLatin1String("_line_cap_style"))
        return std::max(page.Line_cap_style->currentIndex(), 0);
    if (key == QLatin1String("_line_ori"))
        return std::max(page.Line_ori_style->currentIndex(), 0);
    if (key == QLatin1String("alpha_val_stroke"))
        return float(page.Line_alpha_Stepper->value() / 100.0);
    return QVariant();
}

void TSLWindowController::Update_Line_Graphics(const QString& key)
{
    // A line is nothing but its stroke: whatever changes, it keeps drawing it.
    writeIntoSelection({ { QStringLiteral("drawingStroke"), true }, { key, linePageValue(key) } });
}

void TSLWindowController::Line_Direction_Changed()
{
    Update_Line_Graphics(QStringLiteral("_line_ori"));
    const int orientation = linePageValue(QStringLiteral("_line_ori")).toInt();
    for (const TSLGraphicPtr& item : itemsForWriteBack())
        if (auto* line = dynamic_cast<TSLLine*>(item.get()))
            line->orientAs(orientation);
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
    // The direction the line is really drawn in, whatever the record last stored.
    const auto* line = dynamic_cast<const TSLLine*>(&item);
    selectIndexIfHeld(page.Line_ori_style, line ? line->direction() : item._line_ori);
    selectIndexIfHeld(page.Line_cap_style, item._line_cap_style);
    page.Line_alpha_Stepper->setValue(item.alpha_val_stroke * 100.0);
}
