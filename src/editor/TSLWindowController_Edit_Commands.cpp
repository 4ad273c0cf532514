// The edit buttons: each forwards to the canvas of the side being edited (never the scratch side), and
// lock and unlock, which also set the buttons and the inspector for the new state.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Color_Well.h"
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

// Runs a canvas command, then makes the inspector show what is selected afterwards: not the pages of an
// item the command took off the side (cut, delete, or an undo of its creation) but the card, and the item
// an undo put back and selected rather than the card.
template <typename Command> static void forward(TSLWindowController& window, Command command)
{
    TSLGraphicView* canvas = window.currentGraphicView();
    if (!canvas)
        return;
    command(*canvas);
    window.Undo_Redo_Button_state();
    const bool itemPagesShown = window.sett_tab->indexOf(window.card_setting_tab) < 0;
    const TSLGraphicList selected = canvas->selectedGraphics();
    if (selected.empty() && itemPagesShown)
        window.Show_RHS_Properties(nullptr);
    else if (!selected.empty() && !listHolds(selected, window.Last_Selected_Graphic()))
        window.Show_RHS_Properties(selected.front());
}

void TSLWindowController::Undo_Clicked()
{
    forward(*this, [](TSLGraphicView& canvas) { canvas.undo(); });
    refreshShownItemPages();
}

void TSLWindowController::Redo_Clicked()
{
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

platform::UndoManager* TSLWindowController::shownSideUndo() const
{
    const TSLGraphicView* canvas = currentGraphicView();
    return document_ && canvas ? &document_->undoManagerForKey(canvas->graphicsKey()) : nullptr;
}

void TSLWindowController::followColourPanels()
{
    for (Color_Well* well : findChildren<Color_Well*>()) {
        connect(well, &Color_Well::panelOpened, this, &TSLWindowController::openColourStep);
        connect(well, &Color_Well::panelClosed, this, &TSLWindowController::closeColourStep);
    }
}

void TSLWindowController::openColourStep()
{
    platform::UndoManager* undo = shownSideUndo();
    if (colourStep_ || !undo)
        return;
    colourStep_ = ColourStep { undo, undo->currentStateId() };
    undo->beginUndoGrouping();
}

void TSLWindowController::closeColourStep(bool kept)
{
    if (!colourStep_)
        return;
    const ColourStep step = *colourStep_;
    colourStep_.reset();
    if (!step.undo)
        return;
    step.undo->endUndoGrouping();
    if (kept || step.undo->currentStateId() == step.stateBefore)
        return;
    // The colour is already back; the step that recorded the tries goes without a redo.
    step.undo->disableUndoRegistration();
    step.undo->undo();
    step.undo->enableUndoRegistration();
    Undo_Redo_Button_state();
}

void TSLWindowController::Undo_Redo_Button_state()
{
    // Undo and redo act on the side shown, and say what they will take back.
    const platform::UndoManager* undo = shownSideUndo();
    const bool canUndo = undo && undo->canUndo();
    const bool canRedo = undo && undo->canRedo();
    Undo_btn->setEnabled(canUndo);
    Redo_btn->setEnabled(canRedo);
    const auto titled = [](const QString& verb, bool can, const QString& name) {
        return can && !name.isEmpty() ? QStringLiteral("%1 %2").arg(verb, name) : verb;
    };
    const QString undoTitle = titled(QStringLiteral("Undo"), canUndo, undo ? undo->undoActionName() : QString());
    const QString redoTitle = titled(QStringLiteral("Redo"), canRedo, undo ? undo->redoActionName() : QString());
    // The menu names the step; the tool bar keeps its short captions and names it in the tip.
    Undo_btn->setToolTip(undoTitle);
    Redo_btn->setToolTip(redoTitle);
    if (QAction* entry = menuAction(QStringLiteral("menu_Undo")))
        entry->setText(undoTitle);
    if (QAction* entry = menuAction(QStringLiteral("menu_Redo")))
        entry->setText(redoTitle);
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
