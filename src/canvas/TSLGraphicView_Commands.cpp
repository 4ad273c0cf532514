// Commands on the canvas's selection: delete, front and back, the alignments, the grid, same size,
// natural size, the print flag, the rulers and the enabling of their menu items.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLGrid.h"
#include "common/Common_Functions.h"
#include "model/CardEditorServices.h"
#include "model/TSLDocument.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"

#include <QAbstractScrollArea>

#include <algorithm>

namespace {

void refreshUndoButtons()
{
    if (CardEditorServices* services = editorServices())
        services->Undo_Redo_Button_state();
}

std::vector<int> asVector(const TSLIndexSet& indexes)
{
    return { indexes.begin(), indexes.end() };
}

} // namespace

bool TSLGraphicView::There_Is_Any_Lock_Contrl() const
{
    const TSLGraphicList selected = selectedGraphics();
    return std::any_of(
        selected.begin(), selected.end(), [](const TSLGraphicPtr& item) { return item->ctrl_is_locked; });
}

// The commands that would remove, reorder or copy a locked item refuse the whole selection.
bool TSLGraphicView::refuseLockedSelection() const
{
    if (!There_Is_Any_Lock_Contrl())
        return false;
    Show_MessageBox(QStringLiteral("Selected control is locked."));
    return true;
}

void TSLGraphicView::deleteSelection()
{
    if (refuseLockedSelection() || !document_)
        return;
    const TSLIndexSet selected = selectionIndexes();
    if (!selected.empty()) {
        const QString kind = kindName(selectedGraphics());
        removeGraphicsAtIndexes(asVector(selected));
        nameUndo(QStringLiteral("Delete %@"), kind);
    }
    refreshUndoButtons();
    if (CardEditorServices* services = editorServices())
        services->Show_RHS_Properties(nullptr);
}

void TSLGraphicView::bringToFront()
{
    moveSelectionToIndexes(true);
}

void TSLGraphicView::sendToBack()
{
    moveSelectionToIndexes(false);
}

void TSLGraphicView::moveSelectionToIndexes(bool toFront)
{
    if (refuseLockedSelection())
        return;
    const TSLIndexSet selected = selectionIndexes();
    if (!selected.empty() && document_) {
        // Taken out and put back in list order, so the moved items keep their order among themselves.
        const TSLGraphicList items = selectedGraphics();
        removeGraphicsAtIndexes(asVector(selected));
        const int remaining = int(graphics().size());
        std::vector<int> indexes;
        TSLIndexSet newSelection;
        for (int i = 0; i < int(items.size()); ++i) {
            indexes.push_back(toFront ? i : remaining + i);
            newSelection.insert(indexes.back());
        }
        insertGraphics(items, indexes);
        changeSelectionIndexes(newSelection);
        nameUndo(toFront ? QStringLiteral("Bring to Front") : QStringLiteral("Send to Back"));
    }
    refreshUndoButtons();
}

// ---------------------------------------------------------------------------------------------------------
// Alignment

void TSLGraphicView::alignLeftEdges()
{
    alignSelection(Edge::Left);
}
void TSLGraphicView::alignRightEdges()
{
    alignSelection(Edge::Right);
}
void TSLGraphicView::alignTopEdges()
{
    alignSelection(Edge::Top);
}
void TSLGraphicView::alignBottomEdges()
{
    alignSelection(Edge::Bottom);
}
void TSLGraphicView::alignHorizontalCenters()
{
    alignSelection(Edge::HorizontalCenter);
}
void TSLGraphicView::alignVerticalCenters()
{
    alignSelection(Edge::VerticalCenter);
}

void TSLGraphicView::alignSelection(Edge edge)
{
    const TSLGraphicList selected = selectedGraphics();
    const bool horizontal = edge == Edge::Left || edge == Edge::Right || edge == Edge::HorizontalCenter;
    // The coordinate an edge compares: the left or top edge, the right or bottom edge, or the centre line;
    // and the origin that puts the item's edge on a given reference coordinate.
    const auto compared = [edge](const QRectF& r) {
        switch (edge) {
        case Edge::Left:
            return r.x();
        case Edge::Right:
            return r.x() + r.width();
        case Edge::Top:
            return r.y();
        case Edge::Bottom:
            return r.y() + r.height();
        case Edge::HorizontalCenter:
            return r.x() + 0.5 * r.width();
        case Edge::VerticalCenter:
            return r.y() + 0.5 * r.height();
        }
        return 0.0;
    };
    const auto originFor = [edge](double reference, const QRectF& r) {
        switch (edge) {
        case Edge::Left:
        case Edge::Top:
            return reference;
        case Edge::Right:
            return reference - r.width();
        case Edge::Bottom:
            return reference - r.height();
        case Edge::HorizontalCenter:
            return reference - r.width() / 2.0;
        case Edge::VerticalCenter:
            return reference - r.height() / 2.0;
        }
        return reference;
    };
    const auto moveTo = [horizontal](TSLGraphic& item, double origin) {
        if (horizontal)
            item.setXPosition(origin);
        else
            item.setYPosition(origin);
    };

    if (selected.size() >= 2) {
        const double reference = compared(selected.front()->bounds());
        for (std::size_t i = 1; i < selected.size(); ++i) {
            TSLGraphic& item = *selected[i];
            if (item.ctrl_is_locked || compared(item.bounds()) == reference)
                continue;
            moveTo(item, originFor(reference, item.bounds()));
        }
    } else if (selected.size() == 1) {
        TSLGraphic& item = *selected.front();
        if (item.ctrl_is_locked)
            return;
        // Alone, the item aligns with the canvas: its edge, or centre line, on the canvas's.
        const QRectF canvas = bounds();
        moveTo(item, originFor(compared(canvas), item.bounds()));
    }
    static const QString names[] = { QStringLiteral("Align Left Edges"), QStringLiteral("Align Right Edges"),
        QStringLiteral("Align Top Edges"), QStringLiteral("Align Bottom Edges"),
        QStringLiteral("Align Horizontal Centres"), QStringLiteral("Align Vertical Centres") };
    nameUndo(names[int(edge)]);
    refreshUndoButtons();
}

void TSLGraphicView::alignformCenter()
{
    const TSLGraphicList selected = selectedGraphics();
    if (selected.size() == 1 && selected.front()->ctrl_is_locked)
        return;
    const QRectF canvas = bounds();
    for (const TSLGraphicPtr& item : selected) {
        if (item->ctrl_is_locked)
            continue;
        QRectF r = item->bounds();
        r.moveTopLeft(QPointF(canvas.width() / 2.0 - r.width() / 2.0, canvas.height() / 2.0 - r.height() / 2.0));
        item->setBounds(r);
    }
    nameUndo(QStringLiteral("Centre on Card"));
    refreshUndoButtons();
}

void TSLGraphicView::alignWithGrid()
{
    if (grid_ && grid_->canAlign()) {
        for (const TSLGraphicPtr& item : selectedGraphics()) {
            if (!item->ctrl_is_locked)
                item->setBounds(grid_->alignedRect(item->bounds()));
        }
    }
    nameUndo(QStringLiteral("Align to Grid"));
    refreshUndoButtons();
}

// ---------------------------------------------------------------------------------------------------------
// Sizes and the print flag

void TSLGraphicView::makeSameWidth()
{
    makeSameSize(true);
}
void TSLGraphicView::makeSameHeight()
{
    makeSameSize(false);
}

void TSLGraphicView::makeSameSize(bool width)
{
    const TSLGraphicList selected = selectedGraphics();
    if (selected.size() > 1) {
        const QRectF reference = selected.front()->bounds();
        for (std::size_t i = 1; i < selected.size(); ++i) {
            TSLGraphic& item = *selected[i];
            if (item.ctrl_is_locked)
                continue;
            if (width && item.width() != reference.width())
                item.setWidth(reference.width());
            else if (!width && item.height() != reference.height())
                item.setHeight(reference.height());
        }
    }
    nameUndo(width ? QStringLiteral("Make Same Width") : QStringLiteral("Make Same Height"));
    refreshUndoButtons();
}

void TSLGraphicView::makeNaturalSize()
{
    // Locks are not tested here; a locked picture item keeps its size by its own rule.
    for (const TSLGraphicPtr& item : selectedGraphics())
        item->makeNaturalSize();
    nameUndo(QStringLiteral("Make Natural Size"));
    refreshUndoButtons();
}

void TSLGraphicView::print_contol_or_not(int flag)
{
    for (const TSLGraphicPtr& item : selectedGraphics()) {
        if (!item->ctrl_is_locked)
            item->setValueForKey(QStringLiteral("print_object"), flag); // undoable like any edit
    }
}

// ---------------------------------------------------------------------------------------------------------
// Rulers and the scroll view

void TSLGraphicView::showOrHideRulers()
{
    setRulersVisible(!rulersVisible_);
}

void TSLGraphicView::setRulersVisible(bool visible)
{
    if (visible == rulersVisible_)
        return;
    rulersVisible_ = visible;
    emit rulersVisibilityChanged(rulersVisible_);
}

void TSLGraphicView::Refresh_ScrollView()
{
    for (QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* scrollView = qobject_cast<QAbstractScrollArea*>(ancestor)) {
            scrollView->viewport()->update();
            scrollView->update();
            break;
        }
    }
    update();
}

// ---------------------------------------------------------------------------------------------------------
// Menu validation

bool TSLGraphicView::validateMenuItem(TSLCanvasCommand command, QString* title) const
{
    const TSLGraphicList selected = selectedGraphics();
    switch (command) {
    case TSLCanvasCommand::makeNaturalSize:
        return std::any_of(
            selected.begin(), selected.end(), [](const TSLGraphicPtr& item) { return item->canMakeNaturalSize(); });
    case TSLCanvasCommand::alignWithGrid:
        return grid_ && grid_->canAlign() && !selected.empty();
    case TSLCanvasCommand::deleteSelection:
    case TSLCanvasCommand::bringToFront:
    case TSLCanvasCommand::sendToBack:
    case TSLCanvasCommand::cut:
    case TSLCanvasCommand::copy:
        return !selected.empty();
    case TSLCanvasCommand::alignLeftEdges:
    case TSLCanvasCommand::alignRightEdges:
    case TSLCanvasCommand::alignTopEdges:
    case TSLCanvasCommand::alignBottomEdges:
    case TSLCanvasCommand::alignHorizontalCenters:
    case TSLCanvasCommand::alignVerticalCenters:
    case TSLCanvasCommand::makeSameWidth:
    case TSLCanvasCommand::makeSameHeight:
        return selected.size() > 1;
    case TSLCanvasCommand::undo:
        return document_ && document_->undoManagerForKey(graphicsKey_).canUndo();
    case TSLCanvasCommand::redo:
        return document_ && document_->undoManagerForKey(graphicsKey_).canRedo();
    case TSLCanvasCommand::showOrHideRulers:
        if (title) {
            const QString english = rulersVisible_ ? QStringLiteral("Hide Ruler") : QStringLiteral("Show Ruler");
            *title = platform::localizedString(QStringLiteral("TSLGraphicView"), english);
        }
        return true;
    case TSLCanvasCommand::paste:
    case TSLCanvasCommand::alignformCenter:
    case TSLCanvasCommand::selectAll:
        return true;
    }
    return true;
}
