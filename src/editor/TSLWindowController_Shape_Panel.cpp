// The shape page of the inspector: filled from a shape item; each control writes its own value into every
// selected item of the side being edited.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "common/Stepper_Field.h"
#include "editor/Inspector_Codes.h"
#include "editor/TSLWindowController_Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

// Radios and enabled controls of the fill box for a fill code: "G" gradient, "H" hatch, else solid.
void showShapeFillType(Ui::Inspector_Shape& page, const QString& fillType)
{
    const bool gradient = fillType == QLatin1String("G");
    const bool hatch = !gradient && fillType == QLatin1String("H");
    const bool solid = !gradient && !hatch;
    page.Shape_solid_fill_rd->setChecked(solid);
    page.Shape_gradient_fill_rd->setChecked(gradient);
    page.Shape_Style_fill_rd->setChecked(hatch);
    SetObjEnabled(page.shape_fill_clr, solid);
    for (QWidget* control :
        { static_cast<QWidget*>(page.shape_fill_Grd_1_clr), static_cast<QWidget*>(page.shape_fill_Grd_2_clr),
            static_cast<QWidget*>(page.shape_grad_Stepper), static_cast<QWidget*>(page.shape_grad_Label) })
        SetObjEnabled(control, gradient);
    for (QWidget* control : { static_cast<QWidget*>(page.shape_hatch_style),
             static_cast<QWidget*>(page.shape_hatch_bk_clr), static_cast<QWidget*>(page.shape_hatch_bk_Label) })
        SetObjEnabled(control, hatch);
}

QString checkedShapeFillType(const Ui::Inspector_Shape& page)
{
    if (page.Shape_gradient_fill_rd->isChecked())
        return QStringLiteral("G");
    if (page.Shape_Style_fill_rd->isChecked())
        return QStringLiteral("H");
    return QStringLiteral("S");
}

} // namespace

QString TSLWindowController::shapePropertiesLabel(const QString& shapeCode)
{
    static const struct {
        const char* code;
        const char* label;
    } labels[] = { { "R", "Rectangle Properties" }, { "C", "Ellipse Properties" },
        { "RR", "Rounded Rectangle Properties" }, { "T", "Triangle Properties" }, { "D", "Diamond Properties" },
        { "S", "Star Properties" }, { "DS", "Double Star Properties" }, { "P", "Polygon Properties" } };
    for (const auto& entry : labels)
        if (shapeCode == QLatin1String(entry.code))
            return QLatin1String(entry.label);
    return QString();
}

void TSLWindowController::connectShapePage()
{
    Ui::Inspector_Shape& page = forms_->shape;
    page.shape_bor_Stepper->setRange(0, 100);
    page.shape_bor_Stepper->setDecimals(0);
    page.shape_grad_Stepper->setRange(0, 360);
    page.shape_grad_Stepper->setDecimals(0);
    page.shape_alpha_Stepper->setRange(0, 100);
    page.shape_alpha_Stepper->setDecimals(0);
    page.shape_cor_radius_Stepper->setRange(0, 500);
    page.shape_cor_radius_Stepper->setDecimals(1);
    page.double_star_Stepper->setRange(1, 5);
    page.double_star_Stepper->setDecimals(0);
    page.polygon_Stepper->setRange(1, 5);
    page.polygon_Stepper->setDecimals(0);

    // Each control writes its own value only.
    const auto writes = [this](const char* key) { return [this, key] { Update_Shape_Graphics(QLatin1String(key)); }; };
    const struct {
        Color_Well* well;
        const char* key;
    } wells[] = { { page.shape_bordr_clr, "strokeColor" }, { page.shape_fill_clr, "fillColor" },
        { page.shape_fill_Grd_1_clr, "_fill_Grad_clr1" }, { page.shape_fill_Grd_2_clr, "_fill_Grad_clr2" },
        { page.shape_hatch_bk_clr, "_fill_htch_clr" } };
    for (const auto& entry : wells)
        connect(entry.well, &Color_Well::colorChanged, this, writes(entry.key));
    const struct {
        Stepper_Field* stepper;
        const char* key;
    } steppers[] = { { page.shape_bor_Stepper, "strokeWidth" }, { page.shape_grad_Stepper, "_fill_grad_angle" },
        { page.shape_alpha_Stepper, "alpha_val" }, { page.shape_cor_radius_Stepper, "cor_rad_val_val" },
        { page.double_star_Stepper, "double_star_type" }, { page.polygon_Stepper, "polygon_type" } };
    for (const auto& entry : steppers)
        connect(entry.stepper, &Stepper_Field::valueChanged, this, writes(entry.key));
    connect(page.Shape_border_chk, &QCheckBox::clicked, this, &TSLWindowController::Shape_Border_ChkBox);
    connect(page.Shape_fill_chk, &QCheckBox::clicked, this, &TSLWindowController::Shape_Fill_Chk_Box);
    connect(page.Shape_solid_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Shape_Solid_RD_Sel);
    connect(page.Shape_gradient_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Shape_Gradient_RD_Sel);
    connect(page.Shape_Style_fill_rd, &QRadioButton::clicked, this, &TSLWindowController::Shape_Hatch_RD_Sel);
    for (QComboBox* box : { page.shape_border_style, page.shape_hatch_style })
        connect(box, &QComboBox::currentIndexChanged, this, [this, box] { comboBoxSelectionDidChange(box); });
}

void TSLWindowController::Shape_Border_ChkBox()
{
    Ui::Inspector_Shape& page = forms_->shape;
    SetObjEnabled(page.Shape_Border_Box, page.Shape_border_chk->isChecked());
    Update_Shape_Graphics(QStringLiteral("drawingStroke"));
}

void TSLWindowController::Shape_Fill_Chk_Box()
{
    Ui::Inspector_Shape& page = forms_->shape;
    const bool on = page.Shape_fill_chk->isChecked();
    SetObjEnabled(page.Shape_Fill_Box, on);
    // Enabling the box enables all it holds; the chosen fill keeps the controls of the others off.
    if (on)
        showShapeFillType(page, checkedShapeFillType(page));
    Update_Shape_Graphics(QStringLiteral("drawingFill"));
}

void TSLWindowController::Shape_Solid_RD_Sel()
{
    showShapeFillType(forms_->shape, QStringLiteral("S"));
    Update_Shape_Graphics(QStringLiteral("_fill_type"));
}

void TSLWindowController::Shape_Gradient_RD_Sel()
{
    showShapeFillType(forms_->shape, QStringLiteral("G"));
    Update_Shape_Graphics(QStringLiteral("_fill_type"));
}

void TSLWindowController::Shape_Hatch_RD_Sel()
{
    showShapeFillType(forms_->shape, QStringLiteral("H"));
    Update_Shape_Graphics(QStringLiteral("_fill_type"));
}

QVariant TSLWindowController::shapePageValue(const QString& key) const
{
    const Ui::Inspector_Shape& page = forms_->shape;
    if (key == QLatin1String("drawingStroke"))
        return page.Shape_border_chk->isChecked();
    if (key == QLatin1String("strokeColor"))
        return page.shape_bordr_clr->color();
    if (key == QLatin1String("strokeWidth"))
        return double(int(page.shape_bor_Stepper->value()));
    if (key == QLatin1String("_stroke_border_type")) {
        const QString code = borderCodeForIndex(page.shape_border_style->currentIndex());
        return code.isEmpty() ? QVariant() : QVariant(code);
    }
    if (key == QLatin1String("drawingFill"))
        return page.Shape_fill_chk->isChecked();
    if (key == QLatin1String("fillColor"))
        return page.shape_fill_clr->color();
    if (key == QLatin1String("_fill_type"))
        return checkedShapeFillType(page);
    if (key == QLatin1String("_fill_Grad_clr1"))
        return page.shape_fill_Grd_1_clr->color();
    if (key == QLatin1String("_fill_Grad_clr2"))
        return page.shape_fill_Grd_2_clr->color();
    if (key == QLatin1String("_fill_grad_angle"))
        return page.shape_grad_Stepper->value();
    if (key == QLatin1String("_fill_htch_clr"))
        return page.shape_hatch_bk_clr->color();
    if (key == QLatin1String("_fill_hatch_type"))
        return page.shape_hatch_style->currentIndex() >= 0 ? page.shape_hatch_style->currentText() : QString();
    if (key == QLatin1String("alpha_val"))
        return float(page.shape_alpha_Stepper->value() / 100.0);
    if (key == QLatin1String("cor_rad_val_val"))
        return float(page.shape_cor_radius_Stepper->value());
    if (key == QLatin1String("double_star_type"))
        return int(page.double_star_Stepper->value());
    if (key == QLatin1String("polygon_type"))
        return int(page.polygon_Stepper->value());
    return QVariant();
}

void TSLWindowController::Update_Shape_Graphics(const QString& key)
{
    writeIntoSelection(key, shapePageValue(key));
}

void TSLWindowController::Show_Shape_Properties(const TSLGraphic& item)
{
    const Inspector_Fill_Mute mute;
    Ui::Inspector_Shape& page = forms_->shape;

    // The rows that only some outlines use are shown for those outlines alone.
    struct Row {
        const char* code;
        QLabel* label;
        Stepper_Field* stepper;
    };
    const Row rows[] = { { "RR", page.shape_cor_radius_Label, page.shape_cor_radius_Stepper },
        { "DS", page.double_star_Label, page.double_star_Stepper }, { "P", page.polygon_Label, page.polygon_Stepper } };
    for (const Row& row : rows) {
        row.label->hide();
        row.stepper->hide();
    }
    const QString code = item.Get_shape_type();
    if (!item.ctrl_is_locked) {
        if (const QString label = shapePropertiesLabel(code); !label.isEmpty()) {
            shape_tab->setWindowTitle(label);
            if (const int tab = sett_tab->indexOf(shape_tab); tab >= 0)
                sett_tab->setTabText(tab, label);
            page.Shape_prop_title->setText(label);
        }
        for (const Row& row : rows) {
            if (code == QLatin1String(row.code)) {
                row.label->show();
                row.stepper->show();
            }
        }
    }

    page.Shape_border_chk->setChecked(item._isDrawingStroke);
    page.shape_bor_Stepper->setValue(int(item._strokeWidth));
    page.shape_bordr_clr->setColor(item._strokeColor);
    if (const int style = borderIndexForCode(item._stroke_border_type); style >= 0)
        page.shape_border_style->setCurrentIndex(style);
    page.Shape_fill_chk->setChecked(item._isDrawingFill);
    page.shape_fill_clr->setColor(item._fillColor);
    page.shape_fill_Grd_1_clr->setColor(item._fill_Grad_clr1);
    page.shape_fill_Grd_2_clr->setColor(item._fill_Grad_clr2);
    page.shape_hatch_bk_clr->setColor(item._fill_htch_clr);
    if (item._fill_hatch_type.isEmpty()) {
        page.shape_hatch_style->setCurrentIndex(-1);
    } else if (const int pattern = page.shape_hatch_style->findText(item._fill_hatch_type); pattern >= 0) {
        page.shape_hatch_style->setCurrentIndex(pattern);
    }
    page.shape_grad_Stepper->setValue(item._fill_grad_angle);
    page.shape_alpha_Stepper->setValue(item.alpha_val * 100.0);
    page.shape_cor_radius_Stepper->setValue(item.cor_rad_val_val);
    page.double_star_Stepper->setValue(item.double_star_type);
    page.polygon_Stepper->setValue(item.polygon_type);

    SetObjEnabled(page.Shape_Border_Box, page.Shape_border_chk->isChecked());
    SetObjEnabled(page.Shape_Fill_Box, page.Shape_fill_chk->isChecked());
    showShapeFillType(page, item._fill_type);
}
