// The keyboard on the canvas: nudging the selection with the arrow keys while the handles stay out of the
// way, Delete and Backspace, and undo and redo with the selection that follows them.
#include "canvas/TSLGraphicView.h"

#include "model/CardEditorServices.h"
#include "model/TSLDocument.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"

#include <QHash>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

void TSLGraphicView::keyPressEvent(QKeyEvent* event)
{
    // Plain keys only: with other modifiers they mean something else to the platform.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
            moveLeft();
            return;
        case Qt::Key_Right:
            moveRight();
            return;
        case Qt::Key_Up:
            moveUp();
            return;
        case Qt::Key_Down:
            moveDown();
            return;
        case Qt::Key_Backspace:
            deleteBackward();
            return;
        case Qt::Key_Delete:
            deleteForward();
            return;
        default:
            break;
        }
    }
    QWidget::keyPressEvent(event);
}

void TSLGraphicView::moveSelectedGraphicsByX(double dx, double dy)
{
    const TSLGraphicList selected = selectedGraphics();
    if (selected.empty())
        return;
    hideHandlesMomentarily();
    const QPointF delta = moveKeepingOnCard(selected, QPointF(dx, dy));
    if (delta.isNull() || !document_)
        return;
    // A run of presses on the same items is one "Move" step of its own; a step in between, a save or
    // another selection starts a new one.
    platform::UndoManager& undo = document_->undoManagerForKey(graphicsKey_);
    std::vector<const TSLGraphic*> items(selected.size());
    std::transform(selected.begin(), selected.end(), items.begin(), [](const TSLGraphicPtr& item) { return item.get(); });
    const bool joins = lastArrowMove_ && lastArrowMove_->state == undo.currentStateId()
        && lastArrowMove_->items == items && !undo.isClean();
    if (joins)
        undo.disableUndoRegistration(); // the step already holds where the items were before the run
    TSLGraphic::translateGraphics(selected, delta.x(), delta.y());
    if (joins) {
        undo.enableUndoRegistration();
        return;
    }
    nameUndo(QStringLiteral("Move"));
    lastArrowMove_ = ArrowMove { undo.currentStateId(), std::move(items) };
}

void TSLGraphicView::hideHandlesMomentarily()
{
    // A run of presses keeps the handles hidden until a moment after the last one.
    handleShowingTimer_->start();
    isHidingHandles_ = true;
    updateSelectionArea();
}

void TSLGraphicView::unhideHandlesForTimer()
{
    isHidingHandles_ = false;
    updateSelectionArea();
}

void TSLGraphicView::undo()
{
    runUndo(false);
}

void TSLGraphicView::redo()
{
    runUndo(true);
}

void TSLGraphicView::nameUndo(const QString& key, const QString& kind)
{
    if (!document_)
        return;
    QString name = platform::localizedString(QStringLiteral("UndoStrings"), key);
    name.replace(QLatin1String("%@"), kind);
    document_->undoManagerForKey(graphicsKey_).setActionName(name);
}

QString TSLGraphicView::kindName(const TSLGraphicList& items)
{
    if (items.size() != 1 || !items.front())
        return QStringLiteral("Items");
    return kindName(*items.front());
}

QString TSLGraphicView::kindName(const TSLGraphic& item)
{
    static const QHash<QString, QString> kinds { { QStringLiteral("TSLText"), QStringLiteral("Text") },
        { QStringLiteral("TSLLine"), QStringLiteral("Line") },
        { QStringLiteral("Shape_Control"), QStringLiteral("Shape") },
        { QStringLiteral("TSLImage"), QStringLiteral("Picture") },
        { QStringLiteral("TSLBarcode"), QStringLiteral("Barcode") },
        { QStringLiteral("TSLSignature"), QStringLiteral("Signature") } };
    return kinds.value(item.className(), QStringLiteral("Item"));
}

void TSLGraphicView::runUndo(bool redo)
{
    if (!document_)
        return;
    // While it runs, the items whose geometry or contents change and those put back into the list are
    // collected; they are the selection afterwards.
    undoSelectionIndexes_ = TSLIndexSet {};
    platform::UndoManager& manager = document_->undoManagerForKey(graphicsKey_);
    if (redo)
        manager.redo();
    else
        manager.undo();
    const TSLIndexSet touched = std::move(*undoSelectionIndexes_);
    undoSelectionIndexes_.reset();
    if (!touched.empty())
        changeSelectionIndexes(touched);
    if (CardEditorServices* services = editorServices())
        services->Undo_Redo_Button_state();
}
