// The edit buttons: each forwards to the canvas of the side being edited (never the scratch side), and
// lock and unlock, which also set the buttons and the inspector for the new state.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>

namespace {

bool listHolds(const TSLGraphicList& list, const TSLGraphicPtr& item)
{
    return item && std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

// Runs a canvas command, then makes sure the inspector does not keep showing pages of an item the command
// took off the side (cut, delete, or an undo of its creation): the card is shown instead.
template <typename Command> static void forward(TSLWindowController& window, Command command)
{
    TSLGraphicView* canvas = window.currentGraphicView();
    if (!canvas)
        return;
    command(*canvas);
    window.Undo_Redo_Button_state();
    const bool itemPagesShown = window.sett_tab->indexOf(window.card_setting_tab) < 0;
    if (itemPagesShown && !listHolds(canvas->graphics(), window.Last_Selected_Graphic()))
        window.Show_RHS_Properties(canvas->Selected_Graphic());
}

// Undo keeps the front side's changes only: before one is undone or redone out of sight, the window
// turns to the front, so the person sees what changes.
static void showSideOfUndo(TSLWindowController& window, bool redo)
{
    TSLDocument* document = window.document();
    if (!document || (Card_Front_Or_Back == 0 && window.myTargetView->currentWidget() == window.first_view))
        return;
    const platform::UndoManager& undo = document->undoManager();
    if (redo ? undo.canRedo() : undo.canUndo())
        window.Select_front_side();
}

void TSLWindowController::Undo_Clicked()
{
    showSideOfUndo(*this, false);
    forward(*this, [](TSLGraphicView& canvas) { canvas.undo(); });
    refreshShownItemPages();
}

void TSLWindowController::Redo_Clicked()
{
    showSideOfUndo(*this, true);
    forward(*this, [](TSLGraphicView& canvas) { canvas.redo(); });
    refreshShownItemPages();
}

void TSLWindowController::Cut_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.cut(); });
}

void TSLWindowController::Copy_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.copy(); });
    Set_Paste_Button_Status();
}

void TSLWindowController::Paste_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.paste(); });
}

void TSLWindowController::Delete_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.deleteSelection(); });
}

void TSLWindowController::Begin_Front_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.bringToFront(); });
}

void TSLWindowController::Send_Back_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.sendToBack(); });
}

void TSLWindowController::Undo_Redo_Button_state()
{
    const bool canUndo = document_ && document_->undoManager().canUndo();
    const bool canRedo = document_ && document_->undoManager().canRedo();
    Undo_btn->setEnabled(canUndo);
    Redo_btn->setEnabled(canRedo);
    validateMainMenu();
}

namespace {

void setLocked(TSLWindowController& window, bool locked)
{
    TSLGraphicView* canvas = window.currentGraphicView();
    const TSLGraphicList selected = canvas ? canvas->selectedGraphics() : TSLGraphicList {};
    if (selected.empty()) {
        Show_MessageBox(locked ? QStringLiteral("Please select a control to Lock.")
                               : QStringLiteral("Please select a control to Unlock."));
        return;
    }
    for (const TSLGraphicPtr& item : selected)
        item->ctrl_is_locked = locked;
    // Showing the card forgets the shown item, so the last one is shown afresh with its new pages.
    const TSLIndexSet kept = canvas->selectionIndexes();
    window.Show_RHS_Properties(nullptr);
    canvas->changeSelectionIndexes(kept);
    window.Refresh_Canvas();
    window.Show_RHS_Properties(selected.back());
}

} // namespace

void TSLWindowController::Lock_Clicked()
{
    Disable_Standard_Button_For_Lock();
    setLocked(*this, true);
}

void TSLWindowController::Unlock_Clicked()
{
    Enable_Standard_Button_For_Unlock();
    setLocked(*this, false);
}
