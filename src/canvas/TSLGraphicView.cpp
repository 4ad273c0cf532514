// The canvas: its binding to a list of the document, how it follows that list and its items, the selection,
// the size and zoom, and drawing.
#include "canvas/TSLGraphicView.h"

#include "canvas/Card_Base_Drawing.h"
#include "canvas/TSLCenteringClipView.h"
#include "canvas/TSLGrid.h"
#include "model/CardEditorServices.h"
#include "model/PicturePreparation.h"
#include "model/TSLDocument.h"
#include "model/TSLDrawing.h"
#include "platform/Geometry.h"
#include "platform/UndoManager.h"

#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

TSLGraphicView::TSLGraphicView(QWidget* parent)
    : QWidget(parent)
    , handleShowingTimer_(new QTimer(this))
{
    setFocusPolicy(Qt::StrongFocus);
    handleShowingTimer_->setSingleShot(true);
    handleShowingTimer_->setInterval(handleHidingTimeMs);
    connect(handleShowingTimer_, &QTimer::timeout, this, &TSLGraphicView::unhideHandlesForTimer);
    setCanvasSize(canvasSize_);
}

TSLGraphicView::~TSLGraphicView()
{
    // A drag or creation cut short by the window going away still closes its undo group.
    if (document_) {
        platform::UndoManager& undo = document_->undoManagerForKey(graphicsKey_);
        if (drag_.undoGroupOpen)
            undo.endUndoGrouping();
        if (creation_) {
            undo.endUndoGrouping();
            undo.setGroupsByEvent(creation_->groupsByEvent);
        }
    }
    stopObservingAll();
}

// ---------------------------------------------------------------------------------------------------------
// The bound list

void TSLGraphicView::bindGraphics(TSLDocument* document, const QString& graphicsKey)
{
    unbindGraphics();
    if (!document)
        return;
    document_ = document;
    graphicsKey_ = graphicsKey;
    connect(document, &TSLDocument::graphicsChanged, this, &TSLGraphicView::followList);
    followList(graphicsKey_);
}

void TSLGraphicView::unbindGraphics()
{
    if (document_)
        disconnect(document_, nullptr, this, nullptr);
    stopObservingAll();
    document_ = nullptr;
    graphicsKey_.clear();
    selection_.clear();
    selectedGraphic_.reset();
    update();
}

const TSLGraphicList& TSLGraphicView::graphics() const
{
    static const TSLGraphicList none;
    return document_ ? document_->graphicsForKey(graphicsKey_) : none;
}

void TSLGraphicView::requireBoundList() const
{
    if (!document_)
        throw std::logic_error("An TSLGraphicView's 'graphics' property is not bound to anything.");
}

void TSLGraphicView::insertGraphics(const TSLGraphicList& items, const std::vector<int>& indexes)
{
    requireBoundList();
    document_->insertGraphicsForKey(graphicsKey_, items, indexes);
}

void TSLGraphicView::removeGraphicsAtIndexes(const std::vector<int>& indexes)
{
    requireBoundList();
    document_->removeGraphicsForKey(graphicsKey_, indexes);
}

int TSLGraphicView::indexOfGraphic(const TSLGraphic* graphic) const
{
    const TSLGraphicList& list = graphics();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == graphic)
            return int(i);
    }
    return -1;
}

void TSLGraphicView::stopObservingAll()
{
    for (const std::weak_ptr<TSLGraphic>& weak : observed_) {
        if (const TSLGraphicPtr item = weak.lock())
            item->removeObserver(this);
    }
    observed_.clear();
}

// The list changed: observe the items that came, forget those that left (and any selection of them), and
// during an undo or redo note where items came back so that they can be selected afterwards.
void TSLGraphicView::followList(const QString& key)
{
    if (key != graphicsKey_)
        return;
    const TSLGraphicList& list = graphics();
    QSet<const TSLGraphic*> now;
    for (const TSLGraphicPtr& item : list)
        now.insert(item.get());

    QSet<const TSLGraphic*> before;
    for (const std::weak_ptr<TSLGraphic>& weak : observed_) {
        const TSLGraphicPtr item = weak.lock();
        if (!item)
            continue;
        if (now.contains(item.get()))
            before.insert(item.get());
        else
            item->removeObserver(this);
    }
    observed_.clear();
    // The text being typed into went (undo, delete): its box goes with it.
    if (const TSLGraphicPtr editing = editingGraphic(); editingView_ && !now.contains(editing.get()))
        stopEditing();
    for (std::size_t i = 0; i < list.size(); ++i) {
        observed_.push_back(list[i]);
        if (before.contains(list[i].get()))
            continue;
        list[i]->addObserver(this);
        if (undoSelectionIndexes_)
            undoSelectionIndexes_->insert(int(i));
    }

    const std::size_t selectedBefore = selection_.size();
    std::erase_if(selection_, [&](const std::weak_ptr<TSLGraphic>& weak) {
        const TSLGraphicPtr item = weak.lock();
        return !item || !now.contains(item.get());
    });
    if (const TSLGraphicPtr current = selectedGraphic_.lock(); !current || !now.contains(current.get()))
        selectedGraphic_.reset();
    if (!list.empty())
        emptyListShown_ = false;
    update();
    if (selection_.size() != selectedBefore)
        emit selectionChanged();
}

void TSLGraphicView::graphicValueChanged(
    TSLGraphic& graphic, const QString& key, const QVariant& oldValue, const QVariant& /*newValue*/)
{
    const QRectF now = graphic.drawingBounds();
    QRectF dirty = now;
    if (key == QLatin1String("bounds") && oldValue.canConvert<QRectF>()) {
        // The old drawing bounds: the old bounds with the outsets the item draws beyond them.
        const QRectF b = graphic.bounds();
        const QRectF old = oldValue.toRectF().adjusted(
            now.left() - b.left(), now.top() - b.top(), now.right() - b.right(), now.bottom() - b.bottom());
        dirty = dirty.united(old);
    }
    updatePointsRect(dirty);
    if (undoSelectionIndexes_) {
        if (const int index = indexOfGraphic(&graphic); index >= 0)
            undoSelectionIndexes_->insert(index);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Selection

TSLIndexSet TSLGraphicView::selectionIndexes() const
{
    QSet<const TSLGraphic*> selected;
    for (const std::weak_ptr<TSLGraphic>& weak : selection_) {
        if (const TSLGraphicPtr item = weak.lock())
            selected.insert(item.get());
    }
    TSLIndexSet indexes;
    const TSLGraphicList& list = graphics();
    for (std::size_t i = 0; i < list.size() && !selected.isEmpty(); ++i) {
        if (selected.contains(list[i].get()))
            indexes.insert(int(i));
    }
    return indexes;
}

void TSLGraphicView::changeSelectionIndexes(const TSLIndexSet& indexes)
{
    const TSLGraphicList& list = graphics();
    const TSLIndexSet old = selectionIndexes();
    selection_.clear();
    TSLIndexSet applied;
    for (int index : indexes) {
        if (index >= 0 && index < int(list.size())) {
            selection_.push_back(list[index]);
            applied.insert(index);
        }
    }
    // Only items whose selection state changed are redrawn.
    QRectF dirty;
    for (int index : old) {
        if (!applied.count(index) && index < int(list.size()))
            dirty = platform::unionRect(dirty, list[index]->drawingBounds());
    }
    for (int index : applied) {
        if (!old.count(index))
            dirty = platform::unionRect(dirty, list[index]->drawingBounds());
    }
    updatePointsRect(dirty);
    if (CardEditorServices* services = editorServices())
        services->setSameSizeButtonsEnabled(applied.size() >= 2);
    if (applied != old)
        emit selectionChanged();
}

TSLGraphicList TSLGraphicView::selectedGraphics() const
{
    TSLGraphicList result;
    const TSLGraphicList& list = graphics();
    for (int index : selectionIndexes())
        result.push_back(list[index]);
    return result;
}

void TSLGraphicView::selectAll()
{
    TSLIndexSet all;
    for (int i = 0; i < int(graphics().size()); ++i)
        all.insert(i);
    changeSelectionIndexes(all);
}

namespace {

// How much of an item stays on the card at least (all of a smaller item).
constexpr double keptOnCard = 12.0;

// The moves along one axis that keep [low, high] overlapping [0, length] by the kept amount.
std::pair<double, double> keptRange(double low, double high, double length)
{
    const double kept = std::min(keptOnCard, high - low);
    return { kept - high, length - kept - low };
}

} // namespace

QPointF TSLGraphicView::moveKeepingOnCard(const TSLGraphicList& items, const QPointF& delta) const
{
    double loX = -1e9, hiX = 1e9, loY = -1e9, hiY = 1e9;
    for (const TSLGraphicPtr& item : items) {
        const QRectF b = item->bounds().normalized();
        const auto [minX, maxX] = keptRange(b.left(), b.right(), canvasSize_.width());
        const auto [minY, maxY] = keptRange(b.top(), b.bottom(), canvasSize_.height());
        loX = std::max(loX, minX);
        hiX = std::min(hiX, maxX);
        loY = std::max(loY, minY);
        hiY = std::min(hiY, maxY);
    }
    // Standing still is always allowed, so an item already off the card can be moved back.
    return QPointF(std::clamp(delta.x(), std::min(loX, 0.0), std::max(hiX, 0.0)),
        std::clamp(delta.y(), std::min(loY, 0.0), std::max(hiY, 0.0)));
}

std::vector<std::pair<TSLGraphicPtr, QRectF>> TSLGraphicView::bringItemsOntoCard()
{
    std::vector<std::pair<TSLGraphicPtr, QRectF>> moved;
    for (const TSLGraphicPtr& item : graphics()) {
        const QRectF b = item->bounds().normalized();
        const auto [minX, maxX] = keptRange(b.left(), b.right(), canvasSize_.width());
        const auto [minY, maxY] = keptRange(b.top(), b.bottom(), canvasSize_.height());
        const QPointF delta(std::clamp(0.0, minX, std::max(minX, maxX)), std::clamp(0.0, minY, std::max(minY, maxY)));
        if (delta.isNull())
            continue;
        moved.emplace_back(item, item->bounds());
        TSLGraphic::translateGraphics({ item }, delta.x(), delta.y());
    }
    if (!moved.empty())
        nameUndo(QStringLiteral("Move"));
    update();
    return moved;
}

// ---------------------------------------------------------------------------------------------------------
// Grid, size and zoom

void TSLGraphicView::setGrid(TSLGrid* grid)
{
    if (grid == grid_)
        return;
    if (grid_)
        disconnect(grid_, nullptr, this, nullptr);
    grid_ = grid;
    if (grid_)
        connect(grid_, &TSLGrid::anyChanged, this, qOverload<>(&QWidget::update));
    update();
}

void TSLGraphicView::setCanvasSize(const QSizeF& size)
{
    canvasSize_ = QSizeF(std::max(0.0, size.width()), std::max(0.0, size.height()));
    if (!clipView())
        resize(int(std::ceil(canvasSize_.width() * zoom_)), int(std::ceil(canvasSize_.height() * zoom_)));
    update();
}

void TSLGraphicView::setZoomFactor(double factor)
{
    if (!(factor > 0.0) || factor == zoom_)
        return;
    zoom_ = factor;
    setCanvasSize(canvasSize_);
}

TSLCenteringClipView* TSLGraphicView::clipView() const
{
    auto* clip = qobject_cast<TSLCenteringClipView*>(parentWidget());
    return clip && clip->documentView() == this ? clip : nullptr;
}

double TSLGraphicView::zoomFactor() const
{
    const TSLCenteringClipView* clip = clipView();
    return clip ? clip->factor() : zoom_;
}

QPointF TSLGraphicView::pointForEvent(const QMouseEvent* event) const
{
    return event->position() / zoomFactor();
}

QPointF TSLGraphicView::nextPoint(const QString& side) const
{
    CardEditorServices* services = editorServices();
    return services ? services->nextCascadePoint(side) : QPointF(10, 10);
}

void TSLGraphicView::updatePointsRect(const QRectF& rect)
{
    if (rect.isEmpty())
        return;
    const double zoom = zoomFactor();
    const QRectF scaled(rect.x() * zoom, rect.y() * zoom, rect.width() * zoom, rect.height() * zoom);
    update(scaled.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void TSLGraphicView::updateSelectionArea()
{
    updatePointsRect(TSLGraphic::drawingBoundsOfGraphics(selectedGraphics()));
}

// ---------------------------------------------------------------------------------------------------------
// Drawing

void TSLGraphicView::paintEvent(QPaintEvent* event)
{
    // Items ask for a canvas refresh after drawing; inside the paint that request must not start another.
    CanvasPaintScope scope;
    QPainter painter(this);
    const double zoom = zoomFactor();
    painter.scale(zoom, zoom);
    const QRectF dirty = QRectF(event->rect()).adjusted(-1, -1, 1, 1);
    drawRect(painter, QRectF(dirty.x() / zoom, dirty.y() / zoom, dirty.width() / zoom, dirty.height() / zoom));
    if (hasFocus()) {
        painter.resetTransform();
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void TSLGraphicView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TSLGraphicView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

namespace {

// Overlap of positive area; a rectangle without width or height meets nothing.
bool rectsIntersect(const QRectF& a, const QRectF& b)
{
    if (platform::rectIsEmpty(a) || platform::rectIsEmpty(b))
        return false;
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

} // namespace

void TSLGraphicView::drawRect(QPainter& painter, const QRectF& dirtyRect)
{
    // The scratch side draws its own copy of the edited side's look.
    Card_Base_Drawing(painter, bounds(), dirtyRect, graphicsKey_ == TSLDocumentGraphicsKey_temp ? 2 : -1);
    const double devicePixelsPerPoint = painter.transform().m11() * painter.device()->devicePixelRatioF();
    if (grid_)
        grid_->drawRect(painter, dirtyRect, devicePixelsPerPoint);

    const TSLGraphicList& list = graphics();
    const TSLIndexSet selected = selectionIndexes();
    const TSLGraphic* creating = creation_ ? creation_->item.get() : nullptr;
    const TSLGraphicPtr editing = editingGraphic(); // drawn as a frame: the box over it shows the text
    TSLDrawingContext context { &painter, true, devicePixelsPerPoint, bounds() };
    const CardEditorServices* editor = editorServices();
    // Pictures not read or scaled yet are made side by side, not one after another.
    preparePictures(list, dirtyRect, painter.deviceTransform());
    // Back to front, so index 0 ends on top; the current item becomes the front-most one with handles.
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        const TSLGraphicPtr item = list[i]; // held: drawing must not lose the item under it
        const QRectF area = item->drawingBounds();
        if (!rectsIntersect(dirtyRect, area))
            continue;
        const bool handles = !isHidingHandles_ && item.get() != creating && selected.count(i);
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
        item->drawContentsInView(context, item.get() == creating || item == editing);
        // An item bound to a column the sheet lacks comes out blank: its place is marked, so that it can be
        // seen and clicked. Never on a card.
        if (const QString missing = editor && item->ctrl_is_visible ? editor->missingColumnOf(*item) : QString();
            !missing.isEmpty())
            drawMissingMark(painter, item->bounds(), QStringLiteral("Column missing:"), missing);
        if (handles) {
            item->drawHandlesInView(context, item->ctrl_is_locked);
            selectedGraphic_ = item;
        }
        painter.restore();
    }

    // An emptied list shows the card in the inspector. Once per emptying, so that an inspector that asks
    // for a redraw cannot keep the canvas painting.
    if (list.empty() && !emptyListShown_ && document_) {
        emptyListShown_ = true;
        if (CardEditorServices* services = editorServices())
            services->Show_RHS_Properties(nullptr);
    }

    if (!marqueeSelectionBounds_.isNull()) {
        painter.save();
        QPen pen(palette().color(QPalette::Dark));
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(marqueeSelectionBounds_.adjusted(0.5, 0.5, -0.5, -0.5));
        painter.restore();
    }
}
