// The content colour well of the card background page colours the texts of the side being edited, and only
// those; it shows the side's colour when the side is shown.
#include "editor/ItemPanelTestSupport.h"

#include <QPushButton>

namespace {

class ContentColourTest : public editortest::ItemPanelTest {
protected:
    Color_Well* well() const { return control<Color_Well>(window->card_bkgd_tab, "All_Text_clr"); }
    TSLGraphicPtr addText(const QString& key, const QColor& colour)
    {
        TSLGraphicPtr text = addItem(QStringLiteral("TSLText"), QRectF(10, 10, 80, 20), key);
        text->txt_clr = colour;
        return text;
    }
};

TEST_F(ContentColourTest, AChosenColourGoesIntoTheTextsOfTheCurrentSideOnly)
{
    const TSLGraphicPtr frontText = addText(TSLDocumentGraphicsKey, Qt::black);
    const TSLGraphicPtr shape = addItem(QStringLiteral("Shape_Control"), QRectF(0, 0, 10, 10), TSLDocumentGraphicsKey);
    const TSLGraphicPtr backText = addText(TSLDocumentGraphicsKey_back, Qt::green);
    const QByteArray shapeBefore = editortest::itemBytes(*shape);
    window->Show_RHS_Properties(nullptr);
    ASSERT_NE(well(), nullptr);
    EXPECT_EQ(window->All_Text_clr_well, well());
    EXPECT_NE(control<QPushButton>(window->card_bkgd_tab, "Content_Font_btn"), nullptr)
        << "the content font button sits beside the colour well";

    well()->chooseColor(QColor(200, 10, 10));
    EXPECT_EQ(frontText->txt_clr, QColor(200, 10, 10));
    EXPECT_EQ(backText->txt_clr, QColor(Qt::green));
    EXPECT_EQ(editortest::itemBytes(*shape), shapeBefore) << "only texts take the content colour";
    EXPECT_EQ(window->Front_card_Prop.Card_Content_clr(), QColor(200, 10, 10));

    // On the back, the well shows the back's own colour and colours the back's texts alone.
    window->Select_back_side();
    window->Show_RHS_Properties(nullptr);
    EXPECT_EQ(well()->color(), window->Back_card_Prop.Card_Content_clr());
    well()->chooseColor(QColor(0, 0, 180));
    EXPECT_EQ(backText->txt_clr, QColor(0, 0, 180));
    EXPECT_EQ(frontText->txt_clr, QColor(200, 10, 10));
    EXPECT_EQ(window->Back_card_Prop.Card_Content_clr(), QColor(0, 0, 180));
    EXPECT_EQ(window->Front_card_Prop.Card_Content_clr(), QColor(200, 10, 10));
}

} // namespace
