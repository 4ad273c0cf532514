// Each control of the shape page writes its own value into every selected item of the side being edited,
// and into nothing else; showing an item fills the page without writing anything back.
#include "editor/ItemPanelTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

using editortest::itemBytes;

class ShapePanelTest : public editortest::ItemPanelTest {
protected:
    TSLGraphicPtr addShape(const QString& code, const QString& key = TSLDocumentGraphicsKey)
    {
        TSLGraphicPtr item = addItem(QStringLiteral("Shape_Control"), QRectF(10, 10, 40, 30), key);
        item->Set_Shape_Type(code);
        return item;
    }
};

TEST_F(ShapePanelTest, PageChangesGoIntoEverySelectedItemOfTheFrontAndNowhereElse)
{
    const TSLGraphicPtr first = addShape(QStringLiteral("R"));
    const TSLGraphicPtr unselected = addShape(QStringLiteral("C"));
    const TSLGraphicPtr third = addShape(QStringLiteral("S"));
    const TSLGraphicPtr back = addShape(QStringLiteral("R"), TSLDocumentGraphicsKey_back);
    first->_isDrawingStroke = false;
    third->_isDrawingStroke = false;
    first->_isDrawingFill = false;
    third->_isDrawingFill = false;
    select(window->_graphicView, { 0, 2 });
    window->Show_RHS_Properties(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);

    click(control<QCheckBox>("Shape_border_chk"));
    control<Color_Well>("shape_bordr_clr")->chooseColor(QColor(200, 10, 20));
    typeInto(control<Stepper_Field>("shape_bor_Stepper"), QStringLiteral("4"));
    click(control<QCheckBox>("Shape_fill_chk"));
    click(control<QRadioButton>("Shape_gradient_fill_rd"));
    control<Color_Well>("shape_fill_Grd_1_clr")->chooseColor(QColor(0, 0, 255));
    control<Color_Well>("shape_fill_Grd_2_clr")->chooseColor(QColor(0, 255, 0));
    typeInto(control<Stepper_Field>("shape_grad_Stepper"), QStringLiteral("45"));
    typeInto(control<Stepper_Field>("shape_alpha_Stepper"), QStringLiteral("35"));

    for (const TSLGraphicPtr& item : { first, third }) {
        EXPECT_TRUE(item->_isDrawingStroke);
        EXPECT_EQ(item->_strokeColor, QColor(200, 10, 20));
        EXPECT_EQ(item->_strokeWidth, 4.0);
        EXPECT_TRUE(item->_isDrawingFill);
        EXPECT_EQ(item->_fill_type, QStringLiteral("G"));
        EXPECT_EQ(item->_fill_Grad_clr1, QColor(0, 0, 255));
        EXPECT_EQ(item->_fill_Grad_clr2, QColor(0, 255, 0));
        EXPECT_EQ(item->_fill_grad_angle, 45.0);
        EXPECT_FLOAT_EQ(item->alpha_val, 0.35f);
    }
    // Each item keeps its own outline: the page carries no shape code.
    EXPECT_EQ(first->Get_shape_type(), QStringLiteral("R"));
    EXPECT_EQ(third->Get_shape_type(), QStringLiteral("S"));
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);
}

TEST_F(ShapePanelTest, OnTheBackSideOnlyTheBackSelectionIsWritten)
{
    const TSLGraphicPtr front = addShape(QStringLiteral("R"));
    const TSLGraphicPtr back = addShape(QStringLiteral("R"), TSLDocumentGraphicsKey_back);
    select(window->_graphicView, { 0 });
    window->Select_back_side();
    select(window->_graphicView_BACK, { 0 });
    window->Show_RHS_Properties(back);
    const QByteArray frontBefore = itemBytes(*front);

    typeInto(control<Stepper_Field>("shape_alpha_Stepper"), QStringLiteral("60"));
    control<Color_Well>("shape_fill_clr")->chooseColor(QColor(1, 2, 3));

    EXPECT_FLOAT_EQ(back->alpha_val, 0.6f);
    EXPECT_EQ(back->_fillColor, QColor(1, 2, 3));
    EXPECT_EQ(itemBytes(*front), frontBefore);
}

TEST_F(ShapePanelTest, ShowingAnItemFillsThePageAndWritesNothingBack)
{
    const TSLGraphicPtr shape = addShape(QStringLiteral("RR"));
    const TSLGraphicPtr other = addShape(QStringLiteral("S"));
    shape->_isDrawingStroke = true;
    shape->_strokeWidth = 3.7;
    shape->_stroke_border_type = QStringLiteral("DO");
    shape->_isDrawingFill = true;
    shape->_fill_type = QStringLiteral("H");
    shape->_fill_hatch_type.clear();
    shape->alpha_val = 0.5f;
    shape->cor_rad_val_val = 12.5f;
    select(window->_graphicView, { 0, 1 });
    const QByteArray shapeBefore = itemBytes(*shape);
    const QByteArray otherBefore = itemBytes(*other);

    window->Show_RHS_Properties(shape);

    EXPECT_EQ(itemBytes(*shape), shapeBefore);
    EXPECT_EQ(itemBytes(*other), otherBefore);
    EXPECT_EQ(control<Stepper_Field>("shape_bor_Stepper")->value(), 3.0) << "widths show truncated";
    EXPECT_EQ(control<QComboBox>("shape_border_style")->currentIndex(), 2);
    EXPECT_EQ(control<Stepper_Field>("shape_alpha_Stepper")->value(), 50.0);
    EXPECT_EQ(control<Stepper_Field>("shape_alpha_Stepper")->text(), QStringLiteral("50"));
    EXPECT_EQ(control<Stepper_Field>("shape_cor_radius_Stepper")->value(), 12.5);
    EXPECT_EQ(control<QComboBox>("shape_hatch_style")->currentIndex(), -1) << "an empty pattern shows no selection";
    EXPECT_TRUE(control<QRadioButton>("Shape_Style_fill_rd")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Shape_solid_fill_rd")->isChecked());
    // A hatch fill offers the pattern controls only.
    EXPECT_TRUE(control<QComboBox>("shape_hatch_style")->isEnabled());
    EXPECT_FALSE(control<Color_Well>("shape_fill_clr")->isEnabled());
    EXPECT_FALSE(control<Color_Well>("shape_fill_Grd_1_clr")->isEnabled());
    EXPECT_EQ(control<QLabel>("Shape_prop_title")->text(), QStringLiteral("Rounded Rectangle Properties"));

    window->Show_RHS_Properties(other); // another item refills the page, still without writing
    EXPECT_EQ(itemBytes(*shape), shapeBefore);
    EXPECT_EQ(itemBytes(*other), otherBefore);
}

TEST_F(ShapePanelTest, RowsOfTheOutlineFollowTheShownItem)
{
    const TSLGraphicPtr rounded = addShape(QStringLiteral("RR"));
    const TSLGraphicPtr star = addShape(QStringLiteral("S"));
    const TSLGraphicPtr polygon = addShape(QStringLiteral("P"));

    window->Show_RHS_Properties(rounded);
    EXPECT_FALSE(control<Stepper_Field>("shape_cor_radius_Stepper")->isHidden());
    EXPECT_TRUE(control<Stepper_Field>("double_star_Stepper")->isHidden());

    window->Show_RHS_Properties(star);
    EXPECT_TRUE(control<Stepper_Field>("shape_cor_radius_Stepper")->isHidden());
    EXPECT_TRUE(control<QLabel>("shape_cor_radius_Label")->isHidden());
    EXPECT_TRUE(control<Stepper_Field>("polygon_Stepper")->isHidden());
    EXPECT_EQ(
        window->sett_tab->tabText(window->sett_tab->indexOf(window->shape_tab)), QStringLiteral("Star Properties"));

    window->Show_RHS_Properties(polygon);
    EXPECT_FALSE(control<Stepper_Field>("polygon_Stepper")->isHidden());
    EXPECT_FALSE(control<QLabel>("polygon_Label")->isHidden());
}

TEST_F(ShapePanelTest, FillOffAndOnAgainKeepsTheItemsGradient)
{
    const TSLGraphicPtr shape = addShape(QStringLiteral("R"));
    shape->_isDrawingFill = true;
    shape->_fill_type = QStringLiteral("G");
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(shape);
    auto* fill = control<QCheckBox>("Shape_fill_chk");

    click(fill);
    EXPECT_FALSE(shape->_isDrawingFill);
    EXPECT_EQ(shape->_fill_type, QStringLiteral("G")) << "the check box switches the fill, not its kind";
    EXPECT_FALSE(control<QGroupBox>("Shape_Fill_Box")->isEnabled());

    click(fill);
    EXPECT_TRUE(shape->_isDrawingFill);
    EXPECT_EQ(shape->_fill_type, QStringLiteral("G"));
    // The box comes back with the gradient's controls on and the solid colour off.
    EXPECT_TRUE(control<Color_Well>("shape_fill_Grd_1_clr")->isEnabled());
    EXPECT_FALSE(control<Color_Well>("shape_fill_clr")->isEnabled());
}

TEST_F(ShapePanelTest, BorderOffKeepsColourAndWidth)
{
    const TSLGraphicPtr shape = addShape(QStringLiteral("R"));
    shape->_isDrawingStroke = true;
    shape->_strokeColor = QColor(9, 9, 9);
    shape->_strokeWidth = 6;
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(shape);

    click(control<QCheckBox>("Shape_border_chk"));

    EXPECT_FALSE(shape->_isDrawingStroke);
    EXPECT_EQ(shape->_strokeColor, QColor(9, 9, 9));
    EXPECT_EQ(shape->_strokeWidth, 6.0);
    EXPECT_FALSE(control<QGroupBox>("Shape_Border_Box")->isEnabled());
}

TEST_F(ShapePanelTest, ATextItemSelectedWithTheShapeTakesTheShapePage)
{
    const TSLGraphicPtr shape = addShape(QStringLiteral("R"));
    const TSLGraphicPtr text = addItem(QStringLiteral("TSLText"), QRectF(60, 10, 80, 20), TSLDocumentGraphicsKey);
    text->_isDrawingFill = false;
    text->alpha_val = 1.0f;
    shape->_isDrawingFill = false;
    select(window->_graphicView, { 0, 1 });
    window->Show_RHS_Properties(shape);

    click(control<QCheckBox>("Shape_fill_chk"));
    typeInto(control<Stepper_Field>("shape_alpha_Stepper"), QStringLiteral("20"));

    EXPECT_TRUE(text->_isDrawingFill);
    EXPECT_FLOAT_EQ(text->alpha_val, 0.2f);
    EXPECT_FLOAT_EQ(shape->alpha_val, 0.2f);
}

TEST_F(ShapePanelTest, NothingIsWrittenWithoutASelectionOrWhileTheInspectorIsFilled)
{
    const TSLGraphicPtr shape = addShape(QStringLiteral("R"));
    shape->_isDrawingFill = true;
    window->Show_RHS_Properties(shape);
    select(window->_graphicView, {});
    const QByteArray before = itemBytes(*shape);
    const QColor fillBefore = shape->_fillColor;

    // Without a selection only the page changes.
    click(control<QCheckBox>("Shape_border_chk"));
    control<Color_Well>("shape_fill_clr")->chooseColor(QColor(50, 60, 70));
    EXPECT_EQ(itemBytes(*shape), before);
    EXPECT_EQ(control<QGroupBox>("Shape_Border_Box")->isEnabled(), control<QCheckBox>("Shape_border_chk")->isChecked());

    select(window->_graphicView, { 0 });
    Not_Draw_Only_Prop_Change = true;
    control<Color_Well>("shape_fill_clr")->chooseColor(QColor(80, 90, 100));
    typeInto(control<Stepper_Field>("shape_alpha_Stepper"), QStringLiteral("10"));
    Not_Draw_Only_Prop_Change = false;
    EXPECT_EQ(itemBytes(*shape), before);

    // The next change writes its own value only, never what was shown while muted.
    typeInto(control<Stepper_Field>("shape_alpha_Stepper"), QStringLiteral("11"));
    EXPECT_EQ(shape->_fillColor, fillBefore);
    EXPECT_FLOAT_EQ(shape->alpha_val, 0.11f);
}

} // namespace
