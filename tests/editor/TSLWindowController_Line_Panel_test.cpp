// The line page writes the whole page into every selected item of the side being edited, and into nothing
// else; showing a line fills the page without writing anything back.
#include "editor/ItemPanelTestSupport.h"

#include <QComboBox>

namespace {

using editortest::itemBytes;

class LinePanelTest : public editortest::ItemPanelTest {
protected:
    TSLGraphicPtr addLine(const QString& key = TSLDocumentGraphicsKey)
    {
        return addItem(QStringLiteral("TSLLine"), QRectF(10, 10, 60, 20), key);
    }
};

TEST_F(LinePanelTest, PageChangesGoIntoEverySelectedLineOfTheSideAndNowhereElse)
{
    const TSLGraphicPtr first = addLine();
    const TSLGraphicPtr unselected = addLine();
    const TSLGraphicPtr third = addLine();
    const TSLGraphicPtr back = addLine(TSLDocumentGraphicsKey_back);
    first->_isDrawingStroke = false;
    select(window->_graphicView, { 0, 2 });
    window->Show_RHS_Properties(first);
    const QByteArray unselectedBefore = itemBytes(*unselected);
    const QByteArray backBefore = itemBytes(*back);

    control<Color_Well>("Line_clr")->chooseColor(QColor(10, 120, 30));
    typeInto(control<Stepper_Field>("Line_Wdt_Stepper"), QStringLiteral("7"));
    typeInto(control<Stepper_Field>("Line_alpha_Stepper"), QStringLiteral("35"));

    for (const TSLGraphicPtr& line : { first, third }) {
        EXPECT_TRUE(line->_isDrawingStroke) << "a line always draws its stroke";
        EXPECT_EQ(line->_strokeColor, QColor(10, 120, 30));
        EXPECT_EQ(line->_strokeWidth, 7.0);
        EXPECT_FLOAT_EQ(line->alpha_val_stroke, 0.35f);
    }
    EXPECT_EQ(itemBytes(*unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*back), backBefore);
}

TEST_F(LinePanelTest, TheBackSelectionIsWrittenWhileTheBackIsEdited)
{
    const TSLGraphicPtr front = addLine();
    const TSLGraphicPtr back = addLine(TSLDocumentGraphicsKey_back);
    select(window->_graphicView, { 0 });
    window->Select_back_side();
    select(window->_graphicView_BACK, { 0 });
    window->Show_RHS_Properties(back);
    const QByteArray frontBefore = itemBytes(*front);

    typeInto(control<Stepper_Field>("Line_Wdt_Stepper"), QStringLiteral("9"));

    EXPECT_EQ(back->_strokeWidth, 9.0);
    EXPECT_EQ(itemBytes(*front), frontBefore);
}

TEST_F(LinePanelTest, ShowingALineFillsThePageAndWritesNothingBack)
{
    const TSLGraphicPtr line = addLine();
    line->_strokeWidth = 5.9;
    line->_strokeColor = QColor(1, 2, 3);
    line->_stroke_border_type = QStringLiteral("DDD");
    line->_line_cap_style = 2;
    line->_line_ori = 1;
    line->setBounds(QRectF(10, 10, 0, 40)); // drawn upright, as the stored direction says
    line->alpha_val_stroke = 0.5f;
    select(window->_graphicView, { 0 });
    const QByteArray before = itemBytes(*line);

    window->Show_RHS_Properties(line);

    EXPECT_EQ(itemBytes(*line), before);
    EXPECT_EQ(control<Stepper_Field>("Line_Wdt_Stepper")->value(), 5.0) << "widths show truncated";
    EXPECT_EQ(control<Color_Well>("Line_clr")->color(), QColor(1, 2, 3));
    EXPECT_EQ(control<QComboBox>("Line_border_style")->currentIndex(), 4);
    EXPECT_EQ(control<QComboBox>("Line_cap_style")->currentIndex(), 2);
    EXPECT_EQ(control<QComboBox>("Line_ori_style")->currentIndex(), 1);
    EXPECT_EQ(control<Stepper_Field>("Line_alpha_Stepper")->text(), QStringLiteral("50"));
}

TEST_F(LinePanelTest, AnUnknownBorderCodeLeavesThePopUpAndTheWriteKeepsTheCode)
{
    const TSLGraphicPtr dashed = addLine();
    const TSLGraphicPtr odd = addLine();
    dashed->_stroke_border_type = QStringLiteral("DA");
    odd->_stroke_border_type = QStringLiteral("XX");
    window->Show_RHS_Properties(dashed);
    window->Show_RHS_Properties(odd);
    EXPECT_EQ(control<QComboBox>("Line_border_style")->currentIndex(), 1)
        << "a code the pop-up lacks shows nothing new";

    // With the pop-up unselected the item's code stays as it is.
    control<QComboBox>("Line_border_style")->setCurrentIndex(-1);
    select(window->_graphicView, { 1 });
    typeInto(control<Stepper_Field>("Line_Wdt_Stepper"), QStringLiteral("3"));
    EXPECT_EQ(odd->_stroke_border_type, QStringLiteral("XX"));
    EXPECT_EQ(odd->_line_cap_style, 0);
    EXPECT_EQ(odd->_strokeWidth, 3.0);
}

TEST_F(LinePanelTest, MutedWhileTheInspectorIsFilled)
{
    const TSLGraphicPtr line = addLine();
    select(window->_graphicView, { 0 });
    window->Show_RHS_Properties(line);
    const QByteArray before = itemBytes(*line);

    Not_Draw_Only_Prop_Change = true;
    control<Color_Well>("Line_clr")->chooseColor(QColor(250, 0, 0));
    typeInto(control<Stepper_Field>("Line_alpha_Stepper"), QStringLiteral("15"));
    Not_Draw_Only_Prop_Change = false;

    EXPECT_EQ(itemBytes(*line), before);
}

} // namespace
