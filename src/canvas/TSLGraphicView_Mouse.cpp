// The mouse on the canvas: what a press does, hit testing, click and Shift-click selection, the rubber band,
// moving the selection, resizing by a handle and echoing the moved rectangle to the rulers.
//
// A press that drags is followed through the move and release events that Qt delivers separately; the
// release point is applied like any move before the drag ends. Each drag that can change items is one undo
// group, so a whole move or resize undoes in one step.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLGrid.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLDocument.h"
#include "platform/Geometry.h"
#include "platform/UndoManager.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>

void TSLGraphicView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    mouseDown(event, 1);
}

void TSLGraphicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    mouseDown(event, 2);
}

void TSLGraphicView::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_.kind != Drag::None)
        continueDrag(pointForEvent(event));
}

void TSLGraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && drag_.kind != Drag::None)
        endDrag(pointForEvent(event));
}

void TSLGraphicView::mouseDown(QMouseEvent* event, int clickCount)
{
    // A drag whose release never came (the window lost the mouse) ends where it was last seen.
    if (drag_.kind != Drag::None)
        endDrag(drag_.last);
    if (!document_)
        return;
    stopEditing();
    setFocus(Qt::MouseFocusReason);

    CardEditorServices* services = editorServices();
    const auto showCardWhenNothingCurrent = [this] {
        if (!Selected_Graphic())
            showProperties(nullptr);
    };
    const QString graphicClass = services ? services->currentGraphicClass() : QString();
    if (!graphicClass.isEmpty()) {
        const QString side = Card_Front_Or_Back == 1 ? QStringLiteral("B") : QStringLiteral("F");
        createGraphicOfClass(graphicClass, event, false, QRectF(), side, QString(), QString());
        const auto afterCreation = [this, showCardWhenNothingCurrent] {
            selectedGraphic_.reset();
            showCardWhenNothingCurrent();
        };
        if (drag_.kind == Drag::Create)
            drag_.then = afterCreation;
        else
            afterCreation();
        return;
    }

    selectedGraphic_.reset();
    const QPointF point = pointForEvent(event);
    bool found = false;
    if (clickCount >= 2) {
        if (const TSLGraphicPtr item = graphicUnderPoint(point)) {
            found = true;
            selectedGraphic_ = item;
            if (item->ctrl_is_visible && !item->ctrl_is_locked) {
                startEditingGraphic(item);
                if (item->className() == QLatin1String("TSLBarcode") && services)
                    services->Open_Barcode_Window();
            }
        }
    }
    if (!found)
        selectAndTrackMouseWithEvent(point, event->modifiers() & Qt::ShiftModifier);

    if (drag_.kind == Drag::None) {
        showCardWhenNothingCurrent();
        return;
    }
    drag_.then = [before = std::move(drag_.then), showCardWhenNothingCurrent] {
        if (before)
            before();
        showCardWhenNothingCurrent();
    };
}

TSLGraphicPtr TSLGraphicView::graphicUnderPoint(const QPointF& point, int* index, bool* isSelected, int* handle) const
{
    const TSLGraphicList& list = graphics();
    const TSLIndexSet selected = selectionIndexes();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const TSLGraphicPtr& item = list[i];
        if (!platform::pointInRect(point, item->drawingBounds()))
            continue;
        const bool itemSelected = selected.count(int(i)) > 0;
        int hitHandle = itemSelected ? item->handleUnderPoint(point) : TSLGraphic::TSLGraphicNoHandle;
        if (hitHandle == TSLGraphic::TSLGraphicNoHandle && !item->isContentsUnderPoint(point))
            continue;
        if (index)
            *index = int(i);
        if (isSelected)
            *isSelected = itemSelected;
        if (handle)
            *handle = hitHandle;
        return item;
    }
    return nullptr;
}

TSLIndexSet TSLGraphicView::indexesOfGraphicsIntersectingRect(const QRectF& rect) const
{
    TSLIndexSet indexes;
    if (platform::rectIsEmpty(rect))
        return indexes;
    const TSLGraphicList& list = graphics();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QRectF area = list[i]->drawingBounds();
        if (!platform::rectIsEmpty(area) && rect.left() < area.right() && area.left() < rect.right()
            && rect.top() < area.bottom() && area.top() < rect.bottom())
            indexes.insert(int(i));
    }
    return indexes;
}

void TSLGraphicView::selectAndTrackMouseWithEvent(const QPointF& point, bool shift)
{
    int index = -1;
    bool isSelected = false;
    int handle = TSLGraphic::TSLGraphicNoHandle;
    const TSLGraphicPtr item = graphicUnderPoint(point, &index, &isSelected, &handle);
    if (!item) {
        if (!shift)
            changeSelectionIndexes({});
        startDrag(Drag::Marquee, point, false);
        drag_.marqueeBase = selection_;
        // What the band selected is what the inspector shows and edits next.
        drag_.then = [this] {
            const TSLGraphicList selected = selectedGraphics();
            if (selected.empty())
                return;
            selectedGraphic_ = selected.front();
            showProperties(selected.front());
        };
        return;
    }

    selectedGraphic_ = item;
    if (!item->ctrl_is_visible)
        return; // a hidden item catches the click and nothing else happens
    if (item->ctrl_is_locked) {
        if (!isSelected)
            changeSelectionIndexes({ index });
        if (CardEditorServices* services = editorServices())
            services->refreshCanvas();
        showProperties(Selected_Graphic());
        return;
    }

    if (handle == TSLGraphic::TSLGraphicNoHandle) {
        TSLIndexSet selection = selectionIndexes();
        if (shift) {
            if (!selection.erase(index))
                selection.insert(index);
        } else if (!isSelected) {
            selection = { index };
        }
        changeSelectionIndexes(selection);
        if (selection.count(index)) {
            startDrag(Drag::Move, point, true);
            drag_.startBounds = TSLGraphic::boundsOfGraphics(selectedGraphics());
            drag_.offset = point - drag_.startBounds.topLeft();
            if (rulersVisible_) {
                beginEchoingMoveToRulers(drag_.startBounds);
                drag_.echoing = true;
            }
        } else {
            startDrag(Drag::Ignore, point, false); // Shift took it out: the drag does nothing
        }
    } else {
        startDrag(Drag::Resize, point, true);
        drag_.item = item;
        drag_.handle = handle;
    }
    drag_.then = [this] { showProperties(Selected_Graphic()); };
}

void TSLGraphicView::startDrag(Drag kind, const QPointF& press, bool openUndoGroup)
{
    drag_ = DragState {};
    drag_.kind = kind;
    drag_.press = press;
    drag_.last = press;
    if (openUndoGroup && document_) {
        document_->undoManagerForKey(graphicsKey_).beginUndoGrouping();
        drag_.undoGroupOpen = true;
    }
}

void TSLGraphicView::continueDrag(const QPointF& point)
{
    autoscroll(point);
    switch (drag_.kind) {
    case Drag::Move:
        trackMove(point);
        break;
    case Drag::Resize:
    case Drag::Create:
        trackResize(point);
        break;
    case Drag::Marquee:
        trackMarquee(point);
        break;
    case Drag::Ignore:
    case Drag::None:
        break;
    }
}

void TSLGraphicView::endDrag(const QPointF& point)
{
    continueDrag(point);
    CardEditorServices* services = editorServices();
    if (drag_.echoing)
        stopEchoingMoveToRulers();
    switch (drag_.kind) {
    case Drag::Move:
        if (drag_.moving) {
            isHidingHandles_ = false;
            updateSelectionArea();
        }
        if (services)
            services->refreshCanvas();
        break;
    case Drag::Marquee:
        updatePointsRect(marqueeSelectionBounds_.adjusted(-1, -1, 1, 1));
        marqueeSelectionBounds_ = QRectF();
        if (services)
            services->refreshCanvas();
        break;
    default:
        break;
    }
    if (drag_.kind == Drag::Move && drag_.moving)
        nameUndo(QStringLiteral("Move"));
    else if (drag_.kind == Drag::Resize)
        nameUndo(QStringLiteral("Resize"));
    if (drag_.undoGroupOpen && document_)
        document_->undoManagerForKey(graphicsKey_).endUndoGrouping();
    const bool creating = drag_.kind == Drag::Create;
    const std::function<void()> then = std::move(drag_.then);
    drag_ = DragState {};
    if (creating)
        finishCreation();
    if (then)
        then();
}

void TSLGraphicView::trackMove(const QPointF& point)
{
    QPointF current = point;
    if (!drag_.moving
        && (std::abs(current.x() - drag_.last.x()) >= moveThreshold
            || std::abs(current.y() - drag_.last.y()) >= moveThreshold)) {
        drag_.moving = true;
        isHidingHandles_ = true;
        updateSelectionArea();
    }
    if (!drag_.moving)
        return;
    if (grid_) {
        // The selection's origin lands on the grid, not the mouse.
        current = grid_->constrainedPoint(current - drag_.offset) + drag_.offset;
    }
    if (current != drag_.last) {
        const QPointF delta = moveKeepingOnCard(selectedGraphics(), current - drag_.last);
        current = drag_.last + delta;
        TSLGraphic::translateGraphics(selectedGraphics(), delta.x(), delta.y());
        if (drag_.echoing)
            continueEchoingMoveToRulers(QRectF(current - drag_.offset, drag_.startBounds.size()));
    }
    drag_.last = current;
}

void TSLGraphicView::trackResize(const QPointF& point)
{
    const TSLGraphicPtr item = drag_.item.lock();
    if (!item || item->ctrl_is_locked || indexOfGraphic(item.get()) < 0)
        return;
    if (rulersVisible_ && !drag_.echoing) {
        beginEchoingMoveToRulers(item->bounds());
        drag_.echoing = true;
    }
    QPointF snapped = grid_ ? grid_->constrainedPoint(point) : point;
    // A handle pulled past the card's edge stops there, so the item never leaves the card.
    snapped = QPointF(
        std::clamp(snapped.x(), 0.0, canvasSize_.width()), std::clamp(snapped.y(), 0.0, canvasSize_.height()));
    // Dragging across the opposite edge carries on with the mirrored handle.
    drag_.handle = item->resizeByMovingHandle(drag_.handle, snapped);
    drag_.last = point;
    if (drag_.echoing)
        continueEchoingMoveToRulers(item->bounds());
}

void TSLGraphicView::trackMarquee(const QPointF& point)
{
    drag_.last = point;
    const QPointF& press = drag_.press;
    const QRectF band(std::min(press.x(), point.x()), std::min(press.y(), point.y()), std::abs(point.x() - press.x()),
        std::abs(point.y() - press.y()));
    if (band == marqueeSelectionBounds_)
        return;
    updatePointsRect(platform::unionRect(marqueeSelectionBounds_, band).adjusted(-1, -1, 1, 1));
    marqueeSelectionBounds_ = band;
    const TSLIndexSet touched = indexesOfGraphicsIntersectingRect(band);
    if (touched.empty())
        return; // a band pulled back off every item leaves the selection as it was last set
    TSLIndexSet selection;
    for (const std::weak_ptr<TSLGraphic>& weak : drag_.marqueeBase) {
        if (const TSLGraphicPtr item = weak.lock(); item)
            if (const int index = indexOfGraphic(item.get()); index >= 0)
                selection.insert(index);
    }
    for (int index : touched) {
        if (!selection.erase(index))
            selection.insert(index);
    }
    changeSelectionIndexes(selection);
}

void TSLGraphicView::autoscroll(const QPointF& point)
{
    // Scroll the least that brings the point into the visible part of the clip view.
    TSLCenteringClipView* clip = clipView();
    if (!clip)
        return;
    const QRectF visible = clip->bounds();
    QPointF origin = visible.topLeft();
    if (point.x() < visible.left())
        origin.setX(point.x());
    else if (point.x() > visible.right())
        origin.setX(point.x() - visible.width());
    if (point.y() < visible.top())
        origin.setY(point.y());
    else if (point.y() > visible.bottom())
        origin.setY(point.y() - visible.height());
    if (origin != visible.topLeft())
        clip->scrollToPoint(origin);
}

// ---------------------------------------------------------------------------------------------------------
// Ruler echo: the rulers mark the edges and centre lines of the rectangle being moved or resized.

void TSLGraphicView::beginEchoingMoveToRulers(const QRectF& rect)
{
    emit rulerEchoChanged(QRectF(), rect);
    rulerEchoedBounds_ = rect;
}

void TSLGraphicView::continueEchoingMoveToRulers(const QRectF& rect)
{
    emit rulerEchoChanged(rulerEchoedBounds_, rect);
    rulerEchoedBounds_ = rect;
}

void TSLGraphicView::stopEchoingMoveToRulers()
{
    emit rulerEchoChanged(rulerEchoedBounds_, QRectF());
    rulerEchoedBounds_ = QRectF();
}

void TSLGraphicView::showProperties(const TSLGraphicPtr& graphic)
{
    if (CardEditorServices* services = editorServices())
        services->Show_RHS_Properties(graphic);
}
