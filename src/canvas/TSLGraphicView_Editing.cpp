// Typing a text straight onto the card: the box that opens over a new or double-clicked text item, and
// writing what was typed back into the item.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLTextEditingView.h"
#include "model/TSLText.h"

#include <cmath>

QPlainTextEdit* TSLGraphicView::editingView() const
{
    return editingView_.data();
}

void TSLGraphicView::startEditingGraphic(const TSLGraphicPtr& graphic)
{
    auto* text = dynamic_cast<TSLText*>(graphic.get());
    if (editingView_ || !text || !graphic->ctrl_is_visible || graphic->ctrl_is_locked
        || graphic->data_source_type != 0 || !isVisible())
        return;
    const QString stored = graphic->_Text_contents ? graphic->_Text_contents->string : graphic->Text_Value;
    const double zoom = zoomFactor();
    auto* view = new TSLTextEditingView(stored, text->displayedFont(), graphic->Text_Color_Value(), zoom, this);
    const QRectF area = graphic->bounds();
    view->placeAt(QRect(int(std::floor(area.left() * zoom)), int(std::floor(area.top() * zoom)),
                      int(std::ceil(area.width() * zoom)), int(std::ceil(area.height() * zoom))),
        int(canvasSize_.width() * zoom) - 1);
    editingView_ = view;
    editingGraphic_ = graphic;
    connect(view, &TSLTextEditingView::editingFinished, this, &TSLGraphicView::stopEditing);
    view->show();
    view->setFocus(Qt::OtherFocusReason);
    updatePointsRect(graphic->drawingBounds());
}

void TSLGraphicView::stopEditing()
{
    if (!editingView_)
        return;
    TSLTextEditingView* view = editingView_.data();
    const TSLGraphicPtr graphic = editingGraphic_.lock();
    editingView_.clear();
    editingGraphic_.reset();
    const bool hadFocus = view->hasFocus();
    const QString typed = view->toPlainText();
    view->hide();
    view->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    // The item may have left the list while it was typed into (undo, delete by a script).
    auto* text = dynamic_cast<TSLText*>(graphic.get());
    if (!text || indexOfGraphic(graphic.get()) < 0)
        return;
    updatePointsRect(graphic->drawingBounds());
    const QString stored = graphic->_Text_contents ? graphic->_Text_contents->string : graphic->Text_Value;
    if (typed == stored)
        return;
    text->setScriptingContents(typed);
    text->growToFitText(canvasSize_.width());
    updatePointsRect(graphic->drawingBounds());
    showProperties(graphic);
}
