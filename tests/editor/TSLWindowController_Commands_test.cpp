// The alignment page's buttons move the selected items of the side being edited, refuse what cannot be
// done with the program's messages, and the edit commands follow the selection's lock state.
#include "editor/EditorWindowTestSupport.h"

#include "canvas/TSLGrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

using editortest::EditorWindowTest;
using editortest::messageTexts;

class CommandsTest : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        startUpEmpty();
        ui.messages.clear();
    }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(QLatin1String(name)); }
    void click(const char* name)
    {
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
};

TEST_F(CommandsTest, AlignButtonsMoveTheSelectionToTheFirstSelectedItem)
{
    const TSLGraphicPtr first = addShape(QRectF(40, 30, 20, 10));
    const TSLGraphicPtr second = addShape(QRectF(100, 70, 30, 20));
    window->_graphicView->changeSelectionIndexes({ 0, 1 });

    click("Align_Left_btn");
    EXPECT_DOUBLE_EQ(second->bounds().left(), 40);
    click("Align_Bottom_btn");
    EXPECT_DOUBLE_EQ(second->bounds().bottom(), 40);
    EXPECT_EQ(first->bounds(), QRectF(40, 30, 20, 10));
    click("Make_Same_Width_btn");
    EXPECT_DOUBLE_EQ(second->bounds().width(), 20);

    // One item alone aligns to the card.
    window->_graphicView->changeSelectionIndexes({ 1 });
    click("Align_Right_btn");
    EXPECT_DOUBLE_EQ(second->bounds().right(), window->frontCanvasBounds().right());
    EXPECT_TRUE(messageTexts(ui).isEmpty());
}

TEST_F(CommandsTest, RefusedCommandsSayWhyAndChangeNothing)
{
    const TSLGraphicPtr item = addShape(QRectF(13, 17, 20, 10), TSLDocumentGraphicsKey_back);
    window->Select_back_side();
    window->_graphicView_BACK->changeSelectionIndexes({ 0 });
    window->Make_Same_Width_Clicked();
    window->Make_Same_Height_Clicked();
    window->Align_To_Grid_Clicked();
    EXPECT_EQ(messageTexts(ui),
        (QStringList { QStringLiteral("Please select more than one control."),
            QStringLiteral("Please select more than one control."), QStringLiteral("Please use grid option first.") }));
    EXPECT_EQ(item->bounds(), QRectF(13, 17, 20, 10));

    // Once the grid is shown for good, the same command snaps the item.
    window->_grid->setAlwaysShown(true);
    window->Align_To_Grid_Clicked();
    EXPECT_EQ(messageTexts(ui).size(), 3);
    EXPECT_NE(item->bounds(), QRectF(13, 17, 20, 10));
}

TEST_F(CommandsTest, EditButtonsFollowLockAndClipboard)
{
    QApplication::clipboard()->clear();
    window->Enable_Standard_Button_For_Control();
    EXPECT_TRUE(window->Cut_btn->isEnabled());
    EXPECT_TRUE(window->Lock_btn->isEnabled());
    EXPECT_FALSE(window->Unlock_btn->isEnabled());
    EXPECT_FALSE(window->Paste_btn->isEnabled());

    // File names alone leave Paste off; our own items turn it on.
    auto* files = new QMimeData;
    files->setUrls({ QUrl::fromLocalFile(QStringLiteral("/tmp/a.png")) });
    QApplication::clipboard()->setMimeData(files);
    window->Disable_Standard_Button_For_Card();
    EXPECT_FALSE(window->Paste_btn->isEnabled());
    EXPECT_FALSE(window->Cut_btn->isEnabled());
    EXPECT_FALSE(window->Unlock_btn->isEnabled());
    auto* ours = new QMimeData;
    ours->setData(TSLGraphicViewPasteboardType, QByteArray("x"));
    QApplication::clipboard()->setMimeData(ours);
    window->Disable_Standard_Button_For_Card();
    EXPECT_TRUE(window->Paste_btn->isEnabled());

    window->Disable_Standard_Button_For_Lock();
    EXPECT_FALSE(window->Paste_btn->isEnabled());
    EXPECT_FALSE(window->Copy_btn->isEnabled());
    EXPECT_TRUE(window->Unlock_btn->isEnabled());
    QApplication::clipboard()->clear();
}

TEST_F(CommandsTest, GridColourAndSpacingShowTheGridForGood)
{
    EXPECT_FALSE(window->_grid->isAlwaysShown());
    window->Grid_Slider_Changed(18);
    EXPECT_TRUE(window->_grid->isAlwaysShown());
    EXPECT_DOUBLE_EQ(window->_grid->spacing(), 18);
    EXPECT_FALSE(window->_grid->isTemporarilyShowing());
    window->Grid_Show_Hide_Changed(false);
    window->Grid_Clr_Changed(QColor(Qt::red));
    EXPECT_TRUE(window->_grid->isAlwaysShown());
    EXPECT_EQ(window->_grid->color(), QColor(Qt::red));
    window->Grid_Show_Hide_Changed(false);
    EXPECT_FALSE(window->_grid->isAlwaysShown());
}
