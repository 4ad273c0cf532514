// The inspector's dispatcher: which pages show for which item, that showing writes nothing back, that the
// shown item is forgotten when it goes, and the content font and colour of a side.
#include "editor/EditorWindowTestSupport.h"

#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

using editortest::EditorWindowTest;

class InspectorTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        window->SetDocumentCanvasSize(QSizeF(243, 153));
    }
    TSLGraphicPtr addOf(const QString& kind, const QString& key = TSLDocumentGraphicsKey)
    {
        TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(kind);
        item->setBounds(QRectF(5, 5, 40, 30));
        addItem(item, key);
        return item;
    }
    QList<QWidget*> pages() const
    {
        QList<QWidget*> shown;
        for (int i = 0; i < window->sett_tab->count(); ++i)
            shown << window->sett_tab->widget(i);
        return shown;
    }
};

TEST_F(InspectorTest, EachKindShowsItsPagesAndLockedItemsOnlyTheLockPage)
{
    TSLWindowController& w = *window;
    const TSLGraphicPtr text = addOf(QStringLiteral("TSLText"));
    w.Show_RHS_Properties(text);
    EXPECT_EQ(pages(), (QList<QWidget*> { w.text_edtng_tab, w.text_prop_tab, w.datasource_tab, w.aligmnt_tab }));
    EXPECT_EQ(w.sel_control_name->text(), QStringLiteral("T"));
    EXPECT_EQ(w.sett_tab->tabText(2), QStringLiteral("Text Source"));

    const TSLGraphicPtr picture = addOf(QStringLiteral("TSLImage"));
    w.Show_RHS_Properties(picture);
    EXPECT_EQ(pages(), (QList<QWidget*> { w.datasource_tab, w.image_tab, w.aligmnt_tab }));
    EXPECT_EQ(w.sett_tab->tabText(0), QStringLiteral("Image Source"));
    EXPECT_EQ(w.sel_control_name->text(), QStringLiteral("I"));

    w.Show_RHS_Properties(addOf(QStringLiteral("TSLLine")));
    EXPECT_EQ(pages(), (QList<QWidget*> { w.line_tab, w.aligmnt_tab }));
    EXPECT_EQ(w.sel_control_name->text(), QStringLiteral("NONE"));
    w.Show_RHS_Properties(addOf(QStringLiteral("TSLBarcode")));
    EXPECT_EQ(pages(), (QList<QWidget*> { w.barcode_tab, w.aligmnt_tab }));

    const TSLGraphicPtr star = addOf(QStringLiteral("Shape_Control"));
    star->_shape_type = QStringLiteral("S");
    w.Show_RHS_Properties(star);
    EXPECT_EQ(pages(), (QList<QWidget*> { w.shape_tab, w.aligmnt_tab }));
    EXPECT_EQ(w.sett_tab->tabText(0), QStringLiteral("Star Properties"));

    // Locked: the lock page alone, labelled by kind; the text box is still filled.
    const TSLGraphicPtr lockedText = addOf(QStringLiteral("TSLText"));
    lockedText->ctrl_is_locked = true;
    w.Show_RHS_Properties(lockedText);
    EXPECT_EQ(pages(), QList<QWidget*> { w.Lock_tab });
    EXPECT_EQ(w.sett_tab->tabText(0), QStringLiteral("Text Properties"));

    const TSLGraphicPtr fingerprint = addOf(QStringLiteral("TSLSignature"));
    fingerprint->sign_or_fingureprint = QStringLiteral("F");
    fingerprint->ctrl_is_locked = true;
    w.Show_RHS_Properties(fingerprint);
    EXPECT_EQ(pages(), QList<QWidget*> { w.Lock_tab });
    EXPECT_EQ(w.sett_tab->tabText(0), QStringLiteral("Signature Properties"));
    EXPECT_EQ(w.sign_tab->windowTitle(), QStringLiteral("FingrePrint Properties"));
    EXPECT_EQ(w.sel_control_name->text(), QStringLiteral("F"));
    EXPECT_FALSE(w.Cut_btn->isEnabled());
    EXPECT_TRUE(w.Unlock_btn->isEnabled());

    w.Show_RHS_Properties(nullptr);
    EXPECT_EQ(pages().first(), w.card_setting_tab);
    EXPECT_EQ(w.Last_Selected_Graphic(), nullptr);
    EXPECT_FALSE(w.Cut_btn->isEnabled());
    EXPECT_FALSE(w.Unlock_btn->isEnabled());
}

TEST_F(InspectorTest, SameItemIsNotRebuiltAndAMutedCallDoesNothing)
{
    TSLWindowController& w = *window;
    const TSLGraphicPtr text = addOf(QStringLiteral("TSLText"));
    w.Show_RHS_Properties(text);
    w.sett_tab->setCurrentIndex(1);
    w.Show_RHS_Properties(text);
    EXPECT_EQ(w.sett_tab->currentIndex(), 1) << "the pages of the shown item are not rebuilt";

    const TSLGraphicPtr second = addOf(QStringLiteral("TSLText"));
    w.Show_RHS_Properties(second);
    EXPECT_EQ(w.sett_tab->currentIndex(), 0);
    EXPECT_EQ(w.Last_Selected_Graphic(), second);

    w.setSelected_Control_Tool(3);
    Not_Draw_Only_Prop_Change = true;
    w.Show_RHS_Properties(nullptr);
    Not_Draw_Only_Prop_Change = false;
    EXPECT_EQ(w.Selected_Control_Tool(), 3) << "not even the arrow tool";
    EXPECT_EQ(w.Last_Selected_Graphic(), second);
}

TEST_F(InspectorTest, ShowingAnyItemOrTheCardWritesNothingBack)
{
    const char* kinds[] = { "TSLText", "TSLImage", "TSLLine", "TSLSignature", "TSLBarcode", "Shape_Control" };
    std::vector<TSLGraphicPtr> items;
    for (const char* kind : kinds) {
        TSLGraphicPtr item = addOf(QLatin1String(kind));
        // Values off every default, so that a control that echoes its own value into the item is caught.
        item->_strokeWidth = 3.7;
        item->alpha_val = 0.37;
        item->alpha_val_stroke = 0.61;
        item->_fill_type = QStringLiteral("H");
        item->_fill_hatch_type = QString();
        item->_stroke_border_type = QStringLiteral("XX");
        item->_fill_grad_angle = 33;
        item->text_kerning = 1.5;
        item->_isDrawingStroke = true;
        item->_strokeColor = QColor(1, 2, 3);
        items.push_back(item);
    }
    items.push_back(addOf(QStringLiteral("TSLText"), TSLDocumentGraphicsKey_back));
    std::vector<QByteArray> before;
    for (const TSLGraphicPtr& item : items)
        before.push_back(editortest::itemBytes(*item));
    const QByteArray cardBefore = [&] {
        window->Show_RHS_Properties(nullptr); // the first showing stores the canvas bounds
        platform::KeyedArchive archive;
        window->Front_card_Prop.encodeWithCoder(archive);
        return archive.toBytes();
    }();

    for (int round = 0; round < 2; ++round) {
        for (const TSLGraphicPtr& item : items) {
            window->_graphicView->changeSelectionIndexes({});
            window->Show_RHS_Properties(item);
            QCoreApplication::processEvents();
        }
        window->Show_RHS_Properties(nullptr);
    }
    for (size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(editortest::itemBytes(*items[i]), before[i]) << items[i]->className().toStdString();
    platform::KeyedArchive archive;
    window->Front_card_Prop.encodeWithCoder(archive);
    EXPECT_EQ(archive.toBytes(), cardBefore);
}

TEST_F(InspectorTest, DeletedShownItemLeavesNoDanglingReferenceAndANewItemIsShown)
{
    TSLWindowController& w = *window;
    for (int round = 0; round < 20; ++round) {
        const TSLGraphicPtr shape = addShape(QRectF(0, 0, 10, 10));
        shape->_strokeWidth = round;
        w.Show_RHS_Properties(shape);
        ASSERT_EQ(w.Last_Selected_Graphic(), shape);
        w._graphicView->changeSelectionIndexes({ 0 });
        w.Delete_Clicked();
        EXPECT_EQ(w.Last_Selected_Graphic(), nullptr);
        // A new item, quite possibly where the old one lived, is shown afresh and not taken for the old one.
        const TSLGraphicPtr next = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLLine"));
        addItem(next, TSLDocumentGraphicsKey);
        w.Show_RHS_Properties(next);
        EXPECT_EQ(w.Last_Selected_Graphic(), next);
        EXPECT_EQ(w.sett_tab->widget(0), w.line_tab);
        w._graphicView->changeSelectionIndexes({ 0 });
        w.Delete_Clicked();
    }
    EXPECT_TRUE(document.graphicsForKey(TSLDocumentGraphicsKey).empty());
}

TEST_F(InspectorTest, ContentColourAndFontGoIntoTheTextsOfTheCurrentSideOnly)
{
    TSLWindowController& w = *window;
    const TSLGraphicPtr text = addOf(QStringLiteral("TSLText"));
    const TSLGraphicPtr shape = addShape(QRectF(0, 0, 10, 10));
    const TSLGraphicPtr backText = addOf(QStringLiteral("TSLText"), TSLDocumentGraphicsKey_back);
    const QFont ownFont(QStringLiteral("DejaVu Serif"), 17);
    text->text_ctrl_font = ownFont;
    backText->txt_clr = Qt::green;
    w.Show_RHS_Properties(nullptr);

    w.Contect_Color_Clicked(QColor(200, 10, 10));
    EXPECT_EQ(text->txt_clr, QColor(200, 10, 10));
    EXPECT_EQ(text->text_ctrl_font, ownFont) << "only the changed property is pushed";
    EXPECT_EQ(backText->txt_clr, QColor(Qt::green));
    EXPECT_EQ(w.Front_card_Prop.Card_Content_clr(), QColor(200, 10, 10));

    // The font panel is non-modal; a choice in it goes into the texts at once.
    auto* fontButton = w.findChild<QPushButton*>(QStringLiteral("Content_Font_btn"));
    ASSERT_NE(fontButton, nullptr);
    QTest::mouseClick(fontButton, Qt::LeftButton);
    auto* panel = w.findChild<QFontDialog*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->isModal());
    const QFont chosen(QStringLiteral("DejaVu Sans"), 21);
    panel->setCurrentFont(chosen);
    ASSERT_TRUE(text->text_ctrl_font.has_value());
    EXPECT_EQ(text->text_ctrl_font->family(), chosen.family());
    EXPECT_EQ(text->text_ctrl_font->pointSize(), 21);
    EXPECT_FALSE(backText->text_ctrl_font && backText->text_ctrl_font->pointSize() == 21);
    EXPECT_TRUE(w.All_Text_font_value->text().endsWith(QStringLiteral("( 21.00 )")))
        << w.All_Text_font_value->text().toStdString();
    EXPECT_EQ(w.Front_card_Prop.Card_Content_font(), w.All_Text_font);
    panel->close();
}

TEST_F(InspectorTest, ViewSwitchingShowsTheChosenContainerOnly)
{
    window->changeViewController(2);
    EXPECT_EQ(window->myTargetView->currentWidget(), window->temp_design_view);
    window->changeViewController(5);
    EXPECT_EQ(window->myTargetView->currentWidget(), window->temp_design_view);
    window->changeViewController(1);
    EXPECT_EQ(window->myTargetView->currentWidget(), window->second_view);
}
