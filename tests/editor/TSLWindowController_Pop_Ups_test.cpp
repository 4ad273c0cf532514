// The pop-ups of the line, text and shape pages write their choice into every selected item of the side being
// edited, through the one handler all the main window's choice boxes report to; they write nothing while the
// inspector is being filled.
#include "editor/ItemPanelTestSupport.h"

#include <QComboBox>

#include <functional>

namespace {

using editortest::itemBytes;

class PopUpTest : public editortest::ItemPanelTest {
protected:
    // Chooses the last entry with the keyboard, as a person could; a disabled pop-up takes no keys.
    QComboBox* chooseLast(const char* name)
    {
        QComboBox* box = control<QComboBox>(name);
        if (box) {
            EXPECT_TRUE(box->isEnabled()) << name << " cannot be used";
            QTest::keyClick(box, Qt::Key_End);
            EXPECT_EQ(box->currentIndex(), box->count() - 1) << name;
        }
        return box;
    }

    // Three items on the front (the first and third selected) and one on the back.
    struct Items {
        TSLGraphicPtr first, unselected, third, back;
    };
    Items addFour(const QString& className, const std::function<void(TSLGraphic&)>& prepare)
    {
        Items items;
        items.first = addItem(className, QRectF(10, 10, 60, 20), TSLDocumentGraphicsKey);
        items.unselected = addItem(className, QRectF(20, 40, 60, 20), TSLDocumentGraphicsKey);
        items.third = addItem(className, QRectF(30, 70, 60, 20), TSLDocumentGraphicsKey);
        items.back = addItem(className, QRectF(10, 10, 60, 20), TSLDocumentGraphicsKey_back);
        for (const TSLGraphicPtr& item : { items.first, items.unselected, items.third, items.back })
            prepare(*item);
        select(window->_graphicView, { 0, 2 });
        window->Show_RHS_Properties(items.first);
        return items;
    }
};

TEST_F(PopUpTest, LinePopUpsWriteIntoTheSelectedLinesOfTheSideOnly)
{
    const Items lines = addFour(QStringLiteral("TSLLine"), [](TSLGraphic& line) {
        line._stroke_border_type = QStringLiteral("S");
        line._line_cap_style = 0;
        line._line_ori = 0;
        line.setBounds(QRectF(line.bounds().topLeft(), QSizeF(60, 0))); // drawn level, as the list then reads
    });
    const QByteArray unselectedBefore = itemBytes(*lines.unselected);
    const QByteArray backBefore = itemBytes(*lines.back);

    const int lastCap = chooseLast("Line_cap_style")->currentIndex();
    const int lastDirection = chooseLast("Line_ori_style")->currentIndex();
    chooseLast("Line_border_style");

    for (const TSLGraphicPtr& line : { lines.first, lines.third }) {
        EXPECT_EQ(line->_line_cap_style, lastCap);
        EXPECT_EQ(line->_line_ori, lastDirection);
        EXPECT_EQ(line->_stroke_border_type, QStringLiteral("DDD"));
    }
    EXPECT_EQ(itemBytes(*lines.unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*lines.back), backBefore);
}

TEST_F(PopUpTest, TextPopUpsWriteIntoTheSelectedTextsOfTheSideOnly)
{
    const Items texts = addFour(QStringLiteral("TSLText"), [](TSLGraphic& text) {
        text._isDrawingStroke = true;
        text._stroke_border_type = QStringLiteral("S");
        text.text_alignmnet = 0;
        text.text_transfrom_case = 0;
    });
    const QByteArray unselectedBefore = itemBytes(*texts.unselected);
    const QByteArray backBefore = itemBytes(*texts.back);

    const int lastAlignment = chooseLast("Text_align_combo")->currentIndex();
    const int lastCase = chooseLast("Text_case_combo")->currentIndex();
    chooseLast("Text_border_style");

    for (const TSLGraphicPtr& text : { texts.first, texts.third }) {
        EXPECT_EQ(text->text_alignmnet, lastAlignment);
        EXPECT_EQ(text->text_transfrom_case, lastCase);
        EXPECT_EQ(text->_stroke_border_type, QStringLiteral("DDD"));
    }
    EXPECT_EQ(itemBytes(*texts.unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*texts.back), backBefore);
}

TEST_F(PopUpTest, ShapePopUpsWriteIntoTheSelectedShapesOfTheSideOnly)
{
    // The pattern list normally holds the data folder's fill pictures; two names stand in for them here.
    window->shape_hatch_style->clear();
    window->shape_hatch_style->addItems({ QStringLiteral("Dots"), QStringLiteral("Stripes") });
    const QString firstPattern = QStringLiteral("Dots");
    const Items shapes = addFour(QStringLiteral("Shape_Control"), [&firstPattern](TSLGraphic& shape) {
        shape.Set_Shape_Type(QStringLiteral("R"));
        shape._isDrawingStroke = true;
        shape._stroke_border_type = QStringLiteral("S");
        shape._isDrawingFill = true;
        shape._fill_type = QStringLiteral("H");
        shape._fill_hatch_type = firstPattern;
    });
    const QByteArray unselectedBefore = itemBytes(*shapes.unselected);
    const QByteArray backBefore = itemBytes(*shapes.back);

    const QString lastPattern = chooseLast("shape_hatch_style")->currentText();
    chooseLast("shape_border_style");

    ASSERT_NE(lastPattern, firstPattern);
    for (const TSLGraphicPtr& shape : { shapes.first, shapes.third }) {
        EXPECT_EQ(shape->_fill_hatch_type, lastPattern);
        EXPECT_EQ(shape->_fill_type, QStringLiteral("H"));
        EXPECT_EQ(shape->_stroke_border_type, QStringLiteral("DDD"));
    }
    EXPECT_EQ(itemBytes(*shapes.unselected), unselectedBefore);
    EXPECT_EQ(itemBytes(*shapes.back), backBefore);
}

TEST_F(PopUpTest, PopUpsWriteNothingWhileTheInspectorIsFilled)
{
    const TSLGraphicPtr line = addItem(QStringLiteral("TSLLine"), QRectF(10, 10, 60, 20), TSLDocumentGraphicsKey);
    const TSLGraphicPtr text = addItem(QStringLiteral("TSLText"), QRectF(10, 40, 60, 20), TSLDocumentGraphicsKey);
    text->_isDrawingStroke = true;
    select(window->_graphicView, { 0, 1 });
    window->Show_RHS_Properties(line);
    const QByteArray lineBefore = itemBytes(*line);
    const QByteArray textBefore = itemBytes(*text);

    Not_Draw_Only_Prop_Change = true;
    chooseLast("Line_cap_style");
    chooseLast("Line_border_style");
    window->Show_RHS_Properties(text);
    Not_Draw_Only_Prop_Change = true;
    chooseLast("Text_align_combo");
    chooseLast("Text_case_combo");
    Not_Draw_Only_Prop_Change = false;

    EXPECT_EQ(itemBytes(*line), lineBefore);
    EXPECT_EQ(itemBytes(*text), textBefore);
}

} // namespace
