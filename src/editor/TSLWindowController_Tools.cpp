// The tool code, the item kind it creates, and the undo and redo buttons.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "model/TSLDocument.h"
#include "platform/UndoManager.h"

#include <QAction>
#include <QToolButton>

void TSLWindowController::selectArrowTool()
{
    Selected_Control_Tool_ = 0;
    if (!toolButtons.isEmpty())
        toolButtons.first()->setChecked(true);
}

QString TSLWindowController::currentGraphicClass() const
{
    switch (Selected_Control_Tool_) {
    case 1:
        return QStringLiteral("TSLLine");
    case 2:
        return QStringLiteral("TSLText");
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 13:
    case 14:
    case 15:
        return QStringLiteral("Shape_Control");
    case 8:
    case 9:
        return QStringLiteral("TSLImage");
    case 10:
        return QStringLiteral("TSLBarcode");
    case 11:
        return QStringLiteral("TSLSignature");
    default:
        return QString(); // the arrow, the fingerprint and unknown codes create nothing
    }
}

void TSLWindowController::Undo_Clicked()
{
    if (TSLGraphicView* canvas = currentGraphicView())
        canvas->undo();
    Undo_Redo_Button_state();
}

void TSLWindowController::Redo_Clicked()
{
    if (TSLGraphicView* canvas = currentGraphicView())
        canvas->redo();
    Undo_Redo_Button_state();
}

void TSLWindowController::Undo_Redo_Button_state()
{
    const bool canUndo = document_ && document_->undoManager().canUndo();
    const bool canRedo = document_ && document_->undoManager().canRedo();
    Undo_btn->setEnabled(canUndo);
    Redo_btn->setEnabled(canRedo);
}
