// No command of the main window is off for want of the window it opens: at start and with an item
// selected, every menu entry, tool-bar button and inspector button is on, except those that wait for a
// selection, for something to undo or paste, or for a choice on their own page (then they come on with
// that choice).
#include "editor/EditorScenarioFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTabBar>

using editorscenario::EditorScenario;

namespace {

// Off for a reason of their own, not for want of a window.
const QSet<QString> kStateDependent = {
    // Wait for a selection, a locked item, something to undo or redo, or the program's own items to paste.
    QStringLiteral("Cut_btn"),
    QStringLiteral("Copy_btn"),
    QStringLiteral("Paste_btn"),
    QStringLiteral("Delete_btn"),
    QStringLiteral("Begin_Front_btn"),
    QStringLiteral("Send_Back_btn"),
    QStringLiteral("Lock_btn"),
    QStringLiteral("Unlock_btn"),
    QStringLiteral("Undo_btn"),
    QStringLiteral("Redo_btn"),
    QStringLiteral("menu_Undo"),
    QStringLiteral("menu_Redo"),
    QStringLiteral("menu_Cut"),
    QStringLiteral("menu_Copy"),
    QStringLiteral("menu_Paste"),
    QStringLiteral("menu_Delete"),
    QStringLiteral("menu_Select_All"),
    QStringLiteral("menu_Bring_To_Front"),
    QStringLiteral("menu_Send_To_Back"),
    QStringLiteral("menu_Align_Left"),
    QStringLiteral("menu_Align_Right"),
    QStringLiteral("menu_Align_Top"),
    QStringLiteral("menu_Align_Bottom"),
    QStringLiteral("menu_Align_Horz"),
    QStringLiteral("menu_Align_Vert"),
    QStringLiteral("menu_Align_Center"),
    QStringLiteral("menu_Make_Same_Width"),
    QStringLiteral("menu_Make_Same_Height"),
    QStringLiteral("menu_Make_Natural"),
    QStringLiteral("menu_Align_To_Grid"),
    QStringLiteral("Align_To_Grid_btn"),
    // The colours of a fill style that is not chosen, a series list while the source is typed.
    QStringLiteral("Card_fill_clr"),
    QStringLiteral("Card_fill_Grd_1_clr"),
    QStringLiteral("Card_fill_Grd_2_clr"),
    QStringLiteral("Card_hatch_bk_clr"),
    QStringLiteral("Text_fill_Grd_1_clr"),
    QStringLiteral("Text_fill_Grd_2_clr"),
    QStringLiteral("shape_fill_Grd_1_clr"),
    QStringLiteral("shape_fill_Grd_2_clr"),
    QStringLiteral("shape_hatch_bk_clr"),
    QStringLiteral("view_series_btn"),
};

// The card's background choices wait for the card page's fill box, and its picture buttons (the library
// among them) for the picture style.
const QStringList kCardFill = { QStringLiteral("Card_solid_fill_rd"), QStringLiteral("Card_gradient_fill_rd"),
    QStringLiteral("Card_Style_fill_rd"), QStringLiteral("Card_Image_fill_rd"), QStringLiteral("Card_Image_Browse_btn"),
    QStringLiteral("Card_Image_Library_btn") };

class CommandAvailability : public EditorScenario {
protected:
    void SetUp() override
    {
        EditorScenario::SetUp();
        startEmpty();
    }
    // Every menu entry, tool-bar command and button of the window that is off without a reason of its own.
    QStringList offWithoutReason() const
    {
        QStringList off;
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->isSeparator() || action->objectName().isEmpty() || action->menu())
                continue;
            if (!action->isEnabled() && !kStateDependent.contains(action->objectName()))
                off << action->objectName();
        }
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator() && !action->isEnabled() && !kStateDependent.contains(action->objectName()))
                    off << QStringLiteral("%1 (%2)").arg(action->objectName(), action->text());
            }
        }
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            // The tab bars' own scroll arrows follow the room there is.
            if (button->objectName().isEmpty() || qobject_cast<QTabBar*>(button->parentWidget()))
                continue;
            if (!fillOn_ && kCardFill.contains(button->objectName()))
                continue;
            if (!button->isEnabled() && !kStateDependent.contains(button->objectName()))
                off << button->objectName();
        }
        off.removeDuplicates();
        return off;
    }
    void tickCardFill()
    {
        showPage(QStringLiteral("card_bkgd_tab"));
        auto* fill = widget<QCheckBox>(QStringLiteral("Card_fill_chk"));
        ASSERT_FALSE(fill->isChecked()) << "a new card starts without a fill";
        tick(fill);
        ASSERT_TRUE(fill->isChecked());
        tick(widget<QAbstractButton>(QStringLiteral("Card_Image_fill_rd")));
        ASSERT_TRUE(widget<QAbstractButton>(QStringLiteral("Card_Image_fill_rd"))->isChecked());
        fillOn_ = true;
    }
    bool fillOn_ = false;
};

TEST_F(CommandAvailability, NothingIsOffAtStart)
{
    EXPECT_EQ(offWithoutReason().join(QLatin1Char(' ')).toStdString(), "");
    tickCardFill();
    EXPECT_EQ(offWithoutReason().join(QLatin1Char(' ')).toStdString(), "") << "with the card's fill on";
}

TEST_F(CommandAvailability, NothingIsOffWithEachKindOfItemSelected)
{
    const struct {
        const char* tool;
        QRectF bounds;
    } tools[] = { { "Text_Tool_btn", { 20, 20, 90, 30 } }, { "Rect_Tool_btn", { 20, 60, 50, 40 } },
        { "Line_Tool_btn", { 80, 60, 40, 2 } }, { "Image_Tool_btn", { 130, 20, 60, 60 } },
        { "Barcode_Tool_btn", { 20, 100, 80, 40 } }, { "Signature_Tool_btn", { 130, 90, 60, 30 } } };
    tickCardFill();
    for (const auto& t : tools) {
        if (QLatin1String(t.tool) == QLatin1String("Image_Tool_btn"))
            ui.fileAnswers.push_back(QDir(Resource_Path).filePath(QStringLiteral("no.png")));
        const TSLGraphicPtr item = addWithTool(QLatin1String(t.tool), t.bounds);
        ASSERT_TRUE(item) << t.tool;
        clickItem(item);
        EXPECT_EQ(offWithoutReason().join(QLatin1Char(' ')).toStdString(), "")
            << t.tool << " on page " << currentPageName().toStdString();
    }
}

} // namespace
